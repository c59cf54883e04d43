#include "cli/connection_plan.h"

#include "cli/setting_text.h"

#include <arpa/inet.h>
#include <termios.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace qm::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTcpScheme = "tcp://";

// The port names of the main window, exactly as the link compares them.
bool IsPortName(std::string_view name) {
  for (int n = 1; n <= 10; ++n) {
    if (name == "COM" + std::to_string(n) + ":") return true;
  }
  for (int n = 1; n <= 4; ++n) {
    if (name == "LPT" + std::to_string(n) + ":") return true;
  }
  return name == "USB" || name == "ETHERNET";
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string UnknownPortError(const std::string& name) {
  std::string error = "unknown port \"" + name + "\"";
  // The link compares names exactly; point at the name that was probably meant.
  for (const std::string& guess : {Upper(name), Upper(name) + ":"}) {
    if (IsPortName(guess)) return error + " (did you mean \"" + guess + "\"?)";
  }
  return error +
         "; use COM1:..COM10:, LPT1:..LPT4:, USB, ETHERNET, tcp://HOST[:PORT] or a device path";
}

std::optional<uint32_t> TcpPortNumber(std::string_view digits) {
  if (!AllDigits(digits) || digits.size() > 5) return std::nullopt;
  const int value = std::stoi(std::string(digits));
  if (value < 1 || value > 65535) return std::nullopt;
  return static_cast<uint32_t>(value);
}

// "tcp://HOST[:PORT]", with an IPv6 host in brackets; an empty string when it parses.
std::string ParseTcpUrl(std::string_view url, ConnectionPlan& plan, bool& portGiven) {
  std::string_view rest = url.substr(kTcpScheme.size());
  if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  std::string_view host, port;
  if (!rest.empty() && rest.front() == '[') {
    const size_t close = rest.find(']');
    if (close == std::string_view::npos) return "\"" + std::string(url) + "\": missing ]";
    host = rest.substr(1, close - 1);
    const std::string_view after = rest.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') return "\"" + std::string(url) + "\": expected :PORT after ]";
      port = after.substr(1);
      portGiven = true;
    }
  } else {
    const size_t colon = rest.find(':');
    host = rest.substr(0, colon);
    if (colon != std::string_view::npos) {
      if (rest.find(':', colon + 1) != std::string_view::npos) {
        return "\"" + std::string(url) + "\": put an IPv6 address in brackets, tcp://[ADDR]:PORT";
      }
      port = rest.substr(colon + 1);
      portGiven = true;
    }
  }
  if (host.empty()) return "\"" + std::string(url) + "\": no host";
  if (host.find_first_of(" /?#@") != std::string_view::npos) {
    return "\"" + std::string(url) + "\": not a host name or address";
  }
  plan.address = std::string(host);
  if (portGiven) {
    const auto number = TcpPortNumber(port);
    if (!number) return "\"" + std::string(url) + "\": the port must be 1..65535";
    plan.tcpPort = *number;
  }
  return {};
}

// "lp" and a node number, as the kernel names printer nodes.
bool IsLpName(const std::string& name) {
  return name.size() > 2 && name.size() <= 6 && name.compare(0, 2, "lp") == 0 &&
         AllDigits(std::string_view(name).substr(2));
}

// Chooses the kind from the device's name: /dev/tty* and /dev/pts/* serial, /dev/lp*
// parallel, /dev/usb/lp* USB. A link such as /dev/serial/by-id/... is judged by its target.
std::string ClassifyDevicePath(const std::string& given, ConnectionPlan& plan) {
  std::error_code ec;
  const fs::path path = fs::absolute(fs::path(given), ec).lexically_normal();
  if (ec) return given + ": " + ec.message();
  plan.devicePath = path.string();
  fs::path judged = path;
  for (int round = 0; round < 2; ++round) {
    const std::string name = judged.filename().string();
    const std::string parent = judged.parent_path().filename().string();
    if (parent == "usb" && IsLpName(name)) {
      plan.portName = "USB";
      plan.usbNode = std::stoi(name.substr(2));
      return {};
    }
    if (IsLpName(name)) {
      plan.portName = "LPT1:";
      plan.deviceKey = "LPT1";
      return {};
    }
    if (name.compare(0, 3, "tty") == 0 || judged.parent_path() == "/dev/pts") {
      plan.portName = "COM1:";
      plan.deviceKey = "COM1";
      return {};
    }
    const fs::path target = fs::canonical(path, ec);
    if (ec || target == judged) break;
    judged = target;
  }
  return given +
         ": cannot tell the kind of port; /dev/tty* is serial, /dev/lp* parallel, /dev/usb/lp* USB";
}

std::string CheckSerial(const ConnectionRequest& request, SerialParameters& serial) {
  if (request.baud) {
    if (*request.baud <= 0 || *request.baud > 4000000) return "--baud: no such rate";
    serial.baudRate = static_cast<uint32_t>(*request.baud);
  }
  if (request.parity) {
    const std::string& p = *request.parity;
    if (p == "none") serial.parity = kParityNone;
    else if (p == "odd") serial.parity = kParityOdd;
    else if (p == "even") serial.parity = kParityEven;
    else return "--parity: \"" + p + "\" is not none, odd or even";
  }
  if (request.dataBits) {
    if (*request.dataBits != 7 && *request.dataBits != 8) return "--data-bits: 7 or 8";
    serial.dataBits = static_cast<int32_t>(*request.dataBits);
  }
  if (request.stopBits) {
    const std::string& s = *request.stopBits;
    if (s == "1") serial.stopBits = kStopBitsOne;
    else if (s == "2") serial.stopBits = kStopBitsTwo;
    else if (s == "1.5") return "--stop-bits: 1.5 stop bits cannot be set on Linux; use 1 or 2";
    else return "--stop-bits: \"" + s + "\" is not 1 or 2";
  }
  // The serial port's own rules decide what the line can take.
  termios t{};
  std::string error;
  if (!ConfigureTermios(t, serial, error)) return "--baud: " + error;
  return {};
}

}  // namespace

InterfaceKind ConnectionPlan::kind() const {
  if (portName.compare(0, 3, "COM") == 0) return kSerial;
  if (portName.compare(0, 3, "LPT") == 0) return kParallel;
  if (portName == "USB") return kUsb;
  return kEthernet;
}

std::string ConnectionPlan::Describe() const {
  std::string where;
  if (kind() == kEthernet) {
    const bool v6 = address.find(':') != std::string::npos;
    where = "ETHERNET " + (v6 ? "[" + address + "]" : address) + ":" + std::to_string(tcpPort);
  } else {
    where = devicePath.empty() ? portName : portName + " (" + devicePath + ")";
  }
  return demo ? "the demo printer (" + where + ")" : where;
}

PlanResult PlanConnection(const ConnectionRequest& request) {
  PlanResult result;
  ConnectionPlan plan;
  const bool serialGiven = request.baud || request.parity || request.dataBits || request.stopBits;
  const bool ethernetGiven = request.ip || request.tcpPort;

  if (request.demo) {
    // The demo printer answers on Ethernet, on a pseudo-terminal as COM1: and as a USB
    // printer, as the main window's demo does.
    const std::string port = request.port.value_or("ETHERNET");
    if (port != "ETHERNET" && port != "COM1:" && port != "USB") {
      result.error = "--demo serves ETHERNET (the default), COM1: and USB, not \"" + port + "\"";
      return result;
    }
    if (ethernetGiven || serialGiven) {
      result.error = "--demo connects to its own virtual printer; leave out --ip, --tcp-port and the "
                     "serial options";
      return result;
    }
    plan.portName = port;
    if (port == "ETHERNET") {
      plan.address = "127.0.0.1";
      plan.tcpPort = 0;  // the demo printer's, once it listens
    }
    plan.demo = true;
    result.plan = plan;
    return result;
  }

  // The main window starts on COM1:; an address alone means Ethernet.
  const std::string port = request.port.value_or(ethernetGiven ? "ETHERNET" : "COM1:");
  bool urlPort = false;
  std::string error;
  if (port.compare(0, kTcpScheme.size(), kTcpScheme) == 0) {
    plan.portName = "ETHERNET";
    error = ParseTcpUrl(port, plan, urlPort);
    if (error.empty() && request.ip) error = "--ip: the address is already in " + port;
    if (error.empty() && urlPort && request.tcpPort) error = "--tcp-port: the port is already in " + port;
  } else if (port.find('/') != std::string::npos) {
    error = ClassifyDevicePath(port, plan);
  } else if (IsPortName(port)) {
    plan.portName = port;
    if (port == "ETHERNET" && !request.ip) error = "ETHERNET needs --ip ADDR";
  } else {
    error = UnknownPortError(port);
  }
  if (error.empty() && serialGiven && plan.kind() != kSerial) {
    error = "--baud, --parity, --data-bits and --stop-bits apply to serial ports only, not " +
            plan.portName;
  }
  if (error.empty() && ethernetGiven && plan.kind() != kEthernet) {
    error = "--ip and --tcp-port apply to ETHERNET only, not " + plan.portName;
  }
  if (error.empty() && request.ip) {
    in_addr parsed{};
    if (::inet_pton(AF_INET, request.ip->c_str(), &parsed) != 1) {
      error = "--ip: \"" + *request.ip + "\" is not an IPv4 address such as 192.168.1.50";
    } else {
      plan.address = *request.ip;
    }
  }
  if (error.empty() && request.tcpPort) {
    if (*request.tcpPort < 1 || *request.tcpPort > 65535) {
      error = "--tcp-port: the port must be 1..65535";
    } else {
      plan.tcpPort = static_cast<uint32_t>(*request.tcpPort);
    }
  }
  if (error.empty() && plan.kind() == kSerial) error = CheckSerial(request, plan.serial);
  if (!error.empty()) {
    result.error = error;
    return result;
  }
  plan.divert = !request.noDivert && (plan.kind() == kSerial || plan.kind() == kParallel);
  result.plan = plan;
  return result;
}

}  // namespace qm::cli
