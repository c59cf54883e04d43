#include "app/demo_printer.h"

#include <cstdlib>
#include <filesystem>

#include "printer/virtual_printer.h"

namespace qm {

DemoPrinter::DemoPrinter() = default;

DemoPrinter::~DemoPrinter() {
  if (printer_) printer_->Stop();
  if (!usbDir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(usbDir_, ignored);
  }
}

bool DemoPrinter::Start(DeviceMap& devices, std::string& error) {
  std::string dir = (std::filesystem::temp_directory_path() / "quillmark-demo-XXXXXX").string();
  if (!::mkdtemp(dir.data())) {
    error = "cannot make a folder for the demo USB device";
    return false;
  }
  usbDir_ = dir;
  printer::PrinterOptions options;
  // Loopback only, on whatever port is free; no state file, so a demo leaves nothing behind.
  options.listen = "127.0.0.1:0";
  options.serial = true;
  options.usbDir = usbDir_ + "/usb";
  printer_ = std::make_unique<printer::VirtualPrinter>(std::move(options));
  if (!printer_->Start(error)) {
    printer_.reset();
    return false;
  }
  devices.Override("COM1", printer_->serialPath());
  devices.usb = UsbRoots{printer_->usbSysfsRoot(), printer_->usbDevRoot()};
  return true;
}

int DemoPrinter::tcpPort() const { return printer_ ? printer_->tcpPort() : 0; }

}  // namespace qm
