#include "commands/ui/convert_unit_dialog.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

namespace qm {

namespace {

// Lengths worth converting on a label, with room for a roll's worth of dots, either way
// from an origin.
constexpr double kLargestInput = 1000000;
// As many places as a single-precision length can carry below a few units.
constexpr int kInputDecimals = 7;

// The result to its unit's precision.
QString LengthText(float value) { return QString::fromStdString(ShownLength(value)); }

// The value to convert, shown as briefly as it was typed ("812.8", not "812.8000").
class ValueField : public QDoubleSpinBox {
 public:
  ValueField() {
    setDecimals(kInputDecimals);
    setRange(-kLargestInput, kLargestInput);
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  QString textFromValue(double value) const override { return QString::number(value, 'g', 10); }
};

}  // namespace

ConvertUnitDialog::ConvertUnitDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Convert Unit"));

  // In the order of UnitConversion, two to a row.
  const QString names[] = {tr("inch to mm"), tr("inch to dots"), tr("dots to inch"),
                           tr("dots to mm"), tr("mm to inch"),   tr("mm to dots")};
  conversions_ = new QButtonGroup(this);
  auto* choices = new QGroupBox;
  auto* grid = new QGridLayout(choices);
  for (int i = 0; i < static_cast<int>(kUnitConversionNames.size()); ++i) {
    auto* radio = new QRadioButton(names[i]);
    conversions_->addButton(radio, i);
    grid->addWidget(radio, i / 2, i % 2);
  }
  conversions_->button(static_cast<int>(UnitConversion::kInchToMm))->setChecked(true);
  connect(conversions_, &QButtonGroup::idClicked, this, [this] {
    input_->interpretText();
    ShowUnits();
  });

  input_ = new ValueField;
  input_->setAccessibleName(tr("Value to convert"));
  output_ = new QLineEdit(LengthText(0));
  output_->setReadOnly(true);
  output_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  output_->setAccessibleName(tr("Converted value"));
  inputUnit_ = new QLabel;
  outputUnit_ = new QLabel;
  inputUnit_->setBuddy(input_);
  auto* values = new QGridLayout;
  values->addWidget(inputUnit_, 0, 0);
  values->addWidget(input_, 0, 1);
  values->addWidget(outputUnit_, 1, 0);
  values->addWidget(output_, 1, 1);
  values->setColumnMinimumWidth(0, 50);
  values->setColumnStretch(1, 1);

  convert_ = new QPushButton(tr("Convert Unit"));
  auto* close = new QPushButton(tr("Close"));
  convert_->setDefault(true);
  close->setAutoDefault(false);
  connect(convert_, &QPushButton::clicked, this, &ConvertUnitDialog::Convert);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(convert_);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(choices);
  layout->addLayout(values);
  layout->addLayout(buttons);
  ShowUnits();
}

void ConvertUnitDialog::Open(QWidget* parent) {
  ConvertUnitDialog dialog(parent);
  dialog.exec();
}

QRadioButton* ConvertUnitDialog::conversionButton(UnitConversion conversion) const {
  return static_cast<QRadioButton*>(conversions_->button(static_cast<int>(conversion)));
}

UnitConversion ConvertUnitDialog::Chosen() const {
  return static_cast<UnitConversion>(conversions_->checkedId());
}

void ConvertUnitDialog::ShowUnits() {
  // The unit names are set in code and read the same in every language.
  const ConversionUnits units = UnitsOf(Chosen());
  for (const auto& [label, unit] : {std::pair{inputUnit_, units.from}, std::pair{outputUnit_, units.to}}) {
    const std::string_view name = kLengthUnitNames[static_cast<size_t>(unit)];
    label->setText(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  }
}

void ConvertUnitDialog::Convert() {
  input_->interpretText();
  const auto value = static_cast<float>(input_->value());
  output_->setText(LengthText(ConvertUnit(value, Chosen())));
}

}  // namespace qm
