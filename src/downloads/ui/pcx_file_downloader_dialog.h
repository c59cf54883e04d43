// "PCX File Downloader": the printer's image store. Stores a PCX file under a name, prints
// a stored image, deletes one or all, and asks the printer to report what it holds.
#pragma once

#include <QDialog>

#include "downloads/ui/download_panel.h"
#include "gui/app_context.h"

class QLineEdit;
class QPushButton;

namespace qm {

class PcxFileDownloaderDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PcxFileDownloaderDialog(AppContext& context, QWidget* parent = nullptr);

  void Browse();
  void Download();
  void DeleteImage();
  void DeleteAllImages();
  void ImageInformation();
  void ImageRecall();

  DownloadPanel* panel() const { return panel_; }
  QLineEdit* storeName() const { return storeName_; }
  QLineEdit* deleteName() const { return deleteName_; }
  QLineEdit* recallName() const { return recallName_; }
  QLineEdit* xPosition() const { return x_; }
  QLineEdit* yPosition() const { return y_; }
  QPushButton* downloadButton() const { return download_; }
  QPushButton* deleteButton() const { return delete_; }
  QPushButton* deleteAllButton() const { return deleteAll_; }
  QPushButton* informationButton() const { return information_; }
  QPushButton* recallButton() const { return recall_; }
  QPushButton* closeButton() const { return close_; }

 protected:
  // Esc and the close box stop a download under way instead of leaving it.
  void reject() override;

 private:
  AppContext& context_;
  DownloadPanel* panel_;
  QLineEdit* storeName_;
  QLineEdit* deleteName_;
  QLineEdit* recallName_;
  QLineEdit* x_;
  QLineEdit* y_;
  QPushButton* download_;
  QPushButton* delete_;
  QPushButton* deleteAll_;
  QPushButton* information_;
  QPushButton* recall_;
  QPushButton* close_;
};

}  // namespace qm
