#include "settings/ui/sensing_value_distribution_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/number_field.h"
#include "gui/qt_strings.h"
#include "settings/ui/calibration_extra_dialog.h"
#include "settings/ui/sensing_histogram.h"
#include "gui/long_work.h"

namespace qm {

namespace {

constexpr int kLevelRows = 8;
// The page's count colours: a peak cyan on navy, every other count grey.
const QString kPeakStyle = QStringLiteral("color: rgb(0, 255, 255); background-color: rgb(0, 0, 128);");
const QString kCountStyle = QStringLiteral("color: rgb(128, 128, 128);");

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

SensingValueDistributionPage::SensingValueDistributionPage(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  auto* right = new QVBoxLayout;
  right->addWidget(MakeStartBox());
  right->addWidget(MakeSaveBox());
  auto* cancelBox = new QGroupBox(tr("Cancel"));
  cancel_ = new QPushButton(tr("Cancel Calibration"));
  (new QVBoxLayout(cancelBox))->addWidget(cancel_);
  right->addWidget(cancelBox);
  right->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(MakeDistributionBox(), 1);
  layout->addLayout(right);
  for (QPushButton* b : {check_, save_, cancel_}) b->setAutoDefault(false);
  connect(check_, &QPushButton::clicked, this, &SensingValueDistributionPage::CheckSensingValue);
  connect(save_, &QPushButton::clicked, this, &SensingValueDistributionPage::SaveCalibration);
  connect(cancel_, &QPushButton::clicked, this, &SensingValueDistributionPage::CancelCalibration);
  setFocusProxy(check_);
  Reset();
}

QWidget* SensingValueDistributionPage::MakeDistributionBox() {
  auto* box = new QGroupBox(tr("Sensing Value Distribution"));
  auto* layout = new QVBoxLayout(box);
  chart_ = new SensingHistogram;
  layout->addWidget(chart_, 1);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  levelGroup_ = new QButtonGroup(this);
  for (int k = 0; k < kSensingLevels; ++k) {
    auto* level = new QRadioButton(Latin1(LevelLabel(k)));
    auto* count = new QLabel;
    count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    count->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    levels_[static_cast<size_t>(k)] = level;
    countTexts_[static_cast<size_t>(k)] = count;
    levelGroup_->addButton(level, k);
    const int column = (k / kLevelRows) * 2;
    grid->addWidget(level, k % kLevelRows, column);
    grid->addWidget(count, k % kLevelRows, column + 1);
  }
  for (int c = 0; c < 4; ++c) grid->setColumnStretch(c * 2 + 1, 1);
  layout->addLayout(grid);
  connect(levelGroup_, &QButtonGroup::idClicked, this, &SensingValueDistributionPage::OnLevelClicked);
  return box;
}

QWidget* SensingValueDistributionPage::MakeStartBox() {
  auto* box = new QGroupBox(tr("STEP 1 : Start"));
  auto* grid = new QGridLayout(box);
  labelLength_ = new NumberField;
  labelLength_->setMaximumWidth(80);
  gap_ = new QRadioButton(tr("G"));
  blackMark_ = new QRadioButton(tr("B"));
  auto* types = new QButtonGroup(this);
  types->addButton(gap_, 0);
  types->addButton(blackMark_, 1);
  check_ = new QPushButton(tr("Check Sensing Value"));
  auto* lengthLabel = new QLabel(tr("Label Length : (mm)"));
  lengthLabel->setBuddy(labelLength_);
  grid->addWidget(lengthLabel, 0, 0);
  grid->addWidget(labelLength_, 0, 1);
  grid->addWidget(new QLabel(tr("Sensing Type :")), 1, 0);
  auto* typeRow = new QHBoxLayout;
  typeRow->addWidget(gap_);
  typeRow->addWidget(blackMark_);
  typeRow->addStretch();
  grid->addLayout(typeRow, 1, 1);
  grid->addWidget(check_, 2, 0, 1, 2);
  return box;
}

QWidget* SensingValueDistributionPage::MakeSaveBox() {
  auto* box = new QGroupBox(tr("STEP 2 : Save"));
  auto* grid = new QGridLayout(box);
  middleGap_ = new NumberField;
  middleGap_->setMaximumWidth(80);
  gapCount_ = new QComboBox;
  for (int n = 4; n <= 10; ++n) gapCount_->addItem(QString::number(n));
  save_ = new QPushButton(tr("Save Calibration"));
  auto* middleLabel = new QLabel(tr("Middle Gap Value :"));
  middleLabel->setBuddy(middleGap_);
  auto* countLabel = new QLabel(tr("Gap Count :"));
  countLabel->setBuddy(gapCount_);
  grid->addWidget(middleLabel, 0, 0);
  grid->addWidget(middleGap_, 0, 1);
  grid->addWidget(countLabel, 1, 0);
  grid->addWidget(gapCount_, 1, 1);
  grid->addWidget(save_, 2, 0, 1, 2);
  return box;
}

void SensingValueDistributionPage::TakeValuesOver() {
  // A field that holds no number keeps the value it had.
  if (const std::optional<int> length = labelLength_->Number(0, 99999)) labelLengthMm_ = *length;
  type_ = blackMark_->isChecked() ? SensingType::kBlackMark : SensingType::kGap;
  if (const std::optional<int> value = middleGap_->Number(0, 999999)) middleGapValue_ = *value;
  gapCountIndex_ = gapCount_->currentIndex();
  selected_ = levelGroup_->checkedId();
}

void SensingValueDistributionPage::ShowValues() {
  labelLength_->setText(QString::number(labelLengthMm_));
  (type_ == SensingType::kBlackMark ? blackMark_ : gap_)->setChecked(true);
  // An exclusive group cannot be left with nothing checked; open it for that moment.
  levelGroup_->setExclusive(false);
  for (int k = 0; k < kSensingLevels; ++k) {
    levels_[static_cast<size_t>(k)]->setChecked(k == selected_);
    QLabel* count = countTexts_[static_cast<size_t>(k)];
    count->setText(Latin1(CountText(counts_[static_cast<size_t>(k)])));
    count->setStyleSheet(peaks_[static_cast<size_t>(k)] ? kPeakStyle : kCountStyle);
  }
  levelGroup_->setExclusive(true);
  middleGap_->setText(QString::number(middleGapValue_));
  gapCount_->setCurrentIndex(gapCountIndex_);
  chart_->SetCounts(counts_);
  chart_->SetSelected(selected_);
  int lo = -1;
  int hi = -1;
  for (int k = 0; k < kSensingLevels; ++k) {
    if (!peaks_[static_cast<size_t>(k)]) continue;
    (lo < 0 ? lo : hi) = k;
  }
  chart_->SetPeaks(lo, hi < 0 ? lo : hi);
}

void SensingValueDistributionPage::Reset() {
  selected_ = -1;
  peaks_ = {};
  counts_ = {};
  for (QRadioButton* level : levels_) level->setEnabled(false);
  chart_->Clear();
  for (QWidget* w : std::initializer_list<QWidget*>{middleGap_, gapCount_, save_}) w->setEnabled(false);
  ShowValues();
}

void SensingValueDistributionPage::CheckSensingValue() {
  TakeValuesOver();
  Reset();
  // The wait can take seconds: the cleared page is shown meanwhile, with the progress.
  const DistributionRead read = RunLongWork(context_, this, [&](Work& w) {
                                  return ReadSensingDistribution(context_.link, context_.clock, w.prompter,
                                                                 labelLengthMm_, type_);
                                }).value;
  if (!read.ok) return;  // idle: nothing measured, nothing to propose
  ShowDistribution(read.counts);
}

void SensingValueDistributionPage::ShowDistribution(const SensingCounts& counts) {
  counts_ = counts;
  peaks_ = {};
  for (QRadioButton* level : levels_) level->setEnabled(false);
  const SensingAnalysis a = AnalyseSensing(counts_, type_);
  peaks_[static_cast<size_t>(a.lo)] = true;
  peaks_[static_cast<size_t>(a.hi)] = true;
  for (int k = a.firstEnabled; k <= a.lastEnabled; ++k) levels_[static_cast<size_t>(k)]->setEnabled(true);
  chart_->SetOffered(a.firstEnabled, a.lastEnabled);
  selected_ = a.selected;
  middleGapValue_ = a.middleGapValue;
  for (QWidget* w : std::initializer_list<QWidget*>{middleGap_, gapCount_, save_}) w->setEnabled(true);
  ShowValues();
  if (!a.needsExtra()) return;
  CalibrationExtraDialog extra(context_, type_, a.lo, a.hi, counts_[static_cast<size_t>(a.lo)],
                               counts_[static_cast<size_t>(a.hi)], gapCountIndex_ + 4, this);
  if (extra.exec() == QDialog::Accepted) {
    middleGapValue_ = extra.middleGapValue();
    ShowValues();
  }
}

void SensingValueDistributionPage::OnLevelClicked(int index) {
  TakeValuesOver();
  middleGapValue_ = SensingLevel(index);
  ShowValues();
}

void SensingValueDistributionPage::SaveCalibration() {
  TakeValuesOver();
  if (selected_ < 0) {
    TellSelectLevel(context_.prompter);
    return;
  }
  RunLongWork(context_, this, [&](Work&) { StoreThreshold(context_.link, middleGapValue_, gapCountIndex_ + 4); });
  Reset();
}

void SensingValueDistributionPage::CancelCalibration() {
  TakeValuesOver();
  Reset();
  RunLongWork(context_, this, [&](Work&) { CancelSensing(context_.link); });
}

}  // namespace qm
