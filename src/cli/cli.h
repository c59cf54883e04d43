// The command line `quillmark-cli`, runnable in-process.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/clock.h"
#include "link/device_map.h"
#include "link/link_types.h"
#include "link/queue_diversion.h"

namespace qm {
class CancelSignal;
}  // namespace qm

namespace qm::cli {

class Command;

// What the command line runs against; tests put fakes and short waits here.
struct CliEnvironment {
  Clock* clock = nullptr;                  // null: the system clock
  LinkTiming timing{};
  std::optional<DeviceMap> devices;        // empty: from the QUILLMARK_* environment
  std::istream* in = nullptr;              // null: standard input
  Spooler* spooler = nullptr;              // null: CUPS when a server answers, else none
  // A fleet gives each printer a clock of its own: from here when set, else the system's.
  std::function<std::unique_ptr<Clock>()> makeClock;
  // Set by a fleet, whose own handler hears SIGINT: the stop request a long print heeds
  // instead of installing a handler of its own. Null: the command installs one.
  CancelSignal* interrupt = nullptr;
};

// Runs one command line (the arguments after the program's name) and returns the exit
// status: 0 done, 1 the printer failed, 2 bad usage. With several printers (--port more than
// once, or --hosts) the command runs on each of them (fleet.h).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env = {});

// A line parsed and prepared but not run, for a fleet to check once before it runs the line
// on every printer. `status` is -1 when the line is usable; otherwise it was reported (help,
// version, bad usage) and is the exit status.
struct CheckedLine {
  int status = -1;
  bool json = false;
  bool needsPrinter = true;
  std::string fleetRefusal;          // the command's own, asked while its options live
  std::unique_ptr<Command> command;  // the selected command, its options as parsed
  CheckedLine();
  CheckedLine(CheckedLine&&) noexcept;
  ~CheckedLine();
};
CheckedLine CheckLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      const CliEnvironment& env);

// One printer's line, never a fleet: what RunCli does once the fleet's options are gone.
int RunSingle(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const CliEnvironment& env);

// The same from main's arguments, against the real system.
int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace qm::cli
