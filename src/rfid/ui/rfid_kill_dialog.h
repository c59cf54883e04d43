// "RFID Kill": the kill line, once for every "Insert to label".
#pragma once

#include "gui/builder_dialog.h"

namespace qm {

class RfidKillDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit RfidKillDialog(QWidget* parent = nullptr);
  std::optional<std::string> TakeLines(Prompter& prompter) override;

 protected:
  void LoadDefaults() override {}
};

}  // namespace qm
