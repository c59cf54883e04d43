// The tester's Multi Send: the whole script written to the printer, a number of times.
#pragma once

#include <functional>
#include <string>

#include "link/printer_link.h"

namespace qm {

struct MultiSendResult {
  int completed = 0;   // writes that succeeded
  bool failed = false; // a write failed and the sending stopped
};

// Writes `script` unchanged, `count` times, one write each; stops at the first write
// that fails or, on Ethernet, leaves part of the script unsent. `progress` hears the number completed after each successful write.
MultiSendResult MultiSend(PrinterLink& link, const std::string& script, int count,
                          const std::function<void(int)>& progress = {});

}  // namespace qm
