// The tester's Multi Send: the whole script written to the printer, a number of times.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/progress.h"
#include "link/printer_link.h"

namespace qm {

struct MultiSendResult {
  int completed = 0;   // writes that succeeded
  bool failed = false; // a write failed and the sending stopped
  bool cancelled = false;  // the byte progress asked to stop
};

// Writes `script` unchanged, `count` times, one write each; stops at the first write
// that fails or, on Ethernet, leaves part of the script unsent. `progress` hears the number
// completed of `count` after each successful write; once it is cancelled no further send begins.
MultiSendResult MultiSend(PrinterLink& link, const std::string& script, int count, Progress* progress = nullptr);
// The same for a long run that shows how far it got and may be stopped: `progress` hears
// the bytes of all the sends so far and their total, and once cancelled nothing more goes
// out after the piece under way. Ethernet makes each send one paced write heard chunk by
// chunk, the other ports take it in 2048-byte writes (the same bytes on the wire).
MultiSendResult MultiSend(PrinterLink& link, const std::string& script, int count, Progress& progress);

}  // namespace qm
