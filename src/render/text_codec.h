// From the bytes of a text command to the characters the printer draws: the code table
// chosen by "CS" for 0x80-0xFF, the international character set for the national
// positions, and the two-byte code pages of the Korean, Chinese and Japanese fonts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm::render {

inline constexpr int kCodeTableCount = 23;
inline constexpr int kIcsCount = 16;
// Drawn for a byte the chosen table cannot give (a table iconv lacks, an undefined code).
inline constexpr char32_t kReplacement = U'\uFFFD';

// The iconv name of code table `index` ("CP437" for 0); nullopt for a table iconv lacks.
std::optional<std::string_view> CodeTableCharset(int index);

// Text data with its backslash escapes taken away: "\'" is a quote, "\\" a backslash.
std::string Unescape(std::string_view data);

// Single-byte text: 0x00-0x7F as ASCII with the national characters of `ics`, 0x80-0xFF
// through code table `codeTable`. Unknown indexes fall back to table 0 and set 0.
std::u32string DecodeSingleByte(std::string_view bytes, int codeTable, int ics);

enum class TwoByteTable { kKs5601, kGb2312, kBig5, kJis };
// Text in a two-byte code page: a lead byte and its trail byte make one character; bytes
// below 0x80 stay ASCII. A pair the table does not hold becomes kReplacement.
std::u32string DecodeTwoByte(std::string_view bytes, TwoByteTable table);

}  // namespace qm::render
