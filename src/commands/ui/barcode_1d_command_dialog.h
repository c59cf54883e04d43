// "1D Barcode Command": the linear barcode line "B1".
#pragma once

#include "commands/barcode_commands.h"
#include "gui/app_context.h"
#include "gui/builder_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace qm {

class RealNumberSpin;

class Barcode1DCommandDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit Barcode1DCommandDialog(AppContext& context, QWidget* parent = nullptr);

  std::optional<std::string> TakeLines(Prompter& prompter) override;
  // The fields as the controls hold them.
  Barcode1DFields TakeFields() const;
  void TestPrint();

  struct Controls {
    RealNumberSpin* xPos;
    RealNumberSpin* yPos;
    QComboBox* barcode;
    QSpinBox* narrowBar;
    QSpinBox* wideBar;
    QSpinBox* height;
    QComboBox* rotation;
    QComboBox* hri;
    QCheckBox* quietZone;
    QSpinBox* quietZoneWidth;
    QLineEdit* data;
    QPushButton* testPrint;
    QPushButton* convert;
    QPushButton* insert;
    QPushButton* close;
  };
  const Controls& controls() const { return c_; }

 protected:
  void LoadDefaults() override;

 private:
  void ShowFields(const Barcode1DFields& fields);
  void EnableQuietZone();

  AppContext& context_;
  Controls c_;
};

}  // namespace qm
