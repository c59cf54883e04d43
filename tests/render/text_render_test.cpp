// Text: cells of the bitmap fonts, rotation, reverse, the code tables and national
// characters, the two-byte fonts, and the vector font's justification and direction.
#include <gtest/gtest.h>

#include "render/draw_commands.h"
#include "render/text_codec.h"
#include "render_support.h"

namespace qm::render::test {
namespace {

Bitmap One(const std::string& command, PaperSettings paper = {}) {
  const RenderResult r = Render(command + "\r\nP1\r\n", paper);
  EXPECT_TRUE(r.warnings.empty()) << WarningsText(r);
  return r.labels.empty() ? Bitmap() : *r.labels[0].bitmap;
}

struct CellCase {
  char font;
  int width, height;  // the printer's cell of one character at multiplier 1
};

TEST(BitmapText, ReverseInksExactlyTheCellsTimesTheMultipliers) {
  const std::vector<CellCase> cells = {{'0', 8, 13},  {'1', 10, 18}, {'2', 14, 22}, {'3', 17, 26},
                                       {'4', 20, 35}, {'5', 28, 44}, {'6', 40, 70}};
  for (const CellCase& c : cells) {
    for (auto [h, v] : {std::pair{1, 1}, {2, 3}, {4, 2}}) {
      SCOPED_TRACE(std::string(1, c.font) + " " + std::to_string(h) + "x" + std::to_string(v));
      // Reverse inks the whole box, so its bounds are the cells themselves.
      const Bitmap b = One("T30,40," + std::string(1, c.font) + "," + std::to_string(h) + "," +
                           std::to_string(v) + ",0,0,R,N,'AbC'");
      EXPECT_EQ(b.InkedBox(), (Box{30, 40, 3 * c.width * h, c.height * v}));
    }
  }
}

TEST(BitmapText, Font3At2x3FillsItsCells) {
  const Bitmap b = One("T30,40,3,2,3,0,0,N,N,'HELLO'");
  const Box box = b.InkedBox();
  // Ink stays inside the five cells of 34 by 78 dots and spans most of them.
  EXPECT_GE(box.left, 30);
  EXPECT_GE(box.top, 40);
  EXPECT_LE(box.right(), 30 + 5 * 34);
  EXPECT_LE(box.bottom(), 40 + 78);
  EXPECT_GT(box.width, 4 * 34);
  EXPECT_GT(box.height, 78 / 2);
  // Reverse leaves the letters unprinted: cells minus the normal ink.
  const Bitmap r = One("T30,40,3,2,3,0,0,R,N,'HELLO'");
  EXPECT_EQ(r.InkCount(), 5 * 34 * 78 - b.InkCount());
}

TEST(BitmapText, RotationSwapsTheBoxAboutItsAnchor) {
  const int w = 4 * 17 * 2, h = 26;  // 'ABCD' at 2 x 1
  const std::vector<std::pair<int, Box>> turns = {
      {0, {300, 400, w, h}},
      {1, {300 - h + 1, 400, h, w}},
      {2, {300 - w + 1, 400 - h + 1, w, h}},
      {3, {300, 400 - w + 1, h, w}},
  };
  for (const auto& [rot, box] : turns) {
    SCOPED_TRACE(rot);
    EXPECT_EQ(One("T300,400,3,2,1,0," + std::to_string(rot) + ",R,N,'ABCD'").InkedBox(), box);
  }
}

TEST(BitmapText, SpaceAndBoldWidenTheLine) {
  const Bitmap plain = One("T10,10,3,1,1,0,0,N,N,'IIII'");
  EXPECT_EQ(One("T10,10,3,1,1,5,0,R,N,'IIII'").InkedBox().width, 4 * 17 + 3 * 5);
  EXPECT_GT(One("T10,10,3,1,1,0,0,N,B,'IIII'").InkCount(), plain.InkCount() * 5 / 4);
}

struct CodeCase {
  int table, ics;
  std::string bytes;
  std::u32string chars;
};

TEST(CodeTables, BytesMapThroughTheTableAndTheNationalSet) {
  const std::vector<CodeCase> cases = {
      {0, 0, "\x82\x9B", U"\u00E9\u00A2"},        // PC437
      {1, 0, "\x9B", U"\u00F8"},                  // PC850
      {6, 0, "\x80", U"\u20AC"},                  // PC1252
      {16, 0, "\xC0", U"\u0410"},                 // PC1251
      {22, 0, "\xD5", U"\u20AC"},                 // CP858
      {7, 0, "\x80", std::u32string(1, kReplacement)},   // PC865+PC1252: no such iconv table
      {18, 0, "\xC1", std::u32string(1, kReplacement)},  // PC928
      {0, 2, "@[\\]{|}~", U"\u00A7\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF"},  // Germany
      {0, 3, "#$", U"\u00A3$"},                   // U.K
      {0, 10, "\\", U"\u00A5"},                   // Japan
      {0, 13, "\\", U"\u20A9"},                   // Korea
      {0, 14, "@[\\]^`{|}~", U"\u017D\u0160\u0110\u0106\u010C\u017E\u0161\u0111\u0107\u010D"},
      {99, 99, "#\x82", U"#\u00E9"},              // out of range: the defaults
  };
  for (const CodeCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.table) + "/" + std::to_string(c.ics));
    EXPECT_EQ(DecodeSingleByte(c.bytes, c.table, c.ics), c.chars);
  }
}

TEST(CodeTables, CsChangesWhatTheSameBytesDraw) {
  const std::string text = "T10,10,4,1,1,0,0,N,N,'\x9B\x9B'";
  const Bitmap pc437 = One("CS0,0\r\n" + text);
  const Bitmap pc850 = One("CS0,1\r\n" + text);
  EXPECT_GT(pc437.InkCount(), 0);
  EXPECT_NE(pc437, pc850);
  // A table iconv lacks draws the replacement character, which shows.
  const Bitmap missing = One("CS0,7\r\n" + text);
  EXPECT_GT(missing.InkCount(), 0);
  EXPECT_NE(missing, pc437);
}

TEST(TextData, BackslashEscapesTheQuoteAndItself) {
  EXPECT_EQ(Unescape("a\\'b\\\\c\\d"), "a'b\\c\\d");
  EXPECT_EQ(One("T10,10,3,1,1,0,0,N,N,'\\''"), One("T10,10,3,1,1,0,0,N,N,'''"));
}

struct TwoByteCase {
  std::string font;
  std::string codes;  // the first codes of the code page test's first block
};

TEST(TwoByteText, EachCodePageDrawsItsGlyphs) {
  const std::vector<TwoByteCase> cases = {
      {"d", "\xB0\xA1\xB0\xA2\xB0\xA3"},  // KS5601: Hangul
      {"m", "\xB0\xA1\xB0\xA2\xB0\xA3"},  // GB2312: Hanzi
      {"n", "\xA4\x40\xA4\x41\xA4\x42"},  // BIG5
      {"j", "\x88\x9F\x88\xA0\x88\xA1"},  // Shift JIS kanji
  };
  for (const TwoByteCase& c : cases) {
    SCOPED_TRACE(c.font);
    const FontCell cell = *BitmapFontCell(c.font);
    const Bitmap b = One("T10,10," + c.font + ",1,1,0,0,N,N,'" + c.codes + "'");
    const Bitmap none = One("T10,10," + c.font + ",1,1,0,0,N,N,'\xFF\xFF\xFF\xFF\xFF\xFF'");
    for (int i = 0; i < 3; ++i) {
      const Box glyph{10 + i * cell.width, 10, cell.width, cell.height};
      EXPECT_GT(b.InkCount(glyph), cell.width);
      // Not the hollow box of a code the table lacks.
      EXPECT_NE(b.InkCount(glyph), none.InkCount(glyph));
    }
  }
}

TEST(VectorText, JustificationIsAboutX) {
  const std::string tail = ",0,'Label'";
  const Box left = One("V400,100,U,40,40,0,N,N,N,0,L" + tail).InkedBox();
  const Box centre = One("V400,100,U,40,40,0,N,N,N,0,C" + tail).InkedBox();
  const Box right = One("V400,100,U,40,40,0,N,N,N,0,R" + tail).InkedBox();
  EXPECT_NEAR(left.left, 400, 4);
  EXPECT_NEAR(centre.left + centre.width / 2, 400, 4);
  EXPECT_NEAR(right.right(), 400, 4);
  EXPECT_EQ(left.width, right.width);
}

TEST(VectorText, SizeStyleAndDirection) {
  const Bitmap plain = One("V100,100,U,40,60,0,N,N,N,0,L,0,'HH'");
  const Box box = plain.InkedBox();
  // A capital is about three quarters of the height.
  EXPECT_NEAR(box.height, 44, 4);
  EXPECT_GT(One("V100,100,U,40,60,0,B,N,N,0,L,0,'HH'").InkCount(), plain.InkCount() * 6 / 5);
  EXPECT_GT(One("V100,100,U,40,60,20,N,N,N,0,L,0,'HH'").InkedBox().width, box.width + 15);
  EXPECT_GT(One("V100,100,U,40,60,0,N,N,I,0,L,0,'HH'").InkedBox().width, box.width + 5);
  EXPECT_EQ(One("V100,100,U,40,60,0,N,N,N,0,L,1,'AB'"), One("V100,100,U,40,60,0,N,N,N,0,L,0,'BA'"));
  EXPECT_EQ(One("V100,300,U,40,60,0,N,N,N,1,L,0,'HH'").InkedBox().height, box.width);
}

}  // namespace
}  // namespace qm::render::test
