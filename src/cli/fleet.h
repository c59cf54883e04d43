// Many printers at once: any command run on every printer of a fleet, each on a link of its
// own on a worker thread, the results gathered in the order the printers were named.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace qm::cli {

inline constexpr int kDefaultFleetJobs = 16;
inline constexpr int kMaxFleetJobs = 1024;

// The command line with the fleet's options taken out: every --port, --hosts and --jobs
// before a "--" that ends the options.
struct FleetLine {
  std::vector<std::string> ports;  // each --port, in order
  std::string hostsFile;           // --hosts, empty when not given
  std::string jobs;                // --jobs as typed, empty when not given
  std::vector<std::string> rest;   // everything else, in order
  // A fleet is more than one --port, or a hosts file (even of one line: its output is the
  // fleet's).
  bool IsFleet() const { return ports.size() > 1 || !hostsFile.empty(); }
};
FleetLine SplitFleetLine(const std::vector<std::string>& args);

// The printers of a hosts file: one a line, "#" starts a comment, blank lines skipped.
// Each is checked as --port would check it; the first that is not usable is an error
// naming its file and line. `text` is the file's content.
struct HostsResult {
  std::vector<std::string> printers;
  std::string error;
};
HostsResult ParseHosts(const std::string& text, const std::string& fileName);

// A printer's run, as the fleet gathers it.
struct FleetRun {
  std::string printer;
  int status = -1;   // its exit status; -1: never started (the fleet was interrupted)
  std::string out;   // its stdout
  std::string err;   // its stderr
};

// Of two exit statuses, the one a fleet reports: SIGINT, bad usage, a printer that failed,
// one reporting a fault, settings that differ, done, in that order.
int WorseStatus(int a, int b);

// Runs `rest` on every printer of the line (each --port, then the hosts file's), at most
// --jobs at once, and reports: each printer's lines prefixed with it, or with --json one
// object {"printers": [...]}. The exit status is the worst of the printers'. A progress line
// goes to `err` while it is a terminal.
int RunFleet(const FleetLine& line, std::ostream& out, std::ostream& err, const CliEnvironment& env);

}  // namespace qm::cli
