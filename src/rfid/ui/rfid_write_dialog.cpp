#include "rfid/ui/rfid_write_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/printer_text.h"
#include "rfid/ui/lock_payload_box.h"
#include "rfid/ui/rfid_read_dialog.h"
#include "rfid/ui/tag_cell_grid.h"
#include "rfid/ui/tag_fields.h"
#include "gui/long_work.h"
#include "gui/held_messages.h"

namespace qm {

RfidWriteDialog::RfidWriteDialog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setWindowTitle(tr("RFID Write"));

  // Passwords.
  access_ = new QLineEdit(CommandText(kDefaultPassword));
  kill_ = new QLineEdit(CommandText(kDefaultPassword));
  password_ = new QPushButton(tr("Password"));
  auto* passwordBox = new QGroupBox(tr("Password"));
  auto* passwords = new QGridLayout(passwordBox);
  passwords->addWidget(new QLabel(tr("Acess :")), 0, 0);
  passwords->addWidget(access_, 0, 1);
  passwords->addWidget(new QLabel(tr("Kill :")), 1, 0);
  passwords->addWidget(kill_, 1, 1);
  passwords->addWidget(new QLabel(tr("* The value must be hexadecimal.")), 0, 2);
  passwords->addWidget(new QLabel(tr("(ex: 9C.4D.E1.37)")), 1, 2);
  passwords->addWidget(password_, 0, 3, 2, 1);
  connect(password_, &QPushButton::clicked, this, &RfidWriteDialog::SendPasswords);

  // What to write and where.
  label_ = new QRadioButton(tr("Label"));
  metal_ = new QRadioButton(tr("Metal"));
  auto* carrier = new QButtonGroup(this);
  carrier->addButton(label_);
  carrier->addButton(metal_);
  epc_ = new QRadioButton(tr("EPC Data :"));
  user_ = new QRadioButton(tr("User Data"));
  auto* memory = new QButtonGroup(this);
  memory->addButton(epc_);
  memory->addButton(user_);
  epc_->setChecked(true);
  dataType_ = MakeChoiceList(kDataTypeNames);
  dataType_->setCurrentIndex(0);
  // User memory has no data type of its own; the list still sets the cell width.
  connect(epc_, &QRadioButton::clicked, this, [this] { dataType_->setEnabled(setData_->isEnabled()); });
  connect(user_, &QRadioButton::clicked, this, [this] { dataType_->setEnabled(false); });
  start_ = NumberList(0, 16);
  bytes_ = NumberList(2, 64);
  setData_ = new QPushButton(tr("Set Data"));
  resetData_ = new QPushButton(tr("Reset Data"));
  connect(setData_, &QPushButton::clicked, this, &RfidWriteDialog::SetData);
  connect(resetData_, &QPushButton::clicked, this, &RfidWriteDialog::ResetData);
  auto* choices = new QGridLayout;
  choices->addWidget(label_, 0, 0);
  choices->addWidget(metal_, 0, 1);
  choices->addWidget(epc_, 1, 0);
  choices->addWidget(dataType_, 1, 1);
  choices->addWidget(user_, 1, 2);
  choices->addWidget(new QLabel(tr("Start Block Number :")), 0, 3);
  choices->addWidget(start_, 0, 4);
  choices->addWidget(new QLabel(tr("Nuber of bytes :")), 1, 3);
  choices->addWidget(bytes_, 1, 4);
  choices->addWidget(setData_, 0, 5);
  choices->addWidget(resetData_, 1, 5);
  choices->setColumnStretch(6, 1);

  cells_ = new TagCellGrid(kTagCells, false);
  connect(cells_, &TagCellGrid::CellEdited, this, &RfidWriteDialog::OnCellEdited);
  auto* dataBox = new QGroupBox(tr("Data"));
  auto* dataLayout = new QVBoxLayout(dataBox);
  dataLayout->addLayout(choices);
  dataLayout->addWidget(cells_);

  // What to send, and the lock payload.
  sendData_ = new QCheckBox(tr("Data"));
  sendLock_ = new QCheckBox(tr("Lock-Command"));
  sendUnlock_ = new QCheckBox(tr("Unlock"));
  for (QCheckBox* box : {sendData_, sendLock_, sendUnlock_}) {
    connect(box, &QCheckBox::clicked, this, [this, box] { OnCheckBox(box); });
  }
  payload_ = new LockPayloadBox(tr("Lock-Command Payload"));
  auto* sendBox = new QGroupBox(tr("Command"));
  auto* sends = new QVBoxLayout(sendBox);
  for (QCheckBox* box : {sendUnlock_, sendData_, sendLock_}) sends->addWidget(box);
  sends->addStretch();

  write_ = new QPushButton(tr("Write"));
  popupRead_ = new QPushButton(tr("Popup RFID Read Dialog"));
  auto* close = new QPushButton(tr("Close"));
  connect(write_, &QPushButton::clicked, this, &RfidWriteDialog::Write);
  connect(popupRead_, &QPushButton::clicked, this, &RfidWriteDialog::PopupRead);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* middle = new QHBoxLayout;
  middle->addWidget(sendBox);
  middle->addWidget(payload_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(popupRead_);
  buttons->addStretch();
  buttons->addWidget(write_);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(passwordBox);
  layout->addWidget(dataBox);
  layout->addLayout(middle);
  layout->addLayout(buttons);
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);

  ChooseNumber(start_, 4);
  ChooseNumber(bytes_, 12);
  resetData_->setEnabled(false);
  write_->setEnabled(false);
}

TagRange RfidWriteDialog::Range() const {
  TagRange r;
  r.carrier = label_->isChecked() ? TagCarrier::kLabel : metal_->isChecked() ? TagCarrier::kMetal : TagCarrier::kNone;
  r.memory = user_->isChecked() ? TagMemory::kUser : TagMemory::kEpc;
  r.dataType = dataType_->currentIndex() == 1 ? TagDataType::kAscii : TagDataType::kHex;
  r.start = ShownNumber(start_);
  r.bytes = ShownNumber(bytes_);
  return r;
}

void RfidWriteDialog::SetListsEnabled(bool on) {
  setData_->setEnabled(on);
  start_->setEnabled(on);
  bytes_->setEnabled(on);
  dataType_->setEnabled(on && !user_->isChecked());
}

void RfidWriteDialog::SendPasswords() {
  const std::optional<std::string> access = FieldBytes(access_, FieldName(tr("Acess :")), context_.prompter);
  if (!access) return;
  const std::optional<std::string> kill = FieldBytes(kill_, FieldName(tr("Kill :")), context_.prompter);
  if (!kill) return;
  RunLongWork(context_, this, [&](Work& w) { SendRfidPasswords(context_.link, w.prompter, *access, *kill); });
}

void RfidWriteDialog::SetData() {
  const TagRange r = Range();
  if (!TagRangeFits(r.start, r.bytes)) {
    context_.prompter.Show(Message{std::string(kInvalidRange), Icon::kExclamation, {}, 0});
    return;
  }
  cells_->SetDataType(r.dataType);
  cells_->OpenRange(r.start, r.bytes);
  cells_->ClearAll();
  resetData_->setEnabled(true);
  SetListsEnabled(false);
}

void RfidWriteDialog::ResetData() {
  resetData_->setEnabled(false);
  SetListsEnabled(true);
  cells_->ClearAll();
  ChooseNumber(bytes_, 12);
  ChooseNumber(start_, 4);
  dataType_->setCurrentIndex(0);
  cells_->DisableAll();
}

void RfidWriteDialog::OnCheckBox(QCheckBox* clicked) {
  if (clicked->isChecked()) {
    write_->setEnabled(true);
  } else if (!sendData_->isChecked() && !sendLock_->isChecked() && !sendUnlock_->isChecked()) {
    write_->setEnabled(false);
  }
}

void RfidWriteDialog::OnCellEdited(int index) {
  if (cells_->cell(index)->text().size() != cells_->width()) return;
  if (index == 2) {
    cells_->cell(3)->setFocus();  // cell 4, whether it is open or not
  } else if (index == kTagCells - 1) {
    setData_->setFocus();
  } else if (cells_->cell(index + 1)->isEnabled()) {
    cells_->cell(index + 1)->setFocus();
  } else {
    write_->setFocus();
  }
}

void RfidWriteDialog::Write() {
  TagWriteRequest request;
  request.unlock = sendUnlock_->isChecked();
  request.data = sendData_->isChecked();
  request.lock = sendLock_->isChecked();
  request.range = Range();
  request.cells = cells_->Concatenated();
  request.payload = payload_->payload();
  // "Writing is success" and the failures are shown once the lists and cells say what came of it.
  HeldMessages messages(context_.prompter);
  const TagWriteResult result =
      RunLongWork(context_, this, [&](Work&) { return WriteTag(context_.link, messages, request); }).value;
  if (request.data) {
    // The lists come back whatever the outcome, so "Set Data" can start the next tag.
    SetListsEnabled(true);
    if (result.dataFailed) cells_->DisableAll();
  }
  messages.Release();
}

void RfidWriteDialog::PopupRead() {
  RfidReadDialog dialog(context_, this);
  dialog.exec();
}

}  // namespace qm
