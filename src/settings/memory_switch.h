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

// The bits of a shared switch that each page item owns. Writing one item must not erase
// what another item stored in the same byte.
inline constexpr uint8_t kSerialBits = 0x7F;       // switch 2; bit 7 is not the program's
inline constexpr uint8_t kIcsBits = 0x1F;          // switch 3, below the print speed
inline constexpr uint8_t kSpeedBits = 0xE0;        // switch 3
inline constexpr uint8_t kGapPositionBits = 0x20;  // switch 4
inline constexpr uint8_t kStrobeBits = 0xC0;       // switch 4

// `value` in the bits `owned`, every other bit as `current` holds it.
uint8_t MergeSwitch(uint8_t current, uint8_t owned, uint8_t value);

struct SwitchUpdate {
  int result = 0;           // the completion write's: 1 written, 0 not
  bool keptOthers = false;  // false: the read got no byte, so the other bits went out as 0
};
// Reads switch `number` (waiting `delayMs`), then writes it with `value` in the bits
// `owned` and the other bits as read.
SwitchUpdate UpdateSwitch(PrinterLink& link, Clock& clock, int number, uint8_t owned, uint8_t value,
                          SwitchWriteForm form, int delayMs);

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
// Switch 4, print strobe in bits 6-7: index 0, 1, 2 for strobe "2", "3", "4"; both bits
// set: none.
std::optional<int> DecodeStrobe(uint8_t value);
uint8_t EncodeStrobe(int index);
// Switch 4, gap detect position in bit 5: 0 lower, 1 upper.
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
