// The connection a command line asks for, checked and planned before anything is opened:
// port names, device paths and tcp:// addresses parsed, serial settings checked. No option
// parsing and no I/O here, so tests can table every case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/link_types.h"
#include "link/serial_port.h"

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

}  // namespace qm::cli
