// The program's one connection to the printer, over serial, parallel, USB or Ethernet.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/prompter.h"
#include "core/strings.h"
#include "link/device_map.h"
#include "link/fd_port.h"
#include "link/link_types.h"
#include "link/printer_socket.h"
#include "link/serial_port.h"

namespace qm {

// Serial and parallel ports stay open from Open to Close. USB is opened and closed around
// every Write and Read unless held open. Ethernet reconnects on every Write and reads the
// reply from that connection.
class PrinterLink {
 public:
  PrinterLink(Clock& clock, Prompter& prompter, const StringTable& strings = EnglishStrings(),
              LinkTiming timing = {}, DeviceMap devices = DeviceMap::FromEnvironment());
  ~PrinterLink();
  PrinterLink(const PrinterLink&) = delete;
  PrinterLink& operator=(const PrinterLink&) = delete;

  // Stores the name that Open chooses the kind and device from.
  void SetPortName(std::string portName);
  // Stores baud rate, parity code, data bits and stop-bits code for the next serial open.
  void SetSerialParameters(uint32_t baudRate, int32_t parity, int32_t dataBits, int32_t stopBits);
  // Stores the Ethernet printer's address and TCP port.
  void SetEthernetSettings(std::string address, uint32_t port);
  // The kind the last Open chose; kept after Close.
  InterfaceKind GetInterfaceKind() const { return interfaceKind_; }
  // Applies a time-out record to the open serial or parallel port, or to Ethernet sends
  // (its write constant); 1 done, 0 no such port.
  int SetTimeouts(const SerialTimeouts& timeouts);
  // true: Open and keep the port open; false: Close, whatever the kind.
  void SetHoldOpen(bool hold);
  // Opens the port named by the port name; 1 opened, 0 failed.
  int Open();
  // Closes the port of any kind.
  void Close();
  // Sends `count` bytes. Serial, parallel, USB: 1 when all went out, 0 after the retries
  // failed (with the port error message). Ethernet: the number of bytes the printer
  // acknowledged, `count` only once it has taken them all.
  int Write(const char* bytes, int count);
  int Write(std::string_view bytes) { return Write(bytes.data(), static_cast<int>(bytes.size())); }
  // The next chunk of a long write: at most `max` bytes in `buffer`, fewer only at the end.
  using ChunkSource = std::function<size_t(char* buffer, size_t max)>;
  // Hears the bytes handed over so far after each chunk; false stops before the next one.
  using ChunkProgress = std::function<bool(uint64_t handed)>;
  // Ethernet only: one reconnect and the source's bytes in the chunks and pauses of Write,
  // without ever holding more than a chunk (`pauseMs` < 0: the link's own pause). Returns
  // the bytes the printer took; 0 on any other kind.
  uint64_t WriteStream(const ChunkSource& source, const ChunkProgress& progress = {}, int pauseMs = -1);
  // Reads one reply of at most `count` bytes (at most 32 on Ethernet); 0 when none came.
  // `end` says when the reply is whole: a known shape is waited for up to the read
  // deadline and returned the moment it is complete; an unknown one ends at a quiet gap.
  int Read(char* buffer, int count, ReplyEnd end = ReplyEnd::kUnknown);

  int usbModel() const { return usbModel_; }
  const std::string& portName() const { return portName_; }
  bool holdOpen() const { return holdOpen_; }
  const std::string& devicePath() const { return devicePath_; }
  const SerialParameters& serialParameters() const { return serial_; }
  const std::string& ethernetAddress() const { return socket_.address; }
  uint32_t ethernetPort() const { return socket_.port; }
  const SerialTimeouts& timeouts() const { return timeouts_; }
  // Why the last open, write or read failed, for logs and the command line.
  const std::string& lastError() const { return lastError_; }
  // The same as a reason, for the last Open, Write, WriteStream or Read: kNone when it
  // did not fail.
  LinkFailure lastFailure() const { return lastFailure_; }
  // Where the link's own messages go from now on (the one given at construction until
  // then); the previous sink is returned. Long work points it at a queue that the GUI
  // thread shows once the work is over.
  Prompter& SetPrompter(Prompter& prompter) {
    Prompter& previous = *prompter_;
    prompter_ = &prompter;
    return previous;
  }
  // True while a device or connection is held.
  bool isOpen() const { return port_ != nullptr || socket_.connected(); }
  DeviceMap& devices() { return devices_; }

  // Hears every write (the bytes offered) and every read (the bytes received), for logs.
  enum class Direction { kWrite, kRead };
  using Trace = std::function<void(Direction, std::string_view bytes)>;
  void SetTrace(Trace trace) { trace_ = std::move(trace); }

 private:
  // Piece size of an unpaced stream (a pause of 0): the printer keeps up, so fewer calls.
  static constexpr size_t kUnpacedChunkBytes = 64 * 1024;
  int OpenSerial();
  int OpenParallel();
  int OpenUsb();
  int OpenEthernet();
  int SendAll(const char* bytes, int count);
  // Sends the chunks `next` hands out (empty at the end), paced; the bytes the printer took.
  // `total` (0 unknown) only words the failure.
  uint64_t SendChunks(const std::function<std::string_view()>& next, const ChunkProgress& progress,
                      int pauseMs, uint64_t total);
  // How long an Ethernet printer may take no data before a send fails.
  int StallMs() const;
  int WriteTotalMs(size_t count) const;
  void Show(int stringId);
  void Fail(LinkFailure why, std::string text) {
    lastFailure_ = why;
    lastError_ = std::move(text);
  }
  // A stop asked for through the clock: the failure is that, and the link says nothing.
  bool StoppedByOperator();

  Clock& clock_;
  Prompter* prompter_;
  const StringTable& strings_;
  LinkTiming timing_;
  DeviceMap devices_;

  InterfaceKind interfaceKind_ = kSerial;
  int usbModel_ = -1;
  std::unique_ptr<FdPort> port_;
  std::string devicePath_;
  SerialParameters serial_;
  SerialTimeouts timeouts_;
  std::string portName_;
  bool holdOpen_ = false;
  PrinterSocket socket_;
  std::string lastError_;
  LinkFailure lastFailure_ = LinkFailure::kNone;
  Trace trace_;
};

}  // namespace qm
