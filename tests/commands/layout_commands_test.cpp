// Block, label and print setting lines, the setting test label, and unit conversion.
#include <gtest/gtest.h>

#include "commands/layout_commands.h"
#include "commands/unit_conversion.h"

namespace qm {
namespace {

TEST(LayoutCommands, BlockDrawLines) {
  BlockDrawFields f;
  EXPECT_EQ(BuildBlockDrawLine(f), "BD100,100,800,120,O");
  SelectBlockType(f, BlockType::kS);
  EXPECT_EQ(BuildBlockDrawLine(f), "BD100,100,800,300,S,10");
  f.optional = 0;
  SelectBlockType(f, BlockType::kB);
  EXPECT_EQ(BuildBlockDrawLine(f), "BD100,100,800,120,B,20");
  f = {0.9, 99.99, 1000, 7.5, BlockType::kD, 55};  // no optional field for "D"
  EXPECT_EQ(BuildBlockDrawLine(f), "BD0,99,1000,7,D");
}

TEST(LayoutCommands, LabelSettingLines) {
  using Lines = std::vector<std::string>;
  LabelSettingFields f;
  EXPECT_EQ(BuildLabelSettingLines(f), (Lines{"SW812", "SL1219,24,G", "SM40,40"}));
  EXPECT_EQ(ScriptLines(BuildLabelSettingLines(f)), "SW812\r\nSL1219,24,G\r\nSM40,40\r\n");

  f = {LengthUnit::kMm, MediaType::kContinuous, true, 100, true, 50, 0.2f, 0.2f, false};
  EXPECT_EQ(BuildLabelSettingLines(f), (Lines{"SW800", "SL400,0,C"}));

  f = {LengthUnit::kDots, MediaType::kBlackMark, false, 1, true, 812.9f, 3.99f, 0, true};
  EXPECT_EQ(BuildLabelSettingLines(f), (Lines{"SL812,24,B", "SM3,0"}));

  f.lengthApply = false;
  f.marginApply = false;
  EXPECT_TRUE(BuildLabelSettingLines(f).empty());
}

TEST(LayoutCommands, LabelUnitChangesConvertInSinglePrecision) {
  LabelSettingFields f;
  ChangeLabelUnit(f, LengthUnit::kDots);
  EXPECT_EQ(f.width, 812.8f);
  EXPECT_EQ(f.unit, LengthUnit::kDots);
  EXPECT_EQ(BuildLabelSettingLines(f)[0], "SW812");
  ChangeLabelUnit(f, LengthUnit::kInch);
  EXPECT_FLOAT_EQ(f.width, 4.0f);
  ChangeLabelUnit(f, LengthUnit::kMm);
  const float length = f.length;
  ChangeLabelUnit(f, LengthUnit::kMm);  // the current unit again changes nothing
  EXPECT_EQ(f.length, length);
  EXPECT_FLOAT_EQ(length, 152.4f);
}

TEST(UnitConversion, SinglePrecisionFactors) {
  struct Case {
    UnitConversion conversion;
    float input;
    double expected;  // the exact float, as a double
  };
  const Case cases[] = {
      {UnitConversion::kInchToMm, 1, 25.399999618530273},
      {UnitConversion::kInchToDots, 1, 203.1999969482422},
      {UnitConversion::kMmToInch, 1, 0.03937007859349251},
      {UnitConversion::kDotsToMm, 3, 0.375},
      {UnitConversion::kMmToDots, 0.5f, 4},
      {UnitConversion::kDotsToInch, 8, 0.03937007859349251},
      {UnitConversion::kInchToMm, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(static_cast<double>(ConvertUnit(c.input, c.conversion)), c.expected)
        << kUnitConversionNames[static_cast<int>(c.conversion)];
  }
  EXPECT_EQ(ConvertUnit(1, UnitConversion::kInchToDots), 203.2f);
  EXPECT_FLOAT_EQ(ConvertUnit(812.8f, UnitConversion::kDotsToInch), 4.0f);
}

struct ShownCase {
  const char* name;
  float value;
  LengthUnit unit;
  const char* shown;
};

class ShownLengthTest : public testing::TestWithParam<ShownCase> {};

TEST_P(ShownLengthTest, TheUnroundedRealWithItsSign) {
  EXPECT_EQ(ShownLength(GetParam().value), GetParam().shown);
}

// The stored single-precision value, shown in the fewest digits that read back as it: no
// rounding to a unit's places, and never a sign cut off.
INSTANTIATE_TEST_SUITE_P(
    Cases, ShownLengthTest,
    testing::Values(ShownCase{"one_inch_in_dots", 203.2f, LengthUnit::kDots, "203.2"},
                    ShownCase{"half_a_dot", 0.5f, LengthUnit::kDots, "0.5"},
                    ShownCase{"negative_half_dot", -0.5f, LengthUnit::kDots, "-0.5"},
                    ShownCase{"negative_zero_has_no_sign", -0.0f, LengthUnit::kDots, "0"},
                    ShownCase{"zero", 0.0f, LengthUnit::kMm, "0"},
                    ShownCase{"three_dots_in_mm", 0.375f, LengthUnit::kMm, "0.375"},
                    ShownCase{"one_inch_in_mm", 25.4f, LengthUnit::kMm, "25.4"},
                    ShownCase{"small_negative_mm", -0.005f, LengthUnit::kMm, "-0.005"},
                    // Five and more places: truncating to four lost them.
                    ShownCase{"one_mm_in_inch", 0.03937008f, LengthUnit::kInch, "0.03937008"},
                    ShownCase{"one_dot_in_inch", 0.004921260f, LengthUnit::kInch, "0.00492126"},
                    ShownCase{"single_precision_noise_shown", 4.0000024f, LengthUnit::kInch, "4.0000024"},
                    ShownCase{"negative_inch", -3.93700786f, LengthUnit::kInch, "-3.937008"},
                    ShownCase{"large_dots", 203200000.0f, LengthUnit::kDots, "203200000"}),
    [](const testing::TestParamInfo<ShownCase>& info) { return std::string(info.param.name); });

TEST(UnitConversion, DotsAreTruncatedFromTheWiderProduct) {
  // 0.2 inch is 40.64 dots; 10 inches in single precision would round up to 2032 exactly,
  // but the wider product stays just below it.
  EXPECT_EQ(DotsOf(0.2f, LengthUnit::kInch), 0.20000000298023224 * 25.399999618530273 * 8);
  EXPECT_EQ(TruncatedInteger(DotsOf(10, LengthUnit::kInch)), "2031");
  EXPECT_EQ(TruncatedInteger(DotsOf(-1.5f, LengthUnit::kMm)), "-12");
}

TEST(LayoutCommands, PrintingSettingLines) {
  using Lines = std::vector<std::string>;
  PrintingSettingFields f;
  EXPECT_EQ(BuildPrintingSettingLines(f), (Lines{"SS3", "SD20", "SOT"}));
  f = {PrintSpeed::kIps2_5, true, 0, true, PrintDirection::kBottom, true};
  EXPECT_EQ(BuildPrintingSettingLines(f), (Lines{"SS0", "SD0", "SOB"}));
  f.speedApply = false;
  f.directionApply = false;
  EXPECT_EQ(BuildPrintingSettingLines(f), (Lines{"SD0"}));
}

TEST(LayoutCommands, PrinterSettingTestLabel) {
  const std::string head =
      "T100,100,3,1,1,0,0,N,N,'Printer Setting Test'\r"
      "T100,150,3,1,1,0,0,N,N,'============================='\r";
  const std::string tail =
      "T100,350,3,1,1,0,0,N,N,'============================='\r"
      "BD150,500,495,750,B,15\rBD200,550,300,700,S,30\rBD430,550,330,700,S,30\r\rP1\r";
  PrintingSettingFields f;
  f.speed = PrintSpeed::kIps6_0;
  f.density = 7;
  f.direction = PrintDirection::kBottom;
  EXPECT_EQ(BuildPrinterSettingTest(f),
            head +
                "T100,200,3,1,1,0,0,N,N,'Printing Speed     : 6.0 ips'\rSS4\r"
                "T100,250,3,1,1,0,0,N,N,'Density(0~20)      : 7'\rSD7\r"
                "T100,300,3,1,1,0,0,N,N,'Printing Direction : SOB'\rSOB\r" +
                tail);
  f.speedApply = false;
  f.directionApply = false;
  EXPECT_EQ(BuildPrinterSettingTest(f),
            head + "T100,250,3,1,1,0,0,N,N,'Density(0~20)      : 7'\rSD7\r" + tail);
}

}  // namespace
}  // namespace qm
