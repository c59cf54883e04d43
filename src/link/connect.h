// The one connect sequence, for the main window, the command line and each printer of a
// fleet: the port's print queues kept off it, the kind's parameters set, the link opened,
// and USB closed again at once.
#pragma once

#include <cstdint>
#include <string>

#include "link/link_types.h"
#include "link/queue_diversion.h"
#include "link/serial_port.h"

namespace qm {

class PrinterLink;

// What a connect is given. Only the parameters of the port's own kind are used.
struct ConnectRequest {
  std::string portName;      // "COM1:".."COM10:", "LPT1:".."LPT4:", "USB", "ETHERNET"
  SerialParameters serial;   // a COM port's line settings
  std::string address;       // ETHERNET: the printer's IPv4 address
  uint32_t tcpPort = 9100;   // ETHERNET
  bool divert = true;        // keep the system's print queues off a serial or parallel port
};

// The kind the link will take `portName` for, as its Open decides (first three characters,
// "USB" exactly, or "ETHERNET" first).
InterfaceKind KindOfPortName(const std::string& portName);

// Diverts the queues of a serial or parallel port into `queues` (when asked and a spooler is
// given), sets the link's port and the parameters of its kind, and opens it; USB is closed
// again at once, since it is opened around every call. True when the link opened; on failure
// the link's lastError() says why. What the spooler could not do stays in its notice.
bool ConnectLink(PrinterLink& link, Spooler* spooler, QueueMap& queues, const ConnectRequest& request);

}  // namespace qm
