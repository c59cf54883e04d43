#include "commands/ui/block_draw_command_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/line_preview.h"
#include "commands/ui/convert_unit_dialog.h"
#include "gui/choice_list.h"

namespace qm {

namespace {

constexpr FieldRange kOptionalSpin{"Optional", 0, 1000};

}  // namespace

BlockDrawCommandDialog::BlockDrawCommandDialog(AppContext& context, QWidget* parent)
    : BuilderDialog(parent), context_(context) {
  setWindowTitle(tr("Block Draw Command"));
  c_.startX = CoordinateSpin();
  c_.startY = CoordinateSpin();
  c_.endX = CoordinateSpin();
  c_.endY = CoordinateSpin();
  c_.type = MakeChoiceList(kBlockTypeNames);
  c_.optional = IntegerSpin(kOptionalSpin);
  c_.testPrint = new QPushButton(tr("Test Print"));
  c_.convert = new QPushButton(tr("Convert"));
  c_.insert = new QPushButton(tr("Insert to label"));
  c_.close = new QPushButton(tr("Close"));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(FieldGrid({{new QLabel(tr("Start X")), c_.startX},
                               {new QLabel(tr("Start Y")), c_.startY},
                               {new QLabel(tr("End X")), c_.endX},
                               {new QLabel(tr("End Y")), c_.endY},
                               {new QLabel(tr("Type")), c_.type},
                               {new QLabel(tr("Optional")), c_.optional}},
                              2));
  layout->addLayout(ButtonRow({c_.testPrint, c_.convert, c_.insert, c_.close}));
  AttachLinePreview(*this, *layout);

  connect(c_.type, &QComboBox::currentIndexChanged, this, &BlockDrawCommandDialog::ChooseType);
  connect(c_.testPrint, &QPushButton::clicked, this, &BlockDrawCommandDialog::TestPrint);
  connect(c_.insert, &QPushButton::clicked, this, &BuilderDialog::InsertToLabel);
  connect(c_.close, &QPushButton::clicked, this, &QDialog::accept);
  connect(c_.convert, &QPushButton::clicked, this, [this] { ConvertUnitDialog::Open(this); });
  LoadDefaults();
}

void BlockDrawCommandDialog::LoadDefaults() { ShowFields(BlockDrawFields{}); }

void BlockDrawCommandDialog::ShowFields(const BlockDrawFields& f) {
  showing_ = true;
  c_.startX->setValue(f.startX);
  c_.startY->setValue(f.startY);
  c_.endX->setValue(f.endX);
  c_.endY->setValue(f.endY);
  SelectEntry(c_.type, static_cast<int>(f.type));
  c_.optional->setValue(f.optional);
  showing_ = false;
  EnableOptional();
}

BlockDrawFields BlockDrawCommandDialog::TakeFields() const {
  BlockDrawFields f;
  f.startX = c_.startX->shown();
  f.startY = c_.startY->shown();
  f.endX = c_.endX->shown();
  f.endY = c_.endY->shown();
  f.type = static_cast<BlockType>(std::max(c_.type->currentIndex(), 0));
  f.optional = c_.optional->value();
  return f;
}

void BlockDrawCommandDialog::ChooseType(int index) {
  if (showing_ || index < 0) return;
  // The operator's choice brings the type's own Optional and End Y.
  BlockDrawFields f = TakeFields();
  SelectBlockType(f, static_cast<BlockType>(index));
  ShowFields(f);
}

void BlockDrawCommandDialog::EnableOptional() {
  const int index = c_.type->currentIndex();
  c_.optional->setEnabled(index >= 0 && TakesOptional(static_cast<BlockType>(index)));
}

void BlockDrawCommandDialog::TestPrint() { SendTestPrint(context_, BuildBlockDrawLine(TakeFields())); }

std::optional<std::string> BlockDrawCommandDialog::TakeLines(Prompter&) {
  return ScriptLines({BuildBlockDrawLine(TakeFields())});
}

}  // namespace qm
