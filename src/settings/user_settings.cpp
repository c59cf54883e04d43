#include "settings/user_settings.h"

#include <array>
#include <cctype>

#include "link/printer_link.h"
#include "settings/memory_switch.h"
#include "link/query.h"
#include "core/tool_texts.h"

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

// `others` names what else the switch holds, for the notice when it could not be kept.
bool SetChoice(PrinterLink& link, Clock& clock, Prompter& prompter, int number, uint8_t owned, uint8_t value,
               const std::string& noun, std::string_view others) {
  const SwitchUpdate update = UpdateSwitch(link, clock, number, owned, value, SwitchWriteForm::kLong, kSwitchDelayMs);
  const bool ok = update.result != 0;
  Report(prompter, ok, "Setting " + noun);
  if (ok && !update.keptOthers) TellOthersCleared(prompter, number, others);
  return ok;
}

}  // namespace

std::string_view Noun(InfoQuery query) {
  switch (query) {
    case InfoQuery::kModelName: return "model name";
    case InfoQuery::kModelType: return "model type";
    case InfoQuery::kFirmwareVersion: return "firmware version";
    case InfoQuery::kTemperature: break;
  }
  return "temperature";
}

PrinterInformation GetPrinterInformation(PrinterLink& link, Clock& clock, Prompter& prompter,
                                         Progress* progress) {
  PrinterInformation info;
  uint64_t answered = 0;
  if (progress) progress->Report(answered, 3);
  struct Query {
    const char* command;
    InfoQuery name;
    std::string* reply;
  };
  std::string temperature;
  const Query queries[] = {
      {"^PI0", InfoQuery::kModelName, &info.modelName},
      {"^PI1", InfoQuery::kModelType, &info.modelType},
      {"^PI2", InfoQuery::kFirmwareVersion, &info.firmwareVersion},
      {"^PI4,0", InfoQuery::kTemperature, &temperature},
  };
  for (const Query& query : queries) {
    // A port that fails a write or a read has gone away (a silent printer fails neither);
    // asking on would only repeat its error.
    if (link.Write(query.command) == 0) {
      info.failedQuery = query.name;
      break;
    }
    clock.Sleep(kQueryDelayMs);
    // Each of these may come with or without CR LF: a line read would wait a bare one out.
    *query.reply = ReadReply(link, 32, ReplyEnd::kText);
    if (query.reply->empty() && ReadFailed(link)) {
      info.failedQuery = query.name;
      break;
    }
    if (query.reply->empty()) info.unanswered.push_back(query.name);
    if (progress && query.reply != &temperature) progress->Report(++answered, 3);
  }
  info.ok = !info.failedQuery && !temperature.empty();
  if (info.ok) {
    info.temperature = StripLineEnds(temperature) + " Celsius";
    Tell(prompter, "Get printer information is successful.", Icon::kInformation);
  } else {
    prompter.Show(Message{"Get printer information is failed", Icon::kExclamation, std::string(texts::kWarnningCaption), 0});
    Tell(prompter, "Get printer information is failed.", Icon::kExclamation);
    PrinterInformation empty;
    empty.failedQuery = std::move(info.failedQuery);
    empty.unanswered = std::move(info.unanswered);
    info = std::move(empty);
  }
  return info;
}

const NumericItemSpec& SpecOf(NumericItem item) { return kNumericItems[static_cast<size_t>(item)]; }

std::optional<std::string> GetNumericItem(PrinterLink& link, Clock& clock, Prompter& prompter, NumericItem item) {
  const NumericItemSpec& row = SpecOf(item);
  const std::string reply = QueryText(link, clock, row.query, kQueryDelayMs, 32, ReplyEnd::kText);
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

bool SetStrobe(PrinterLink& link, Clock& clock, Prompter& prompter, std::optional<int> index) {
  return SetChoice(link, clock, prompter, 4, kStrobeBits, EncodeStrobe(index.value_or(0)), "strobe",
                   "the gap detect position it also holds");
}

ChoiceRead GetSpeed(PrinterLink& link, Clock& clock, Prompter& prompter) {
  return GetChoice(link, clock, prompter, 3, [](uint8_t v) { return std::optional<int>(DecodeSpeed(v)); }, "speed");
}

bool SetSpeed(PrinterLink& link, Clock& clock, Prompter& prompter, std::optional<int> index) {
  return SetChoice(link, clock, prompter, 3, kSpeedBits, EncodeSpeed(index.value_or(0)), "speed",
                   "the default ICS it also holds");
}

ChoiceRead GetGapPosition(PrinterLink& link, Clock& clock, Prompter& prompter) {
  return GetChoice(link, clock, prompter, 4, DecodeGapPosition, "gap detect position");
}

bool SetGapPosition(PrinterLink& link, Clock& clock, Prompter& prompter, std::optional<int> index) {
  return SetChoice(link, clock, prompter, 4, kGapPositionBits, EncodeGapPosition(index.value_or(0)),
                   "gap detect position", "the print strobe it also holds");
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
  // A sign and three digits, and a line end only perhaps: a line read would hold a bare
  // reply until the deadline, and a count of four would leave the line end behind for the
  // next read.
  const std::string reply =
      QueryText(link, clock, offset ? "^SA\r\n" : "^PI4,2\r\n", kQueryDelayMs, 7, ReplyEnd::kText);
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
