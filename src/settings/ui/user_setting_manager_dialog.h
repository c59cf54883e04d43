// "User Setting Manager": the printer's stored settings and information, on five tabs.
#pragma once

#include <QDialog>

#include "gui/app_context.h"

class QPushButton;

namespace qm {

class UserSettingTabControl;

class UserSettingManagerDialog : public QDialog {
  Q_OBJECT

 public:
  UserSettingManagerDialog(AppContext& context, QWidget* parent = nullptr);

  UserSettingTabControl* tabControl() const { return tabs_; }
  QPushButton* closeButton() const { return close_; }

 private:
  UserSettingTabControl* tabs_;
  QPushButton* close_;
};

}  // namespace qm
