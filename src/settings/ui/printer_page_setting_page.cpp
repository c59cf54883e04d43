#include "settings/ui/printer_page_setting_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>

#include "gui/choice_list.h"
#include "gui/held_messages.h"
#include "gui/long_work.h"
#include "gui/layout_helpers.h"
#include "gui/number_field.h"
#include "settings/memory_switch.h"
#include "settings/profile.h"

namespace qm {

namespace {

// How the range messages name the fields, in NumericItem and SignedItem order.
constexpr const char* kNumericNames[] = {
    "Paper Width", "Paper Length", "Gap Length", "Paper Horizontal Margin", "Paper Vertical Margin", "Print Density"};
constexpr const char* kSignedNames[] = {"Print Offset", "Tear-off/Cutting"};
constexpr int kSignedMaximum = 100;

enum Column { kLabelColumn, kControlColumn, kGetColumn, kSetColumn };

NumberField* MakeNumberField() {
  auto* field = new NumberField;
  field->setText(QStringLiteral("0"));
  field->setFixedWidth(90);
  field->setEnabled(false);
  return field;
}

QString Latin1(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void EnableAll(std::initializer_list<QWidget*> widgets) {
  for (QWidget* w : widgets) w->setEnabled(true);
}

}  // namespace

PrinterPageSettingPage::PrinterPageSettingPage(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  grid_ = new QGridLayout;
  grid_->setColumnStretch(kControlColumn, 1);

  const QString numericLabels[] = {
      tr("Paper Width:"),           tr("Paper Length:"), tr("Gap Length:"), tr("Paper Horizontal Margin:"),
      tr("Paper Vertical Margin:"), tr("Print Density:")};
  for (size_t i = 0; i < numeric_.size(); ++i) {
    const auto item = static_cast<NumericItem>(i);
    ItemRow& row = numeric_[i];
    row.field = MakeNumberField();
    AddRow(numericLabels[i], row.field, row.field, row);
    connect(row.get, &QPushButton::clicked, this, [this, item] { GetNumeric(item); });
    connect(row.set, &QPushButton::clicked, this, [this, item] { SetNumeric(item); });
  }

  strobeGroup_ = new QButtonGroup(this);
  for (size_t i = 0; i < strobeRadios_.size(); ++i) {
    strobeRadios_[i] = new QRadioButton(Latin1(kStrobeNames[i]));
    strobeRadios_[i]->setEnabled(false);
    strobeGroup_->addButton(strobeRadios_[i], static_cast<int>(i));
  }
  AddRow(tr("Print Strobe:"), Beside({strobeRadios_[0], strobeRadios_[1], strobeRadios_[2]}), strobeRadios_[0],
         strobe_);
  connect(strobe_.get, &QPushButton::clicked, this, &PrinterPageSettingPage::GetStrobe);
  connect(strobe_.set, &QPushButton::clicked, this, &PrinterPageSettingPage::SetStrobe);

  speedList_ = MakeChoiceList(kSpeedNames);
  speedList_->setEnabled(false);
  AddRow(tr("Print Speed:"), Beside({speedList_}), speedList_, speed_);
  connect(speed_.get, &QPushButton::clicked, this, &PrinterPageSettingPage::GetSpeed);
  connect(speed_.set, &QPushButton::clicked, this, &PrinterPageSettingPage::SetSpeed);

  const QString signedLabels[] = {tr("Print Offset:"), tr("Tear-off/Cutting:")};
  for (size_t i = 0; i < signed_.size(); ++i) {
    const auto item = static_cast<SignedItem>(i);
    ItemRow& row = signed_[i];
    row.field = MakeNumberField();
    row.sign = new QCheckBox(QStringLiteral("(-)"));
    row.sign->setEnabled(false);
    AddRow(signedLabels[i], Beside({row.field, row.sign}), row.field, row);
    connect(row.get, &QPushButton::clicked, this, [this, item] { GetSigned(item); });
    connect(row.set, &QPushButton::clicked, this, [this, item] { SetSigned(item); });
  }

  gapList_ = MakeChoiceList(kGapPositionNames);
  gapList_->setCurrentIndex(0);
  gapList_->setEnabled(false);
  AddRow(tr("Gap Detect Position: "), Beside({gapList_}), gapList_, gap_);
  connect(gap_.get, &QPushButton::clicked, this, &PrinterPageSettingPage::GetGapPosition);
  connect(gap_.set, &QPushButton::clicked, this, &PrinterPageSettingPage::SetGapPosition);

  // Check label length and Initialize: usable from the start, nothing to read first.
  auto* rule = new QFrame;
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  grid_->addWidget(rule, grid_->rowCount(), kLabelColumn, 1, 4);

  auto* checkGroup = new QButtonGroup(this);
  checkRadios_ = {new QRadioButton(tr("Disable")), new QRadioButton(tr("Enable"))};
  checkGroup->addButton(checkRadios_[0], 0);
  checkGroup->addButton(checkRadios_[1], 1);
  checkRadios_[0]->setChecked(true);
  checkSet_ = new QPushButton(tr("Set"));
  auto* checkLabel = new QLabel(tr("Check Label Length :"));
  checkLabel->setBuddy(checkRadios_[0]);
  const int checkRow = grid_->rowCount();
  grid_->addWidget(checkLabel, checkRow, kLabelColumn);
  grid_->addWidget(Beside({checkRadios_[0], checkRadios_[1]}), checkRow, kControlColumn);
  grid_->addWidget(checkSet_, checkRow, kSetColumn);
  connect(checkSet_, &QPushButton::clicked, this, &PrinterPageSettingPage::SetCheckLabelLength);

  initialize_ = new QPushButton(tr("Initialize"));
  auto* initializeLabel = new QLabel(tr("Initialize all user setting data :"));
  initializeLabel->setBuddy(initialize_);
  const int initializeRow = grid_->rowCount();
  grid_->addWidget(initializeLabel, initializeRow, kLabelColumn, 1, 2);
  grid_->addWidget(initialize_, initializeRow, kGetColumn, 1, 2);
  connect(initialize_, &QPushButton::clicked, this, &PrinterPageSettingPage::InitializeAll);

  for (QPushButton* b : {checkSet_, initialize_}) b->setAutoDefault(false);
  setFocusProxy(numeric_[0].get);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid_);
  layout->addStretch();
}

void PrinterPageSettingPage::AddRow(const QString& label, QWidget* controls, QWidget* buddy, ItemRow& row) {
  const int r = grid_->rowCount();
  auto* caption = new QLabel(label);
  caption->setBuddy(buddy);
  row.get = new QPushButton(tr("Get"));
  row.set = new QPushButton(tr("Set"));
  row.get->setAutoDefault(false);
  row.set->setAutoDefault(false);
  row.set->setEnabled(false);
  grid_->addWidget(caption, r, kLabelColumn);
  grid_->addWidget(controls, r, kControlColumn);
  grid_->addWidget(row.get, r, kGetColumn);
  grid_->addWidget(row.set, r, kSetColumn);
}

std::optional<int> PrinterPageSettingPage::TakeOver(NumberField* field, const char* name, int minimum, int maximum,
                                                    bool ranged) {
  const std::optional<int> value = field->Number(minimum, maximum);
  if (value) return value;
  std::string text = std::string(name) + ": enter a whole number";
  if (ranged) text += " from " + std::to_string(minimum) + " to " + std::to_string(maximum);
  context_.prompter.Show(Message{text + ".", Icon::kExclamation, {}, 0});
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
  return std::nullopt;
}

void PrinterPageSettingPage::GetNumeric(NumericItem item) {
  const ItemRow& row = NumericRow(item);
  HeldMessages messages(context_.prompter);
  const std::optional<std::string> text =
      RunLongWork(context_, this, [&](Work&) { return GetNumericItem(context_.link, context_.clock, messages, item); }).value;
  if (text) {
    row.field->ShowReply(Latin1(*text));
    EnableAll({row.field, row.set});
  }
  messages.Release();
}

void PrinterPageSettingPage::SetNumeric(NumericItem item) {
  const NumericItemSpec& row = SpecOf(item);
  const int minimum = row.ranged ? row.minimum : std::numeric_limits<int>::min();
  const int maximum = row.ranged ? row.maximum : std::numeric_limits<int>::max();
  const std::optional<int> value =
      TakeOver(NumericRow(item).field, kNumericNames[static_cast<size_t>(item)], minimum, maximum, row.ranged);
  if (!value) return;
  RunLongWork(context_, this, [&](Work& w) { SetNumericItem(context_.link, w.prompter, item, *value); });
}

void PrinterPageSettingPage::GetSigned(SignedItem item) {
  const ItemRow& row = SignedRow(item);
  HeldMessages messages(context_.prompter);
  const std::optional<SignedValue> value =
      RunLongWork(context_, this, [&](Work&) { return GetSignedItem(context_.link, context_.clock, messages, item); }).value;
  if (value) {
    row.sign->setChecked(value->negative);
    row.field->ShowReply(QString::number(value->value));
    EnableAll({row.field, row.sign, row.set});
  }
  messages.Release();
}

void PrinterPageSettingPage::SetSigned(SignedItem item) {
  const ItemRow& row = SignedRow(item);
  if (!TakeOver(row.field, kSignedNames[static_cast<size_t>(item)], 0, kSignedMaximum, true)) return;
  // The digits go out as the field shows them, behind the sign of the check box.
  const bool negative = row.sign->isChecked();
  const std::string digits = row.field->text().toLatin1().toStdString();
  RunLongWork(context_, this, [&](Work& w) { SetSignedItem(context_.link, w.prompter, item, negative, digits); });
}

void PrinterPageSettingPage::SelectStrobe(std::optional<int> index) {
  // An exclusive group keeps one button checked; lift that to show no selection.
  strobeGroup_->setExclusive(false);
  for (size_t i = 0; i < strobeRadios_.size(); ++i) strobeRadios_[i]->setChecked(index == static_cast<int>(i));
  strobeGroup_->setExclusive(true);
}

void PrinterPageSettingPage::GetStrobe() {
  SelectStrobe(std::nullopt);
  HeldMessages messages(context_.prompter);
  const ChoiceRead read = RunLongWork(context_, this, [&](Work&) { return qm::GetStrobe(context_.link, context_.clock, messages); }).value;
  if (read.ok) {
    SelectStrobe(read.index);
    EnableAll({strobeRadios_[0], strobeRadios_[1], strobeRadios_[2], strobe_.set});
  }
  messages.Release();
}

void PrinterPageSettingPage::SetStrobe() {
  const int checked = strobeGroup_->checkedId();
  RunLongWork(context_, this, [&](Work& w) {
    qm::SetStrobe(context_.link, context_.clock, w.prompter, checked < 0 ? std::nullopt : std::optional<int>(checked));
  });
}

void PrinterPageSettingPage::GetSpeed() {
  HeldMessages messages(context_.prompter);
  const ChoiceRead read = RunLongWork(context_, this, [&](Work&) { return qm::GetSpeed(context_.link, context_.clock, messages); }).value;
  if (read.ok) {
    SelectEntry(speedList_, read.index.value_or(-1));
    EnableAll({speedList_, speed_.set});
  }
  messages.Release();
}

void PrinterPageSettingPage::SetSpeed() {
  const int index = speedList_->currentIndex();
  RunLongWork(context_, this, [&](Work& w) {
    qm::SetSpeed(context_.link, context_.clock, w.prompter, index < 0 ? std::nullopt : std::optional<int>(index));
  });
}

void PrinterPageSettingPage::GetGapPosition() {
  SelectEntry(gapList_, -1);
  HeldMessages messages(context_.prompter);
  const ChoiceRead read =
      RunLongWork(context_, this, [&](Work&) { return qm::GetGapPosition(context_.link, context_.clock, messages); }).value;
  if (read.ok) {
    SelectEntry(gapList_, read.index.value_or(-1));
    EnableAll({gapList_, gap_.set});
  }
  messages.Release();
}

void PrinterPageSettingPage::SetGapPosition() {
  const int index = gapList_->currentIndex();
  RunLongWork(context_, this, [&](Work& w) {
    qm::SetGapPosition(context_.link, context_.clock, w.prompter, index < 0 ? std::nullopt : std::optional<int>(index));
  });
}

void PrinterPageSettingPage::SetCheckLabelLength() {
  // The printer takes it silently; the link reports a failed write itself.
  const bool check = checkRadios_[1]->isChecked();
  RunLongWork(context_, this, [&](Work&) { qm::SetCheckLabelLength(context_.link, check); });
}

void PrinterPageSettingPage::InitializeAll() {
  RunLongWork(context_, this, [&](Work& w) { InitializeUserSettings(context_.link, w.prompter); });
}

void PrinterPageSettingPage::ShowValues(const ProfileValues& values) {
  for (size_t i = 0; i < numeric_.size(); ++i) {
    if (!values.numeric[i]) continue;
    numeric_[i].field->ShowReply(QString::number(*values.numeric[i]));
    EnableAll({numeric_[i].field, numeric_[i].set});
  }
  for (size_t i = 0; i < signed_.size(); ++i) {
    if (!values.signedItem[i]) continue;
    const int value = *values.signedItem[i];
    signed_[i].sign->setChecked(value < 0);
    signed_[i].field->ShowReply(QString::number(value < 0 ? -value : value));
    EnableAll({signed_[i].field, signed_[i].sign, signed_[i].set});
  }
  if (values.strobe) {
    SelectStrobe(values.strobe);
    EnableAll({strobeRadios_[0], strobeRadios_[1], strobeRadios_[2], strobe_.set});
  }
  if (values.speed) {
    SelectEntry(speedList_, *values.speed);
    EnableAll({speedList_, speed_.set});
  }
  if (values.gapDetect) {
    SelectEntry(gapList_, *values.gapDetect);
    EnableAll({gapList_, gap_.set});
  }
}

}  // namespace qm
