#include "rfid/ui/rfid_configuration_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "gui/choice_list.h"
#include "gui/printer_text.h"
#include "rfid/rfid_operations.h"
#include "gui/long_work.h"

namespace qm {

namespace {

constexpr std::array<std::string_view, 2> kTagTypes = {"GEN2", "ISO-B"};

QComboBox* NumberList(int count, std::string (*label)(int)) {
  auto* list = new QComboBox;
  for (int i = 0; i < count; ++i) list->addItem(QString::fromStdString(label(i)));
  list->setCurrentIndex(-1);
  return list;
}

std::string Plain(int i) { return std::to_string(i); }

QLineEdit* ReadOnly() {
  auto* edit = new QLineEdit;
  edit->setReadOnly(true);
  return edit;
}

}  // namespace

RfidConfigurationDialog::RfidConfigurationDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setWindowTitle(tr("RFID Cofiguration"));
  tagType_ = MakeChoiceList(kTagTypes);
  power_ = NumberList(kRfidPowerEntries, PowerLabel);
  position_ = new QLineEdit;
  position_->setAlignment(Qt::AlignRight);
  retries_ = NumberList(kRfidMaxRetries + 1, Plain);
  labels_ = NumberList(kRfidMaxLabels + 1, Plain);
  valid_ = ReadOnly();
  void_ = ReadOnly();

  auto* settingBox = new QGroupBox(tr("RFID Setting"));
  auto* grid = new QGridLayout(settingBox);
  const std::array<std::pair<QString, QWidget*>, 5> rows = {{
      {tr("Tag Type :"), tagType_},
      {tr("Writing Power :"), power_},
      {tr("Transponder Position :"), position_},
      {tr("Number of retry :"), retries_},
      {tr("Number of Label :"), labels_},
  }};
  int row = 0;
  for (const auto& [label, field] : rows) {
    auto* text = new QLabel(label);
    // Mixed Japanese and Latin text can measure short; room for one more character keeps the colon.
    text->setMinimumWidth(text->sizeHint().width() + text->fontMetrics().height());
    grid->addWidget(text, row, 0);
    grid->addWidget(field, row++, 1);
  }
  auto* counterBox = new QGroupBox(tr("RFID Counter"));
  auto* counters = new QGridLayout(counterBox);
  counters->addWidget(new QLabel(tr("RFID Valid :")), 0, 0);
  counters->addWidget(valid_, 0, 1);
  counters->addWidget(new QLabel(tr("RFID Void :")), 1, 0);
  counters->addWidget(void_, 1, 1);

  get_ = new QPushButton(tr("Get"));
  set_ = new QPushButton(tr("Set"));
  reset_ = new QPushButton(tr("Reset"));
  calibrate_ = new QPushButton(tr("Auto Calibration"));
  defaults_ = new QPushButton(tr("Default Setting"));
  auto* close = new QPushButton(tr("Close"));
  connect(get_, &QPushButton::clicked, this, &RfidConfigurationDialog::Get);
  connect(set_, &QPushButton::clicked, this, &RfidConfigurationDialog::Set);
  connect(reset_, &QPushButton::clicked, this, &RfidConfigurationDialog::Reset);
  connect(calibrate_, &QPushButton::clicked, this, &RfidConfigurationDialog::Calibrate);
  connect(defaults_, &QPushButton::clicked, this, &RfidConfigurationDialog::Defaults);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(settingBox);
  auto* right = new QVBoxLayout;
  right->addWidget(counterBox);
  right->addWidget(reset_);
  right->addStretch();
  top->addLayout(right);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {get_, set_, defaults_, calibrate_}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);

  for (QWidget* w : std::initializer_list<QWidget*>{tagType_, power_, position_, retries_, labels_, set_, reset_}) {
    w->setEnabled(false);
  }
}

void RfidConfigurationDialog::ShowFields() {
  SelectEntry(tagType_, settings_.tagType);
  SelectEntry(power_, settings_.power);
  position_->setText(QString::fromLatin1(settings_.position.data(), static_cast<qsizetype>(settings_.position.size())));
  SelectEntry(retries_, settings_.retries);
  SelectEntry(labels_, settings_.labels);
  valid_->setText(QString::fromLatin1(settings_.validCounter.data(), static_cast<qsizetype>(settings_.validCounter.size())));
  void_->setText(QString::fromLatin1(settings_.voidCounter.data(), static_cast<qsizetype>(settings_.voidCounter.size())));
}

void RfidConfigurationDialog::TakeFields() {
  settings_.tagType = tagType_->currentIndex();
  settings_.power = power_->currentIndex();
  // Set has refused a position with a character Latin-1 has no byte for.
  settings_.position = position_->text().toLatin1().toStdString();
  settings_.retries = retries_->currentIndex();
  settings_.labels = labels_->currentIndex();
}

void RfidConfigurationDialog::Unlock() {
  for (QWidget* w : std::initializer_list<QWidget*>{tagType_, power_, position_, retries_, labels_, set_, reset_}) {
    w->setEnabled(true);
  }
}

void RfidConfigurationDialog::Get() {
  // A failed Get keeps what the replies filled in, to be shown by the next Reset.
  // The replies fill a copy on the worker; the dialog takes it over once the work is done.
  RfidSettings read = settings_;
  const bool ok = RunLongWork(context_, this, [&](Work& w) {
                    return GetRfidSettings(context_.link, context_.clock, w.prompter, read);
                  }).value;
  settings_ = read;
  if (!ok) return;
  ShowFields();
  if (!set_->isEnabled()) Unlock();
}

void RfidConfigurationDialog::Set() {
  if (!FieldBytes(position_, FieldName(tr("Transponder Position :")), context_.prompter)) return;
  TakeFields();
  RunLongWork(context_, this, [&](Work& w) { SetRfidSettings(context_.link, w.prompter, settings_); });
}

void RfidConfigurationDialog::Reset() {
  RunLongWork(context_, this, [&](Work& w) { ResetRfidCounters(context_.link, w.prompter, settings_); });
  ShowFields();
}

void RfidConfigurationDialog::Calibrate() {
  RunLongWork(context_, this, [&](Work& w) { CalibrateRfid(context_.link, w.prompter); });
}

void RfidConfigurationDialog::Defaults() {
  ApplyRfidDefaults(settings_);
  ShowFields();
}

}  // namespace qm
