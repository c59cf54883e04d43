// The command line's Progress: one line on standard error while it is a terminal, redrawn
// as the work goes, and the stop request that SIGINT raises.
#pragma once

#include <cstdint>
#include <string>

#include "cli/command.h"
#include "cli/interrupt_guard.h"
#include "core/progress.h"

namespace qm::cli {

class ProgressLine : public Progress {
 public:
  // kBytes: "WHAT: N of M bytes, R KiB/s, T s left", at most a few times a second.
  // kPieces: "WHAT: N of M UNIT sent", after every piece.
  enum class Style { kBytes, kPieces };
  ProgressLine(Session& session, const InterruptGuard& guard, std::string what, Style style, std::string unit = {});

  void Report(uint64_t done, uint64_t total) override;
  bool Cancelled() const override { return guard_.requested(); }
  // The last state drawn whole and the line ended; nothing without a terminal.
  void Finish();

 private:
  void Draw(bool last);

  Session& session_;
  const InterruptGuard& guard_;
  std::string what_;
  Style style_;
  std::string unit_;
  int64_t started_;
  int64_t drawn_;
  uint64_t done_ = 0;
  uint64_t total_ = 0;
};

}  // namespace qm::cli
