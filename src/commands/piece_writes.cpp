#include "commands/piece_writes.h"

namespace qm {

PiecesWritten WritePieces(PrinterLink& link, const std::vector<std::string>& pieces, Progress& progress,
                          OnFailure onFailure) {
  PiecesWritten w;
  w.total = static_cast<int>(pieces.size());
  progress.Report(0, static_cast<uint64_t>(w.total));
  for (const std::string& piece : pieces) {
    if (progress.Cancelled()) {
      w.cancelled = true;
      break;
    }
    const int result = link.Write(piece);
    // Ethernet counts the bytes the printer took; the other ports say 1 for all of them.
    const bool whole = link.GetInterfaceKind() == kEthernet ? result == static_cast<int>(piece.size()) : result != 0;
    if (whole) {
      ++w.sent;
    } else if (link.lastFailure() == LinkFailure::kCancelled) {
      w.cancelled = true;
      break;
    } else {
      ++w.failed;
    }
    if (!whole && onFailure == OnFailure::kStop) break;
    progress.Report(static_cast<uint64_t>(w.sent + w.failed), static_cast<uint64_t>(w.total));
  }
  return w;
}

}  // namespace qm
