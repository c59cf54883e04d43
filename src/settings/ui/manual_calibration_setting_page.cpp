#include "settings/ui/manual_calibration_setting_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/calibration.h"
#include "gui/long_work.h"

namespace qm {

namespace {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Bytes(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

ManualCalibrationSettingPage::ManualCalibrationSettingPage(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  mediaType_ = new QComboBox;
  mediaType_->addItem(tr("Gap"));
  mediaType_->addItem(tr("Black Mark"));
  mediaType_->setCurrentIndex(0);
  labelLength_ = new QLineEdit(QStringLiteral("1500"));
  labelLength_->setMaximumWidth(100);
  detect_ = new QComboBox;
  for (int i = 0; i < kDetectEntries; ++i) detect_->addItem(Latin1(DetectText(i)));
  detect_->setCurrentIndex(kDefaultDetectIndex);
  margin_ = new QComboBox;
  for (int i = 0; i < kMarginEntries; ++i) margin_->addItem(Latin1(MarginText(i)));
  margin_->setCurrentIndex(kDefaultMarginIndex);

  auto* fields = new QGridLayout;
  const std::pair<QString, QWidget*> rows[] = {{tr("Media Type :"), mediaType_},
                                               {tr("Label Length :"), labelLength_},
                                               {tr("No. of detect"), detect_},
                                               {tr("Detect margin :"), margin_}};
  int row = 0;
  for (const auto& [text, field] : rows) {
    auto* label = new QLabel(text);
    label->setBuddy(field);
    fields->addWidget(label, row, 0);
    fields->addWidget(field, row, 1, Qt::AlignLeft);
    ++row;
  }

  auto* presetGrid = new QGridLayout;
  const QString names[] = {tr("Setting 1"), tr("Setting 2"), tr("Setting 3"), tr("Setting 4"),
                           tr("Setting 5"), tr("Setting 6"), tr("Setting 7"), tr("Setting 8")};
  for (int p = 0; p < 8; ++p) {
    auto* button = new QPushButton(names[p]);
    presets_[static_cast<size_t>(p)] = button;
    presetGrid->addWidget(button, p / 4, p % 4);
    connect(button, &QPushButton::clicked, this, [this, p] { ApplyPreset(p); });
  }
  cancel_ = new QPushButton(tr("Cancel Calibration"));
  execute_ = new QPushButton(tr("Execute Manual Calibration"));
  connect(cancel_, &QPushButton::clicked, this, &ManualCalibrationSettingPage::CancelCalibration);
  connect(execute_, &QPushButton::clicked, this, &ManualCalibrationSettingPage::ExecuteManualCalibration);
  auto* actions = new QHBoxLayout;
  actions->addStretch();
  actions->addWidget(cancel_);
  actions->addWidget(execute_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addSpacing(8);
  layout->addLayout(presetGrid);
  layout->addSpacing(8);
  layout->addLayout(actions);
  layout->addStretch();
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
  setFocusProxy(execute_);
}

void ManualCalibrationSettingPage::ApplyPreset(int preset) {
  const ManualPreset chosen = PresetFor(preset, mediaType_->currentIndex() == 1);
  detect_->setCurrentIndex(chosen.detectIndex);
  margin_->setCurrentIndex(chosen.marginIndex);
}

void ManualCalibrationSettingPage::ExecuteManualCalibration() {
  // The length goes out as typed, whatever it holds.
  const std::string detect = Bytes(detect_->currentText()), margin = Bytes(margin_->currentText()),
                    length = Bytes(labelLength_->text());
  RunLongWork(context_, this, [&](Work&) { RunManualCalibration(context_.link, detect, margin, length); });
}

void ManualCalibrationSettingPage::CancelCalibration() {
  RunLongWork(context_, this, [&](Work&) { CancelManualCalibration(context_.link); });
}

}  // namespace qm
