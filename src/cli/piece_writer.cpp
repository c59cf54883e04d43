#include "cli/piece_writer.h"

#include "cli/interrupt_guard.h"
#include "cli/progress_line.h"
#include "commands/piece_writes.h"

namespace qm::cli {

namespace {

std::string Count(int sent, int total, std::string_view unit) {
  return std::to_string(sent) + " of " + std::to_string(total) + " " + std::string(unit);
}

}  // namespace

PiecesWritten WritePieces(Session& session, const std::vector<std::string>& pieces, std::string_view what,
                          std::string_view unit) {
  // Between two pieces only: the piece under way goes out whole.
  InterruptGuard guard(nullptr, session.interrupt);
  ProgressLine line(session, guard, std::string(what), ProgressLine::Style::kPieces, std::string(unit));
  const qm::PiecesWritten w = qm::WritePieces(session.link, pieces, line, OnFailure::kStop);
  line.Finish();
  PiecesWritten written;
  written.sent = w.sent;
  written.total = w.total;
  written.failed = w.failed > 0;
  written.interrupted = w.cancelled;
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
