#include "commands/ui/label_setting_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/label_sketch.h"
#include "commands/unit_conversion.h"

namespace qm {

namespace {

// A length as the dialog holds it: single precision, shown to its six significant digits.
RealNumberSpin* LengthField() {
  auto* field = new RealNumberSpin(0, 99999, 6);
  field->setButtonSymbols(QAbstractSpinBox::NoButtons);
  field->setMinimumWidth(100);
  return field;
}

}  // namespace

LabelSettingDialog::LabelSettingDialog(QWidget* parent) : BuilderDialog(parent) {
  setWindowTitle(tr("Label Setting"));

  auto* unitBox = new QGroupBox(tr("Unit Setting"));
  auto* unitRow = new QHBoxLayout(unitBox);
  c_.unit = RadioButtons(unitRow, this, {tr("inch"), tr("mm"), tr("dots")});
  auto* mediaBox = new QGroupBox(tr("Media Type"));
  auto* mediaRow = new QHBoxLayout(mediaBox);
  c_.media = RadioButtons(mediaRow, this, {tr("Gap"), tr("Continuous"), tr("BlackMark")});

  c_.widthApply = new QCheckBox(tr("Width  :"));
  c_.width = LengthField();
  c_.lengthApply = new QCheckBox(tr("Length :"));
  c_.length = LengthField();
  c_.xMargin = LengthField();
  c_.yMargin = LengthField();
  c_.marginApply = new QCheckBox(tr("Apply"));
  for (QLabel*& label : c_.unitLabels) label = new QLabel;

  auto* sizeBox = new QGroupBox(tr("Width && Length"));
  auto* sizeGrid = new QGridLayout(sizeBox);
  sizeGrid->addWidget(c_.widthApply, 0, 0);
  sizeGrid->addWidget(c_.width, 0, 1);
  sizeGrid->addWidget(c_.unitLabels[0], 0, 2);
  sizeGrid->addWidget(c_.lengthApply, 1, 0);
  sizeGrid->addWidget(c_.length, 1, 1);
  sizeGrid->addWidget(c_.unitLabels[1], 1, 2);

  auto* marginBox = new QGroupBox(tr("Margin"));
  auto* marginGrid = new QGridLayout(marginBox);
  auto* xLabel = new QLabel(tr("X Margin :"));
  auto* yLabel = new QLabel(tr("Y Margin :"));
  xLabel->setBuddy(c_.xMargin);
  yLabel->setBuddy(c_.yMargin);
  marginGrid->addWidget(xLabel, 0, 0);
  marginGrid->addWidget(c_.xMargin, 0, 1);
  marginGrid->addWidget(c_.unitLabels[2], 0, 2);
  marginGrid->addWidget(yLabel, 1, 0);
  marginGrid->addWidget(c_.yMargin, 1, 1);
  marginGrid->addWidget(c_.unitLabels[3], 1, 2);
  marginGrid->addWidget(c_.marginApply, 2, 0, 1, 3);

  c_.insert = new QPushButton(tr("Insert to label"));
  c_.close = new QPushButton(tr("Close"));
  connect(c_.unit, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) ChooseUnit(id);
  });
  connect(c_.insert, &QPushButton::clicked, this, &BuilderDialog::InsertToLabel);
  connect(c_.close, &QPushButton::clicked, this, &QDialog::accept);

  auto* choices = new QHBoxLayout;
  choices->addWidget(unitBox);
  choices->addWidget(mediaBox);
  auto* lengths = new QHBoxLayout;
  lengths->addWidget(sizeBox);
  lengths->addWidget(marginBox);
  auto* fields = new QVBoxLayout;
  fields->addLayout(choices);
  fields->addLayout(lengths);
  fields->addStretch();
  // The commands draw nothing themselves, so the picture is of the label they describe.
  c_.sketch = new LabelSketch;
  auto* body = new QHBoxLayout;
  body->addLayout(fields, 1);
  body->addWidget(c_.sketch);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(ButtonRow({c_.insert, c_.close}));
  for (RealNumberSpin* field : {c_.width, c_.length, c_.xMargin, c_.yMargin}) {
    connect(field, &QDoubleSpinBox::textChanged, this, &LabelSettingDialog::ShowSketch);
  }
  connect(c_.media, &QButtonGroup::idToggled, this, &LabelSettingDialog::ShowSketch);
  connect(c_.marginApply, &QCheckBox::toggled, this, &LabelSettingDialog::ShowSketch);
  LoadDefaults();
}

void LabelSettingDialog::ShowSketch() { c_.sketch->Show(TakeFields()); }

void LabelSettingDialog::LoadDefaults() { ShowFields(LabelSettingFields{}); }

void LabelSettingDialog::ShowFields(const LabelSettingFields& f) {
  showing_ = true;
  unit_ = f.unit;
  c_.unit->button(static_cast<int>(f.unit))->setChecked(true);
  c_.media->button(static_cast<int>(f.media))->setChecked(true);
  c_.widthApply->setChecked(f.widthApply);
  c_.width->setValue(f.width);
  c_.lengthApply->setChecked(f.lengthApply);
  c_.length->setValue(f.length);
  c_.xMargin->setValue(f.xMargin);
  c_.yMargin->setValue(f.yMargin);
  c_.marginApply->setChecked(f.marginApply);
  // The unit labels are set in code and read the same in every language.
  const std::string_view unitName = kLengthUnitNames[static_cast<size_t>(f.unit)];
  const QString name = QString::fromLatin1(unitName.data(), static_cast<qsizetype>(unitName.size()));
  for (QLabel* label : c_.unitLabels) label->setText(name);
  showing_ = false;
  ShowSketch();
}

LabelSettingFields LabelSettingDialog::TakeFields() const {
  LabelSettingFields f;
  f.unit = unit_;
  f.media = static_cast<MediaType>(std::max(c_.media->checkedId(), 0));
  f.widthApply = c_.widthApply->isChecked();
  f.width = static_cast<float>(c_.width->shown());
  f.lengthApply = c_.lengthApply->isChecked();
  f.length = static_cast<float>(c_.length->shown());
  f.xMargin = static_cast<float>(c_.xMargin->shown());
  f.yMargin = static_cast<float>(c_.yMargin->shown());
  f.marginApply = c_.marginApply->isChecked();
  return f;
}

void LabelSettingDialog::ChooseUnit(int id) {
  if (showing_ || id < 0) return;
  // The shown lengths are converted, so the label stays the same size in the new unit.
  LabelSettingFields f = TakeFields();
  ChangeLabelUnit(f, static_cast<LengthUnit>(id));
  ShowFields(f);
}

std::optional<std::string> LabelSettingDialog::TakeLines(Prompter&) {
  return ScriptLines(BuildLabelSettingLines(TakeFields()));
}

}  // namespace qm
