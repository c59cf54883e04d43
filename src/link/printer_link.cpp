#include "link/printer_link.h"

#include <algorithm>
#include <utility>

#include "link/parallel_port.h"
#include "link/usb_discovery.h"

namespace qm {

PrinterLink::PrinterLink(Clock& clock, Prompter& prompter, const StringTable& strings,
                         LinkTiming timing, DeviceMap devices)
    : clock_(clock),
      prompter_(&prompter),
      strings_(strings),
      timing_(timing),
      devices_(std::move(devices)),
      timeouts_(timing.serialDefaults),
      socket_(clock) {
  socket_.sendBufferBytes = timing_.tcpSendBufferBytes;
}

PrinterLink::~PrinterLink() = default;

void PrinterLink::SetPortName(std::string portName) { portName_ = std::move(portName); }

void PrinterLink::SetSerialParameters(uint32_t baudRate, int32_t parity, int32_t dataBits,
                                      int32_t stopBits) {
  serial_ = SerialParameters{baudRate, parity, dataBits, stopBits};
}

void PrinterLink::SetEthernetSettings(std::string address, uint32_t port) {
  socket_.address = std::move(address);
  socket_.port = port;
}

int PrinterLink::SetTimeouts(const SerialTimeouts& timeouts) {
  // Ethernet reconnects for every write, so its record outlives the connection.
  const bool heldPort = port_ && (interfaceKind_ == kSerial || interfaceKind_ == kParallel);
  if (!heldPort && interfaceKind_ != kEthernet) return 0;
  timeouts_ = timeouts;
  return 1;
}

void PrinterLink::SetHoldOpen(bool hold) {
  holdOpen_ = hold;
  if (hold) {
    Open();
  } else {
    Close();
  }
}

int PrinterLink::Open() {
  lastFailure_ = LinkFailure::kNone;
  const std::string_view name(portName_);
  if (name.substr(0, 3) == "COM") {
    interfaceKind_ = kSerial;
    return OpenSerial();
  }
  if (name.substr(0, 3) == "LPT") {
    interfaceKind_ = kParallel;
    return OpenParallel();
  }
  if (name == "USB") {
    interfaceKind_ = kUsb;
    const int opened = OpenUsb();
    if (opened == 1) MarkUsbPrinterConfigured(usbModel_);
    return opened;
  }
  if (name.substr(0, 8) == "ETHERNET") {
    interfaceKind_ = kEthernet;
    return OpenEthernet();
  }
  Fail(LinkFailure::kUnknownPort, "unknown port name \"" + portName_ + "\"");
  return 0;
}

int PrinterLink::OpenSerial() {
  port_.reset();
  const std::string path = devices_.PathFor(portName_);
  if (path.empty()) {
    Fail(LinkFailure::kNoDevice, "no device for port \"" + portName_ + "\"");
    return 0;
  }
  SerialOpenStatus status;
  port_ = OpenSerialPort(path, serial_, clock_, status, lastError_);
  timeouts_ = timing_.serialDefaults;
  if (status != SerialOpenStatus::kOpened) lastFailure_ = LinkFailure::kOpenFailed;
  // With CTS or DSR down the port stays held, as a busy printer may come ready; the next
  // Open or Close lets it go.
  return status == SerialOpenStatus::kOpened ? 1 : 0;
}

int PrinterLink::OpenParallel() {
  port_.reset();
  const std::string path = devices_.PathFor(portName_);
  if (path.empty()) {
    Fail(LinkFailure::kNoDevice, "no device for port \"" + portName_ + "\"");
    return 0;
  }
  port_ = OpenParallelPort(path, clock_, lastError_);
  timeouts_ = timing_.serialDefaults;
  if (!port_) lastFailure_ = LinkFailure::kOpenFailed;
  return port_ ? 1 : 0;
}

int PrinterLink::OpenUsb() {
  port_.reset();
  std::string skipped;
  const auto printer = FindUsbPrinter(devices_.usb, &skipped);
  if (!printer) {
    Fail(LinkFailure::kNoDevice, "no USB printer found" + (skipped.empty() ? "" : " (" + skipped + ")"));
    return 0;
  }
  devicePath_ = printer->devicePath;
  usbModel_ = printer->modelIndex;
  const int fd = OpenDevice(devicePath_, true, lastError_);
  if (fd == -1) {
    lastFailure_ = LinkFailure::kOpenFailed;
    return 0;
  }
  port_ = std::make_unique<FdPort>(fd, clock_);
  if (port_->isTerminal()) MakeRaw(fd);
  return 1;
}

int PrinterLink::OpenEthernet() {
  switch (socket_.Connect(timing_.tcpConnectWaitMs, lastError_)) {
    case PrinterSocket::ConnectResult::kConnected:
      return 1;
    case PrinterSocket::ConnectResult::kNoSocket:
      lastFailure_ = LinkFailure::kNoSocket;
      if (!StoppedByOperator()) Show(sid::kSocketCreateFailed);
      return 0;
    case PrinterSocket::ConnectResult::kFailed:
      lastFailure_ = LinkFailure::kConnectFailed;
      if (!StoppedByOperator()) Show(sid::kConnectFailed);
      return 0;
  }
  return 0;
}

void PrinterLink::Close() {
  // Stale input must not pass for the next reply; but the last command written must still
  // reach the printer, so pending output is left to drain.
  if (port_ && (interfaceKind_ == kSerial || interfaceKind_ == kParallel)) port_->PurgeInput();
  port_.reset();
  socket_.Close();
}

int PrinterLink::WriteTotalMs(size_t count) const {
  const uint64_t total = timeouts_.writeTotalConstantMs +
                         static_cast<uint64_t>(timeouts_.writeTotalMultiplierMs) * count;
  return static_cast<int>(std::min<uint64_t>(total, 600000));
}

int PrinterLink::Write(const char* bytes, int count) {
  lastFailure_ = LinkFailure::kNone;
  if (count < 0) count = 0;
  // After Cancel nothing more goes to the printer: the write under way was the last.
  if (StoppedByOperator()) return 0;
  if (trace_) trace_(Direction::kWrite, std::string_view(bytes, static_cast<size_t>(count)));
  if (interfaceKind_ == kEthernet) {
    Open();
    return SendAll(bytes, count);
  }
  const bool perCall = interfaceKind_ == kUsb && !holdOpen_;
  if (perCall) Open();

  const size_t total = static_cast<size_t>(count);
  auto writeFrom = [&](size_t done) -> size_t {
    if (!port_) return 0;
    const WriteOutcome out = port_->Write(bytes + done, total - done, WriteTotalMs(total - done));
    if (out.failed && out.written == 0) Fail(LinkFailure::kPortFailed, "the port refused the write");
    return out.written;
  };

  size_t done = writeFrom(0);
  // Exactly the printer's retry rule: at most three more attempts, each after a short
  // pause, counted whether or not the attempt made progress.
  int retries = 0;
  while (done < total) {
    if (retries == timing_.writeRetries || clock_.Cancelled()) {
      Fail(LinkFailure::kWriteIncomplete, "write incomplete: " + std::to_string(done) + " of " +
                                              std::to_string(total) + " bytes sent");
      if (!StoppedByOperator()) Show(sid::kPortWriteError);
      if (perCall) Close();
      return 0;
    }
    clock_.Sleep(timing_.writeRetryPauseMs);
    done += writeFrom(done);
    ++retries;
  }
  if (perCall) Close();
  return 1;
}

int PrinterLink::SendAll(const char* bytes, int count) {
  const size_t total = static_cast<size_t>(count);
  const size_t chunk = std::max<size_t>(timing_.tcpChunkBytes, 1);
  size_t at = 0;
  const auto next = [&] {
    const std::string_view piece(bytes + at, std::min(chunk, total - at));
    at += piece.size();
    return piece;
  };
  return static_cast<int>(SendChunks(next, {}, timing_.tcpChunkPauseMs, total));
}

uint64_t PrinterLink::WriteStream(const ChunkSource& source, const ChunkProgress& progress, int pauseMs) {
  lastFailure_ = LinkFailure::kNone;
  if (interfaceKind_ != kEthernet) return 0;
  if (StoppedByOperator()) return 0;
  Open();
  const int pause = pauseMs < 0 ? timing_.tcpChunkPauseMs : pauseMs;
  // The chunk exists for the pause; without one, larger pieces spare the system calls.
  const size_t chunk = pause == 0 ? std::max<size_t>(timing_.tcpChunkBytes, kUnpacedChunkBytes)
                                  : std::max<size_t>(timing_.tcpChunkBytes, 1);
  std::string buffer(chunk, '\0');
  const auto next = [&] {
    const std::string_view piece(buffer.data(), source(buffer.data(), buffer.size()));
    if (trace_ && !piece.empty()) trace_(Direction::kWrite, piece);
    return piece;
  };
  return SendChunks(next, progress, pause, 0);
}

uint64_t PrinterLink::SendChunks(const std::function<std::string_view()>& next, const ChunkProgress& progress,
                                 int pauseMs, uint64_t total) {
  const int stallMs = StallMs();
  using Result = PrinterSocket::SendResult;
  // Without a connection the reconnect has already said why.
  if (!socket_.connected()) return 0;
  Result result = Result::kDone;
  uint64_t handed = 0;
  std::string_view piece = next();
  while (!piece.empty()) {
    result = socket_.Send(piece.data(), piece.size(), stallMs);
    if (result != Result::kDone) break;
    handed += piece.size();
    if (progress && !progress(handed)) break;
    if (clock_.Cancelled()) break;
    piece = next();
    // The printer's receive buffer is small; pace the chunks.
    if (!piece.empty()) clock_.Sleep(pauseMs);
  }
  // Bytes in the system's buffers are not yet the printer's: the count is what it took.
  if (result == Result::kDone) result = socket_.Drain(stallMs);
  if (result == Result::kDone) return handed;
  const std::string taken =
      std::to_string(socket_.delivered()) + (total ? " of " + std::to_string(total) : std::string()) + " bytes";
  if (result == Result::kStalled) {
    Fail(LinkFailure::kStalled, "the printer stopped taking data after " + taken);
  } else {
    Fail(LinkFailure::kBroken, "the connection broke after " + taken + ": " + socket_.error());
  }
  StoppedByOperator();
  return socket_.delivered();
}

int PrinterLink::StallMs() const {
  return static_cast<int>(std::min<uint32_t>(timeouts_.writeTotalConstantMs, 600000));
}

int PrinterLink::Read(char* buffer, int count, ReplyEnd end) {
  lastFailure_ = LinkFailure::kNone;
  if (count <= 0) return 0;
  if (interfaceKind_ == kEthernet) {
    const size_t cap = std::min<size_t>(static_cast<size_t>(count), static_cast<size_t>(timing_.tcpReadCap));
    const ReplyPlan plan{end, timing_.tcpReadWaitMs, timing_.tcpSplitGapMs, timing_.tcpLongGapMs};
    const size_t got = socket_.Receive(buffer, cap, plan);
    if (got == 0 && !StoppedByOperator()) Fail(LinkFailure::kNoReply, "no reply");
    if (trace_) trace_(Direction::kRead, std::string_view(buffer, got));
    return static_cast<int>(got);
  }
  const bool perCall = interfaceKind_ == kUsb && !holdOpen_;
  if (perCall) Open();

  ReadOutcome out{0, true};
  if (port_) {
    const size_t want = static_cast<size_t>(count);
    ReplyPlan plan{end, 0, 0, 0};
    if (interfaceKind_ == kUsb) {
      plan.waitMs = timing_.usbReadWaitMs;
      plan.gapMs = timing_.usbQuietGapMs;
      plan.longGapMs = timing_.usbLongGapMs;
    } else {
      const uint64_t total = timeouts_.readTotalConstantMs +
                             static_cast<uint64_t>(timeouts_.readTotalMultiplierMs) * want;
      plan.waitMs = static_cast<int>(std::min<uint64_t>(total, 600000));
      // Serial lines have no shortcut for a reply ending in CR LF: one quiet gap for all.
      plan.gapMs = timeouts_.readIntervalMs ? static_cast<int>(timeouts_.readIntervalMs)
                                            : timing_.serialQuietGapMs;
      plan.longGapMs = plan.gapMs;
    }
    out = port_->Read(buffer, want, plan);
  }
  if (out.got == 0 && StoppedByOperator()) {
    // Cut short by Cancel: not a failure of the port, and nothing to tell.
  } else if (out.failed && out.got == 0) {
    Fail(LinkFailure::kPortFailed, port_ ? "the port failed the read" : "the port is not open");
    if (interfaceKind_ == kSerial) Show(sid::kSerialReadError);
  } else if (out.got == 0) {
    Fail(LinkFailure::kNoReply, "no reply");
  }
  if (perCall) Close();
  if (trace_) trace_(Direction::kRead, std::string_view(buffer, out.got));
  return static_cast<int>(out.got);
}

bool PrinterLink::StoppedByOperator() {
  if (!clock_.Cancelled()) return false;
  Fail(LinkFailure::kCancelled, "stopped by the operator");
  return true;
}

void PrinterLink::Show(int stringId) {
  prompter_->Show(NumberedMessage(strings_, stringId, Icon::kExclamation));
}

}  // namespace qm
