// "Check Printer Status": the printer's status through one of four status commands, one
// tab page each, shown as ticked boxes.
#pragma once

#include <QDialog>
#include <vector>

#include "gui/app_context.h"
#include "settings/printer_status.h"
#include "settings/ui/status_command_page.h"

class QPushButton;
class QTabWidget;

namespace qm {

class CheckPrinterStatusDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CheckPrinterStatusDialog(AppContext& context, QWidget* parent = nullptr);

  QTabWidget* tabs() const { return tabs_; }
  StatusCommandPage* page(StatusCommand command) const { return pages_[static_cast<size_t>(command)]; }
  QPushButton* closeButton() const { return close_; }

 private:
  QTabWidget* tabs_;
  std::vector<StatusCommandPage*> pages_;
  QPushButton* close_;
};

}  // namespace qm
