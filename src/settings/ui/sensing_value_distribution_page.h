// Tab "F/W Ver. 1.39 or Later": the printer reports how its sensor read a label, the page
// finds the label's and the gap's clusters, proposes a level between them and stores it.
#pragma once

#include <QWidget>
#include <array>

#include "gui/app_context.h"
#include "settings/calibration.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qm {

class NumberField;
class SensingHistogram;

class SensingValueDistributionPage : public QWidget {
  Q_OBJECT

 public:
  explicit SensingValueDistributionPage(AppContext& context, QWidget* parent = nullptr);

  // "Check Sensing Value": read, analyse, propose; the extra dialog for close clusters.
  void CheckSensingValue();
  // Analyses a whole distribution and shows it with its proposal, as after a read.
  void ShowDistribution(const SensingCounts& counts);
  void SaveCalibration();
  void CancelCalibration();

  // Controls, for tests and screenshots.
  NumberField* labelLengthField() const { return labelLength_; }
  QRadioButton* gapButton() const { return gap_; }
  QRadioButton* blackMarkButton() const { return blackMark_; }
  QRadioButton* levelButton(int index) const { return levels_[static_cast<size_t>(index)]; }
  QLabel* countLabel(int index) const { return countTexts_[static_cast<size_t>(index)]; }
  NumberField* middleGapField() const { return middleGap_; }
  QComboBox* gapCountList() const { return gapCount_; }
  QPushButton* checkButton() const { return check_; }
  QPushButton* saveButton() const { return save_; }
  QPushButton* cancelButton() const { return cancel_; }
  SensingHistogram* histogram() const { return chart_; }
  int selectedLevel() const { return selected_; }
  bool isPeak(int index) const { return peaks_[static_cast<size_t>(index)]; }

 private:
  void TakeValuesOver();
  void ShowValues();
  // Back to idle: nothing selected, no peaks, zero counts, the save controls off.
  void Reset();
  void OnLevelClicked(int index);
  QWidget* MakeDistributionBox();
  QWidget* MakeStartBox();
  QWidget* MakeSaveBox();

  AppContext& context_;
  // The page's values, as the controls show them after ShowValues.
  int labelLengthMm_ = 150;
  SensingType type_ = SensingType::kGap;
  SensingCounts counts_{};
  std::array<bool, kSensingLevels> peaks_{};
  int selected_ = -1;
  int middleGapValue_ = 0;
  int gapCountIndex_ = 3;

  NumberField* labelLength_;
  QRadioButton* gap_;
  QRadioButton* blackMark_;
  std::array<QRadioButton*, kSensingLevels> levels_{};
  std::array<QLabel*, kSensingLevels> countTexts_{};
  QButtonGroup* levelGroup_;
  SensingHistogram* chart_;
  NumberField* middleGap_;
  QComboBox* gapCount_;
  QPushButton* check_;
  QPushButton* save_;
  QPushButton* cancel_;
};

}  // namespace qm
