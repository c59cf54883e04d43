#include "commands/ui/printing_setting_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "commands/ui/builder_field_widgets.h"
#include "gui/long_work.h"

namespace qm {

PrintingSettingDialog::PrintingSettingDialog(AppContext& context, QWidget* parent)
    : BuilderDialog(parent), context_(context) {
  setWindowTitle(tr("Printing Setting"));

  auto* speedBox = new QGroupBox(tr("Speed"));
  auto* speedColumn = new QVBoxLayout(speedBox);
  // The speeds read the same in every language.
  c_.speed = new QButtonGroup(this);
  for (size_t i = 0; i < kPrintSpeedNames.size(); ++i) {
    const std::string_view name = kPrintSpeedNames[i];
    auto* radio = new QRadioButton(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    c_.speed->addButton(radio, static_cast<int>(i));
    speedColumn->addWidget(radio);
  }
  c_.speedApply = new QCheckBox(tr("Apply"));
  speedColumn->addStretch();
  speedColumn->addWidget(c_.speedApply);

  auto* densityBox = new QGroupBox(tr("Density"));
  auto* densityColumn = new QVBoxLayout(densityBox);
  c_.density = new QSlider(Qt::Vertical);
  c_.density->setRange(0, 20);
  // Position 0 stands at the top and is density 20. A vertical slider puts its minimum at the
  // bottom unless inverted; the keys and the wheel are inverted with it, so Up still moves
  // the handle up.
  c_.density->setInvertedAppearance(true);
  c_.density->setInvertedControls(true);
  c_.density->setTickInterval(1);
  c_.density->setTickPosition(QSlider::TicksBothSides);
  c_.density->setPageStep(1);
  c_.density->setAccessibleName(tr("Density"));
  c_.densityValue = new QLabel;
  c_.densityValue->setMinimumWidth(c_.densityValue->fontMetrics().horizontalAdvance(QStringLiteral("00")));
  c_.densityApply = new QCheckBox(tr("Apply"));
  auto* sliderRow = new QHBoxLayout;
  sliderRow->addWidget(c_.density);
  sliderRow->addWidget(c_.densityValue);
  densityColumn->addLayout(sliderRow, 1);
  densityColumn->addWidget(c_.densityApply);
  connect(c_.density, &QSlider::valueChanged, this, &PrintingSettingDialog::ShowDensity);

  auto* directionBox = new QGroupBox(tr("Direction"));
  auto* directionColumn = new QVBoxLayout(directionBox);
  c_.direction = RadioButtons(directionColumn, this, {tr("Top"), tr("Bottom")});
  c_.directionApply = new QCheckBox(tr("Apply"));
  directionColumn->addStretch();
  directionColumn->addWidget(c_.directionApply);

  c_.testPrint = new QPushButton(tr("Test Print"));
  c_.insert = new QPushButton(tr("Insert to label"));
  c_.close = new QPushButton(tr("Close"));
  connect(c_.testPrint, &QPushButton::clicked, this, &PrintingSettingDialog::TestPrint);
  connect(c_.insert, &QPushButton::clicked, this, &BuilderDialog::InsertToLabel);
  connect(c_.close, &QPushButton::clicked, this, &QDialog::accept);

  auto* frames = new QHBoxLayout;
  frames->addWidget(speedBox);
  frames->addWidget(densityBox);
  frames->addWidget(directionBox);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(frames);
  layout->addLayout(ButtonRow({c_.testPrint, c_.insert, c_.close}));
  LoadDefaults();
}

void PrintingSettingDialog::LoadDefaults() { ShowFields(PrintingSettingFields{}); }

void PrintingSettingDialog::ShowFields(const PrintingSettingFields& f) {
  c_.speed->button(static_cast<int>(f.speed))->setChecked(true);
  c_.speedApply->setChecked(f.speedApply);
  c_.density->setValue(kDensityRange.maximum - f.density);
  ShowDensity(c_.density->value());
  c_.densityApply->setChecked(f.densityApply);
  c_.direction->button(static_cast<int>(f.direction))->setChecked(true);
  c_.directionApply->setChecked(f.directionApply);
}

void PrintingSettingDialog::ShowDensity(int position) {
  c_.densityValue->setText(QString::number(kDensityRange.maximum - position));
}

PrintingSettingFields PrintingSettingDialog::TakeFields() const {
  PrintingSettingFields f;
  f.speed = static_cast<PrintSpeed>(std::max(c_.speed->checkedId(), 0));
  f.speedApply = c_.speedApply->isChecked();
  f.density = kDensityRange.maximum - c_.density->value();
  f.densityApply = c_.densityApply->isChecked();
  f.direction = static_cast<PrintDirection>(std::max(c_.direction->checkedId(), 0));
  f.directionApply = c_.directionApply->isChecked();
  return f;
}

void PrintingSettingDialog::TestPrint() {
  const std::string bytes = BuildPrinterSettingTest(TakeFields());
  RunLongWork(context_, this, [&](Work&) { context_.link.Write(bytes); });
}

std::optional<std::string> PrintingSettingDialog::TakeLines(Prompter&) {
  return ScriptLines(BuildPrintingSettingLines(TakeFields()));
}

}  // namespace qm
