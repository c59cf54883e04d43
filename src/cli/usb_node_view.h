// One usblp node, named by its path, made the only printer the link's USB discovery sees.
#pragma once

#include <memory>
#include <string>

#include "link/usb_discovery.h"

namespace qm::cli {

// A private tree in the temporary folder: class/usbmisc/lpN links to the node's sysfs entry
// and usb/lpN to the device itself. The link keeps its USB rules (discovery and the model
// check on every call, opened around every call) but cannot wander to another printer.
class UsbNodeView {
 public:
  // Null, with `error` set, when the node has no sysfs entry, is not a supported model, or
  // the tree cannot be made. `source` is where the node's sysfs entry lives.
  static std::unique_ptr<UsbNodeView> Create(const UsbRoots& source, int node,
                                             const std::string& devicePath, std::string& error);
  ~UsbNodeView();
  UsbNodeView(const UsbNodeView&) = delete;
  UsbNodeView& operator=(const UsbNodeView&) = delete;

  const UsbRoots& roots() const { return roots_; }

 private:
  explicit UsbNodeView(std::string top) : top_(std::move(top)) {}
  std::string top_;
  UsbRoots roots_;
};

}  // namespace qm::cli
