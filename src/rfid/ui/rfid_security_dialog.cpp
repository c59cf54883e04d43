#include "rfid/ui/rfid_security_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "rfid/rfid_commands.h"
#include "rfid/ui/lock_payload_box.h"

namespace qm {

RfidSecurityDialog::RfidSecurityDialog(QWidget* parent) : BuilderDialog(parent) {
  setWindowTitle(tr("RFID Security"));
  payloadMode_ = new QRadioButton(tr("Lock-Command Pay Load"));
  autoMode_ = new QRadioButton(tr("Auto"));
  auto* modes = new QButtonGroup(this);
  modes->addButton(payloadMode_);
  modes->addButton(autoMode_);
  connect(payloadMode_, &QRadioButton::clicked, this, &RfidSecurityDialog::ChoosePayloadMode);
  connect(autoMode_, &QRadioButton::clicked, this, &RfidSecurityDialog::ChooseAutoMode);
  unlock_ = new QCheckBox(tr("Unlock"));
  payload_ = new LockPayloadBox(QString());
  // The plain lock and unlock are a pair of their own, apart from the mode pair; neither
  // is chosen in payload mode, which an exclusive group would not allow.
  lock_ = new QRadioButton(tr("Lock"));
  unlockChoice_ = new QRadioButton(tr("UnLock"));
  for (QRadioButton* r : {lock_, unlockChoice_}) {
    r->setAutoExclusive(false);
    connect(r, &QRadioButton::clicked, this, [this, r] { SetLockChoice(r); });
  }

  auto* payloadBox = new QGroupBox;
  auto* payloadLayout = new QVBoxLayout(payloadBox);
  auto* payloadHead = new QHBoxLayout;
  payloadHead->addWidget(payloadMode_);
  payloadHead->addStretch();
  payloadHead->addWidget(unlock_);
  payloadLayout->addLayout(payloadHead);
  payloadLayout->addWidget(payload_);
  auto* autoBox = new QGroupBox;
  auto* autoLayout = new QHBoxLayout(autoBox);
  autoLayout->addWidget(autoMode_);
  autoLayout->addStretch();
  autoLayout->addWidget(lock_);
  autoLayout->addWidget(unlockChoice_);

  auto* insert = new QPushButton(tr("Insert to label"));
  auto* close = new QPushButton(tr("Close"));
  connect(insert, &QPushButton::clicked, this, &BuilderDialog::InsertToLabel);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {insert, close}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(payloadBox);
  layout->addWidget(autoBox);
  layout->addLayout(buttons);
  LoadDefaults();
}

void RfidSecurityDialog::LoadDefaults() { ChoosePayloadMode(); }

void RfidSecurityDialog::showEvent(QShowEvent* event) {
  // Shown again in the insertion loop: the held mode is applied afresh, so the automatic
  // mode comes back with "Lock" chosen.
  if (keepFlag()) {
    if (autoMode_->isChecked()) {
      ChooseAutoMode();
    } else {
      ChoosePayloadMode();
    }
  }
  BuilderDialog::showEvent(event);
}

void RfidSecurityDialog::SetLockChoice(QRadioButton* chosen) {
  lock_->setChecked(chosen == lock_);
  unlockChoice_->setChecked(chosen == unlockChoice_);
}

void RfidSecurityDialog::ChoosePayloadMode() {
  payloadMode_->setChecked(true);
  unlock_->setEnabled(true);
  payload_->SetBoxesEnabled(true);
  SetLockChoice(nullptr);
  lock_->setEnabled(false);
  unlockChoice_->setEnabled(false);
}

void RfidSecurityDialog::ChooseAutoMode() {
  autoMode_->setChecked(true);
  SetLockChoice(lock_);
  lock_->setEnabled(true);
  unlockChoice_->setEnabled(true);
  unlock_->setEnabled(false);
  payload_->SetBoxesEnabled(false);
}

std::optional<std::string> RfidSecurityDialog::TakeLines(Prompter&) {
  if (autoMode_->isChecked()) {
    return std::string(unlockChoice_->isChecked() ? ">RFUL" : ">RFLK") + "\r\n";
  }
  return BuildLockCommand(payload_->payload(), unlock_->isChecked(), "\r\n");
}

}  // namespace qm
