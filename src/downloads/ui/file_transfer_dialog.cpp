#include "downloads/ui/file_transfer_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

namespace {

const QString kFilter =
    QStringLiteral("All files(*.*)|*.*|Text files(*.txt)|*.txt|Binary files(*.bin)|*.bin||");

}  // namespace

FileTransferDialog::FileTransferDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), panel_(new DownloadPanel(context, this)) {
  setWindowTitle(tr("File Transfer"));
  download_ = new QPushButton(tr("DownLoad"));
  close_ = new QPushButton(tr("CLOSE"));
  download_->setDefault(true);
  close_->setAutoDefault(false);
  connect(panel_->browseButton(), &QPushButton::clicked, this, &FileTransferDialog::Browse);
  connect(download_, &QPushButton::clicked, this, &FileTransferDialog::Download);
  connect(close_, &QPushButton::clicked, this, &FileTransferDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(download_);
  buttons->addStretch();
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(panel_->PathRow());
  layout->addWidget(panel_->InformationBox());
  layout->addLayout(panel_->ProgressRows());
  layout->addLayout(buttons);
}

void FileTransferDialog::Browse() { panel_->Browse(kFilter); }

void FileTransferDialog::Download() {
  // An empty path makes the transfer show "Please,Select a binary file!".
  const std::string path = panel_->chosen() ? panel_->path() : std::string();
  panel_->Run(
      [&](const TransferOptions& options, Prompter& prompter) {
        return TransferFile(context_.link, prompter, context_.strings, path, options);
      },
      {download_, close_});
}

void FileTransferDialog::reject() {
  if (panel_->running()) {
    panel_->Cancel();
    return;
  }
  QDialog::reject();
}

}  // namespace qm
