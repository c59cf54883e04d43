#include "settings/ui/serial_communication_setting_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/choice_list.h"
#include "gui/held_messages.h"
#include "gui/long_work.h"
#include "gui/layout_helpers.h"
#include "gui/qt_strings.h"
#include "settings/profile.h"
#include "settings/serial_language.h"

namespace qm {

SerialCommunicationSettingPage::SerialCommunicationSettingPage(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  lists_[kHandShake] = MakeChoiceList(kHandShakeNames);
  lists_[kStopBit] = MakeChoiceList(kStopBitNames);
  lists_[kDataLength] = MakeChoiceList(kDataLengthNames);
  lists_[kParityCheck] = MakeChoiceList(kParityCheckNames);
  lists_[kParitySelection] = MakeChoiceList(kParitySelectionNames);
  lists_[kBaudRate] = MakeChoiceList(kBaudRateNames);
  const QString labels[kListCount] = {tr("Hand Shake :"),   tr("Stop Bit :"),         tr("Data Length :"),
                                      tr("Parity Check :"), tr("Parity Selection :"), tr("Baudrate :")};

  auto* box = new QGroupBox(tr("Serial Communication Setting"));
  auto* grid = new QGridLayout(box);
  grid->setColumnStretch(1, 1);
  for (int i = 0; i < kListCount; ++i) {
    auto* label = new QLabel(labels[i]);
    label->setBuddy(lists_[i]);
    lists_[i]->setMinimumWidth(160);
    lists_[i]->setEnabled(false);
    grid->addWidget(label, i, 0);
    grid->addWidget(lists_[i], i, 1);
  }

  get_ = new QPushButton(tr("Get"));
  set_ = new QPushButton(tr("Set"));
  default_ = new QPushButton(tr("Default Setting"));
  set_->setEnabled(false);
  connect(get_, &QPushButton::clicked, this, &SerialCommunicationSettingPage::Get);
  connect(set_, &QPushButton::clicked, this, &SerialCommunicationSettingPage::Set);
  connect(default_, &QPushButton::clicked, this, &SerialCommunicationSettingPage::DefaultSetting);
  LayOutBoxAndButtons(this, box, {get_, set_, default_});
}

SerialSwitch SerialCommunicationSettingPage::Selections() const {
  return SerialSwitch{lists_[kHandShake]->currentIndex(),       lists_[kStopBit]->currentIndex(),
                      lists_[kDataLength]->currentIndex(),      lists_[kParityCheck]->currentIndex(),
                      lists_[kParitySelection]->currentIndex(), lists_[kBaudRate]->currentIndex()};
}

void SerialCommunicationSettingPage::ShowSelections(const SerialSwitch& s) {
  const int indexes[kListCount] = {s.handShake, s.stopBits, s.dataLength, s.parityCheck, s.paritySelection, s.baudRate};
  for (int i = 0; i < kListCount; ++i) SelectEntry(lists_[i], indexes[i]);
}

void SerialCommunicationSettingPage::Get() {
  ShowSelections(SerialSwitch{});
  HeldMessages messages(context_.prompter);
  const std::optional<SerialSwitch> read =
      RunLongWork(context_, this, [&](Work&) { return GetSerialSettings(context_.link, context_.clock, messages); }).value;
  if (read) {
    for (QComboBox* list : lists_) list->setEnabled(true);
    set_->setEnabled(true);
    default_->setEnabled(true);
    ShowSelections(*read);
  }
  messages.Release();
}

void SerialCommunicationSettingPage::Set() {
  const SerialSwitch s = Selections();
  // An empty list has no bit to stand for; writing it as the first entry would change the
  // printer's port behind the operator's back and could cut the printer off.
  if (std::ranges::any_of(lists_, [](const QComboBox* list) { return list->currentIndex() < 0; })) {
    context_.prompter.Show(
        GuiMessage(QT_TRANSLATE_NOOP("GuiMessages", "Choose an entry in every list first."), Icon::kExclamation));
    return;
  }
  RunLongWork(context_, this, [&](Work& w) { SetSerialSettings(context_.link, context_.clock, w.prompter, s); });
}

void SerialCommunicationSettingPage::DefaultSetting() { ShowSelections(DefaultSerialSettings(Selections())); }

void SerialCommunicationSettingPage::ShowValues(const ProfileValues& values) {
  SerialSwitch shown = Selections();
  int SerialSwitch::* const fields[] = {&SerialSwitch::handShake,   &SerialSwitch::stopBits,
                                        &SerialSwitch::dataLength,  &SerialSwitch::parityCheck,
                                        &SerialSwitch::paritySelection, &SerialSwitch::baudRate};
  for (int SerialSwitch::*field : fields) {
    if (values.serial.*field >= 0) shown.*field = values.serial.*field;
  }
  // Set writes the whole switch: a page missing any list stays as it was.
  for (int SerialSwitch::*field : fields) {
    if (shown.*field < 0) return;
  }
  for (QComboBox* list : lists_) list->setEnabled(true);
  set_->setEnabled(true);
  default_->setEnabled(true);
  ShowSelections(shown);
}

}  // namespace qm
