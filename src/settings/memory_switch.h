// Memory switches 1 to 4: one raw byte each, read with "^MBR", written with "^MBS" and
// completed with "^MBA"; and what their bits mean.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "link/link_types.h"

namespace qm {

class PrinterLink;

// The digit every switch read carries, naming the interface the printer answers on.
char InterfaceCodeDigit(InterfaceKind kind);

// "^MBR" n "," code: seven bytes, no terminator.
std::string BuildSwitchRead(int number, char interfaceCode);
// "^MBS" n "," and the raw value byte; the long form adds a carriage return.
enum class SwitchWriteForm { kShort, kLong };
std::string BuildSwitchWrite(int number, uint8_t value, SwitchWriteForm form);
// "^MBA", the switch number as a raw byte, carriage return.
std::string BuildSwitchCommit(int number);

struct SwitchRead {
  uint8_t value = 0;
  int count = 0;  // bytes received: 0 or 1
  bool ok() const { return count == 1; }
};

// Asks for switch `number`, waits `delayMs`, reads its one byte.
SwitchRead ReadSwitch(PrinterLink& link, Clock& clock, int number, int delayMs);
// Writes switch `number` and its completion; the result of the completion write.
int WriteSwitch(PrinterLink& link, int number, uint8_t value, SwitchWriteForm form);

// Switch 2, the printer's own serial port. Each field is a list index, -1 for none.
struct SerialSwitch {
  int handShake = -1;        // 0 hardware, 1 software
  int stopBits = -1;         // 0 one, 1 two
  int dataLength = -1;       // 0 eight, 1 seven
  int parityCheck = -1;      // 0 no parity, 1 parity
  int paritySelection = -1;  // 0 even, 1 odd
  int baudRate = -1;         // 0 by DIP switch, 1 38400, 2 57600
  bool operator==(const SerialSwitch&) const = default;
};
SerialSwitch DecodeSerialSwitch(uint8_t value);
uint8_t EncodeSerialSwitch(const SerialSwitch& s);

// Switch 3, print speed in bits 5-7: code 0 default, 1..6 for 3..8 inches per second.
int DecodeSpeed(uint8_t value);
uint8_t EncodeSpeed(int code);
// Switch 4, print strobe: index 0, 1, 2 for strobe "2", "3", "4"; other bytes: none.
std::optional<int> DecodeStrobe(uint8_t value);
uint8_t EncodeStrobe(int index);
// Switch 4, gap detect position: 0 lower, 1 upper; other bytes: none.
std::optional<int> DecodeGapPosition(uint8_t value);
uint8_t EncodeGapPosition(int index);

// The lists the settings pages show, the same in every language.
extern const std::array<std::string_view, 24> kCodePageNames;
extern const std::array<std::string_view, 17> kIcsNames;
extern const std::array<std::string_view, 7> kSpeedNames;
extern const std::array<std::string_view, 3> kStrobeNames;
extern const std::array<std::string_view, 2> kGapPositionNames;
extern const std::array<std::string_view, 2> kHandShakeNames;
extern const std::array<std::string_view, 2> kStopBitNames;
extern const std::array<std::string_view, 2> kDataLengthNames;
extern const std::array<std::string_view, 2> kParityCheckNames;
extern const std::array<std::string_view, 2> kParitySelectionNames;
extern const std::array<std::string_view, 3> kBaudRateNames;

}  // namespace qm
