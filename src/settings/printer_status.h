// The printer's status through its four status commands, and what each reply ticks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/prompter.h"

namespace qm {

class PrinterLink;

// In the order of the dialog's tabs.
enum class StatusCommand { kCp, kCu, kEe, kCps };
inline constexpr int kStatusCommandCount = 4;

struct StatusCommandShape {
  std::string_view name;     // "cp", as the command line names it
  std::string_view command;  // "^cp\r"
  int replySize;             // bytes read
  int waitMs;                // pause before the read
};
const StatusCommandShape& ShapeOf(StatusCommand command);

// The boxes of a command's page, in the order they are laid out. The last is "Status OK"
// on the byte pages.
const std::vector<std::string_view>& StatusBoxes(StatusCommand command);

// Which boxes `reply` ticks (indexes into StatusBoxes). A reply shorter than the command's
// reads its missing bytes as 0.
std::vector<int> TickedBoxes(StatusCommand command, std::string_view reply);

// Whether the ticked boxes say all is well: "Status OK", or "No Error" on the "^ee" page.
bool StatusIsOk(StatusCommand command, const std::vector<int>& ticked);

struct StatusRead {
  bool refused = false;  // "^ee" off a serial link: nothing was sent
  bool ok = false;       // a well-formed reply came, first time or on the one more read
  std::string reply;     // the bytes read
  std::vector<int> ticked;  // empty unless ok
};

// A status test: writes the command, waits, reads the reply; a short or malformed reply
// says "Status Data Read Fail!" and is read once more. When that fails too nothing is
// ticked: zeros would read as "Status OK".
StatusRead CheckPrinterStatus(PrinterLink& link, Clock& clock, Prompter& prompter, StatusCommand command);

}  // namespace qm
