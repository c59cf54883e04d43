// "User Setting Manager": the printer's stored settings and information, on five tabs, and
// their export to and import from a profile file.
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

  // Reads the printer's profile and saves it to a file chosen by the operator.
  void ExportSettings();
  // Reads a profile file, shows how it differs from the printer and writes what is ticked.
  void ImportSettings();

  UserSettingTabControl* tabControl() const { return tabs_; }
  QPushButton* closeButton() const { return close_; }
  QPushButton* exportButton() const { return export_; }
  QPushButton* importButton() const { return import_; }

 private:
  AppContext& context_;
  UserSettingTabControl* tabs_;
  QPushButton* close_;
  QPushButton* export_;
  QPushButton* import_;
};

}  // namespace qm
