#include "commands/two_byte_codepage.h"

namespace qm {

const TwoByteCodeTableInfo& InfoOf(TwoByteCodeTable table) {
  const auto index = static_cast<std::size_t>(table);
  return kTwoByteCodeTables[index < kTwoByteCodeTables.size() ? index : 0];
}

void SelectTwoByteCodeTable(TwoByteCodepageFields& fields, TwoByteCodeTable table) {
  const TwoByteCodeTableInfo& info = InfoOf(table);
  fields.codeTable = table;
  fields.bitmapFontName = info.defaultBitmapFont;
  fields.startBlock = info.defaultStart;
  fields.endBlock = info.defaultEnd;
}

void SetPrintAllBlocks(TwoByteCodepageFields& fields, bool printAll) {
  fields.printAllBlocks = printAll;
  if (!printAll) return;
  const TwoByteCodeTableInfo& info = InfoOf(fields.codeTable);
  fields.startBlock = info.defaultStart;
  fields.endBlock = info.defaultEnd;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<int> ParseBlock(std::string_view text) {
  if (text.size() != 2) return std::nullopt;
  const int high = HexDigit(text[0]);
  const int low = HexDigit(text[1]);
  if (high < 0 || low < 0) return std::nullopt;
  return high * 16 + low;
}

std::string BuildTwoByteRow(const TwoByteCodepageFields& f, int lead) {
  const TwoByteCodeTableInfo& info = InfoOf(f.codeTable);
  std::string row;
  if (f.fontKind == FontKind::kBitmap) {
    row = "T20,20,";
    row += f.bitmapFontName;
    row += ",1,1,0,0,N,N,'";
  } else {
    // Height before width, the reverse of the vector text builder; these labels have always
    // been sent so.
    row = "V20,20,";
    row += info.vectorFont;
    row += "," + f.vectorFontHeight + "," + f.vectorFontWidth + ",1,N,N,N,0,L,0,'";
  }
  for (int trail = info.firstTrail; trail <= info.lastTrail; ++trail) {
    row += static_cast<char>(lead);
    row += static_cast<char>(trail);
  }
  row += "'\rP1\r";
  return row;
}

TwoBytePrint BuildTwoBytePrint(const TwoByteCodepageFields& f) {
  int first = InfoOf(f.codeTable).firstBlock;
  int last = InfoOf(f.codeTable).lastBlock;
  if (!f.printAllBlocks) {
    const std::optional<int> start = ParseBlock(f.startBlock);
    if (!start) return {kStartBlockWrong, {}};
    const std::optional<int> end = ParseBlock(f.endBlock);
    if (!end) return {kEndBlockWrong, {}};
    first = *start;
    last = *end;
  }
  TwoBytePrint print;
  for (int lead = first; lead <= last; ++lead) print.rows.push_back(BuildTwoByteRow(f, lead));
  return print;
}

}  // namespace qm
