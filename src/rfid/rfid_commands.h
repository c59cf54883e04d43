// The RFID encoder's commands and replies: settings, tag data, passwords, locks, kill.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// The encoder settings as the configuration dialog's lists hold them: a list field is the
// position of its chosen entry, -1 for none.
struct RfidSettings {
  int tagType = -1;  // 0 "GEN2" (code 5), 1 "ISO-B" (code 2)
  int power = -1;    // position 0 to 30; the power sent is position + 1
  std::string position;
  int retries = -1;  // 0 to 10
  int labels = -1;   // 0 to 5
  std::string validCounter;
  std::string voidCounter;

  bool operator==(const RfidSettings&) const = default;
};

inline constexpr int kRfidQueries = 7;
inline constexpr int kRfidPowerEntries = 31;
inline constexpr int kRfidMaxRetries = 10;
inline constexpr int kRfidMaxLabels = 5;
// One reply to a settings query is at most this long.
inline constexpr int kRfidReplyBytes = 16;

// The label of the writing power list at `position`: "0" to "7", then "9" to "31".
std::string PowerLabel(int position);
// ">RFI," n CR for n 1 to 7.
std::string BuildRfidQuery(int n);
// Parses the reply to query n into its field; a reply that does not parse leaves the tag
// type as it was and the other lists unchosen.
void ApplyRfidReply(int n, std::string_view reply, RfidSettings& settings);
// The leading decimal number of a reply: leading blanks and a sign allowed, no digits 0.
int LeadingNumber(std::string_view text);
// ">RFS,<tag>,<retries>,<labels>,<power>" CR ">RFTP,<position>" CR, in one text.
std::string BuildRfidSet(const RfidSettings& settings);
// "Default Setting": GEN2, power 1, position 600, 3 retries, 2 labels; counters kept.
void ApplyRfidDefaults(RfidSettings& settings);
inline constexpr std::string_view kRfidResetCounters = ">RFVR\r";
inline constexpr std::string_view kRfidCalibrate = ">RFCP\r";

// Tag memory commands.
enum class TagCarrier { kNone, kLabel, kMetal };  // no choice acts as a metal tag
enum class TagMemory { kEpc, kUser };
enum class TagDataType { kHex, kAscii };

// Characters per byte of tag data: 2 in hexadecimal, 1 as characters.
inline int CharsPerByte(TagDataType type) { return type == TagDataType::kHex ? 2 : 1; }

// Whether a start block and byte count fit the 64-cell grid: start + bytes - 2 at most 67.
bool TagRangeFits(int start, int bytes);
// Whether a text is data of the given type: hexadecimal digits, or single-byte characters.
bool IsHexText(std::string_view text);

struct TagRange {
  TagCarrier carrier = TagCarrier::kNone;
  TagMemory memory = TagMemory::kEpc;
  TagDataType dataType = TagDataType::kHex;
  int start = 4;
  int bytes = 12;
};

// ">RFW," or ">RFw," then "H,"/"A," (EPC) or "U," (user), start, count, the quoted data, `end`.
std::string BuildTagWrite(const TagRange& range, std::string_view data, std::string_view end = "\r");
// ">RFR," or ">RFr," then "H,"/"A," (EPC) or "U,"/"u," (user), start, count, "S" CR.
std::string BuildTagRead(const TagRange& range);
// The printed form: always ">RFR," with the data type letter, and "P" CR.
std::string BuildTagPrint(const TagRange& range);

// The 20 boxes of the lock payload: a mask and an action row, each with a left and a right
// box for the kill password, access password, EPC, TID and user memory, in that order.
enum class LockArea { kKillPassword = 0, kAccessPassword, kEpc, kTid, kUser };
inline constexpr int kLockAreas = 5;
struct LockPayload {
  std::array<bool, 10> mask{};    // index area x 2, + 1 for the right box
  std::array<bool, 10> action{};

  static int Index(LockArea area, bool right) { return static_cast<int>(area) * 2 + (right ? 1 : 0); }
  bool operator==(const LockPayload&) const = default;
};
// The three payload bytes: ten mask bits, ten action bits, four zero bits.
std::array<uint8_t, 3> LockPayloadBytes(const LockPayload& payload);
// "80,20,00": each byte as two upper-case hexadecimal digits.
std::string FormatLockPayload(const LockPayload& payload);
// ">RFLP," "L" or "U" ",'" bytes "'" `end`.
std::string BuildLockCommand(const LockPayload& payload, bool unlock, std::string_view end = "\r");

// Passwords: the text with every "." removed must be 8 characters.
std::string StripDots(std::string_view text);
// ">RFZ,'5E2A7C13,5E2A7C13," access "," kill "'" `end`; both without dots.
std::string BuildPasswordCommand(std::string_view access, std::string_view kill, std::string_view end = "\r");
// While typing a password: a text of 2, 5 or 8 characters gets a "." appended.
std::string DotPassword(std::string text);
inline constexpr std::string_view kDefaultPassword = "5E.2A.7C.13";

inline constexpr std::string_view kRfidUnlock = ">RFUL\r";
inline constexpr std::string_view kRfidLock = ">RFLK\r";
inline constexpr std::string_view kRfidKill = ">RFKL\r";
inline constexpr std::string_view kRfidPrint = "P1\r";

// The tester's lines, each ending in CR LF.
std::string BuildWriteLine(TagDataType type, int start, int bytes, std::string_view cells);
std::string BuildReadLine(TagDataType type, int start, int bytes, bool printed);

// The grid of the read dialog after a read: every cell "-", then the cells from `start` on
// take `charsPerByte` characters each of the `expected` that were asked for. Characters
// that did not come (or a NUL among them) end a cell's text, as the reply buffer holds zeros.
inline constexpr int kTagCells = 64;
std::array<std::string, kTagCells> PlaceTagData(std::string_view got, int start, int charsPerByte, int expected);

}  // namespace qm
