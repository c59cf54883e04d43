// "RFID Write": passwords, the data of a stretch of tag memory, unlock and lock, sent at once.
#pragma once

#include <QDialog>

#include "gui/app_context.h"
#include "rfid/rfid_operations.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qm {

class LockPayloadBox;
class TagCellGrid;

class RfidWriteDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RfidWriteDialog(AppContext& context, QWidget* parent = nullptr);

  QLineEdit* accessPassword() const { return access_; }
  QLineEdit* killPassword() const { return kill_; }
  QRadioButton* labelRadio() const { return label_; }
  QRadioButton* metalRadio() const { return metal_; }
  QRadioButton* epcRadio() const { return epc_; }
  QRadioButton* userRadio() const { return user_; }
  QComboBox* dataType() const { return dataType_; }
  QComboBox* startBlock() const { return start_; }
  QComboBox* byteCount() const { return bytes_; }
  TagCellGrid* cells() const { return cells_; }
  QCheckBox* dataBox() const { return sendData_; }
  QCheckBox* lockBox() const { return sendLock_; }
  QCheckBox* unlockBox() const { return sendUnlock_; }
  LockPayloadBox* payload() const { return payload_; }
  QPushButton* passwordButton() const { return password_; }
  QPushButton* setDataButton() const { return setData_; }
  QPushButton* resetDataButton() const { return resetData_; }
  QPushButton* writeButton() const { return write_; }
  QPushButton* readButton() const { return popupRead_; }

  void SendPasswords();
  void SetData();
  void ResetData();
  void Write();
  void PopupRead();

 private:
  TagRange Range() const;
  void SetListsEnabled(bool on);
  void OnCheckBox(QCheckBox* clicked);
  void OnCellEdited(int index);

  AppContext& context_;
  QLineEdit* access_;
  QLineEdit* kill_;
  QRadioButton* label_;
  QRadioButton* metal_;
  QRadioButton* epc_;
  QRadioButton* user_;
  QComboBox* dataType_;
  QComboBox* start_;
  QComboBox* bytes_;
  TagCellGrid* cells_;
  QCheckBox* sendData_;
  QCheckBox* sendLock_;
  QCheckBox* sendUnlock_;
  LockPayloadBox* payload_;
  QPushButton* password_;
  QPushButton* setData_;
  QPushButton* resetData_;
  QPushButton* write_;
  QPushButton* popupRead_;
};

}  // namespace qm
