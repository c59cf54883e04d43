// Long prints written a piece at a time (a label, a character set), the one loop under the
// GUI's and the command line's progress.
#pragma once

#include <string>
#include <vector>

#include "core/progress.h"
#include "link/printer_link.h"

namespace qm {

struct PiecesWritten {
  int sent = 0;          // pieces the printer took whole
  int failed = 0;        // pieces whose write failed
  int total = 0;
  bool cancelled = false;  // stopped: nothing after the piece under way was written
  bool complete() const { return sent == total; }
};

// What to do when a piece's write fails.
enum class OnFailure { kGoOn, kStop };

// Writes each piece with one `Write`, in order, reporting after every piece (done counts
// the pieces tried) and stopping before the next once `progress` is cancelled. With kGoOn
// every piece is tried, so a printer that misses one still gets the rest and the count says
// which went out; with kStop nothing is tried after a failed write.
PiecesWritten WritePieces(PrinterLink& link, const std::vector<std::string>& pieces, Progress& progress,
                          OnFailure onFailure);

}  // namespace qm
