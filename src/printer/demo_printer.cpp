#include "printer/demo_printer.h"

#include <cstdlib>
#include <filesystem>

#include "printer/virtual_printer.h"

namespace qm::printer {

DemoPrinter::DemoPrinter() = default;

DemoPrinter::~DemoPrinter() { Clear(); }

void DemoPrinter::Clear() {
  if (printer_) printer_->Stop();
  printer_.reset();
  if (!usbDir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(usbDir_, ignored);
    usbDir_.clear();
  }
}

bool DemoPrinter::Start(DeviceMap& devices, std::string& error, Ports ports) {
  Clear();
  ports_ = ports;
  PrinterOptions options;
  // Loopback only, on whatever port is free; no state file, so a demo leaves nothing behind.
  options.listen = "127.0.0.1:0";
  options.serial = ports.serial;
  if (ports.usb) {
    std::string dir = (std::filesystem::temp_directory_path() / "quillmark-demo-XXXXXX").string();
    if (!::mkdtemp(dir.data())) {
      error = "cannot make a folder for the demo USB device";
      return false;
    }
    usbDir_ = dir;
    options.usbDir = usbDir_ + "/usb";
  }
  printer_ = std::make_unique<VirtualPrinter>(std::move(options));
  if (!printer_->Start(error)) {
    Clear();
    return false;
  }
  if (ports.serial) devices.Override("COM1", printer_->serialPath());
  if (ports.usb) devices.usb = UsbRoots{printer_->usbSysfsRoot(), printer_->usbDevRoot()};
  return true;
}

uint32_t DemoPrinter::tcpPort() const { return printer_ ? static_cast<uint32_t>(printer_->tcpPort()) : 0; }

std::string DemoPrinter::serialPath() const { return printer_ && ports_.serial ? printer_->serialPath() : std::string(); }

std::string DemoPrinter::usbNodePath() const { return printer_ && ports_.usb ? printer_->usbNodePath() : std::string(); }

}  // namespace qm::printer
