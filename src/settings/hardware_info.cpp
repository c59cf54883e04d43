#include "settings/hardware_info.h"

#include <array>

#include "link/printer_link.h"
#include "link/query.h"

namespace qm {

namespace {

constexpr std::array<HardwareItemSpec, 3> kItems{{
    {4, 7, 100, "H/W version is ", "H/W version is NULL", "hardware version",
     "Hardware version string can't be more than 4 characters.", false},
    {16, 18, 1000, "Serial Number is ", "Serial Number is NULL", "serial number",
     "Serial number string can't be more than 16 characters.", true},
    {7, 12, 100, "Printer ID is ", "Printer ID is NULL", "printer ID",
     "Printer ID string can't be more than 7 character.", true},
}};

char Digit(HardwareItem item) { return static_cast<char>('0' + static_cast<int>(item)); }

bool ReportWrite(Prompter& prompter, bool ok, const HardwareItemSpec& row, const std::string& action) {
  const std::string text = action + " " + std::string(row.setNoun) + (ok ? " is successful" : " is failed");
  const Icon icon = ok || !row.failuresWarn ? Icon::kInformation : Icon::kExclamation;
  Tell(prompter, text, icon);
  return ok;
}

}  // namespace

const HardwareItemSpec& SpecOf(HardwareItem item) { return kItems[static_cast<size_t>(item)]; }

std::string BuildHardwareRead(HardwareItem item) { return std::string("^MBX") + Digit(item) + "\r"; }

std::string BuildHardwareWrite(HardwareItem item, const std::string& text) {
  return std::string("^MBY") + Digit(item) + "," + text + "\r\n";
}

std::string BuildHardwareReset(HardwareItem item) {
  return std::string("^MBY\x0F,") + Digit(item) + "\r\n";
}

std::optional<std::string> GetHardwareItem(PrinterLink& link, Clock& clock, Prompter& prompter, HardwareItem item) {
  const HardwareItemSpec& row = SpecOf(item);
  // The stored text comes with a line end or without one: whole at CR LF, else at a quiet line.
  const std::string reply =
      QueryText(link, clock, BuildHardwareRead(item), row.readDelayMs, row.readCount, ReplyEnd::kText);
  if (reply.empty()) {
    Tell(prompter, std::string(row.nullMessage), Icon::kInformation);
    return std::nullopt;
  }
  std::string value = StripLineEnds(reply);
  prompter.Show(Message{std::string(row.valuePrefix) + value + ".", Icon::kInformation, "Information", 0});
  return value;
}

bool SetHardwareItem(PrinterLink& link, Clock& clock, Prompter& prompter, HardwareItem item,
                     const std::string& text) {
  const HardwareItemSpec& row = SpecOf(item);
  if (text.size() > row.maxLength) {
    Tell(prompter, std::string(row.lengthMessage), Icon::kExclamation);
    return false;
  }
  const bool ok = link.Write(BuildHardwareWrite(item, text)) != 0;
  clock.Sleep(kHardwareWriteWaitMs);
  return ReportWrite(prompter, ok, row, "Set");
}

bool InitializeHardwareItem(PrinterLink& link, Clock& clock, Prompter& prompter, HardwareItem item) {
  const bool ok = link.Write(BuildHardwareReset(item)) != 0;
  clock.Sleep(kHardwareWriteWaitMs);
  return ReportWrite(prompter, ok, SpecOf(item), "Initialize");
}

}  // namespace qm
