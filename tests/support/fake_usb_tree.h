// A fake usblp device tree: sysfs entries with vendor and product ids, and device nodes
// that are links to pseudo-terminals.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "pty_pair.h"

namespace qm::test {

class FakeUsbTree {
 public:
  FakeUsbTree() {
    char tmpl[] = "/tmp/quillmark-usb-XXXXXX";
    root_ = ::mkdtemp(tmpl);
    std::filesystem::create_directories(root_ + "/sys/class/usbmisc");
    std::filesystem::create_directories(root_ + "/dev/usb");
  }
  ~FakeUsbTree() { std::filesystem::remove_all(root_); }

  std::string sysfs() const { return root_ + "/sys"; }
  std::string dev() const { return root_ + "/dev"; }

  // Adds node lpN for a device with the given ids, laid out as the kernel does: the
  // class entry's `device` links to the interface, whose parent holds the ids.
  PtyPair& AddNode(int index, const std::string& vendor, const std::string& product) {
    ptys_.push_back(std::make_unique<PtyPair>());
    AddNodeAt(index, vendor, product, ptys_.back()->path());
    return *ptys_.back();
  }

  // The same, with the node a link to `target`, which may be no device at all.
  void AddNodeAt(int index, const std::string& vendor, const std::string& product,
                 const std::string& target) {
    const std::string usbDevice = root_ + "/sys/devices/usb1/1-" + std::to_string(index);
    const std::string iface = usbDevice + "/1-" + std::to_string(index) + ":1.0";
    std::filesystem::create_directories(iface);
    std::ofstream(usbDevice + "/idVendor") << vendor << "\n";
    std::ofstream(usbDevice + "/idProduct") << product << "\n";
    const std::string cls = root_ + "/sys/class/usbmisc/lp" + std::to_string(index);
    std::filesystem::create_directories(cls);
    std::filesystem::create_directory_symlink(iface, cls + "/device");
    std::filesystem::create_symlink(target, NodePath(index));
  }

  std::string NodePath(int index) const { return dev() + "/usb/lp" + std::to_string(index); }

 private:
  std::string root_;
  std::vector<std::unique_ptr<PtyPair>> ptys_;
};

}  // namespace qm::test
