#include "settings/serial_language.h"

#include "link/printer_link.h"
#include "link/query.h"
#include "core/tool_texts.h"

namespace qm {

namespace {

constexpr int kSerialDelayMs = 10;
constexpr int kLanguageDelayMs = 50;

int IndexWithin(uint8_t value, size_t size) { return value < size ? value : -1; }

}  // namespace

std::optional<SerialSwitch> GetSerialSettings(PrinterLink& link, Clock& clock, Prompter& prompter) {
  const SwitchRead read = ReadSwitch(link, clock, 2, kSerialDelayMs);
  if (!read.ok()) {
    Tell(prompter, std::string(texts::kGetSerialStatusFailed), Icon::kExclamation);
    return std::nullopt;
  }
  Tell(prompter, "Get serial communication status is successful", Icon::kInformation);
  return DecodeSerialSwitch(read.value);
}

bool SetSerialSettings(PrinterLink& link, Clock& clock, Prompter& prompter, const SerialSwitch& settings) {
  const SwitchUpdate update =
      UpdateSwitch(link, clock, 2, kSerialBits, EncodeSerialSwitch(settings), SwitchWriteForm::kShort, kSerialDelayMs);
  if (update.result == 0) {
    Tell(prompter, std::string(texts::kSetSerialStatusFailed), Icon::kExclamation);
    return false;
  }
  Tell(prompter, "Set serial communication status is successful", Icon::kInformation);
  Tell(prompter, "Please, turn off the printer and turn on the printer", Icon::kInformation);
  Tell(prompter, "Please, close application and re-connect printer", Icon::kInformation);
  if (!update.keptOthers) TellOthersCleared(prompter, 2, "its bit 7");
  return true;
}

SerialSwitch DefaultSerialSettings(const SerialSwitch& current) {
  SerialSwitch s{0, 0, 0, 0, 0, current.baudRate};
  return s;
}

std::optional<LanguageSettings> GetLanguageSettings(PrinterLink& link, Clock& clock, Prompter& prompter) {
  const SwitchRead codePage = ReadSwitch(link, clock, 1, kLanguageDelayMs);
  const SwitchRead ics = ReadSwitch(link, clock, 3, kLanguageDelayMs);
  if (!ics.ok()) {
    Tell(prompter, "Get default codepage && ICS is failed.", Icon::kExclamation);
    return std::nullopt;
  }
  LanguageSettings s;
  if (codePage.ok()) s.codePage = IndexWithin(codePage.value, kCodePageNames.size());
  // The print speed lives in the bits above the ICS.
  s.ics = IndexWithin(ics.value & kIcsBits, kIcsNames.size());
  Tell(prompter, "Get default codepage && ICS is successful.", Icon::kInformation);
  return s;
}

bool SetLanguageSettings(PrinterLink& link, Clock& clock, Prompter& prompter, const LanguageSettings& settings) {
  if (settings.codePage < 0 || settings.ics < 0) {
    Tell(prompter, "Choose a default code page and an ICS first.", Icon::kExclamation);
    return false;
  }
  // The code page has switch 1 to itself; the ICS shares switch 3 with the print speed.
  WriteSwitch(link, 1, static_cast<uint8_t>(settings.codePage), SwitchWriteForm::kShort);
  const SwitchUpdate update = UpdateSwitch(link, clock, 3, kIcsBits, static_cast<uint8_t>(settings.ics),
                                           SwitchWriteForm::kShort, kLanguageDelayMs);
  const bool ok = update.result != 0;
  Tell(prompter, ok ? "Set default codepage && ICS is successful." : "Set default codepage && ICS is failed.",
       ok ? Icon::kInformation : Icon::kExclamation);
  if (ok && !update.keptOthers) TellOthersCleared(prompter, 3, "the print speed it also holds");
  return ok;
}

}  // namespace qm
