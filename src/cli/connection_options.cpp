#include "cli/connection_options.h"

#include <CLI/CLI.hpp>

namespace qm::cli {

namespace {

constexpr const char* kGroup = "Connection";

// One option of the Connection group: its value, what it is, and how --help names it.
template <typename T>
CLI::Option* AddConnectionOption(CLI::App& app, const char* name, T& value, const char* help, const char* typeName) {
  return app.add_option(name, value, help)->type_name(typeName)->group(kGroup);
}

}  // namespace

void ConnectionOptions::AddTo(CLI::App& app) {
  portOption_ = AddConnectionOption(app, "--port", port_,
                                    "COM1:..COM10:, LPT1:..LPT4:, USB, ETHERNET, tcp://HOST[:PORT], "
                                    "or a device path (/dev/tty* serial, /dev/lp* parallel, "
                                    "/dev/usb/lp* USB); default COM1:; more than once: each of them (see --jobs)",
                                    "NAME");
  ipOption_ = AddConnectionOption(app, "--ip", ip_, "the printer's IPv4 address (ETHERNET)", "ADDR");
  tcpPortOption_ = AddConnectionOption(app, "--tcp-port", tcpPort_, "the printer's TCP port (default 9100)", "N");
  baudOption_ = AddConnectionOption(
      app, "--baud", baud_,
      "the link's serial bits per second (default 115200); the printer's stored rate is serial set --baud", "N");
  parityOption_ = AddConnectionOption(
      app, "--parity", parity_,
      "the link's parity: none, odd or even (default none); the printer's stored one is serial set --parity",
      "none|odd|even");
  dataBitsOption_ =
      AddConnectionOption(app, "--data-bits", dataBits_, "the link's data bits: 7 or 8 (default 8)", "7|8");
  stopBitsOption_ = AddConnectionOption(
      app, "--stop-bits", stopBits_,
      "the link's stop bits: 1 or 2 (default 1); the printer's stored setting is serial set --stop-bits", "1|2");
  app.add_flag("--demo", demo_,
               "talk to a virtual printer started inside this program, over ETHERNET unless --port "
               "names COM1: or USB")
      ->group(kGroup);
  app.add_flag("--no-divert", noDivert_,
               "leave the system's print queues alone; otherwise the CUPS queues on a serial or "
               "parallel port print into nothing while the command holds the port")
      ->group(kGroup);
}

ConnectionRequest ConnectionOptions::Request() const {
  ConnectionRequest request;
  if (portOption_->count()) request.port = port_;
  if (ipOption_->count()) request.ip = ip_;
  if (tcpPortOption_->count()) request.tcpPort = tcpPort_;
  if (baudOption_->count()) request.baud = baud_;
  if (parityOption_->count()) request.parity = parity_;
  if (dataBitsOption_->count()) request.dataBits = dataBits_;
  if (stopBitsOption_->count()) request.stopBits = stopBits_;
  request.demo = demo_;
  request.noDivert = noDivert_;
  return request;
}

}  // namespace qm::cli
