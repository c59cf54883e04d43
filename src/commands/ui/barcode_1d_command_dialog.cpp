#include "commands/ui/barcode_1d_command_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/line_preview.h"
#include "commands/ui/convert_unit_dialog.h"
#include "gui/choice_list.h"

namespace qm {

Barcode1DCommandDialog::Barcode1DCommandDialog(AppContext& context, QWidget* parent)
    : BuilderDialog(parent), context_(context) {
  setWindowTitle(tr("1D Barcode Command"));
  c_.xPos = CoordinateSpin();
  c_.yPos = CoordinateSpin();
  c_.barcode = MakeChoiceList(kBarcode1DTypes);
  c_.narrowBar = IntegerSpin(kNarrowBarRange);
  c_.wideBar = IntegerSpin(kWideBarRange);
  c_.height = IntegerSpin(kBarcodeHeightRange);
  c_.rotation = MakeChoiceList(kRotationNames);
  c_.hri = MakeChoiceList(kHriNames);
  c_.quietZone = new QCheckBox(tr("Q-Zone"));
  c_.quietZoneWidth = IntegerSpin(kQuietZoneRange);
  c_.data = new QLineEdit;
  c_.testPrint = new QPushButton(tr("Test Print"));
  c_.convert = new QPushButton(tr("Convert"));
  c_.insert = new QPushButton(tr("Insert to label"));
  c_.close = new QPushButton(tr("Close"));

  // The fields in command order, two to a row.
  QGridLayout* grid = FieldGrid({{new QLabel(tr("X pos")), c_.xPos},
                                 {new QLabel(tr("Y pos")), c_.yPos},
                                 {new QLabel(tr("Barcode")), c_.barcode},
                                 {new QLabel(tr("N-Bar W")), c_.narrowBar},
                                 {new QLabel(tr("W-Bar W")), c_.wideBar},
                                 {new QLabel(tr("Height")), c_.height},
                                 {new QLabel(tr("Rotation")), c_.rotation},
                                 {new QLabel(tr("HRI")), c_.hri},
                                 {c_.quietZone, c_.quietZoneWidth}},
                                2);
  auto* dataLabel = new QLabel(tr("Data"));
  dataLabel->setBuddy(c_.data);
  const int dataRow = grid->rowCount();
  grid->addWidget(dataLabel, dataRow, 0);
  grid->addWidget(c_.data, dataRow, 1, 1, 3);
  c_.data->setMinimumWidth(360);

  connect(c_.quietZone, &QCheckBox::toggled, this, &Barcode1DCommandDialog::EnableQuietZone);
  connect(c_.testPrint, &QPushButton::clicked, this, &Barcode1DCommandDialog::TestPrint);
  connect(c_.insert, &QPushButton::clicked, this, [this] {
    if (DataCarried(c_.data, c_.data->text(), tr("Data"), context_.prompter)) InsertToLabel();
  });
  connect(c_.close, &QPushButton::clicked, this, &QDialog::accept);
  connect(c_.convert, &QPushButton::clicked, this, [this] { ConvertUnitDialog::Open(this); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(ButtonRow({c_.testPrint, c_.convert, c_.insert, c_.close}));
  AttachLinePreview(*this, *layout);
  LoadDefaults();
}

void Barcode1DCommandDialog::LoadDefaults() { ShowFields(Barcode1DFields{}); }

void Barcode1DCommandDialog::ShowFields(const Barcode1DFields& f) {
  c_.xPos->setValue(f.xPos);
  c_.yPos->setValue(f.yPos);
  SelectEntry(c_.barcode, f.barcode);
  c_.narrowBar->setValue(f.narrowBarWidth);
  c_.wideBar->setValue(f.wideBarWidth);
  c_.height->setValue(f.height);
  SelectEntry(c_.rotation, f.rotation);
  SelectEntry(c_.hri, f.hri ? 1 : 0);
  c_.quietZone->setChecked(f.quietZone);
  c_.quietZoneWidth->setValue(f.quietZoneWidth);
  c_.data->setText(DataText(f.data));
  EnableQuietZone();
}

Barcode1DFields Barcode1DCommandDialog::TakeFields() const {
  Barcode1DFields f;
  f.xPos = c_.xPos->shown();
  f.yPos = c_.yPos->shown();
  f.barcode = std::max(c_.barcode->currentIndex(), 0);
  f.narrowBarWidth = c_.narrowBar->value();
  f.wideBarWidth = c_.wideBar->value();
  f.height = c_.height->value();
  f.rotation = std::max(c_.rotation->currentIndex(), 0);
  f.hri = c_.hri->currentIndex() == 1;
  f.quietZone = c_.quietZone->isChecked();
  f.quietZoneWidth = c_.quietZoneWidth->value();
  f.data = DataBytes(c_.data->text());
  return f;
}

void Barcode1DCommandDialog::EnableQuietZone() { c_.quietZoneWidth->setEnabled(c_.quietZone->isChecked()); }

void Barcode1DCommandDialog::TestPrint() {
  if (!DataCarried(c_.data, c_.data->text(), tr("Data"), context_.prompter)) return;
  SendTestPrint(context_, BuildBarcode1DLine(TakeFields()));
}

std::optional<std::string> Barcode1DCommandDialog::TakeLines(Prompter& prompter) {
  if (!DataCarried(c_.data, c_.data->text(), tr("Data"), prompter)) return std::nullopt;
  return ScriptLines({BuildBarcode1DLine(TakeFields())});
}

}  // namespace qm
