// The virtual printer that --demo talks to, running inside this program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/device_map.h"
#include "link/link_types.h"

namespace qm::cli {

class DemoPrinter {
 public:
  // Starts a virtual printer on a free loopback TCP port and, for `kind` serial, a
  // pseudo-terminal that `devices` maps COM1 to, or for USB a fake USB device that the USB
  // roots of `devices` lead to. Null, with `error` set, when it cannot.
  static std::unique_ptr<DemoPrinter> Start(InterfaceKind kind, DeviceMap& devices, std::string& error);
  // Stops the printer and removes the fake USB device it made.
  ~DemoPrinter();
  DemoPrinter(const DemoPrinter&) = delete;
  DemoPrinter& operator=(const DemoPrinter&) = delete;

  uint32_t tcpPort() const;
  // The pseudo-terminal of a serial demo, the device node of a USB one; empty otherwise.
  std::string devicePath() const;

 private:
  struct State;
  explicit DemoPrinter(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace qm::cli
