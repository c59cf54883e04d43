// "Bitmap Text Command": one bitmap-font text line "T".
#pragma once

#include "commands/text_commands.h"
#include "gui/app_context.h"
#include "gui/builder_dialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace qm {

class RealNumberSpin;

class BitmapTextCommandDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit BitmapTextCommandDialog(AppContext& context, QWidget* parent = nullptr);

  std::optional<std::string> TakeLines(Prompter& prompter) override;
  // The fields as the controls hold them.
  BitmapTextFields TakeFields() const;
  // Prints the line on one label, unless a position is out of range.
  void TestPrint();
  // "Insert to label", once the positions are in range.
  void Insert();

  struct Controls {
    RealNumberSpin* xPos;
    RealNumberSpin* yPos;
    QComboBox* font;
    QSpinBox* hMulti;
    QSpinBox* vMulti;
    QSpinBox* spaceR;
    QComboBox* rotation;
    QComboBox* reverse;
    QComboBox* bold;
    QLineEdit* data;
    QPushButton* findFont;
    QPushButton* convert;
    QPushButton* testPrint;
    QPushButton* insert;
    QPushButton* close;
  };
  const Controls& controls() const { return c_; }

 protected:
  void LoadDefaults() override;

 private:
  void ShowFields(const BitmapTextFields& fields);
  // The fields when both positions are in range; otherwise says which is not.
  std::optional<BitmapTextFields> TakeValidFields(Prompter& prompter);

  AppContext& context_;
  Controls c_;
};

}  // namespace qm
