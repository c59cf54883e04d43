// The virtual printer behind --demo, running inside the program that talks to it: on a free
// loopback TCP port always, and on a pseudo-terminal and a fake USB device when asked.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/device_map.h"

namespace qm::printer {

class VirtualPrinter;

// The ports beside TCP that a demo serves.
struct DemoPorts {
  bool serial = true;  // a pseudo-terminal that COM1 is pointed at
  bool usb = true;     // a fake USB device that the USB roots lead to
};

class DemoPrinter {
 public:
  using Ports = DemoPorts;

  DemoPrinter();
  // Stops the printer and removes the fake USB device it made.
  ~DemoPrinter();
  DemoPrinter(const DemoPrinter&) = delete;
  DemoPrinter& operator=(const DemoPrinter&) = delete;

  // Starts the printer and points `devices` at the ports it serves ("COM1" and the USB
  // roots). False, with `error` set, when it cannot; nothing is left behind then.
  bool Start(DeviceMap& devices, std::string& error, Ports ports = {});

  uint32_t tcpPort() const;
  std::string serialPath() const;   // empty unless served
  std::string usbNodePath() const;  // empty unless served

 private:
  void Clear();

  std::unique_ptr<VirtualPrinter> printer_;
  Ports ports_;
  std::string usbDir_;  // the folder that holds the fake USB device, when there is one
};

}  // namespace qm::printer
