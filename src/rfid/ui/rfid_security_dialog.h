// "RFID Security": a lock or unlock by payload, or the plain lock or unlock, as a tester line.
#pragma once

#include "gui/builder_dialog.h"

class QCheckBox;
class QRadioButton;

namespace qm {

class LockPayloadBox;

class RfidSecurityDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit RfidSecurityDialog(QWidget* parent = nullptr);
  std::optional<std::string> TakeLines(Prompter& prompter) override;

  QRadioButton* payloadMode() const { return payloadMode_; }
  QRadioButton* autoMode() const { return autoMode_; }
  QCheckBox* unlockBox() const { return unlock_; }
  LockPayloadBox* payload() const { return payload_; }
  QRadioButton* lockChoice() const { return lock_; }
  QRadioButton* unlockChoice() const { return unlockChoice_; }

  void ChoosePayloadMode();
  void ChooseAutoMode();

 protected:
  void LoadDefaults() override;
  void showEvent(QShowEvent* event) override;

 private:
  void SetLockChoice(QRadioButton* chosen);

  QRadioButton* payloadMode_;
  QRadioButton* autoMode_;
  QCheckBox* unlock_;
  LockPayloadBox* payload_;
  QRadioButton* lock_;
  QRadioButton* unlockChoice_;
};

}  // namespace qm
