// "2D Barcode Command": the two-dimensional barcode line "B2" for MaxiCode, PDF417 and QR
// Code, whose fields, lists and sample data follow the chosen symbology.
#pragma once

#include "commands/barcode_commands.h"
#include "gui/app_context.h"
#include "gui/builder_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace qm {

class RealNumberSpin;

class Barcode2DCommandDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit Barcode2DCommandDialog(AppContext& context, QWidget* parent = nullptr);

  std::optional<std::string> TakeLines(Prompter& prompter) override;
  // The fields as the controls hold them, read as the symbology shown.
  Barcode2DFields TakeFields() const;
  void TestPrint();

  struct Controls {
    QComboBox* type;
    RealNumberSpin* startX;
    RealNumberSpin* startY;
    QLineEdit* letter;
    QLabel* modeLabel;
    QComboBox* mode;
    QSpinBox* maxRow;
    QSpinBox* maxCol;
    QLabel* errorCorrectionLabel;
    QComboBox* errorCorrection;
    QComboBox* compress;
    QComboBox* hri;
    QComboBox* origin;
    QSpinBox* moduleWidth;
    QLabel* sizeLabel;
    QSpinBox* size;
    QComboBox* rotation;
    QPlainTextEdit* data;
    QPushButton* testPrint;
    QPushButton* convert;
    QPushButton* insert;
    QPushButton* close;
  };
  const Controls& controls() const { return c_; }

 protected:
  void LoadDefaults() override;

 private:
  void ShowFields(const Barcode2DFields& fields);
  void RelabelFor(Barcode2DType type);
  void EnableFor(Barcode2DType type);
  void ChooseType(int index);
  void ChooseMode(int index);

  AppContext& context_;
  Controls c_;
  // The symbology the controls show now: their lists and labels are its own.
  Barcode2DType shownType_ = Barcode2DType::kMaxiCode;
  bool showing_ = false;
};

}  // namespace qm
