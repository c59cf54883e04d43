// The Ethernet printer's TCP connection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/clock.h"

namespace qm {

class PrinterSocket {
 public:
  explicit PrinterSocket(Clock& clock) : clock_(clock) {}
  ~PrinterSocket() { Close(); }
  PrinterSocket(const PrinterSocket&) = delete;
  PrinterSocket& operator=(const PrinterSocket&) = delete;

  std::string address;  // dotted IPv4 text, or a host name
  uint32_t port = 9100;

  enum class ConnectResult { kConnected, kNoSocket, kFailed };
  // Connects to `address`:`port` within `waitMs`, dropping any earlier connection.
  ConnectResult Connect(int waitMs, std::string& error);
  void Close();
  bool connected() const { return fd_ >= 0; }

  // Sends every byte, or fails when the peer makes no room for `waitMs`.
  bool SendAll(const char* data, size_t count, int waitMs);
  // Waits up to `waitMs` for data, then takes what arrives within `gapMs` more, up to
  // `count` bytes. 0 for silence, a closed connection or an error.
  size_t Receive(char* buffer, size_t count, int waitMs, int gapMs);

 private:
  Clock& clock_;
  int fd_ = -1;
};

}  // namespace qm
