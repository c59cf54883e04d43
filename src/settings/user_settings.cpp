#include "settings/user_settings.h"

#include <array>
#include <cctype>

#include "link/printer_link.h"
#include "settings/memory_switch.h"
#include "settings/setting_reply.h"

namespace qm {

namespace {

constexpr int kQueryDelayMs = 10;
constexpr int kSwitchDelayMs = 10;

constexpr std::array<NumericItemSpec, 6> kNumericItems{{
    {"^MBU0,", "^PI5,0\r\n", "paper width", true, 0, 832},
    {"^MBU2,", "^PI5,1\r\n", "paper length", true, 0, 2432},
    {"^MBU5,", "^PI5,2\r\n", "gap length", false, 0, 0},
    {"^MBU3,", "^PI5,3\r\n", "paper horizontal margin", true, 0, 832},
    {"^MBU4,", "^PI5,4\r\n", "paper vertical margin", true, 0, 2432},
    {"^MBU1,", "^PI4,1\r\n", "print density", true, 0, 20},
}};

ChoiceRead GetChoice(PrinterLink& link, Clock& clock, Prompter& prompter, int number,
                     const std::function<std::optional<int>(uint8_t)>& decode, const std::string& noun) {
  ChoiceRead read;
  const SwitchRead byte = ReadSwitch(link, clock, number, kSwitchDelayMs);
  read.ok = byte.ok();
  if (read.ok) read.index = decode(byte.value);
  Report(prompter, read.ok, "Getting " + noun);
  return read;
}

bool SetChoice(PrinterLink& link, Prompter& prompter, int number, uint8_t value, const std::string& noun) {
  const bool ok = WriteSwitch(link, number, value, SwitchWriteForm::kLong) != 0;
  return Report(prompter, ok, "Setting " + noun);
}

}  // namespace

PrinterInformation GetPrinterInformation(PrinterLink& link, Clock& clock, Prompter& prompter,
                                         const std::function<void()>& advance) {
  PrinterInformation info;
  if (advance) advance();
  std::string* fields[] = {&info.modelName, &info.modelType, &info.firmwareVersion};
  const char* queries[] = {"^PI0", "^PI1", "^PI2"};
  for (int i = 0; i < 3; ++i) {
    *fields[i] = QueryText(link, clock, queries[i], kQueryDelayMs, 32);
    if (advance) advance();
  }
  const std::string temperature = QueryText(link, clock, "^PI4,0", kQueryDelayMs, 32);
  info.ok = !temperature.empty();
  if (info.ok) {
    info.temperature = StripLineEnds(temperature) + " Celsius";
    Tell(prompter, "Get printer information is successful.", Icon::kInformation);
  } else {
    prompter.Show(Message{"Get printer information is failed", Icon::kExclamation, "Warnning", 0});
    Tell(prompter, "Get printer information is failed.", Icon::kExclamation);
    info = PrinterInformation{};
  }
  return info;
}

const NumericItemSpec& SpecOf(NumericItem item) { return kNumericItems[static_cast<size_t>(item)]; }

std::optional<std::string> GetNumericItem(PrinterLink& link, Clock& clock, Prompter& prompter, NumericItem item) {
  const NumericItemSpec& row = SpecOf(item);
  const std::string reply = QueryText(link, clock, row.query, kQueryDelayMs, 32);
  Report(prompter, !reply.empty(), "Getting " + std::string(row.noun));
  if (reply.empty()) return std::nullopt;
  std::string text = StripLineEnds(reply);
  return text.empty() ? "0" : text;
}

bool SetNumericItem(PrinterLink& link, Prompter& prompter, NumericItem item, int value) {
  const NumericItemSpec& row = SpecOf(item);
  const bool ok = link.Write(std::string(row.setPrefix) + std::to_string(value) + "\r") != 0;
  return Report(prompter, ok, "Setting " + std::string(row.noun));
}

ChoiceRead GetStrobe(PrinterLink& link, Clock& clock, Prompter& prompter) {
  return GetChoice(link, clock, prompter, 4, DecodeStrobe, "strobe");
}

bool SetStrobe(PrinterLink& link, Prompter& prompter, std::optional<int> index) {
  return SetChoice(link, prompter, 4, EncodeStrobe(index.value_or(0)), "strobe");
}

ChoiceRead GetSpeed(PrinterLink& link, Clock& clock, Prompter& prompter) {
  return GetChoice(link, clock, prompter, 3, [](uint8_t v) { return std::optional<int>(DecodeSpeed(v)); }, "speed");
}

bool SetSpeed(PrinterLink& link, Prompter& prompter, std::optional<int> index) {
  return SetChoice(link, prompter, 3, EncodeSpeed(index.value_or(0)), "speed");
}

ChoiceRead GetGapPosition(PrinterLink& link, Clock& clock, Prompter& prompter) {
  return GetChoice(link, clock, prompter, 4, DecodeGapPosition, "gap detect position");
}

bool SetGapPosition(PrinterLink& link, Prompter& prompter, std::optional<int> index) {
  return SetChoice(link, prompter, 4, EncodeGapPosition(index.value_or(0)), "gap detect position");
}

std::optional<SignedValue> ParseSignedReply(std::string_view reply) {
  // Anything but a sign and three digits would turn into a wrong number; refuse it.
  if (reply.size() < 4) return std::nullopt;
  for (size_t i = 1; i < 4; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(reply[i]))) return std::nullopt;
  }
  SignedValue v;
  v.negative = reply[0] == '-';
  v.value = 100 * (reply[1] - '0') + 10 * (reply[2] - '0') + (reply[3] - '0');
  return v;
}

std::optional<SignedValue> GetSignedItem(PrinterLink& link, Clock& clock, Prompter& prompter, SignedItem item) {
  const bool offset = item == SignedItem::kOffset;
  const std::string reply = QueryText(link, clock, offset ? "^SA\r\n" : "^PI4,2\r\n", kQueryDelayMs, 7);
  const std::optional<SignedValue> value = ParseSignedReply(reply);
  Report(prompter, value.has_value(), offset ? "Getting offset" : "Getting tear-off/cutting position");
  return value;
}

bool SetSignedItem(PrinterLink& link, Prompter& prompter, SignedItem item, bool negative,
                   const std::string& fieldText) {
  const bool offset = item == SignedItem::kOffset;
  const std::string command = std::string(offset ? "SA" : "TA") + (negative ? "-" : "+") + fieldText + "\r\n";
  const bool ok = link.Write(command) != 0;
  return Report(prompter, ok, offset ? "Setting offset" : "Setting Tear-Off/Cutting position");
}

int SetCheckLabelLength(PrinterLink& link, bool enable) {
  return link.Write(enable ? "^MBL1" : "^MBL0");
}

bool InitializeUserSettings(PrinterLink& link, Prompter& prompter) {
  const bool ok = link.Write(std::string("^MBU\x0F,99\r", 9)) != 0;
  return Report(prompter, ok, "Initialize all user setting data");
}

}  // namespace qm
