// Downloads on the command line: a progress line on a terminal, SIGINT stopping cleanly
// between two pieces, and one way of reporting what went out.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "cli/command.h"
#include "downloads/file_transfer.h"

namespace qm::cli {

struct TransferRun {
  TransferResult result;
  bool interrupted = false;  // SIGINT stopped it
};

// Runs `send` with options whose progress redraws "WHAT: N of M bytes, R KiB/s, T s left"
// on `session.progress` (at most a few times a second) and stops at SIGINT.
TransferRun RunTransfer(Session& session, std::string_view what, int pauseMs,
                        const std::function<TransferResult(const TransferOptions&)>& send);

// Done with `doneText`; otherwise a printer failure saying how many bytes went out.
Outcome TransferOutcome(const TransferRun& run, std::string doneText, JsonObject fields = {});

// Adds --pace to `sub`, stored in `paceMs` (-1 when not given).
void AddPaceOption(CLI::App* sub, int& paceMs);

}  // namespace qm::cli
