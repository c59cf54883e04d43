// "RFID Read": reads a stretch of tag memory into a grid of 64 cells, or prints it.
#pragma once

#include <QDialog>

#include "gui/app_context.h"
#include "rfid/rfid_operations.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace qm {

class TagCellGrid;

class RfidReadDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RfidReadDialog(AppContext& context, QWidget* parent = nullptr, TagReadTiming timing = {});

  QRadioButton* labelRadio() const { return label_; }
  QRadioButton* metalRadio() const { return metal_; }
  QRadioButton* epcRadio() const { return epc_; }
  QRadioButton* userRadio() const { return user_; }
  QComboBox* dataType() const { return dataType_; }
  QComboBox* startBlock() const { return start_; }
  QComboBox* byteCount() const { return bytes_; }
  TagCellGrid* cells() const { return cells_; }
  QPushButton* readButton() const { return read_; }
  QPushButton* printButton() const { return print_; }

  void Read();
  void Print();

 private:
  TagRange Range() const;

  AppContext& context_;
  TagReadTiming timing_;
  QRadioButton* label_;
  QRadioButton* metal_;
  QRadioButton* epc_;
  QRadioButton* user_;
  QComboBox* dataType_;
  QComboBox* start_;
  QComboBox* bytes_;
  TagCellGrid* cells_;
  QPushButton* read_;
  QPushButton* print_;
};

}  // namespace qm
