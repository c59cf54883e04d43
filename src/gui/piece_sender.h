// Long work that goes to the printer in pieces (a label, a character set): written one at
// a time while a progress dialog shows how far it got and offers Cancel.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "link/printer_link.h"

class QWidget;

namespace qm {

// Writes its pieces one per pass of the event loop, so that Cancel is seen between two
// writes; a cancelled sender writes nothing after the piece it was writing.
class PieceSender : public QObject {
  Q_OBJECT

 public:
  PieceSender(PrinterLink& link, std::vector<std::string> pieces, QObject* parent = nullptr);

  // The first write happens on the next pass of the event loop.
  void Start();
  void Cancel() { cancelled_ = true; }

  int sent() const { return sent_; }
  int total() const { return static_cast<int>(pieces_.size()); }

 signals:
  void progressed(int sent);
  void finished(int sent);

 private:
  void WriteNext();

  PrinterLink& link_;
  std::vector<std::string> pieces_;
  int sent_ = 0;
  bool cancelled_ = false;
};

struct PiecesSent {
  int sent = 0;
  int total = 0;
  bool complete() const { return sent == total; }
};

// Sends `pieces` under a modal progress dialog titled like `parent`, whose text is
// `describe(sent, total)` and the time left. Results of the writes are not examined: the
// link reports its own failures. Nothing is shown when there is nothing to send.
PiecesSent SendPiecesWithProgress(PrinterLink& link, std::vector<std::string> pieces, QWidget* parent,
                                  const std::function<QString(int sent, int total)>& describe);

}  // namespace qm
