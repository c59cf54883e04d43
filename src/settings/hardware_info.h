// The printer's identification strings: hardware version, serial number, printer ID.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/prompter.h"

namespace qm {

class PrinterLink;

enum class HardwareItem { kVersion = 0, kSerialNumber = 1, kPrinterId = 2 };

struct HardwareItemSpec {
  size_t maxLength;
  int readCount;
  int readDelayMs;
  std::string_view valuePrefix;     // "H/W version is "
  std::string_view nullMessage;     // "H/W version is NULL"
  std::string_view setNoun;         // "hardware version"
  std::string_view lengthMessage;   // shown when the text is too long
  bool failuresWarn;                // failure icon: warning, or information for the version
};
const HardwareItemSpec& SpecOf(HardwareItem item);

// After a write or reset the printer needs this long before it answers again.
inline constexpr int kHardwareWriteWaitMs = 5700;

// "^MBX" n CR.
std::string BuildHardwareRead(HardwareItem item);
// "^MBY" n "," text CR LF.
std::string BuildHardwareWrite(HardwareItem item, const std::string& text);
// "^MBY" 0x0F "," n CR LF.
std::string BuildHardwareReset(HardwareItem item);

// The stored text without its line end; nullopt (after the NULL message) when none came.
std::optional<std::string> GetHardwareItem(PrinterLink& link, Clock& clock, Prompter& prompter, HardwareItem item);
// Writes the text, waits for the printer, reports. Text over the item's length is refused.
bool SetHardwareItem(PrinterLink& link, Clock& clock, Prompter& prompter, HardwareItem item,
                     const std::string& text);
bool InitializeHardwareItem(PrinterLink& link, Clock& clock, Prompter& prompter, HardwareItem item);

}  // namespace qm
