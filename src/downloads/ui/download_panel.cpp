#include "downloads/ui/download_panel.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "downloads/file_source.h"
#include "gui/file_chooser.h"
#include "gui/long_work.h"

namespace qm {

namespace {

// The bar counts in steps of this many; a byte count would not fit its range.
constexpr int kBarSteps = 1000;

}  // namespace

DownloadPanel::DownloadPanel(AppContext& context, QWidget* dialog)
    : QObject(dialog), context_(context), dialog_(dialog) {
  pathEdit_ = new QLineEdit;
  pathEdit_->setReadOnly(true);
  pathEdit_->setMinimumWidth(360);
  pathEdit_->setAccessibleName(tr("File path"));
  browse_ = new QPushButton(tr("..."));
  browse_->setAutoDefault(false);
  browse_->setAccessibleName(tr("Browse"));

  information_ = new QGroupBox(tr("File Information"));
  fileNameLabel_ = new QLabel;
  sizeLabel_ = new QLabel;
  fileNameLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* form = new QFormLayout(information_);
  form->addRow(tr("File Name: "), fileNameLabel_);
  form->addRow(tr("File Size: "), sizeLabel_);

  bar_ = new QProgressBar;
  bar_->setRange(0, kBarSteps);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  progressLabel_ = new QLabel;
  cancel_ = new QPushButton(tr("Cancel"));
  cancel_->setAutoDefault(false);
  cancel_->setEnabled(false);
  connect(cancel_, &QPushButton::clicked, this, &DownloadPanel::Cancel);
  Show();
}

QLayout* DownloadPanel::PathRow() const {
  auto* row = new QHBoxLayout;
  row->addWidget(pathEdit_, 1);
  row->addWidget(browse_);
  return row;
}

QLayout* DownloadPanel::ProgressRows() const {
  auto* rows = new QVBoxLayout;
  auto* barRow = new QHBoxLayout;
  barRow->addWidget(bar_, 1);
  barRow->addWidget(cancel_);
  rows->addLayout(barRow);
  rows->addWidget(progressLabel_);
  return rows;
}

void DownloadPanel::Show() {
  pathEdit_->setText(path_);
  fileNameLabel_->setText(chosen_ ? fileName_ : tr("None"));
  sizeLabel_->setText(chosen_ ? tr("%1 Bytes").arg(size_) : tr("0 Byte"));
}

bool DownloadPanel::Browse(const QString& filter) {
  const std::optional<QString> picked = context_.files.ChooseOpen(dialog_, filter);
  if (!picked || picked->isEmpty()) {
    chosen_ = false;
    path_.clear();
    fileName_.clear();
    size_ = 0;
    Show();
    return false;
  }
  const QFileInfo info(*picked);
  const std::optional<FileSource> file = FileSource::Open(info.absoluteFilePath().toStdString());
  if (!file) {
    context_.prompter.Show(NumberedMessage(context_.strings, sid::kCantOpenFile, Icon::kExclamation));
    return false;
  }
  chosen_ = true;
  path_ = info.absoluteFilePath();
  fileName_ = info.fileName();
  size_ = static_cast<qint64>(file->size().value_or(0));
  Show();
  return true;
}

void DownloadPanel::ShowProgress(uint64_t sent, uint64_t total) {
  bar_->setValue(total ? static_cast<int>(std::min<uint64_t>(sent, total) * kBarSteps / total) : 0);
  QString text = tr("%1 of %2 bytes").arg(sent).arg(total);
  const qint64 ms = started_.elapsed();
  if (ms > 0 && sent > 0) {
    const double rate = static_cast<double>(sent) * 1000 / static_cast<double>(ms);
    const qint64 left = total > sent ? static_cast<qint64>(static_cast<double>(total - sent) / rate + 0.999) : 0;
    text += QLatin1String(", ") + tr("%1 KiB/s").arg(rate / 1024, 0, 'f', 1) + QLatin1String(", ") +
            tr("about %1 s left").arg(left);
  }
  progressLabel_->setText(text);
}

TransferResult DownloadPanel::Run(const std::function<TransferResult(const TransferOptions&, Prompter&)>& send,
                                  std::initializer_list<QWidget*> busy) {
  std::vector<QWidget*> disabled;
  for (QWidget* w : busy) {
    if (w->isEnabled()) disabled.push_back(w);
    w->setEnabled(false);
  }
  browse_->setEnabled(false);
  cancel_->setEnabled(true);
  running_ = true;
  cancel_signal_.Reset();
  started_.start();
  progressLabel_->clear();
  // The transfer runs on a worker; this panel's bar and Cancel follow it piece by piece.
  LongWorkText view;
  view.follow = [this](uint64_t sent, uint64_t total) {
    ShowProgress(sent, total);
    emit progressed(sent, total);
  };
  view.cancel = &cancel_signal_;
  view.cancelButton = cancel_;
  const TransferResult result = RunLongWork(context_, dialog_, view, [&](Work& work) {
                                  TransferOptions options;
                                  options.progress = &work.progress;
                                  return send(options, work.prompter);
                                }).value;
  running_ = false;
  cancel_->setEnabled(false);
  browse_->setEnabled(true);
  for (QWidget* w : disabled) w->setEnabled(true);
  bar_->setValue(0);
  progressLabel_->clear();
  return result;
}

}  // namespace qm
