// The command line `quillmark-cli`, runnable in-process.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/clock.h"
#include "link/device_map.h"
#include "link/link_types.h"
#include "link/queue_diversion.h"

namespace qm::cli {

// What the command line runs against; tests put fakes and short waits here.
struct CliEnvironment {
  Clock* clock = nullptr;                  // null: the system clock
  LinkTiming timing{};
  std::optional<DeviceMap> devices;        // empty: from the QUILLMARK_* environment
  std::istream* in = nullptr;              // null: standard input
  Spooler* spooler = nullptr;              // null: CUPS when a server answers, else none
};

// Runs one command line (the arguments after the program's name) and returns the exit
// status: 0 done, 1 the printer failed, 2 bad usage.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env = {});

// The same from main's arguments, against the real system.
int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace qm::cli
