// "Label Setting": label width "SW", length and media "SL" and margins "SM", entered in
// inches, millimetres or dots and written in dots.
#pragma once

#include "commands/layout_commands.h"
#include "gui/builder_dialog.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;

namespace qm {

class LabelSketch;
class RealNumberSpin;

class LabelSettingDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit LabelSettingDialog(QWidget* parent = nullptr);

  std::optional<std::string> TakeLines(Prompter& prompter) override;
  // The fields as the controls show them, in the current unit.
  LabelSettingFields TakeFields() const;
  LengthUnit unit() const { return unit_; }

  struct Controls {
    QButtonGroup* unit;   // ids are LengthUnit positions
    QButtonGroup* media;  // ids are MediaType positions
    QCheckBox* widthApply;
    RealNumberSpin* width;
    QCheckBox* lengthApply;
    RealNumberSpin* length;
    RealNumberSpin* xMargin;
    RealNumberSpin* yMargin;
    QCheckBox* marginApply;
    std::array<QLabel*, 4> unitLabels;
    LabelSketch* sketch;  // the label the values describe
    QPushButton* insert;
    QPushButton* close;
  };
  const Controls& controls() const { return c_; }

 protected:
  void LoadDefaults() override;

 private:
  void ShowFields(const LabelSettingFields& fields);
  void ChooseUnit(int id);
  void ShowSketch();

  Controls c_;
  // The unit the four lengths are shown in.
  LengthUnit unit_ = LengthUnit::kInch;
  bool showing_ = false;
};

}  // namespace qm
