// What both download dialogs share: the chosen file, its name and size, and the progress
// of a transfer with its rate, the time left and Cancel.
#pragma once

#include <QElapsedTimer>
#include <QGroupBox>
#include <QString>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "downloads/file_transfer.h"
#include "core/progress.h"
#include "gui/app_context.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace qm {

class DownloadPanel : public QObject {
  Q_OBJECT

 public:
  DownloadPanel(AppContext& context, QWidget* dialog);

  // The path box and the browse button, in a row.
  QLayout* PathRow() const;
  // "File Information": the chosen file's name and size.
  QGroupBox* InformationBox() const { return information_; }
  // The bar, the line under it and Cancel.
  QLayout* ProgressRows() const;

  // The file dialog with `filter`; true when a readable file was chosen. Cancel clears the
  // choice; an unreadable file shows 106 and changes nothing.
  bool Browse(const QString& filter);
  // Runs `send` on a worker (gui/long_work.h) with the bar following it and Cancel live;
  // `busy` are disabled meanwhile. `send` says what it has to say through the prompter it
  // is given, which shows it once the transfer is over.
  TransferResult Run(const std::function<TransferResult(const TransferOptions&, Prompter&)>& send,
                     std::initializer_list<QWidget*> busy);
  // Cancel pressed, or the dialog closed, while a transfer runs: the piece under way is the
  // last, and a wait for the printer ends at once.
  void Cancel() { cancel_signal_.Raise(); }

  bool chosen() const { return chosen_; }
  bool running() const { return running_; }
  // The full path, as the link's side takes it.
  std::string path() const { return path_.toStdString(); }
  const QString& fileName() const { return fileName_; }

  QLineEdit* pathEdit() const { return pathEdit_; }
  QPushButton* browseButton() const { return browse_; }
  QLabel* fileNameLabel() const { return fileNameLabel_; }
  QLabel* sizeLabel() const { return sizeLabel_; }
  QProgressBar* bar() const { return bar_; }
  QLabel* progressLabel() const { return progressLabel_; }
  QPushButton* cancelButton() const { return cancel_; }

 signals:
  // After every piece (every paced chunk on Ethernet), before the window is repainted.
  void progressed(quint64 sent, quint64 total);

 private:
  void Show();
  void ShowProgress(uint64_t sent, uint64_t total);

  AppContext& context_;
  QWidget* dialog_;
  bool chosen_ = false;
  QString path_;
  QString fileName_;
  qint64 size_ = 0;
  bool running_ = false;
  CancelSignal cancel_signal_;
  QElapsedTimer started_;

  QLineEdit* pathEdit_;
  QPushButton* browse_;
  QGroupBox* information_;
  QLabel* fileNameLabel_;
  QLabel* sizeLabel_;
  QProgressBar* bar_;
  QLabel* progressLabel_;
  QPushButton* cancel_;
};

}  // namespace qm
