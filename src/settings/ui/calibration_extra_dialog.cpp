#include "settings/ui/calibration_extra_dialog.h"

#include <QButtonGroup>
#include <algorithm>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/number_field.h"
#include "gui/long_work.h"

namespace qm {

namespace {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* PeakCount(int count) {
  auto* label = new QLabel(Latin1(ExtraCountText(count)));
  label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  label->setStyleSheet(QStringLiteral("color: rgb(0, 255, 255); background-color: rgb(0, 0, 128);"));
  return label;
}

}  // namespace

CalibrationExtraDialog::CalibrationExtraDialog(AppContext& context, SensingType type, int lo, int hi,
                                               int loCount, int hiCount, int gapCount, QWidget* parent)
    : QDialog(parent), context_(context), type_(type), lo_(lo), hi_(hi), gapCountValue_(gapCount) {
  setWindowTitle(tr("Calibration Extra"));
  loLabel_ = new QLabel(Latin1(ExtraPeakLabel(lo)));
  hiLabel_ = new QLabel(Latin1(ExtraPeakLabel(hi)));
  loCount_ = PeakCount(loCount);
  hiCount_ = PeakCount(hiCount);
  auto* peaks = new QGridLayout;
  peaks->addWidget(loLabel_, 0, 0);
  peaks->addWidget(loCount_, 0, 1);
  peaks->setRowStretch(1, 1);
  peaks->addWidget(hiLabel_, 2, 0);
  peaks->addWidget(hiCount_, 2, 1);

  auto* box = new QGroupBox(tr("Detail Level"));
  auto* boxLayout = new QVBoxLayout(box);
  group_ = new QButtonGroup(this);
  for (int i = 0; i < 8; ++i) {
    auto* level = new QRadioButton(Latin1(ExtraRadioLabel(type, lo, hi, i)));
    levels_[static_cast<size_t>(i)] = level;
    group_->addButton(level, i);
    boxLayout->addWidget(level);
  }
  connect(group_, &QButtonGroup::idClicked, this, &CalibrationExtraDialog::OnLevelClicked);

  middleGap_ = new NumberField;
  gapCount_ = new NumberField;
  for (NumberField* f : {middleGap_, gapCount_}) f->setMaximumWidth(80);
  auto* fields = new QGridLayout;
  auto* middleLabel = new QLabel(tr("Middle Gap Value :"));
  middleLabel->setBuddy(middleGap_);
  auto* countLabel = new QLabel(tr("Gap Count :"));
  countLabel->setBuddy(gapCount_);
  fields->addWidget(middleLabel, 0, 0);
  fields->addWidget(middleGap_, 0, 1);
  fields->addWidget(countLabel, 1, 0);
  fields->addWidget(gapCount_, 1, 1);

  save_ = new QPushButton(tr("Save Calibration"));
  ok_ = new QPushButton(tr("OK"));
  save_->setAutoDefault(false);
  connect(save_, &QPushButton::clicked, this, &CalibrationExtraDialog::SaveCalibration);
  connect(ok_, &QPushButton::clicked, this, &CalibrationExtraDialog::Ok);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save_);
  buttons->addWidget(ok_);

  auto* top = new QHBoxLayout;
  top->addLayout(peaks);
  top->addWidget(box, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(fields);
  layout->addLayout(buttons);

  // The fifth level to start with; peaks further apart offer none and keep the value 0.
  middleGapValue_ = ExtraLevel(type_, lo_, hi_, selected_).value_or(middleGapValue_);
  ShowValues();
}

void CalibrationExtraDialog::TakeValuesOver() {
  if (const std::optional<int> value = middleGap_->Number(-999999, 999999)) middleGapValue_ = *value;
  if (const std::optional<int> count = gapCount_->Number(0, 999999)) gapCountValue_ = *count;
  selected_ = group_->checkedId();
}

void CalibrationExtraDialog::ShowValues() {
  levels_[static_cast<size_t>(std::clamp(selected_, 0, 7))]->setChecked(selected_ >= 0);
  middleGap_->setText(QString::number(middleGapValue_));
  gapCount_->setText(QString::number(gapCountValue_));
}

void CalibrationExtraDialog::OnLevelClicked(int index) {
  TakeValuesOver();
  middleGapValue_ = ExtraLevel(type_, lo_, hi_, index).value_or(middleGapValue_);
  ShowValues();
}

void CalibrationExtraDialog::SaveCalibration() {
  TakeValuesOver();
  // One store per opening: a second press would store the same threshold again.
  if (saved_) {
    TellSelectLevel(context_.prompter);
    return;
  }
  RunLongWork(context_, this, [&](Work&) { StoreThreshold(context_.link, middleGapValue_, gapCountValue_); });
  saved_ = true;
  ShowValues();
}

void CalibrationExtraDialog::Ok() {
  TakeValuesOver();
  accept();
}

}  // namespace qm
