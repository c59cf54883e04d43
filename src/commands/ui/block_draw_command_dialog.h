// "Block Draw Command": one block or line "BD".
#pragma once

#include "commands/layout_commands.h"
#include "gui/app_context.h"
#include "gui/builder_dialog.h"

class QComboBox;
class QPushButton;
class QSpinBox;

namespace qm {

class RealNumberSpin;

class BlockDrawCommandDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit BlockDrawCommandDialog(AppContext& context, QWidget* parent = nullptr);

  std::optional<std::string> TakeLines(Prompter& prompter) override;
  // The fields as the controls hold them.
  BlockDrawFields TakeFields() const;
  void TestPrint();

  struct Controls {
    RealNumberSpin* startX;
    RealNumberSpin* startY;
    RealNumberSpin* endX;
    RealNumberSpin* endY;
    QComboBox* type;
    QSpinBox* optional;
    QPushButton* testPrint;
    QPushButton* convert;
    QPushButton* insert;
    QPushButton* close;
  };
  const Controls& controls() const { return c_; }

 protected:
  void LoadDefaults() override;

 private:
  void ShowFields(const BlockDrawFields& fields);
  void ChooseType(int index);
  void EnableOptional();

  AppContext& context_;
  Controls c_;
  bool showing_ = false;
};

}  // namespace qm
