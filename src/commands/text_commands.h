// The bitmap text "T" and vector text "V" command lines, from the builders' fields.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "commands/command_framing.h"

namespace qm {

inline constexpr std::string_view kSampleText = "VORMAND Label Printer";

// The bitmap fonts the text builder offers, one character each, in list order.
inline constexpr std::string_view kBitmapTextFonts = "0123456789abcdef";

// Positions are checked against what the printer takes; the spin runs one further.
inline constexpr FieldRange kBitmapXPosRange{"X Pos", 0, 999};
inline constexpr FieldRange kBitmapYPosRange{"Y Pos", 0, 999};
inline constexpr FieldRange kBitmapHMultiRange{"H Multi", 1, 4};
inline constexpr FieldRange kBitmapVMultiRange{"V Multi", 1, 4};
inline constexpr FieldRange kBitmapSpaceRange{"Space_R", 0, 100};

// The bitmap text builder's fields; the initialiser is the dialog's first state.
struct BitmapTextFields {
  double xPos = 20;
  double yPos = 20;
  char font = '3';
  int hMulti = 1;
  int vMulti = 1;
  int spaceR = 0;
  int rotation = 0;  // position in kRotationNames
  bool reverse = false;
  bool bold = false;
  std::string data{kSampleText};
};

// The out-of-range position, X before Y; nullopt when the line may be built.
std::optional<FieldError> ValidateBitmapText(const BitmapTextFields& fields);
// "T20,20,3,1,1,0,0,N,N,'VORMAND Label Printer'" for the defaults; the data is not escaped.
std::string BuildBitmapTextLine(const BitmapTextFields& fields);

enum class Justification { kRight, kCenter, kLeft };
inline constexpr std::array<std::string_view, 3> kJustificationNames = {"Right", "Center", "Left"};
enum class TextDirection { kLeftToRight, kRightToLeft };
inline constexpr std::array<std::string_view, 2> kTextDirectionNames = {"Left to Right",
                                                                        "Right to Left"};

inline constexpr FieldRange kVectorWidthRange{"Width", 1, 100};
inline constexpr FieldRange kVectorHeightRange{"Height", 1, 100};
inline constexpr FieldRange kVectorFontSpaceRange{"Font Space", -100, 100};

// The vector text builder's fields; the font is always "U".
struct VectorTextFields {
  double xPos = 20;
  double yPos = 20;
  int width = 35;
  int height = 35;
  int fontSpace = 1;
  bool bold = false;
  bool reverse = false;
  bool italic = false;
  int rotation = 0;  // position in kRotationNames
  Justification justification = Justification::kLeft;
  TextDirection textDirection = TextDirection::kLeftToRight;
  std::string data{kSampleText};
};

// "V20,20,U,35,35,1,N,N,N,0,L,0,'VORMAND Label Printer'" for the defaults.
std::string BuildVectorTextLine(const VectorTextFields& fields);

}  // namespace qm
