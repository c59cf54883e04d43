// Where the port names of the main window live on this system.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "link/usb_discovery.h"

namespace qm {

// "COMn:" is /dev/ttyS(n-1) and "LPTn:" is /dev/lp(n-1) unless overridden, e.g.
// QUILLMARK_COM1=/dev/ttyUSB0 or QUILLMARK_LPT1=/dev/usb/lp0.
class DeviceMap {
 public:
  // Overrides from QUILLMARK_COMn and QUILLMARK_LPTn, USB roots from QUILLMARK_SYSFS_ROOT
  // and QUILLMARK_DEV_ROOT.
  static DeviceMap FromEnvironment();

  // Device path for a "COMn:" or "LPTn:" name; empty when the name names no port.
  std::string PathFor(std::string_view portName) const;
  // Points "COMn" or "LPTn" (no colon) at `path`.
  void Override(const std::string& key, const std::string& path) { overrides_[key] = path; }

  UsbRoots usb;

 private:
  std::map<std::string, std::string> overrides_;
};

}  // namespace qm
