// The commands that shape a label: block and line "BD", label width, length and margins
// "SW"/"SL"/"SM", print speed, density and direction "SS"/"SD"/"SOT"/"SOB", and the
// "Printer Setting Test" label that shows and applies the chosen print settings.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "commands/command_framing.h"
#include "commands/unit_conversion.h"

namespace qm {

enum class BlockType { kO, kE, kD, kS, kB };
inline constexpr std::array<std::string_view, 5> kBlockTypeNames = {"O", "E", "D", "S", "B"};

struct BlockDrawFields {
  double startX = 100;
  double startY = 100;
  double endX = 800;
  double endY = 120;
  BlockType type = BlockType::kO;
  int optional = 20;  // written only for "S" and "B"
};

// Whether a block type carries the "Optional" field.
bool TakesOptional(BlockType type);
// Choosing a type sets its defaults: "S" takes Optional 10 and End Y 300, every other
// type Optional 20 and End Y 120.
void SelectBlockType(BlockDrawFields& fields, BlockType type);
// "BD100,100,800,120,O" for the defaults.
std::string BuildBlockDrawLine(const BlockDrawFields& fields);

enum class MediaType { kGap, kContinuous, kBlackMark };
inline constexpr std::array<std::string_view, 3> kMediaTypeNames = {"Gap", "Continuous",
                                                                    "BlackMark"};

// Lengths are in `unit` and held in single precision, as the dialog shows them.
struct LabelSettingFields {
  LengthUnit unit = LengthUnit::kInch;
  MediaType media = MediaType::kGap;
  bool widthApply = true;
  float width = 4;
  bool lengthApply = true;
  float length = 6;
  float xMargin = 0.2f;
  float yMargin = 0.2f;
  bool marginApply = true;
};

// Converts the four lengths to `unit` and makes it the current one.
void ChangeLabelUnit(LabelSettingFields& fields, LengthUnit unit);
// "SW", "SL" with the media suffix and "SM", each only when applied, in that order, with
// lengths in whole dots: "SW812", "SL1219,24,G", "SM40,40" for the defaults.
std::vector<std::string> BuildLabelSettingLines(const LabelSettingFields& fields);

enum class PrintSpeed { kIps2_5, kIps3_0, kIps4_0, kIps5_0, kIps6_0 };
inline constexpr std::array<std::string_view, 5> kPrintSpeedNames = {
    "2.5 ips", "3.0 ips", "4.0 ips", "5.0 ips", "6.0 ips"};
enum class PrintDirection { kTop, kBottom };
inline constexpr std::array<std::string_view, 2> kPrintDirectionNames = {"Top", "Bottom"};
inline constexpr FieldRange kDensityRange{"Density", 0, 20};

struct PrintingSettingFields {
  PrintSpeed speed = PrintSpeed::kIps5_0;
  bool speedApply = true;
  int density = 20;  // the slider stands at 20 minus the density: top is 20, bottom 0
  bool densityApply = true;
  PrintDirection direction = PrintDirection::kTop;
  bool directionApply = true;
};

// "SS", "SD" and "SOT"/"SOB", each only when applied: "SS3", "SD20", "SOT" for the defaults.
std::vector<std::string> BuildPrintingSettingLines(const PrintingSettingFields& fields);
// The "Printer Setting Test" label, one write: each applied setting's text line followed by
// its command, framed by rules and three blocks, then "P1". Every line ends in CR.
std::string BuildPrinterSettingTest(const PrintingSettingFields& fields);

}  // namespace qm
