// Page "Language": the printer's default code page (switch 1) and international
// character set (switch 3).
#pragma once

#include <QWidget>

#include "gui/app_context.h"

class QComboBox;
class QPushButton;

namespace qm {

struct ProfileValues;

class DefaultCodePageIcsSettingPage : public QWidget {
  Q_OBJECT

 public:
  explicit DefaultCodePageIcsSettingPage(AppContext& context, QWidget* parent = nullptr);

  void Get();
  void Set();
  // Shows the code page and ICS a profile names, as a Get would, once both lists have one.
  void ShowValues(const ProfileValues& values);

  QComboBox* codePageList() const { return codePage_; }
  QComboBox* icsList() const { return ics_; }
  QPushButton* getButton() const { return get_; }
  QPushButton* setButton() const { return set_; }

 private:
  AppContext& context_;
  QComboBox* codePage_;
  QComboBox* ics_;
  QPushButton* get_;
  QPushButton* set_;
};

}  // namespace qm
