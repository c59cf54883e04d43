#include "commands/ui/vector_text_command_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/line_preview.h"
#include "commands/ui/convert_unit_dialog.h"
#include "gui/choice_list.h"

namespace qm {

namespace {

// The vector commands know one font.
constexpr std::array<std::string_view, 1> kVectorFontNames = {"U"};
constexpr std::array<std::string_view, 2> kBoldNames = {"None", "Bold"};
constexpr std::array<std::string_view, 2> kReverseNames = {"None", "Reverse"};
constexpr std::array<std::string_view, 2> kItalicNames = {"None", "Italic"};

int Position(const QComboBox* list) { return std::max(list->currentIndex(), 0); }

}  // namespace

VectorTextCommandDialog::VectorTextCommandDialog(AppContext& context, QWidget* parent)
    : BuilderDialog(parent), context_(context) {
  setWindowTitle(tr("Vector Text Command"));
  c_.xPos = CoordinateSpin();
  c_.yPos = CoordinateSpin();
  c_.font = MakeChoiceList(kVectorFontNames);
  c_.width = IntegerSpin(kVectorWidthRange);
  c_.height = IntegerSpin(kVectorHeightRange);
  c_.fontSpace = IntegerSpin(kVectorFontSpaceRange);
  c_.bold = MakeChoiceList(kBoldNames);
  c_.reverse = MakeChoiceList(kReverseNames);
  c_.italic = MakeChoiceList(kItalicNames);
  c_.rotation = MakeChoiceList(kRotationNames);
  c_.justification = MakeChoiceList(kJustificationNames);
  c_.textDirection = MakeChoiceList(kTextDirectionNames);
  c_.data = new QLineEdit;
  c_.data->setAccessibleName(tr("Text data"));
  c_.convert = new QPushButton(tr("Convert"));
  c_.testPrint = new QPushButton(tr("Test Print"));
  c_.insert = new QPushButton(tr("Insert to label"));
  c_.close = new QPushButton(tr("Close"));

  // The fields in command order, then the text between its quotes.
  auto* layout = new QVBoxLayout(this);
  auto* fields = FieldGrid({{new QLabel(tr("X Pos")), c_.xPos},
                            {new QLabel(tr("Y Pos")), c_.yPos},
                            {new QLabel(tr("Font")), c_.font},
                            {new QLabel(tr("Width")), c_.width},
                            {new QLabel(tr("Height")), c_.height},
                            {new QLabel(tr("Font Space")), c_.fontSpace},
                            {new QLabel(tr("Bold")), c_.bold},
                            {new QLabel(tr("Reverse")), c_.reverse},
                            {new QLabel(tr("Italic")), c_.italic},
                            {new QLabel(tr("Rotation")), c_.rotation},
                            {new QLabel(tr("Justification")), c_.justification},
                            {new QLabel(tr("Text Direction")), c_.textDirection}},
                           3);
  // Room between one field and the next one's label.
  fields->setHorizontalSpacing(12);
  layout->addLayout(fields);
  layout->addLayout(QuotedDataRow(c_.data));
  layout->addLayout(ButtonRow({c_.convert, c_.testPrint, c_.insert, c_.close}));
  AttachLinePreview(*this, *layout);

  connect(c_.convert, &QPushButton::clicked, this, [this] { ConvertUnitDialog::Open(this); });
  connect(c_.testPrint, &QPushButton::clicked, this, &VectorTextCommandDialog::TestPrint);
  connect(c_.insert, &QPushButton::clicked, this, [this] {
    if (DataCarried(c_.data, c_.data->text(), c_.data->accessibleName(), context_.prompter)) InsertToLabel();
  });
  connect(c_.close, &QPushButton::clicked, this, &QDialog::accept);
  LoadDefaults();
}

void VectorTextCommandDialog::LoadDefaults() { ShowFields(VectorTextFields{}); }

void VectorTextCommandDialog::ShowFields(const VectorTextFields& f) {
  c_.xPos->setValue(f.xPos);
  c_.yPos->setValue(f.yPos);
  SelectEntry(c_.font, 0);
  c_.width->setValue(f.width);
  c_.height->setValue(f.height);
  c_.fontSpace->setValue(f.fontSpace);
  SelectEntry(c_.bold, f.bold ? 1 : 0);
  SelectEntry(c_.reverse, f.reverse ? 1 : 0);
  SelectEntry(c_.italic, f.italic ? 1 : 0);
  SelectEntry(c_.rotation, f.rotation);
  SelectEntry(c_.justification, static_cast<int>(f.justification));
  SelectEntry(c_.textDirection, static_cast<int>(f.textDirection));
  c_.data->setText(DataText(f.data));
}

VectorTextFields VectorTextCommandDialog::TakeFields() const {
  VectorTextFields f;
  f.xPos = c_.xPos->shown();
  f.yPos = c_.yPos->shown();
  f.width = c_.width->value();
  f.height = c_.height->value();
  f.fontSpace = c_.fontSpace->value();
  f.bold = c_.bold->currentIndex() == 1;
  f.reverse = c_.reverse->currentIndex() == 1;
  f.italic = c_.italic->currentIndex() == 1;
  f.rotation = Position(c_.rotation);
  f.justification = static_cast<Justification>(Position(c_.justification));
  f.textDirection = static_cast<TextDirection>(Position(c_.textDirection));
  f.data = DataBytes(c_.data->text());
  return f;
}

void VectorTextCommandDialog::TestPrint() {
  if (!DataCarried(c_.data, c_.data->text(), c_.data->accessibleName(), context_.prompter)) return;
  SendTestPrint(context_, BuildVectorTextLine(TakeFields()));
}

std::optional<std::string> VectorTextCommandDialog::TakeLines(Prompter& prompter) {
  if (!DataCarried(c_.data, c_.data->text(), c_.data->accessibleName(), prompter)) return std::nullopt;
  return ScriptLines({BuildVectorTextLine(TakeFields())});
}

}  // namespace qm
