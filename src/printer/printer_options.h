// What the virtual printer is told to be: its ports, its files and its faults.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "printer/label_forwarder.h"
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
  // A TCP connection silent this long is closed; 0: never.
  int64_t idleTimeoutMs = 60000;
  // Loopback connections only from sockets of the user running the printer.
  bool ownerOnly = false;
  // TCP connections held at once; 0: as many as the descriptor limit leaves room for.
  size_t maxConnections = 0;
  // Labels waiting to be drawn for --out; beyond it a label is recorded as text alone.
  size_t pictureQueue = 64;
  // An image whose bytes stop coming is dropped after this long; 0: the printer's own.
  int64_t imageStallMs = 0;
  // A print queue that gets every label drawn, and what prints on it (the program's is
  // libcups); empty: labels go nowhere but --out.
  std::string forwardQueue;
  PrintForwarded forwardPrint;
  // Labels waiting for the queue; beyond it a label is dropped and logged.
  size_t forwardBacklog = LabelForwarder::kDefaultBacklog;
  // --version: the program prints its version and serves nothing.
  bool version = false;
  // Where log lines go; unset: standard error. Called from one thread at a time.
  std::function<void(const std::string& line)> logSink;
  // How label files are written, as write(2); unset: write(2) itself.
  std::function<ssize_t(int fd, const void* data, size_t size)> labelWrite;
};

// Reads the command line. `help` is set for --help; otherwise false with `error` on a bad
// option.
bool ParseOptions(const std::vector<std::string>& args, PrinterOptions& options, bool& help,
                  std::string& error);

// The --help text.
std::string Usage();

}  // namespace qm::printer
