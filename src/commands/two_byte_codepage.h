// The two-byte code page print: one label per lead byte (a block), whose text holds every
// two-byte code of that block, for the Korean, Chinese and Japanese code tables.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/command_framing.h"

namespace qm {

enum class TwoByteCodeTable { kKs5601, kGb2312, kBig5, kJis };

struct TwoByteCodeTableInfo {
  std::string_view name;
  std::string_view blockArea;  // as the dialog shows it
  std::string_view defaultStart;
  std::string_view defaultEnd;
  int firstBlock;  // lead bytes printed for all blocks
  int lastBlock;
  int firstTrail;  // trail bytes of every row
  int lastTrail;
  std::string_view bitmapFonts;  // one letter per font, in list order
  char defaultBitmapFont;
  char vectorFont;
};

// JIS prints 0x81 to 0xFC for all blocks, its unused leads between the two areas included.
inline constexpr std::array<TwoByteCodeTableInfo, 4> kTwoByteCodeTables = {{
    {"KS5601", "A1 to F7", "A1", "F7", 0xA1, 0xF7, 0xA1, 0xFE, "abcdef", 'd', 'K'},
    {"GB2312", "A1 to F7", "A1", "F7", 0xA1, 0xF7, 0xA1, 0xFE, "m", 'm', 'G'},
    {"BIG5", "A1 to E8", "A1", "E8", 0xA1, 0xE8, 0x40, 0xFE, "n", 'n', 'B'},
    {"JIS", "81 to EE, FA to FC", "81", "EE", 0x81, 0xFC, 0x3F, 0xFE, "j", 'j', 'J'},
}};

// The table's row; an out-of-range value falls back to KS5601.
const TwoByteCodeTableInfo& InfoOf(TwoByteCodeTable table);

struct TwoByteCodepageFields {
  TwoByteCodeTable codeTable = TwoByteCodeTable::kKs5601;
  std::string startBlock = "A1";
  std::string endBlock = "F7";
  bool printAllBlocks = false;
  FontKind fontKind = FontKind::kBitmap;
  char bitmapFontName = 'd';
  std::string vectorFontWidth = "35";  // inserted as typed
  std::string vectorFontHeight = "35";
};

// Choosing a table sets its default blocks and bitmap font.
void SelectTwoByteCodeTable(TwoByteCodepageFields& fields, TwoByteCodeTable table);
// Checking "Print all block character code" shows the table's own blocks.
void SetPrintAllBlocks(TwoByteCodepageFields& fields, bool printAll);

// A block typed as exactly two hexadecimal digits, either case; nullopt otherwise.
std::optional<int> ParseBlock(std::string_view text);

// The label of one block: the text command's prefix, each trail byte of the table after
// the lead byte, then "'", CR, "P1", CR.
std::string BuildTwoByteRow(const TwoByteCodepageFields& fields, int lead);

inline constexpr std::string_view kStartBlockWrong = "Start Block value is wrong!";
inline constexpr std::string_view kEndBlockWrong = "End Block value is wrong!";

// "Print Characters": one write per label, from the first block to the last (none when the
// start lies past the end). `error` is one of the two texts above, the start checked first,
// and then nothing is printed.
struct TwoBytePrint {
  std::optional<std::string_view> error;
  std::vector<std::string> rows;
};
TwoBytePrint BuildTwoBytePrint(const TwoByteCodepageFields& fields);

}  // namespace qm
