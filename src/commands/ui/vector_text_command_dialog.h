// "Vector Text Command": one vector-font text line "V".
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

class VectorTextCommandDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit VectorTextCommandDialog(AppContext& context, QWidget* parent = nullptr);

  std::optional<std::string> TakeLines(Prompter& prompter) override;
  // The fields as the controls hold them.
  VectorTextFields TakeFields() const;
  void TestPrint();

  struct Controls {
    RealNumberSpin* xPos;
    RealNumberSpin* yPos;
    QComboBox* font;
    QSpinBox* width;
    QSpinBox* height;
    QSpinBox* fontSpace;
    QComboBox* bold;
    QComboBox* reverse;
    QComboBox* italic;
    QComboBox* rotation;
    QComboBox* justification;
    QComboBox* textDirection;
    QLineEdit* data;
    QPushButton* convert;
    QPushButton* testPrint;
    QPushButton* insert;
    QPushButton* close;
  };
  const Controls& controls() const { return c_; }

 protected:
  void LoadDefaults() override;

 private:
  void ShowFields(const VectorTextFields& fields);

  AppContext& context_;
  Controls c_;
};

}  // namespace qm
