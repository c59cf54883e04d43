// Long prints written to the printer a piece at a time: how far they got, on a terminal,
// and a clean stop at SIGINT between two pieces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"

namespace qm::cli {

struct PiecesWritten {
  int sent = 0;              // pieces written whole
  int total = 0;
  bool failed = false;       // a write failed; nothing after it was tried
  bool interrupted = false;  // SIGINT came; nothing after the piece under way was written
};

// Writes each piece with one `Write`, in order. While it runs SIGINT does not end the
// program; it stops the print before the next piece. With `session.progress` set, one line
// there reads "WHAT: 3 of 17 UNIT sent" and is redrawn after every piece.
PiecesWritten WritePieces(Session& session, const std::vector<std::string>& pieces, std::string_view what,
                          std::string_view unit);

// What came of it: done with `doneText`, a failed write or the stop, each saying how many
// of how many UNIT went out; `fields` gains "sent" and "total".
Outcome PiecesOutcome(const PiecesWritten& written, const PrinterLink& link, std::string doneText,
                      std::string_view unit, JsonObject fields = {});

}  // namespace qm::cli
