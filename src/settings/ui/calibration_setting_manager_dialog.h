// "Manual Calibration", opened by "Calibration Setting Manager": the two ways of
// calibrating the media sensor, one tab for each generation of firmware.
#pragma once

#include <QDialog>

#include "gui/app_context.h"

class QPushButton;
class QTabWidget;

namespace qm {

class ManualCalibrationSettingPage;
class SensingValueDistributionPage;

class CalibrationSettingManagerDialog : public QDialog {
  Q_OBJECT

 public:
  enum Page { kSensingPage, kManualPage };

  explicit CalibrationSettingManagerDialog(AppContext& context, QWidget* parent = nullptr);

  QTabWidget* tabs() const { return tabs_; }
  SensingValueDistributionPage* sensingPage() const { return sensing_; }
  ManualCalibrationSettingPage* manualPage() const { return manual_; }
  QPushButton* closeButton() const { return close_; }

 private:
  QTabWidget* tabs_;
  SensingValueDistributionPage* sensing_;
  ManualCalibrationSettingPage* manual_;
  QPushButton* close_;
};

}  // namespace qm
