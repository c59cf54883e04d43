// The built-in virtual printer behind --demo: Ethernet, COM1: and USB all reach it.
#pragma once

#include <memory>
#include <string>

#include "link/device_map.h"

namespace qm::printer {
class VirtualPrinter;
}

namespace qm {

class DemoPrinter {
 public:
  DemoPrinter();
  // Stops the printer and removes the fake USB device it made.
  ~DemoPrinter();
  DemoPrinter(const DemoPrinter&) = delete;
  DemoPrinter& operator=(const DemoPrinter&) = delete;

  // Starts the printer on a free loopback port, a pseudo-terminal and a fake USB device,
  // and points `devices` at them ("COM1" and the USB roots).
  bool Start(DeviceMap& devices, std::string& error);
  int tcpPort() const;

 private:
  std::unique_ptr<printer::VirtualPrinter> printer_;
  std::string usbDir_;
};

}  // namespace qm
