// The character set test prints: the code table below and above 80H, and the sixteen
// international character sets, each built as the writes the dialog sends.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "commands/command_framing.h"

namespace qm {

// International character sets; "CS" carries the position.
inline constexpr std::array<std::string_view, 16> kInternationalCharacterSets = {
    "U.S.A",  "France",     "Germany", "U.K",      "Denmark I",     "Sweden",
    "Italy",  "Spain",      "Norway",  "Denmark II", "Japan",       "Spain II",
    "Latin America", "Korea", "Slovenia/Croatia", "China"};

// Code tables; "CS" carries the position.
inline constexpr std::array<std::string_view, 23> kCodeTables = {
    "PC437", "PC850",  "PC852",  "PC860", "PC863", "PC865", "PC1252", "PC865+PC1252",
    "PC857", "PC737",  "PC1250", "PC1253", "PC1254", "PC855", "PC862", "PC866",
    "PC1251", "PC1255", "PC928", "PC864", "PC775", "WPC1257", "CP858"};

// The bitmap fonts this dialog offers, one character each.
inline constexpr std::string_view kCharacterSetFonts = "0123456ab";

// The size fields' labels and ranges for each kind of font.
inline constexpr FieldRange kCharacterSetBitmapSizeOne{"H Multi", 1, 4};
inline constexpr FieldRange kCharacterSetBitmapSizeTwo{"V Multi", 1, 4};
inline constexpr FieldRange kCharacterSetVectorSizeOne{"Width", 1, 100};
inline constexpr FieldRange kCharacterSetVectorSizeTwo{"Height", 1, 100};

struct CharacterSetFields {
  int ics = 0;        // position in kInternationalCharacterSets
  int codeTable = 0;  // position in kCodeTables
  FontKind fontKind = FontKind::kBitmap;
  double xPos = 20;
  double yPos = 20;
  char font = '3';  // bitmap only; the vector lines always use "U"
  int sizeOne = 1;  // "H Multi" or "Width"
  int sizeTwo = 1;  // "V Multi" or "Height"
};

// Choosing the kind of font resets both sizes: 1 for bitmap, 35 for vector.
void SelectCharacterSetFont(CharacterSetFields& fields, FontKind kind);

// "Under 80H" and "Over 80H": two writes, sent one after the other with no pause. The first
// narrows the label ("SW780"), selects the tables and prints the characters; the second
// sets the width back to 830.
std::vector<std::string> BuildUnder80HPrint(const CharacterSetFields& fields);
std::vector<std::string> BuildOver80HPrint(const CharacterSetFields& fields);

// "International": sixteen writes, one "CS" line and one text line per set, then a last
// write of "P1"; no pauses between them. The label width is left alone.
std::vector<std::string> BuildInternationalPrint(const CharacterSetFields& fields);

}  // namespace qm
