// A usblp printer made of files: a device node backed by a pseudo-terminal, and the sysfs
// entries with the vendor and product ids that USB discovery reads.
//
// The terminal cannot tell one open of the node from the next (no more than a real printer
// sees the host open its device), so the port is one continuous command stream like a
// serial port, where an image whose bytes stop coming is dropped after a while.
#pragma once

#include <string>

#include "printer/pty_port.h"

namespace qm::printer {

class FakeUsbDevice {
 public:
  FakeUsbDevice() : port_(kUsb, "usb") {}
  ~FakeUsbDevice() { Close(); }
  FakeUsbDevice(const FakeUsbDevice&) = delete;
  FakeUsbDevice& operator=(const FakeUsbDevice&) = delete;

  // Builds, under `root`:
  //   dev/usb/lp0                    -> the pseudo-terminal
  //   sys/devices/usb1/1-1/idVendor, idProduct   (model `modelIndex`'s ids)
  //   sys/devices/usb1/1-1/1-1:1.0/  (the printer interface)
  //   sys/class/usbmisc/lp0/device   -> ../../../devices/usb1/1-1/1-1:1.0
  bool Open(const std::string& root, int modelIndex, std::string& error);
  // Removes what Open made; the folders it created stay only if something else is in them.
  void Close();

  PtyPort& port() { return port_; }
  std::string sysfsRoot() const { return root_ + "/sys"; }
  std::string devRoot() const { return root_ + "/dev"; }
  std::string nodePath() const { return root_ + "/dev/usb/lp0"; }

 private:
  PtyPort port_;
  std::string root_;
  bool open_ = false;
};

// The vendor and product ids ("2961", "0101") of a model index; false for an unknown index.
bool UsbIdsForModel(int modelIndex, std::string& vendor, std::string& product);

}  // namespace qm::printer
