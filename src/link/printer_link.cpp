#include "link/printer_link.h"

#include <algorithm>
#include <utility>

#include "link/parallel_port.h"
#include "link/usb_discovery.h"

namespace qm {

PrinterLink::PrinterLink(Clock& clock, Prompter& prompter, const StringTable& strings,
                         LinkTiming timing, DeviceMap devices)
    : clock_(clock),
      prompter_(prompter),
      strings_(strings),
      timing_(timing),
      devices_(std::move(devices)),
      timeouts_(timing.serialDefaults),
      socket_(clock) {}

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
  if (!port_ || (interfaceKind_ != kSerial && interfaceKind_ != kParallel)) return 0;
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
  lastError_ = "unknown port name \"" + portName_ + "\"";
  return 0;
}

int PrinterLink::OpenSerial() {
  port_.reset();
  const std::string path = devices_.PathFor(portName_);
  if (path.empty()) {
    lastError_ = "no device for port \"" + portName_ + "\"";
    return 0;
  }
  SerialOpenStatus status;
  port_ = OpenSerialPort(path, serial_, clock_, status, lastError_);
  timeouts_ = timing_.serialDefaults;
  // With CTS or DSR down the port stays held, as a busy printer may come ready; the next
  // Open or Close lets it go.
  return status == SerialOpenStatus::kOpened ? 1 : 0;
}

int PrinterLink::OpenParallel() {
  port_.reset();
  const std::string path = devices_.PathFor(portName_);
  if (path.empty()) {
    lastError_ = "no device for port \"" + portName_ + "\"";
    return 0;
  }
  port_ = OpenParallelPort(path, clock_, lastError_);
  timeouts_ = timing_.serialDefaults;
  return port_ ? 1 : 0;
}

int PrinterLink::OpenUsb() {
  port_.reset();
  const auto printer = FindUsbPrinter(devices_.usb);
  if (!printer) {
    lastError_ = "no USB printer found";
    return 0;
  }
  devicePath_ = printer->devicePath;
  usbModel_ = printer->modelIndex;
  const int fd = OpenDevice(devicePath_, true, lastError_);
  if (fd == -1) return 0;
  port_ = std::make_unique<FdPort>(fd, clock_);
  if (port_->isTerminal()) MakeRaw(fd);
  return 1;
}

int PrinterLink::OpenEthernet() {
  switch (socket_.Connect(timing_.tcpConnectWaitMs, lastError_)) {
    case PrinterSocket::ConnectResult::kConnected:
      return 1;
    case PrinterSocket::ConnectResult::kNoSocket:
      Show(sid::kSocketCreateFailed);
      return 0;
    case PrinterSocket::ConnectResult::kFailed:
      Show(sid::kConnectFailed);
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
  if (count < 0) count = 0;
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
    if (out.failed && out.written == 0) lastError_ = "the port refused the write";
    return out.written;
  };

  size_t done = writeFrom(0);
  // Exactly the printer's retry rule: at most three more attempts, each after a short
  // pause, counted whether or not the attempt made progress.
  int retries = 0;
  while (done < total) {
    if (retries == timing_.writeRetries) {
      lastError_ = "write incomplete: " + std::to_string(done) + " of " + std::to_string(total) +
                   " bytes sent";
      Show(sid::kPortWriteError);
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
  size_t sent = 0;
  while (sent < total) {
    if (total - sent > chunk) {
      if (!socket_.SendAll(bytes + sent, chunk, timing_.tcpSendWaitMs)) break;
      // The printer's receive buffer is small; pace the chunks.
      clock_.Sleep(timing_.tcpChunkPauseMs);
      sent += chunk;
    } else {
      if (!socket_.SendAll(bytes + sent, total - sent, timing_.tcpSendWaitMs)) break;
      sent = total;
    }
  }
  if (sent < total) lastError_ = "send failed after " + std::to_string(sent) + " bytes";
  return static_cast<int>(sent);
}

int PrinterLink::Read(char* buffer, int count, ReplyEnd end) {
  (void)end;  // shapes are honoured by the backends next
  if (count <= 0) return 0;
  if (interfaceKind_ == kEthernet) {
    const size_t cap = std::min<size_t>(static_cast<size_t>(count), static_cast<size_t>(timing_.tcpReadCap));
    const size_t got = socket_.Receive(buffer, cap, timing_.tcpReadWaitMs, timing_.tcpSplitGapMs);
    if (trace_) trace_(Direction::kRead, std::string_view(buffer, got));
    return static_cast<int>(got);
  }
  const bool perCall = interfaceKind_ == kUsb && !holdOpen_;
  if (perCall) Open();

  ReadOutcome out{0, true};
  if (port_) {
    const size_t want = static_cast<size_t>(count);
    if (interfaceKind_ == kUsb) {
      out = port_->Read(buffer, want, timing_.usbReadWaitMs, timing_.usbQuietGapMs);
    } else {
      const uint64_t first = timeouts_.readTotalConstantMs +
                             static_cast<uint64_t>(timeouts_.readTotalMultiplierMs) * want;
      const int gap = timeouts_.readIntervalMs ? static_cast<int>(timeouts_.readIntervalMs)
                                               : timing_.serialQuietGapMs;
      out = port_->Read(buffer, want, static_cast<int>(std::min<uint64_t>(first, 600000)), gap);
    }
  }
  if (out.failed && out.got == 0) {
    lastError_ = port_ ? "the port failed the read" : "the port is not open";
    if (interfaceKind_ == kSerial) Show(sid::kSerialReadError);
  } else if (out.got == 0) {
    lastError_ = "no reply";
  }
  if (perCall) Close();
  if (trace_) trace_(Direction::kRead, std::string_view(buffer, out.got));
  return static_cast<int>(out.got);
}

void PrinterLink::Show(int stringId) {
  prompter_.Show(NumberedMessage(strings_, stringId, Icon::kExclamation));
}

}  // namespace qm
