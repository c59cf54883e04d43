#include "cli/demo_printer.h"

#include <cstdlib>
#include <filesystem>

#include "printer/virtual_printer.h"

namespace qm::cli {

struct DemoPrinter::State {
  explicit State(printer::PrinterOptions options) : printer(std::move(options)) {}
  ~State() {
    printer.Stop();
    if (!usbDir.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(usbDir, ignored);
    }
  }
  printer::VirtualPrinter printer;
  std::string usbDir;  // the folder that holds the fake USB device, when there is one
  InterfaceKind kind = kEthernet;
};

DemoPrinter::DemoPrinter(std::unique_ptr<State> state) : state_(std::move(state)) {}

DemoPrinter::~DemoPrinter() = default;

std::unique_ptr<DemoPrinter> DemoPrinter::Start(InterfaceKind kind, DeviceMap& devices, std::string& error) {
  printer::PrinterOptions options;
  // Loopback only, on whatever port is free; no files, so a demo leaves nothing behind.
  options.listen = "127.0.0.1:0";
  std::string usbDir;
  if (kind == kSerial) {
    options.serial = true;
  } else if (kind == kUsb) {
    usbDir = (std::filesystem::temp_directory_path() / "quillmark-demo-XXXXXX").string();
    if (!::mkdtemp(usbDir.data())) {
      error = "cannot make a folder for the demo USB device";
      return nullptr;
    }
    options.usbDir = usbDir + "/usb";
  }
  auto state = std::make_unique<State>(std::move(options));
  state->usbDir = std::move(usbDir);
  state->kind = kind;
  if (!state->printer.Start(error)) return nullptr;
  if (kind == kSerial) devices.Override("COM1", state->printer.serialPath());
  if (kind == kUsb) devices.usb = UsbRoots{state->printer.usbSysfsRoot(), state->printer.usbDevRoot()};
  return std::unique_ptr<DemoPrinter>(new DemoPrinter(std::move(state)));
}

uint32_t DemoPrinter::tcpPort() const { return state_->printer.tcpPort(); }

std::string DemoPrinter::devicePath() const {
  if (state_->kind == kSerial) return state_->printer.serialPath();
  if (state_->kind == kUsb) return state_->printer.usbNodePath();
  return {};
}

}  // namespace qm::cli
