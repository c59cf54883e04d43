#include "app/demo_printer.h"

namespace qm {

class VirtualPrinter {};

DemoPrinter::DemoPrinter() = default;
DemoPrinter::~DemoPrinter() = default;

bool DemoPrinter::Start(DeviceMap&, std::string& error) {
  error = "the virtual printer is not part of this build";
  return false;
}

int DemoPrinter::tcpPort() const { return 0; }

}  // namespace qm
