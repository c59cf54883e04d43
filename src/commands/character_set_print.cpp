#include "commands/character_set_print.h"

namespace qm {

void SelectCharacterSetFont(CharacterSetFields& fields, FontKind kind) {
  fields.fontKind = kind;
  const int size = kind == FontKind::kBitmap ? 1 : 35;
  fields.sizeOne = size;
  fields.sizeTwo = size;
}

namespace {

// The text line of a character print. Its second size is written before its first, the
// reverse of the text builders' order, as this print has always done.
std::string CharacterLine(const CharacterSetFields& f, const std::string& x, const std::string& y,
                          std::string_view characters) {
  std::string line;
  if (f.fontKind == FontKind::kBitmap) {
    line = "T" + x + "," + y + ",";
    line += f.font;
    line += "," + std::to_string(f.sizeTwo) + "," + std::to_string(f.sizeOne) + ",10,0,N,N,'";
  } else {
    line = "V" + x + "," + y + ",U," + std::to_string(f.sizeTwo) + "," +
           std::to_string(f.sizeOne) + ",+1,N,N,N,0,L,0,'";
  }
  line += characters;
  line += "'";
  return line;
}

std::string TablePrint(const CharacterSetFields& f, std::string_view characters) {
  std::string bytes = "SW780\r";
  bytes += "CS" + std::to_string(f.ics) + "," + std::to_string(f.codeTable) + "\r";
  bytes += CharacterLine(f, TruncatedInteger(f.xPos), TruncatedInteger(f.yPos), characters);
  bytes += "\rP1\r";
  return bytes;
}

}  // namespace

std::vector<std::string> BuildUnder80HPrint(const CharacterSetFields& fields) {
  std::string characters;
  for (int c = 0x20; c <= 0x7F; ++c) {
    if (c == '\'' || c == '\\') characters += '\\';
    characters += static_cast<char>(c);
  }
  return {TablePrint(fields, characters), "SW830\r"};
}

std::vector<std::string> BuildOver80HPrint(const CharacterSetFields& fields) {
  std::string characters;
  for (int c = 0x80; c <= 0xFF; ++c) characters += static_cast<char>(c);
  return {TablePrint(fields, characters), "SW830\r"};
}

std::vector<std::string> BuildInternationalPrint(const CharacterSetFields& fields) {
  // The characters that differ from one national set to the next.
  static constexpr std::string_view kVarying = "#$@[\\\\]^`{|}~";
  std::vector<std::string> writes;
  for (int n = 0; n < static_cast<int>(kInternationalCharacterSets.size()); ++n) {
    std::string bytes = "CS" + std::to_string(n) + "," + std::to_string(fields.codeTable) + "\r";
    bytes += CharacterLine(fields, "30", std::to_string(50 + 70 * n), kVarying);
    bytes += "\r";
    writes.push_back(std::move(bytes));
  }
  writes.emplace_back("P1\r");
  return writes;
}

}  // namespace qm
