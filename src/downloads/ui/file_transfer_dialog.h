// "File Transfer": any file sent to the printer byte for byte, with progress and Cancel.
#pragma once

#include <QDialog>

#include "downloads/ui/download_panel.h"
#include "gui/app_context.h"

class QPushButton;

namespace qm {

class FileTransferDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FileTransferDialog(AppContext& context, QWidget* parent = nullptr);

  // "...": the file dialog; "DownLoad": the transfer.
  void Browse();
  void Download();

  DownloadPanel* panel() const { return panel_; }
  QPushButton* downloadButton() const { return download_; }
  QPushButton* closeButton() const { return close_; }

 protected:
  // Esc and the close box stop a transfer under way instead of leaving it.
  void reject() override;

 private:
  AppContext& context_;
  DownloadPanel* panel_;
  QPushButton* download_;
  QPushButton* close_;
};

}  // namespace qm
