#include "link/connect.h"

#include "link/printer_link.h"

namespace qm {

InterfaceKind KindOfPortName(const std::string& portName) {
  if (portName.compare(0, 3, "COM") == 0) return kSerial;
  if (portName.compare(0, 3, "LPT") == 0) return kParallel;
  if (portName == "USB") return kUsb;
  return kEthernet;
}

bool ConnectLink(PrinterLink& link, Spooler* spooler, QueueMap& queues, const ConnectRequest& request) {
  const InterfaceKind kind = KindOfPortName(request.portName);
  if (request.divert && spooler && (kind == kSerial || kind == kParallel)) {
    DivertQueues(request.portName, queues, *spooler);
  }
  link.SetPortName(request.portName);
  if (kind == kSerial) {
    link.SetSerialParameters(request.serial.baudRate, request.serial.parity, request.serial.dataBits,
                             request.serial.stopBits);
  }
  if (kind == kEthernet) link.SetEthernetSettings(request.address, request.tcpPort);
  if (link.Open() != 1) return false;
  if (link.GetInterfaceKind() == kUsb) link.Close();
  return true;
}

}  // namespace qm
