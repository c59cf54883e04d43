// "Convert Unit": one length between inches, millimetres and printer dots.
#pragma once

#include <QDialog>

#include "commands/unit_conversion.h"

class QButtonGroup;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qm {

class ConvertUnitDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ConvertUnitDialog(QWidget* parent = nullptr);

  // Shows a fresh converter modally; the tester's and the builders' "Convert" buttons.
  static void Open(QWidget* parent);

  QRadioButton* conversionButton(UnitConversion conversion) const;
  QDoubleSpinBox* input() const { return input_; }
  QLineEdit* output() const { return output_; }
  QLabel* inputUnit() const { return inputUnit_; }
  QLabel* outputUnit() const { return outputUnit_; }
  QPushButton* convertButton() const { return convert_; }

  // "Convert Unit": the input times the chosen conversion's factor.
  void Convert();

 private:
  UnitConversion Chosen() const;
  void ShowUnits();

  QButtonGroup* conversions_;
  QDoubleSpinBox* input_;
  QLineEdit* output_;
  QLabel* inputUnit_;
  QLabel* outputUnit_;
  QPushButton* convert_;
};

}  // namespace qm
