// "RFID Password": the tag's new access and kill passwords as a tester line.
#pragma once

#include <utility>

#include "gui/builder_dialog.h"

class QLineEdit;

namespace qm {

class RfidPasswordDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit RfidPasswordDialog(Prompter& prompter, QWidget* parent = nullptr);
  std::optional<std::string> TakeLines(Prompter& prompter) override;

  QLineEdit* accessPassword() const { return access_; }
  QLineEdit* killPassword() const { return kill_; }

  // Checks both passwords; closes for the tester only when each has 8 characters.
  void Insert();

 protected:
  void LoadDefaults() override;

 private:
  // A dot after each pair as the operator types.
  void OnEdited(QLineEdit* field);
  // Both passwords as bytes, once each has a byte for every character and 8 of them.
  std::optional<std::pair<std::string, std::string>> TakePasswords(Prompter& prompter);

  Prompter& prompter_;
  QLineEdit* access_;
  QLineEdit* kill_;
};

}  // namespace qm
