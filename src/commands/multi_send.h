// The tester's Multi Send: the whole script written to the printer, a number of times.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/printer_link.h"

namespace qm {

struct MultiSendResult {
  int completed = 0;   // writes that succeeded
  bool failed = false; // a write failed and the sending stopped
  bool cancelled = false;  // the byte progress asked to stop
};

// Hears the bytes of all the sends so far and their total; false stops before the next
// piece.
using MultiSendBytes = std::function<bool(uint64_t sent, uint64_t total)>;

// Writes `script` unchanged, `count` times, one write each; stops at the first write
// that fails or, on Ethernet, leaves part of the script unsent. `progress` hears the number completed after each successful write.
MultiSendResult MultiSend(PrinterLink& link, const std::string& script, int count,
                          const std::function<void(int)>& progress = {});
// The same for a long run that shows how far it got and may be stopped: Ethernet makes each
// send one paced write heard chunk by chunk, the other ports take it in 2048-byte writes
// (the same bytes on the wire).
MultiSendResult MultiSend(PrinterLink& link, const std::string& script, int count,
                          const std::function<void(int)>& progress, const MultiSendBytes& bytes);

}  // namespace qm
