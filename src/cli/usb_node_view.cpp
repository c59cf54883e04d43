#include "cli/usb_node_view.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

namespace qm::cli {

namespace fs = std::filesystem;

std::unique_ptr<UsbNodeView> UsbNodeView::Create(const UsbRoots& source, int node,
                                                 const std::string& devicePath,
                                                 std::string& error) {
  const std::string name = "lp" + std::to_string(node);
  const std::string identity = UsbNodeIdentity(source, node);
  if (identity.empty()) {
    error = devicePath + ": no USB device entry for " + name + " under " + source.sysfs +
            "/class/usbmisc (is it a usblp printer node?)";
    return nullptr;
  }
  if (MatchUsbModel(identity) < 0) {
    error = devicePath + ": " + identity + " is not a supported printer model";
    return nullptr;
  }

  std::error_code ec;
  std::string pattern = (fs::temp_directory_path(ec) / "quillmark-cli-usb-XXXXXX").string();
  if (ec || ::mkdtemp(pattern.data()) == nullptr) {
    error = "cannot make a temporary folder for " + devicePath;
    return nullptr;
  }
  std::unique_ptr<UsbNodeView> view(new UsbNodeView(pattern));
  view->roots_ = UsbRoots{view->top_ + "/sys", view->top_ + "/dev"};
  fs::create_directories(view->roots_.sysfs + "/class/usbmisc", ec);
  if (!ec) fs::create_directories(view->roots_.dev + "/usb", ec);
  // The sysfs entry is linked, not copied: its `device/..` must still lead the kernel to
  // the USB device that carries the ids.
  if (!ec) {
    fs::create_directory_symlink(source.sysfs + "/class/usbmisc/" + name,
                                 view->roots_.sysfs + "/class/usbmisc/" + name, ec);
  }
  if (!ec) fs::create_symlink(devicePath, view->roots_.dev + "/usb/" + name, ec);
  if (ec) {
    error = "cannot prepare " + devicePath + ": " + ec.message();
    return nullptr;
  }
  return view;
}

UsbNodeView::~UsbNodeView() {
  std::error_code ec;
  fs::remove_all(top_, ec);
}

}  // namespace qm::cli
