// What the virtual printer is told to be: its ports, its files and its faults.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "printer/printer_state.h"

namespace qm::printer {

struct PrinterOptions {
  // "ADDR:PORT"; nullopt: no network port.
  std::optional<std::string> listen = std::string("127.0.0.1:9100");
  // A pseudo-terminal for the serial or parallel backend; the link path (may be empty)
  // becomes a symbolic link to it.
  bool serial = false;
  std::string serialLink;
  bool parallel = false;
  std::string parallelLink;
  // A fake usblp device tree under this folder; empty: none.
  std::string usbDir;
  // Model index 0 to 7; -1 keeps the state file's model (model 1 without a file).
  int model = -1;
  std::string stateFile;
  std::string outDir;
  Faults faults;
  bool silent = false;
  int delayMs = 0;
  bool split = false;
  int splitPauseMs = 2;
  bool log = false;
  // --version: the program prints its version and serves nothing.
  bool version = false;
  // Where log lines go; unset: standard error.
  std::function<void(const std::string& line)> logSink;
};

// Reads the command line. `help` is set for --help; otherwise false with `error` on a bad
// option.
bool ParseOptions(const std::vector<std::string>& args, PrinterOptions& options, bool& help,
                  std::string& error);

// The --help text.
std::string Usage();

}  // namespace qm::printer
