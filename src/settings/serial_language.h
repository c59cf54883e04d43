// The printer's serial port settings (switch 2) and its default code page and
// international character set (switches 1 and 3).
#pragma once

#include <optional>

#include "core/clock.h"
#include "core/prompter.h"
#include "settings/memory_switch.h"

namespace qm {

class PrinterLink;

// Reads switch 2; nullopt when no byte came.
std::optional<SerialSwitch> GetSerialSettings(PrinterLink& link, Clock& clock, Prompter& prompter);
// Reads switch 2, then writes it with the settings and bit 7 as read and, when done, tells
// the operator to restart the printer and reconnect.
bool SetSerialSettings(PrinterLink& link, Clock& clock, Prompter& prompter, const SerialSwitch& settings);
// "Default Setting": the first entry of every list but the baud rate, which stays.
SerialSwitch DefaultSerialSettings(const SerialSwitch& current);

// List indexes; -1 where the printer's byte lies beyond the list.
struct LanguageSettings {
  int codePage = -1;
  int ics = -1;
  bool operator==(const LanguageSettings&) const = default;
};
// Reads switches 1 and 3; success is judged on the second read alone.
std::optional<LanguageSettings> GetLanguageSettings(PrinterLink& link, Clock& clock, Prompter& prompter);
// Writes switch 1, then reads switch 3 and writes the ICS into it, keeping the print speed
// it also holds; the result of the last completion write. A list without a selection sends
// nothing: its index has no byte to stand for.
bool SetLanguageSettings(PrinterLink& link, Clock& clock, Prompter& prompter, const LanguageSettings& settings);

}  // namespace qm
