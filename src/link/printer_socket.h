// The Ethernet printer's TCP connection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/clock.h"
#include "link/reply_plan.h"

namespace qm {

class PrinterSocket {
 public:
  explicit PrinterSocket(Clock& clock) : clock_(clock) {}
  ~PrinterSocket() { Close(); }
  PrinterSocket(const PrinterSocket&) = delete;
  PrinterSocket& operator=(const PrinterSocket&) = delete;

  std::string address;  // dotted IPv4 text, or a host name
  uint32_t port = 9100;
  int sendBufferBytes = 0;  // the socket's send buffer; 0 leaves the system's

  enum class ConnectResult { kConnected, kNoSocket, kFailed };
  // Connects to `address`:`port` within `waitMs`, dropping any earlier connection.
  ConnectResult Connect(int waitMs, std::string& error);
  void Close();
  bool connected() const { return fd_ >= 0; }

  enum class SendResult { kDone, kStalled, kFailed };
  // Hands `count` more bytes to the connection. kStalled: the printer has taken nothing for
  // `stallMs` while bytes were waiting for it; kFailed: the connection broke (see error()).
  SendResult Send(const char* data, size_t count, int stallMs);
  // Waits until the printer has acknowledged every byte handed over, under the same rule.
  SendResult Drain(int stallMs);
  // Bytes of this connection that the printer has acknowledged, as far as known.
  size_t delivered() const { return taken_; }
  // Why the last send failed.
  const std::string& error() const { return error_; }

  // Gathers one reply of at most `count` bytes by `plan`. 0 for silence, a closed
  // connection or an error.
  size_t Receive(char* buffer, size_t count, const ReplyPlan& plan);

 private:
  // Reads how much of what was handed over is still unacknowledged, and notes progress.
  void Observe();
  // True when bytes are waiting and the printer has taken none of them for `stallMs`.
  bool Stalled(int stallMs) const;
  int StallLeftMs(int stallMs) const;
  SendResult Broken(int err);

  Clock& clock_;
  int fd_ = -1;
  size_t handed_ = 0;  // bytes the connection accepted
  size_t taken_ = 0;   // of those, acknowledged by the printer
  int64_t lastTakenMs_ = 0;
  std::string error_;
};

}  // namespace qm
