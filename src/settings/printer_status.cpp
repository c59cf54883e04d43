#include "settings/printer_status.h"

#include "link/printer_link.h"
#include "link/query.h"
#include "core/tool_texts.h"

namespace qm {

namespace {

// Status bit to box for the byte pages: {byte, bit, box}.
struct BitBox {
  int byte;
  int bit;
  int box;
};

constexpr BitBox kCpBits[] = {{0, 7, 0}, {0, 6, 1}, {0, 5, 2}, {0, 4, 3}, {0, 3, 4},
                              {0, 2, 5}, {1, 7, 6}, {1, 6, 7}, {1, 5, 8}};
constexpr BitBox kCuBits[] = {{0, 7, 0}, {0, 6, 1}, {0, 5, 2}, {0, 4, 3}, {0, 3, 4}, {0, 2, 5}};
constexpr BitBox kCpsBits[] = {{0, 0, 0}, {0, 1, 1}, {0, 2, 2}, {0, 3, 3},
                               {0, 4, 4}, {0, 5, 5}, {0, 6, 6}, {0, 7, 7}};

// "^ee" class and code to box; class '*' stands for any class without a row of its own.
struct CodeBox {
  char errorClass;
  char code;
  int box;
};
constexpr CodeBox kEeCodes[] = {
    {'0', '0', 0},  {'0', '1', 1},  {'0', '2', 2},  {'0', '3', 3},  {'0', '4', 4},  {'0', '5', 5},
    {'0', '6', 6},  {'0', '7', 7},  {'0', '8', 8},  {'0', '9', 9},  {'1', '0', 10}, {'1', '1', 11},
    {'1', '2', 12}, {'5', '0', 13}, {'*', '0', 14}, {'*', '1', 15}, {'*', '2', 16}, {'*', '3', 17},
    {'*', '4', 18},
};

bool HasOwnRows(char errorClass) { return errorClass == '0' || errorClass == '1' || errorClass == '5'; }

template <size_t N>
std::vector<int> TickBits(const BitBox (&bits)[N], std::string_view reply, int size, int okBox) {
  std::vector<int> ticked;
  bool allZero = true;
  for (int i = 0; i < size; ++i) {
    if (static_cast<size_t>(i) < reply.size() && reply[static_cast<size_t>(i)] != 0) allZero = false;
  }
  for (const BitBox& b : bits) {
    const size_t at = static_cast<size_t>(b.byte);
    const int byte = at < reply.size() ? static_cast<uint8_t>(reply[at]) : 0;
    if (byte & (1 << b.bit)) ticked.push_back(b.box);
  }
  if (allZero) ticked.push_back(okBox);
  return ticked;
}

bool WellFormed(StatusCommand command, std::string_view reply) {
  const StatusCommandShape& shape = ShapeOf(command);
  if (static_cast<int>(reply.size()) != shape.replySize) return false;
  return command != StatusCommand::kEe || (reply[2] == '\r' && reply[3] == '\n');
}

}  // namespace

const StatusCommandShape& ShapeOf(StatusCommand command) {
  static const StatusCommandShape kShapes[] = {
      {"cp", "^cp\r", 2, 50},
      {"cu", "^cu\r", 1, 50},
      {"ee", "^ee\r", 4, 30},
      {"cps", "CPS\r", 1, 50},
  };
  return kShapes[static_cast<size_t>(command)];
}

const std::vector<std::string_view>& StatusBoxes(StatusCommand command) {
  static const std::vector<std::string_view> kCp = {
      "Paper Empty",        "Cover Open",        "Cutter jammed",          "Thermal Head overheat",
      "Gap Detection Error", "Ribbon End Error", "On Building label",      "On Printing label",
      texts::kIssuedLabelPasued, "Status OK"};
  static const std::vector<std::string_view> kCu = {
      "Paper Empty", "Cover Open", "Cutter jammed", "Thermal Head overheat", "Gap Detection Error",
      "Ribbon End Error", "Status OK"};
  static const std::vector<std::string_view> kEe = {
      "No Error",        "Syntax Error",   "Exceeded Border",   "BarCode Error",     texts::kInsufficantMem,
      "Memory Error",    "RS-232 Error",   "Empty",             "Duplicate Name",    "Name Not Found",
      "Not in Data Entry", "Print Head Up", "Pause Mode",       "Printer Busy",      "Undefined",
      "Cutter Jammed",   "AutoSense",      "Illegal Interrupt", "Excessive Feeding"};
  static const std::vector<std::string_view> kCps = {
      "Cover Open",  "Paper Empty", "Paper Jam",   "TPH overheat", "Not defined",
      "Not defined", "Not defined", "Not defined", "Status OK"};
  switch (command) {
    case StatusCommand::kCp: return kCp;
    case StatusCommand::kCu: return kCu;
    case StatusCommand::kEe: return kEe;
    case StatusCommand::kCps: break;
  }
  return kCps;
}

std::vector<int> TickedBoxes(StatusCommand command, std::string_view reply) {
  switch (command) {
    case StatusCommand::kCp: return TickBits(kCpBits, reply, 2, 9);
    case StatusCommand::kCu: return TickBits(kCuBits, reply, 1, 6);
    case StatusCommand::kCps: return TickBits(kCpsBits, reply, 1, 8);
    case StatusCommand::kEe: break;
  }
  const char errorClass = reply.size() > 0 ? reply[0] : '\0';
  const char code = reply.size() > 1 ? reply[1] : '\0';
  for (const CodeBox& c : kEeCodes) {
    const bool classMatches = c.errorClass == '*' ? !HasOwnRows(errorClass) : c.errorClass == errorClass;
    if (classMatches && c.code == code) return {c.box};
  }
  return {};
}

bool StatusIsOk(StatusCommand command, const std::vector<int>& ticked) {
  const int okBox = command == StatusCommand::kEe ? 0 : static_cast<int>(StatusBoxes(command).size()) - 1;
  return ticked.size() == 1 && ticked[0] == okBox;
}

StatusRead CheckPrinterStatus(PrinterLink& link, Clock& clock, Prompter& prompter, StatusCommand command) {
  StatusRead result;
  if (command == StatusCommand::kEe && link.GetInterfaceKind() != kSerial) {
    Tell(prompter, "This Command is applied in Serial Interface only!", Icon::kInformation);
    result.refused = true;
    return result;
  }
  const StatusCommandShape& shape = ShapeOf(command);
  const ReplyEnd end = command == StatusCommand::kEe ? ReplyEnd::kLine : ReplyEnd::kCount;
  link.Write(shape.command);
  clock.Sleep(shape.waitMs);
  result.reply = ReadReply(link, shape.replySize, end);
  if (!WellFormed(command, result.reply)) {
    Tell(prompter, "Status Data Read Fail!", Icon::kExclamation);
    result.reply = ReadReply(link, shape.replySize, end);
  }
  result.ok = WellFormed(command, result.reply);
  if (result.ok) result.ticked = TickedBoxes(command, result.reply);
  return result;
}

}  // namespace qm
