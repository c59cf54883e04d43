// "RFID Cofiguration": the encoder's settings and counters, its calibration.
#pragma once

#include <QDialog>

#include "gui/app_context.h"
#include "rfid/rfid_commands.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace qm {

class RfidConfigurationDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RfidConfigurationDialog(AppContext& context, QWidget* parent = nullptr);

  QComboBox* tagType() const { return tagType_; }
  QComboBox* power() const { return power_; }
  QLineEdit* position() const { return position_; }
  QComboBox* retries() const { return retries_; }
  QComboBox* labels() const { return labels_; }
  QLineEdit* validCounter() const { return valid_; }
  QLineEdit* voidCounter() const { return void_; }
  QPushButton* getButton() const { return get_; }
  QPushButton* setButton() const { return set_; }
  QPushButton* resetButton() const { return reset_; }
  QPushButton* calibrateButton() const { return calibrate_; }
  QPushButton* defaultButton() const { return defaults_; }

  void Get();
  void Set();
  void Reset();
  void Calibrate();
  void Defaults();

 private:
  // The record into the controls, and the controls into the record.
  void ShowFields();
  void TakeFields();
  // Locked until the first Get that succeeds.
  void Unlock();

  AppContext& context_;
  RfidSettings settings_;
  QComboBox* tagType_;
  QComboBox* power_;
  QLineEdit* position_;
  QComboBox* retries_;
  QComboBox* labels_;
  QLineEdit* valid_;
  QLineEdit* void_;
  QPushButton* get_;
  QPushButton* set_;
  QPushButton* reset_;
  QPushButton* calibrate_;
  QPushButton* defaults_;
};

}  // namespace qm
