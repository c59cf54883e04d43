// "Calibration Extra": a finer choice of level when the two clusters lie within three
// levels of each other.
#pragma once

#include <QDialog>
#include <array>

#include "gui/app_context.h"
#include "settings/calibration.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qm {

class NumberField;

class CalibrationExtraDialog : public QDialog {
  Q_OBJECT

 public:
  // For one analysis: the peaks' indexes and counts, the sensing type and the gap count.
  CalibrationExtraDialog(AppContext& context, SensingType type, int lo, int hi, int loCount, int hiCount,
                         int gapCount, QWidget* parent = nullptr);

  // The result "OK" returns.
  int middleGapValue() const { return middleGapValue_; }

  QRadioButton* levelButton(int index) const { return levels_[static_cast<size_t>(index)]; }
  QLabel* lowerPeakLabel() const { return loLabel_; }
  QLabel* upperPeakLabel() const { return hiLabel_; }
  QLabel* lowerCountLabel() const { return loCount_; }
  QLabel* upperCountLabel() const { return hiCount_; }
  NumberField* middleGapField() const { return middleGap_; }
  NumberField* gapCountField() const { return gapCount_; }
  QPushButton* saveButton() const { return save_; }
  QPushButton* okButton() const { return ok_; }

  void SaveCalibration();
  void Ok();

 private:
  void TakeValuesOver();
  void ShowValues();
  void OnLevelClicked(int index);

  AppContext& context_;
  SensingType type_;
  int lo_;
  int hi_;
  int middleGapValue_ = 0;
  int gapCountValue_;
  int selected_ = 4;
  bool saved_ = false;

  std::array<QRadioButton*, 8> levels_{};
  QButtonGroup* group_;
  QLabel* loLabel_;
  QLabel* hiLabel_;
  QLabel* loCount_;
  QLabel* hiCount_;
  NumberField* middleGap_;
  NumberField* gapCount_;
  QPushButton* save_;
  QPushButton* ok_;
};

}  // namespace qm
