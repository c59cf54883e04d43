#include "printer/fake_usb.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "link/usb_discovery.h"

namespace qm::printer {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDevice = "/sys/devices/usb1/1-1";
constexpr const char* kInterface = "/sys/devices/usb1/1-1/1-1:1.0";
constexpr const char* kClassEntry = "/sys/class/usbmisc/lp0";
// Folders Open may create, deepest first, for Close to tidy when empty.
constexpr const char* kFolders[] = {"/sys/devices/usb1", "/sys/devices", "/sys/class/usbmisc",
                                    "/sys/class",        "/sys",         "/dev/usb",
                                    "/dev"};

bool WriteFile(const std::string& path, const std::string& text, std::string& error) {
  std::ofstream out(path, std::ios::trunc);
  out << text;
  if (!out) {
    error = path + ": cannot write";
    return false;
  }
  return true;
}

}  // namespace

bool UsbIdsForModel(int modelIndex, std::string& vendor, std::string& product) {
  for (const UsbModelEntry& e : kUsbModelTable) {
    if (e.modelIndex != modelIndex) continue;
    // "vid_2961&pid_0101"
    vendor = std::string(e.identity.substr(4, 4));
    product = std::string(e.identity.substr(13, 4));
    return true;
  }
  return false;
}

bool FakeUsbDevice::Open(const std::string& root, int modelIndex, std::string& error) {
  Close();
  std::string vendor;
  std::string product;
  if (!UsbIdsForModel(modelIndex, vendor, product)) {
    error = "no USB model " + std::to_string(modelIndex) + " (0 to 7)";
    return false;
  }
  std::error_code ec;
  root_ = fs::weakly_canonical(fs::absolute(root, ec), ec).string();
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
  // The tree mirrors the system's own /dev and /sys; it must never be laid over them.
  if (root_.empty() || root_ == "/") {
    error = "\"" + root + "\": the fake USB device needs a folder of its own, not /";
    root_.clear();
    return false;
  }
  for (const char* dir : {kInterface, kClassEntry, "/dev/usb"}) {
    fs::create_directories(root_ + dir, ec);
    if (ec) {
      error = root_ + dir + ": " + ec.message();
      return false;
    }
  }
  open_ = true;
  const std::string link = root_ + kClassEntry + "/device";
  if (!WriteFile(root_ + kDevice + "/idVendor", vendor + "\n", error) ||
      !WriteFile(root_ + kDevice + "/idProduct", product + "\n", error) ||
      !ReplaceSymlink("../../../devices/usb1/1-1/1-1:1.0", link, error) ||
      !port_.Open(nodePath(), error)) {
    Close();
    return false;
  }
  return true;
}

void FakeUsbDevice::Close() {
  port_.Close();
  if (!open_) return;
  open_ = false;
  std::error_code ec;
  fs::remove(root_ + kClassEntry + "/device", ec);
  fs::remove(root_ + kClassEntry, ec);
  fs::remove_all(root_ + kDevice, ec);
  for (const char* dir : kFolders) {
    if (fs::is_empty(root_ + dir, ec)) fs::remove(root_ + dir, ec);
  }
}

}  // namespace qm::printer
