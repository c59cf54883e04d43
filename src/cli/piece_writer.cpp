#include "cli/piece_writer.h"

#include "cli/interrupt_guard.h"

namespace qm::cli {

namespace {

std::string Count(int sent, int total, std::string_view unit) {
  return std::to_string(sent) + " of " + std::to_string(total) + " " + std::string(unit);
}

}  // namespace

PiecesWritten WritePieces(Session& session, const std::vector<std::string>& pieces, std::string_view what,
                          std::string_view unit) {
  PiecesWritten written;
  written.total = static_cast<int>(pieces.size());
  InterruptGuard guard;
  const auto show = [&] {
    if (!session.progress) return;
    *session.progress << '\r' << what << ": " << Count(written.sent, written.total, unit) << " sent";
    session.progress->flush();
  };
  show();
  for (const std::string& piece : pieces) {
    if (guard.requested()) {
      written.interrupted = true;
      break;
    }
    if (!WroteAll(session.link, session.link.Write(piece), piece.size())) {
      written.failed = true;
      break;
    }
    ++written.sent;
    show();
  }
  if (session.progress) *session.progress << '\n' << std::flush;
  return written;
}

Outcome PiecesOutcome(const PiecesWritten& written, const PrinterLink& link, std::string doneText,
                      std::string_view unit, JsonObject fields) {
  fields.Add("sent", written.sent);
  fields.Add("total", written.total);
  const std::string count = Count(written.sent, written.total, unit);
  if (written.failed) {
    const std::string& why = link.lastError();
    return Outcome::PrinterFailed("the write failed after " + count + " were sent" + (why.empty() ? "" : ": " + why),
                                  fields);
  }
  if (written.interrupted) {
    return Outcome{ExitStatus::kInterrupted, "interrupted after " + count + " were sent", {}, fields};
  }
  return Outcome::Done(std::move(doneText), fields);
}

}  // namespace qm::cli
