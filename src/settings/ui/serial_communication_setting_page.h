// Page "Serial": the printer's own serial port settings, kept in memory switch 2.
#pragma once

#include <QWidget>
#include <array>

#include "gui/app_context.h"
#include "settings/memory_switch.h"

class QComboBox;
class QPushButton;

namespace qm {

struct ProfileValues;

class SerialCommunicationSettingPage : public QWidget {
  Q_OBJECT

 public:
  // The six lists, in the order the page shows them.
  enum List { kHandShake, kStopBit, kDataLength, kParityCheck, kParitySelection, kBaudRate, kListCount };

  explicit SerialCommunicationSettingPage(AppContext& context, QWidget* parent = nullptr);

  void Get();
  void Set();
  // The first entry of every list but the baud rate; nothing is sent.
  void DefaultSetting();

  // The selections as list indexes, -1 where a list has none.
  SerialSwitch Selections() const;
  void ShowSelections(const SerialSwitch& s);
  // Shows the serial values a profile names over the selections shown, as a Get would,
  // once every list has one; nothing is asked of the printer.
  void ShowValues(const ProfileValues& values);

  QComboBox* list(List which) const { return lists_[which]; }
  QPushButton* getButton() const { return get_; }
  QPushButton* setButton() const { return set_; }
  QPushButton* defaultButton() const { return default_; }

 private:
  AppContext& context_;
  std::array<QComboBox*, kListCount> lists_{};
  QPushButton* get_;
  QPushButton* set_;
  QPushButton* default_;
};

}  // namespace qm
