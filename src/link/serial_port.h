// Serial (COM) ports: termios raw mode with hardware flow control.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <termios.h>

#include "core/clock.h"
#include "link/fd_port.h"

namespace qm {

struct SerialParameters {
  uint32_t baudRate = 115200;
  int32_t parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  int32_t dataBits = 8;  // 7 or 8
  int32_t stopBits = 0;  // 0 one, 1 one and a half (refused), 2 two
};

// Raw mode with the line settings, hardware flow control on and software flow control off.
// False, with `error` set, for settings the line cannot take.
bool ConfigureTermios(termios& t, const SerialParameters& params, std::string& error);

enum class SerialOpenStatus { kOpened, kFailed, kLinesDown };

// Opens `path` exclusively and configures it. kLinesDown: the port is open but CTS or DSR
// is off, so the printer is not ready; the port is still returned so the caller holds it.
std::unique_ptr<FdPort> OpenSerialPort(const std::string& path, const SerialParameters& params,
                                       Clock& clock, SerialOpenStatus& status, std::string& error);

}  // namespace qm
