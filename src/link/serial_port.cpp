#include "link/serial_port.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace qm {

namespace {

std::optional<speed_t> SpeedFor(uint32_t baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return std::nullopt;
  }
}

// Errors meaning "this device has no modem lines", as with a pseudo-terminal.
bool NoModemLines(int err) { return err == ENOTTY || err == EINVAL; }

}  // namespace

bool ConfigureTermios(termios& t, const SerialParameters& params, std::string& error) {
  const auto speed = SpeedFor(params.baudRate);
  if (!speed) {
    error = "unsupported baud rate " + std::to_string(params.baudRate);
    return false;
  }
  ::cfmakeraw(&t);
  ::cfsetispeed(&t, *speed);
  ::cfsetospeed(&t, *speed);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
  switch (params.dataBits) {
    case 7: t.c_cflag |= CS7; break;
    case 8: t.c_cflag |= CS8; break;
    default:
      error = "data bits must be 7 or 8";
      return false;
  }
  switch (params.parity) {
    case 0: break;
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default:
      error = "unknown parity code " + std::to_string(params.parity);
      return false;
  }
  if (params.parity != 0) t.c_iflag |= INPCK;
  switch (params.stopBits) {
    case 0: break;
    case 2: t.c_cflag |= CSTOPB; break;
    case 1:
      error = "1.5 stop bits cannot be set with 7 or 8 data bits";
      return false;
    default:
      error = "unknown stop bits code " + std::to_string(params.stopBits);
      return false;
  }
  t.c_cflag |= CRTSCTS | CLOCAL | CREAD;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  return true;
}

std::unique_ptr<FdPort> OpenSerialPort(const std::string& path, const SerialParameters& params,
                                       Clock& clock, SerialOpenStatus& status, std::string& error) {
  status = SerialOpenStatus::kFailed;
  const int fd = OpenDevice(path, true, error);
  if (fd == -1) return nullptr;
  auto port = std::make_unique<FdPort>(fd, clock);

  // The printer must be ready (CTS and DSR on) before anything is configured.
  int lines = 0;
  bool haveLines = true;
  if (::ioctl(fd, TIOCMGET, &lines) == -1) {
    if (!NoModemLines(errno)) {
      error = path + ": cannot read modem lines: " + std::strerror(errno);
      return nullptr;
    }
    haveLines = false;
  }
  if (haveLines && (!(lines & TIOCM_CTS) || !(lines & TIOCM_DSR))) {
    error = path + ": printer not ready (CTS or DSR off)";
    status = SerialOpenStatus::kLinesDown;
    return port;
  }

  termios t{};
  if (::tcgetattr(fd, &t) == -1) {
    error = path + ": not a serial port: " + std::strerror(errno);
    return nullptr;
  }
  if (!ConfigureTermios(t, params, error)) {
    error = path + ": " + error;
    return nullptr;
  }
  if (::tcsetattr(fd, TCSANOW, &t) == -1) {
    error = path + ": cannot apply settings: " + std::strerror(errno);
    return nullptr;
  }
  if (haveLines) {
    const int raise = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIS, &raise);
  }
  port->SetDsrOutputFlow(haveLines);
  // Output still queued is the program's own last write before a reopen (a download
  // closes and reopens the port): it must still reach the printer.
  port->PurgeInput();
  status = SerialOpenStatus::kOpened;
  return port;
}

}  // namespace qm
