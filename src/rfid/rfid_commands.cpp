#include "rfid/rfid_commands.h"

#include <algorithm>
#include <climits>

namespace qm {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// A number of a list that has entries 0 to `last`; -1 (none chosen) outside them.
int Position(int v, int first, int last) { return v >= first && v <= last ? v - first : -1; }

std::string TrimRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsSpace(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

char TypeLetter(TagDataType type) { return type == TagDataType::kHex ? 'H' : 'A'; }

std::string RangeFields(const TagRange& range) {
  return std::to_string(range.start) + "," + std::to_string(range.bytes);
}

}  // namespace

std::string PowerLabel(int position) {
  // The list has no "8": position 7 is the label "7" (power 8), position 8 the label "9".
  return std::to_string(position < 8 ? position : position + 1);
}

std::string BuildRfidQuery(int n) { return ">RFI," + std::to_string(n) + "\r"; }

int LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    // Far past any list's range; held there so a long reply cannot overflow.
    v = std::min<long long>(v * 10 + (text[i] - '0'), INT_MAX);
  }
  return static_cast<int>(negative ? -v : v);
}

void ApplyRfidReply(int n, std::string_view reply, RfidSettings& s) {
  switch (n) {
    case 1:
      if (reply.substr(0, 4) == "GEN2") {
        s.tagType = 0;
      } else if (!reply.empty() && reply[0] == 'I') {
        s.tagType = 1;
      }
      break;
    case 2: s.power = Position(LeadingNumber(reply), 1, kRfidPowerEntries); break;
    case 3: s.position = TrimRight(reply); break;
    case 4: s.retries = Position(LeadingNumber(reply), 0, kRfidMaxRetries); break;
    case 5: s.labels = Position(LeadingNumber(reply), 0, kRfidMaxLabels); break;
    case 6: s.validCounter = std::string(reply); break;
    case 7: s.voidCounter = std::string(reply); break;
    default: break;
  }
}

std::string BuildRfidSet(const RfidSettings& s) {
  std::string out = ">RFS,";
  if (s.tagType == 0) out += "5,";
  if (s.tagType == 1) out += "2,";
  // An unchosen list sends its position -1: retries and labels as "-1", power as "0".
  out += std::to_string(s.retries) + "," + std::to_string(s.labels) + "," + std::to_string(s.power + 1) + "\r";
  out += ">RFTP," + s.position + "\r";
  return out;
}

void ApplyRfidDefaults(RfidSettings& s) {
  s.tagType = 0;
  s.power = 0;
  s.position = "600";
  s.retries = 3;
  s.labels = 2;
}

bool TagRangeFits(int start, int bytes) { return start + (bytes - 2) <= 67; }

bool IsHexText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
  });
}

std::string BuildTagWrite(const TagRange& range, std::string_view data, std::string_view end) {
  std::string out = range.carrier == TagCarrier::kLabel ? ">RFW," : ">RFw,";
  if (range.memory == TagMemory::kUser) {
    out += "U,";
  } else {
    out += TypeLetter(range.dataType);
    out += ',';
  }
  out += RangeFields(range) + ",'";
  out += data;
  out += '\'';
  out += end;
  return out;
}

std::string BuildTagRead(const TagRange& range) {
  const bool label = range.carrier == TagCarrier::kLabel;
  std::string out = label ? ">RFR," : ">RFr,";
  if (range.memory == TagMemory::kUser) {
    out += label ? "U," : "u,";
  } else {
    out += TypeLetter(range.dataType);
    out += ',';
  }
  return out + RangeFields(range) + ",S\r";
}

std::string BuildTagPrint(const TagRange& range) {
  return std::string(">RFR,") + TypeLetter(range.dataType) + "," + RangeFields(range) + ",P\r";
}

std::array<uint8_t, 3> LockPayloadBytes(const LockPayload& payload) {
  // Ten mask bits, ten action bits and four zero bits, most significant first.
  uint32_t bits = 0;
  for (const bool b : payload.mask) bits = (bits << 1) | (b ? 1u : 0u);
  for (const bool b : payload.action) bits = (bits << 1) | (b ? 1u : 0u);
  bits <<= 4;
  return {static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
}

std::string FormatLockPayload(const LockPayload& payload) {
  std::string out;
  for (const uint8_t b : LockPayloadBytes(payload)) {
    if (!out.empty()) out += ',';
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 0x0F];
  }
  return out;
}

std::string BuildLockCommand(const LockPayload& payload, bool unlock, std::string_view end) {
  return std::string(">RFLP,") + (unlock ? "U" : "L") + ",'" + FormatLockPayload(payload) + "'" + std::string(end);
}

std::string StripDots(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c != '.') out += c;
  }
  return out;
}

std::string BuildPasswordCommand(std::string_view access, std::string_view kill, std::string_view end) {
  return ">RFZ,'5E2A7C13,5E2A7C13," + std::string(access) + "," + std::string(kill) + "'" + std::string(end);
}

std::string DotPassword(std::string text) {
  if (text.size() == 2 || text.size() == 5 || text.size() == 8) text += '.';
  return text;
}

std::string BuildWriteLine(TagDataType type, int start, int bytes, std::string_view cells) {
  return BuildTagWrite({TagCarrier::kLabel, TagMemory::kEpc, type, start, bytes}, cells, "\r\n");
}

std::string BuildReadLine(TagDataType type, int start, int bytes, bool printed) {
  return std::string(">RFR,") + TypeLetter(type) + "," + std::to_string(start) + "," + std::to_string(bytes) +
         "," + (printed ? "P" : "S") + "\r\n";
}

std::array<std::string, kTagCells> PlaceTagData(std::string_view got, int start, int charsPerByte, int expected) {
  std::array<std::string, kTagCells> cells;
  cells.fill("-");
  for (int k = 0; k * charsPerByte <= expected - 1; ++k) {
    const int cell = start + k;
    if (cell < 0 || cell >= kTagCells) continue;
    const size_t at = static_cast<size_t>(k * charsPerByte);
    std::string text = at < got.size() ? std::string(got.substr(at, static_cast<size_t>(charsPerByte))) : "";
    text = text.substr(0, text.find('\0'));
    cells[static_cast<size_t>(cell)] = text;
  }
  return cells;
}

}  // namespace qm
