// An open serial, parallel or USB device: non-blocking descriptor I/O against deadlines.
#pragma once

#include <cstddef>
#include <string>

#include "core/clock.h"
#include "link/reply_plan.h"

namespace qm {

// Outcome of one write call: how much went out, and whether the device reported an error.
struct WriteOutcome {
  size_t written = 0;
  bool failed = false;
};

// Outcome of one read call: bytes placed, and whether the device reported an error.
struct ReadOutcome {
  size_t got = 0;
  bool failed = false;
};

class FdPort {
 public:
  // Takes ownership of `fd`, opened non-blocking.
  FdPort(int fd, Clock& clock);
  ~FdPort();
  FdPort(const FdPort&) = delete;
  FdPort& operator=(const FdPort&) = delete;

  int fd() const { return fd_; }
  bool isTerminal() const { return isTerminal_; }

  // Serial output flow on DSR, which Linux lacks: wait for DSR before every chunk.
  void SetDsrOutputFlow(bool on) { dsrFlow_ = on; }

  // Writes as much as the device takes within `waitMs`.
  WriteOutcome Write(const char* data, size_t count, int waitMs);
  // Gathers one reply of at most `count` bytes: until it is whole by the plan's shape, or
  // (shape unknown) the line has been quiet for the plan's gap, or the deadline passes.
  ReadOutcome Read(char* buffer, size_t count, const ReplyPlan& plan);
  // Drops whatever waits in the input and output queues.
  void Purge();
  // Drops unread input only; output already written still reaches the printer.
  void PurgeInput();

 private:
  bool WaitForDsr(const Deadline& deadline);

  int fd_;
  Clock& clock_;
  bool isTerminal_;
  bool dsrFlow_ = false;
};

// Opens the device node `path` read-write, non-blocking, never as a controlling terminal;
// anything but a character device is refused. With `exclusive` the device is locked against
// every other opener; otherwise the open only proves that the device is free. Returns -1
// and sets `error` on failure.
int OpenDevice(const std::string& path, bool exclusive, std::string& error);

// Raw mode for a terminal device (a pseudo-terminal standing in for a port).
bool MakeRaw(int fd);

}  // namespace qm
