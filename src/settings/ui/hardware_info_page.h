// Page "Hardware Info": hardware version, serial number and printer ID, each with its own
// Get, Set and Initialize.
#pragma once

#include <QWidget>
#include <array>

#include "gui/app_context.h"
#include "settings/hardware_info.h"

class QLineEdit;
class QPushButton;

namespace qm {

struct ProfileValues;

class HardwareInfoPage : public QWidget {
  Q_OBJECT

 public:
  explicit HardwareInfoPage(AppContext& context, QWidget* parent = nullptr);

  void Get(HardwareItem item);
  // Both wait for the printer to store the text before they report.
  void Set(HardwareItem item);
  void Initialize(HardwareItem item);
  // Shows the identity a profile names, as a Get would.
  void ShowValues(const ProfileValues& values);

  QLineEdit* field(HardwareItem item) const { return Row(item).field; }
  QPushButton* getButton(HardwareItem item) const { return Row(item).get; }
  QPushButton* setButton(HardwareItem item) const { return Row(item).set; }
  QPushButton* initializeButton(HardwareItem item) const { return Row(item).initialize; }

 private:
  struct ItemRow {
    QLineEdit* field = nullptr;
    QPushButton* get = nullptr;
    QPushButton* set = nullptr;
    QPushButton* initialize = nullptr;
  };
  const ItemRow& Row(HardwareItem item) const { return rows_[static_cast<size_t>(item)]; }
  QWidget* MakeGroup(HardwareItem item, const QString& title, const QString& label);
  // Cuts a field that grew past its item's length and says why.
  void KeepWithinLength(HardwareItem item);

  AppContext& context_;
  std::array<ItemRow, 3> rows_{};
};

}  // namespace qm
