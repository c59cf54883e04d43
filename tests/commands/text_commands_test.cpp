// Text and character set prints: exact bytes from the dialogs' fields.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "commands/character_set_print.h"
#include "commands/text_commands.h"
#include "table_test.h"

namespace qm {
namespace {

struct BitmapLineCase {
  const char* name;
  void (*edit)(BitmapTextFields&);
  std::string line;
};

void PrintTo(const BitmapLineCase& c, std::ostream* os) { *os << c.name; }

class BitmapLines : public testing::TestWithParam<BitmapLineCase> {};

TEST_P(BitmapLines, ExactBytes) {
  BitmapTextFields f;
  GetParam().edit(f);
  test::ExpectBytes(GetParam().name, BuildBitmapTextLine(f), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    TextCommands, BitmapLines,
    testing::Values(
        BitmapLineCase{"defaults", [](BitmapTextFields&) {}, "T20,20,3,1,1,0,0,N,N,'VORMAND Label Printer'"},
        BitmapLineCase{"x_truncated", [](BitmapTextFields& f) { f.xPos = 12.9; },
                       "T12,20,3,1,1,0,0,N,N,'VORMAND Label Printer'"},
        BitmapLineCase{"rotation_270_is_position_3", [](BitmapTextFields& f) { f.rotation = 3; },
                       "T20,20,3,1,1,0,3,N,N,'VORMAND Label Printer'"},
        BitmapLineCase{"every_field",
                       [](BitmapTextFields& f) { f = {999.99, 0.5, 'f', 4, 2, 100, 1, true, true, "it's"}; },
                       "T999,0,f,4,2,100,1,R,B,'it's'"}),
    test::RowName());

TEST(TextCommands, BitmapTestPrint) {
  EXPECT_EQ(TestPrintBytes(BuildBitmapTextLine({})), "T20,20,3,1,1,0,0,N,N,'VORMAND Label Printer'\rP1\r");
}

TEST(TextCommands, BitmapPositionsAreValidated) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double x, y;
    std::optional<FieldError> error;
  };
  const FieldError xError{"X Pos", 0, 999}, yError{"Y Pos", 0, 999};
  const Case cases[] = {{0, 999, std::nullopt}, {999, 0, std::nullopt}, {999.5, 20, xError},
                        {-0.1, 20, xError},     {-1, 1000, xError},      {20, nan, yError}};
  for (const Case& c : cases) {
    BitmapTextFields f;
    f.xPos = c.x;
    f.yPos = c.y;
    EXPECT_EQ(ValidateBitmapText(f), c.error) << c.x << "," << c.y;
  }
}

TEST(TextCommands, VectorLines) {
  VectorTextFields f;
  EXPECT_EQ(BuildVectorTextLine(f), "V20,20,U,35,35,1,N,N,N,0,L,0,'VORMAND Label Printer'");
  f.fontSpace = -5;
  f.bold = true;
  f.justification = Justification::kCenter;
  f.textDirection = TextDirection::kRightToLeft;
  EXPECT_EQ(BuildVectorTextLine(f), "V20,20,U,35,35,-5,B,N,N,0,C,1,'VORMAND Label Printer'");
  f = {-3.7, 1500, 1, 100, 0, false, true, true, 2, Justification::kRight,
       TextDirection::kLeftToRight, "x"};
  EXPECT_EQ(BuildVectorTextLine(f), "V-3,1500,U,1,100,0,N,R,I,2,R,0,'x'");
}

TEST(TextCommands, HugeCoordinatesSaturateInsteadOfOverflowing) {
  EXPECT_EQ(TruncatedInteger(1e300), "9223372036854775807");
  EXPECT_EQ(TruncatedInteger(-1e300), "-9223372036854775808");
  EXPECT_EQ(TruncatedInteger(std::nan("")), "0");
  EXPECT_EQ(TruncatedInteger(-0.9), "0");
}

TEST(CharacterSetPrint, UnderAndOver80H) {
  CharacterSetFields f;
  f.ics = 3;
  f.codeTable = 22;
  f.xPos = 30.7;
  std::string run;
  for (int c = 0x20; c <= 0x7F; ++c) {
    if (c == '\'' || c == '\\') run += '\\';
    run += static_cast<char>(c);
  }
  ASSERT_EQ(run.size(), 98u);
  // The second size goes first: V Multi before H Multi.
  f.sizeOne = 2;
  std::vector<std::string> writes = BuildUnder80HPrint(f);
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0], "SW780\rCS3,22\rT30,20,3,1,2,10,0,N,N,'" + run + "'\rP1\r");
  EXPECT_EQ(writes[1], "SW830\r");

  SelectCharacterSetFont(f, FontKind::kVector);
  EXPECT_EQ(f.sizeOne, 35);
  f.sizeTwo = 40;
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
  writes = BuildOver80HPrint(f);
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0], "SW780\rCS3,22\rV30,20,U,40,35,+1,N,N,N,0,L,0,'" + high + "'\rP1\r");
  EXPECT_EQ(writes[1], "SW830\r");
  SelectCharacterSetFont(f, FontKind::kBitmap);
  EXPECT_EQ(f.sizeTwo, 1);
}

TEST(CharacterSetPrint, InternationalPrintsEverySetWithTheChosenTable) {
  CharacterSetFields f;
  f.codeTable = 10;  // PC1250
  f.xPos = 500;      // the international print has its own positions
  const std::vector<std::string> writes = BuildInternationalPrint(f);
  ASSERT_EQ(writes.size(), 17u);
  EXPECT_EQ(writes[0], "CS0,10\rT30,50,3,1,1,10,0,N,N,'#$@[\\\\]^`{|}~'\r");
  for (int n = 0; n < 16; ++n) {  // no "SW" anywhere
    const std::string y = std::to_string(50 + 70 * n);
    const std::string head = "CS" + std::to_string(n) + ",10\rT30," + y + ",";
    EXPECT_EQ(writes[n].substr(0, head.size()), head);
  }
  EXPECT_EQ(writes[15].substr(0, 19), "CS15,10\rT30,1100,3,");
  EXPECT_EQ(writes[16], "P1\r");
}

}  // namespace
}  // namespace qm
