// "Printing Setting": print speed "SS", density "SD" and direction "SOT"/"SOB", and the
// "Printer Setting Test" label that shows and applies them.
#pragma once

#include "commands/layout_commands.h"
#include "gui/app_context.h"
#include "gui/builder_dialog.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace qm {

class PrintingSettingDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit PrintingSettingDialog(AppContext& context, QWidget* parent = nullptr);

  std::optional<std::string> TakeLines(Prompter& prompter) override;
  // The fields as the controls hold them.
  PrintingSettingFields TakeFields() const;
  void TestPrint();

  struct Controls {
    QButtonGroup* speed;  // ids are PrintSpeed positions
    QCheckBox* speedApply;
    QSlider* density;  // 0 at the top is density 20
    QLabel* densityValue;
    QCheckBox* densityApply;
    QButtonGroup* direction;  // ids are PrintDirection positions
    QCheckBox* directionApply;
    QPushButton* testPrint;
    QPushButton* insert;
    QPushButton* close;
  };
  const Controls& controls() const { return c_; }

 protected:
  void LoadDefaults() override;

 private:
  void ShowFields(const PrintingSettingFields& fields);
  void ShowDensity(int position);

  AppContext& context_;
  Controls c_;
};

}  // namespace qm
