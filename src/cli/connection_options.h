// The global connection options, and the one place that turns them into an open link.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "cli/outcome.h"
#include "core/clock.h"
#include "core/prompter.h"
#include "link/device_map.h"
#include "link/link_types.h"
#include "link/printer_link.h"
#include "link/queue_diversion.h"
#include "link/serial_port.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace qm::cli {

inline constexpr uint32_t kDefaultTcpPort = 9100;

// The global options as typed; an empty optional was not given.
struct ConnectionRequest {
  std::optional<std::string> port;
  std::optional<std::string> ip;
  std::optional<int64_t> tcpPort;
  std::optional<int64_t> baud;
  std::optional<std::string> parity;
  std::optional<int64_t> dataBits;
  std::optional<std::string> stopBits;
  bool demo = false;
  bool noDivert = false;
};

// How the link is to be set up, decided before anything is opened.
struct ConnectionPlan {
  std::string portName;    // what the link is given: "COM1:", "LPT1:", "USB", "ETHERNET"
  std::string deviceKey;   // "COM1" or "LPT1" when a device path stands in for the port
  std::string devicePath;  // the device path given, absolute
  int usbNode = -1;        // N of a /dev/usb/lpN path
  SerialParameters serial; // the main window's defaults unless given
  std::string address;     // Ethernet
  uint32_t tcpPort = kDefaultTcpPort;
  bool demo = false;       // an in-process virtual printer, over Ethernet, COM1: or USB
  bool divert = false;     // the system's print queues on the port are kept off it meanwhile

  InterfaceKind kind() const;
  // "COM1:", "COM1: (/dev/ttyUSB0)", "USB (/dev/usb/lp0)", "ETHERNET 10.0.0.7:9100", and
  // "the demo printer (...)" around one of them.
  std::string Describe() const;
};

struct PlanResult {
  std::optional<ConnectionPlan> plan;
  std::string error;  // a usage error when there is no plan
};

// Checks the options against each other and against what the link can do.
PlanResult PlanConnection(const ConnectionRequest& request);

// Declares the global connection options on the program's command line and reads them
// back after parsing.
class ConnectionOptions {
 public:
  ConnectionOptions() = default;
  ConnectionOptions(const ConnectionOptions&) = delete;
  ConnectionOptions& operator=(const ConnectionOptions&) = delete;

  void AddTo(CLI::App& app);
  // The request, with the options that were not given left empty.
  ConnectionRequest Request() const;

 private:
  std::string port_, ip_, parity_, stopBits_;
  int64_t tcpPort_ = 0, baud_ = 0, dataBits_ = 0;
  bool demo_ = false;
  bool noDivert_ = false;
  CLI::Option* portOption_ = nullptr;
  CLI::Option* ipOption_ = nullptr;
  CLI::Option* tcpPortOption_ = nullptr;
  CLI::Option* baudOption_ = nullptr;
  CLI::Option* parityOption_ = nullptr;
  CLI::Option* dataBitsOption_ = nullptr;
  CLI::Option* stopBitsOption_ = nullptr;
};

// What the command line runs against; tests put fakes and short waits here.
struct CliEnvironment {
  Clock* clock = nullptr;                  // null: the system clock
  LinkTiming timing{};
  std::optional<DeviceMap> devices;        // empty: from the QUILLMARK_* environment
  std::istream* in = nullptr;              // null: standard input
  Spooler* spooler = nullptr;              // null: CUPS when a server answers, else none
};

class DemoPrinter;
class UsbNodeView;
}  // namespace qm::cli

namespace qm {
class SystemSpooler;
}  // namespace qm

namespace qm::cli {

// A link configured from a plan and opened, with what it needs kept alive. Closing the
// link and letting go of the rest happens when it is destroyed.
class Connection {
 public:
  ~Connection();
  PrinterLink& link() { return *link_; }
  const ConnectionPlan& plan() const { return plan_; }

  // Opens the link as the main window's Connect does: the port's print queues are diverted
  // first (given back when the connection goes, after the port is closed), and USB is closed
  // again at once, since it is opened around every call. A failure shows the port message
  // through `prompter` and comes back as a printer failure naming the port and the reason.
  // What the spooler could not do is said through `prompter` once, and the command goes on.
  static std::unique_ptr<Connection> Open(const ConnectionPlan& plan, const CliEnvironment& env,
                                          Clock& clock, Prompter& prompter, Outcome& failure);

 private:
  Connection();
  ConnectionPlan plan_;
  std::unique_ptr<DemoPrinter> demo_;
  std::unique_ptr<UsbNodeView> usbView_;
  std::unique_ptr<SystemSpooler> systemSpooler_;
  Spooler* spooler_ = nullptr;  // while queues may be diverted
  Prompter* prompter_ = nullptr;
  QueueMap queues_;
  std::unique_ptr<PrinterLink> link_;
};

}  // namespace qm::cli
