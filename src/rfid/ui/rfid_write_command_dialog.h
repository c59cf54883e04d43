// The tester's "RFID Write": one write line of up to twelve bytes from block 4 on.
#pragma once

#include "gui/builder_dialog.h"
#include "rfid/rfid_operations.h"

class QComboBox;
class QPushButton;

namespace qm {

class TagCellGrid;

class RfidWriteCommandDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit RfidWriteCommandDialog(Prompter& prompter, QWidget* parent = nullptr);
  std::optional<std::string> TakeLines(Prompter& prompter) override;

  QComboBox* dataType() const { return dataType_; }
  QComboBox* startBlock() const { return start_; }
  QComboBox* byteCount() const { return bytes_; }
  TagCellGrid* cells() const { return cells_; }
  QPushButton* setDataButton() const { return setData_; }
  QPushButton* resetDataButton() const { return resetData_; }

  void SetData();
  void ResetData();

 protected:
  void LoadDefaults() override;

 private:
  void SetListsEnabled(bool on);
  void OnCellEdited(int index);

  Prompter& prompter_;
  QComboBox* dataType_;
  QComboBox* start_;
  QComboBox* bytes_;
  TagCellGrid* cells_;
  QPushButton* setData_;
  QPushButton* resetData_;
};

}  // namespace qm
