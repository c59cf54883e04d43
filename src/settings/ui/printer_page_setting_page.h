// Page "Print&&Page": the printer's stored paper and print settings, one item at a time.
#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "gui/app_context.h"
#include "settings/user_settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QPushButton;
class QRadioButton;

namespace qm {

class NumberField;
struct ProfileValues;

class PrinterPageSettingPage : public QWidget {
  Q_OBJECT

 public:
  explicit PrinterPageSettingPage(AppContext& context, QWidget* parent = nullptr);

  void GetNumeric(NumericItem item);
  // Sends the field's value once it is a whole number within the item's range.
  void SetNumeric(NumericItem item);
  void GetSigned(SignedItem item);
  void SetSigned(SignedItem item);
  void GetStrobe();
  void SetStrobe();
  void GetSpeed();
  void SetSpeed();
  void GetGapPosition();
  void SetGapPosition();
  void SetCheckLabelLength();
  void InitializeAll();
  // Shows the values a profile names, as a Get would, without asking the printer.
  void ShowValues(const ProfileValues& values);

  NumberField* numberField(NumericItem item) const { return NumericRow(item).field; }
  QPushButton* getButton(NumericItem item) const { return NumericRow(item).get; }
  QPushButton* setButton(NumericItem item) const { return NumericRow(item).set; }
  NumberField* numberField(SignedItem item) const { return SignedRow(item).field; }
  QCheckBox* signBox(SignedItem item) const { return SignedRow(item).sign; }
  QPushButton* getButton(SignedItem item) const { return SignedRow(item).get; }
  QPushButton* setButton(SignedItem item) const { return SignedRow(item).set; }
  // Strobe "2", "3", "4" by index 0 to 2.
  QRadioButton* strobeRadio(int index) const { return strobeRadios_[static_cast<size_t>(index)]; }
  QPushButton* strobeGetButton() const { return strobe_.get; }
  QPushButton* strobeSetButton() const { return strobe_.set; }
  QComboBox* speedList() const { return speedList_; }
  QPushButton* speedGetButton() const { return speed_.get; }
  QPushButton* speedSetButton() const { return speed_.set; }
  QComboBox* gapPositionList() const { return gapList_; }
  QPushButton* gapPositionGetButton() const { return gap_.get; }
  QPushButton* gapPositionSetButton() const { return gap_.set; }
  // "Disable" is 0, "Enable" 1.
  QRadioButton* checkLabelLengthRadio(int index) const { return checkRadios_[static_cast<size_t>(index)]; }
  QPushButton* checkLabelLengthSetButton() const { return checkSet_; }
  QPushButton* initializeButton() const { return initialize_; }

 private:
  struct ItemRow {
    NumberField* field = nullptr;
    QCheckBox* sign = nullptr;
    QPushButton* get = nullptr;
    QPushButton* set = nullptr;
  };
  const ItemRow& NumericRow(NumericItem item) const { return numeric_[static_cast<size_t>(item)]; }
  const ItemRow& SignedRow(SignedItem item) const { return signed_[static_cast<size_t>(item)]; }
  // Adds a row of label, controls, "Get" and "Set"; the buttons go into `row`.
  void AddRow(const QString& label, QWidget* controls, QWidget* buddy, ItemRow& row);
  // The field's number, or a message naming the field and its range (and nothing sent).
  std::optional<int> TakeOver(NumberField* field, const char* name, int minimum, int maximum, bool ranged);
  void SelectStrobe(std::optional<int> index);

  AppContext& context_;
  QGridLayout* grid_;
  std::array<ItemRow, 6> numeric_{};
  std::array<ItemRow, 2> signed_{};
  ItemRow strobe_;
  ItemRow speed_;
  ItemRow gap_;
  QButtonGroup* strobeGroup_;
  std::array<QRadioButton*, 3> strobeRadios_{};
  QComboBox* speedList_;
  QComboBox* gapList_;
  std::array<QRadioButton*, 2> checkRadios_{};
  QPushButton* checkSet_;
  QPushButton* initialize_;
};

}  // namespace qm
