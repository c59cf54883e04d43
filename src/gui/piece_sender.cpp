#include "gui/piece_sender.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>

namespace qm {

PieceSender::PieceSender(PrinterLink& link, std::vector<std::string> pieces, QObject* parent)
    : QObject(parent), link_(link), pieces_(std::move(pieces)) {}

void PieceSender::Start() { QTimer::singleShot(0, this, &PieceSender::WriteNext); }

void PieceSender::WriteNext() {
  if (cancelled_ || sent_ == total()) {
    emit finished(sent_);
    return;
  }
  link_.Write(pieces_[static_cast<size_t>(sent_)]);
  ++sent_;
  emit progressed(sent_);
  // Back to the event loop first, where a Cancel pressed during this write is seen.
  QTimer::singleShot(0, this, &PieceSender::WriteNext);
}

PiecesSent SendPiecesWithProgress(PrinterLink& link, std::vector<std::string> pieces, QWidget* parent,
                                  const std::function<QString(int sent, int total)>& describe) {
  const int total = static_cast<int>(pieces.size());
  if (total == 0) return {};
  PieceSender sender(link, std::move(pieces));
  QProgressDialog progress(parent);
  if (parent) progress.setWindowTitle(parent->windowTitle());
  progress.setWindowModality(Qt::WindowModal);
  // It closes when the sender says so, not by itself at the last piece or at Cancel.
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setRange(0, total);
  progress.setValue(0);
  progress.setLabelText(describe(0, total));
  QElapsedTimer started;
  started.start();
  QObject::connect(&sender, &PieceSender::progressed, &progress, [&](int sent) {
    progress.setValue(sent);
    // The pieces so far tell how long the rest will take, at the line's own pace.
    const qint64 leftMs = started.elapsed() * (total - sent) / sent;
    progress.setLabelText(describe(sent, total) + QLatin1Char('\n') +
                          PieceSender::tr("About %1 s left").arg((leftMs + 999) / 1000));
  });
  QObject::connect(&progress, &QProgressDialog::canceled, &sender, &PieceSender::Cancel);
  QObject::connect(&sender, &PieceSender::finished, &progress, [&] { progress.accept(); });
  sender.Start();
  progress.exec();
  // Closed some other way (the window's close box): nothing more goes out.
  sender.Cancel();
  return {sender.sent(), total};
}

}  // namespace qm
