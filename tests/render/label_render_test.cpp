// Whole labels: paper size, margins, direction, copies, blocks, stored images, PNG output
// and the warnings of commands that cannot be drawn.
#include <gtest/gtest.h>
#include <png.h>

#include <optional>
#include <random>

#include "render/draw_commands.h"
#include "render_support.h"

namespace qm::render::test {
namespace {

const Bitmap& Only(const RenderResult& r) {
  EXPECT_EQ(r.labels.size(), 1u) << WarningsText(r);
  static const Bitmap kNone;
  return r.labels.empty() ? kNone : *r.labels[0].bitmap;
}

struct BlockCase {
  std::string commands;
  Box box;        // the inked box expected
  int64_t ink;    // dots inked
};

TEST(Blocks, EachTypeInksWhatItShould) {
  const std::vector<BlockCase> cases = {
      {"BD100,100,800,120,O", {100, 100, 700, 20}, 700 * 20},
      {"BD800,120,100,100,O", {100, 100, 700, 20}, 700 * 20},  // corners either way round
      {"BD100,100,300,200,O\r\nBD200,150,400,250,E", {100, 100, 300, 150}, 2 * 200 * 100 - 2 * 100 * 50},
      {"BD100,100,300,200,O\r\nBD150,120,250,180,D", {100, 100, 200, 100}, 200 * 100 - 100 * 60},
      {"BD100,100,500,100,S,10", {100, 100, 400, 10}, 400 * 10},
      {"BD100,100,100,400,S,6", {100, 100, 6, 300}, 6 * 300},
      {"BD150,500,495,750,B,15", {150, 500, 345, 250}, 345 * 250 - (345 - 30) * (250 - 30)},
      {"BD100,100,120,120,B,15", {100, 100, 20, 20}, 20 * 20},  // border wider than half: solid
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.commands);
    const RenderResult r = Render(c.commands + "\r\nP1\r\n");
    EXPECT_TRUE(r.warnings.empty()) << WarningsText(r);
    EXPECT_EQ(Only(r).InkedBox(), c.box);
    EXPECT_EQ(Only(r).InkCount(), c.ink);
  }
}

TEST(Blocks, ADiagonalLineRunsFromStartToEnd) {
  const RenderResult r = Render("BD200,550,300,700,S,30\r\nP1\r\n");
  const Bitmap& b = Only(r);
  // The end point itself is not inked, as a box's far corner is not: the last row starts
  // at 299 - 100/150, rounded.
  EXPECT_EQ(b.InkedBox(), (Box{200, 550, 99 + 30, 150}));
  EXPECT_EQ(b.InkCount(), 150 * 30);  // a 30-dot run on each of its 150 rows
}

TEST(Paper, WidthLengthMarginsAndDirection) {
  PaperSettings stored;
  stored.width = 400;
  stored.length = 300;
  const RenderResult r = Render("BD10,20,50,40,O\r\nP1\r\nSW600\r\nSL500,24,G\r\nSM30,40\r\nBD10,20,50,40,O\r\nP1\r\n"
                                "SOB\r\nBD10,20,50,40,O\r\nP1\r\n", stored);
  ASSERT_EQ(r.labels.size(), 3u);
  EXPECT_TRUE(r.warnings.empty()) << WarningsText(r);
  const Bitmap& first = *r.labels[0].bitmap;
  EXPECT_EQ(first.width(), 400);
  EXPECT_EQ(first.height(), 300);
  EXPECT_EQ(first.InkedBox(), (Box{10, 20, 40, 20}));
  const Bitmap& second = *r.labels[1].bitmap;
  EXPECT_EQ(second.width(), 600);
  EXPECT_EQ(second.height(), 500);
  EXPECT_EQ(second.InkedBox(), (Box{40, 60, 40, 20}));
  // Bottom first: the label comes out turned half way round.
  EXPECT_EQ(r.labels[2].bitmap->InkedBox(), (Box{600 - 80, 500 - 80, 40, 20}));
}

TEST(Copies, EachPrintMakesItsLabelsOnAFreshCanvas) {
  const RenderResult r = Render("BD0,0,10,10,O\r\nP3\r\nBD20,0,30,10,O\r\nP2,2\r\nP0\r\nBD40,0,50,10,O\r\n");
  ASSERT_EQ(r.labels.size(), 3u + 4u + 1u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(r.labels[i].bitmap->InkedBox(), (Box{0, 0, 10, 10}));
  for (int i = 3; i < 7; ++i) EXPECT_EQ(r.labels[i].bitmap->InkedBox(), (Box{20, 0, 10, 10}));
  EXPECT_TRUE(r.labels[6].printed);
  // What follows the last print is drawn for a preview, marked unprinted.
  EXPECT_FALSE(r.labels[7].printed);
  EXPECT_EQ(r.labels[7].line, 6);
  EXPECT_EQ(r.labels[7].bitmap->InkedBox(), (Box{40, 0, 10, 10}));
  EXPECT_EQ(LabelRenderer().RenderScript("BD0,0,10,10,O\r\n", {}, {}, false).labels.size(), 0u);
}

TEST(Copies, AHugeCountIsCutShortWithAWarning) {
  const RenderResult r = Render("P100,100\r\n");
  EXPECT_EQ(static_cast<int>(r.labels.size()), LabelRenderer::kMaxLabels);
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_EQ(r.warnings[0].line, 1);
}

struct WarningCase {
  std::string script;
  int line;       // of the one warning expected
  std::string says;
};

TEST(Warnings, WhatCannotBeDrawnIsNamedByItsLine) {
  const std::vector<WarningCase> cases = {
      {"XYZ1,2\r\nP1\r\n", 1, "unknown command"},
      {"SOT\r\nT10,10,3,1,1,0,0,N,N\r\nP1\r\n", 2, "lacks its quoted data"},
      {"T10,10,3,1,1,0,0,N,N,'open\r\nP1\r\n", 1, "no closing quote"},
      {"T10,10,Z,1,1,0,0,N,N,'x'\r\nP1\r\n", 1, "no font"},
      {"T10,10,3,9,1,0,0,N,N,'x'\r\n", 1, "field 4"},
      {"\n\nBD900,10,950,20,O\nP1\n", 3, "outside the label"},
      {"\r\rBD800,10,850,20,O\rP1\r", 3, "cut off"},
      {"BD10,10,20,20,S\r\nP1\r\n", 1, "thickness"},
      {"B2100,100,X,1,'x'\r\nP1\r\n", 1, "2D barcode type"},
      {"SW-5\r\nP1\r\n", 1, "malformed"},
      {"IR10,10,'NONE'\r\nP1\r\n", 1, "never stored"},
      {"P1,x\r\n", 1, "print command"},
  };
  for (const WarningCase& c : cases) {
    SCOPED_TRACE(c.script);
    const RenderResult r = Render(c.script);
    ASSERT_EQ(r.warnings.size(), 1u) << WarningsText(r);
    EXPECT_EQ(r.warnings[0].line, c.line);
    EXPECT_NE(r.warnings[0].text.find(c.says), std::string::npos) << r.warnings[0].text;
  }
}

TEST(Warnings, ComeInLineOrder) {
  // The font is found wanting only when the label is printed, after the unknown line.
  const RenderResult r = Render("T10,10,Z,1,1,0,0,N,N,'x'\r\nQQ\r\nP1\r\n");
  ASSERT_EQ(r.warnings.size(), 2u);
  EXPECT_EQ(r.warnings[0].line, 1);
  EXPECT_EQ(r.warnings[1].line, 2);
}

TEST(Warnings, CommandsWithNothingToDrawPassQuietly) {
  const RenderResult r = Render("SS3\r\nSD20\r\n^PI5,0\r\n>RFKL\r\nII\r\nP1\r\n");
  EXPECT_TRUE(r.warnings.empty()) << WarningsText(r);
  EXPECT_EQ(r.labels.size(), 1u);
}

TEST(Images, StoredPcxIsRecalledDarkDotsInked) {
  // A 20 by 10 image with a 6 by 4 dark patch at (3, 2).
  for (int bits : {1, 8}) {
    SCOPED_TRACE(bits);
    std::vector<uint8_t> px(20 * 10, bits == 1 ? 1 : 0);
    for (int y = 2; y < 6; ++y) {
      for (int x = 3; x < 9; ++x) px[y * 20 + x] = bits == 1 ? 0 : 1;
    }
    const std::string pcx = Pcx(20, 10, bits, px);
    const std::string script = "IS" + std::to_string(pcx.size()) + ",'LOGO'" + pcx + "\r\rIR100,200,'LOGO'\rP1\r";
    const RenderResult r = Render(script);
    EXPECT_TRUE(r.warnings.empty()) << WarningsText(r);
    EXPECT_EQ(Only(r).InkedBox(), (Box{103, 202, 6, 4}));
    EXPECT_EQ(Only(r).InkCount(), 24);
  }
  const RenderResult bad = Render("IS4,'X'abcd\rIR1,1,'X'\rP1\r");
  ASSERT_EQ(bad.warnings.size(), 1u);
  EXPECT_EQ(bad.warnings[0].line, 2);
}

struct ColumnCase {
  std::string name;
  int width;
  int bits;
};

void PrintTo(const ColumnCase& c, std::ostream* os) { *os << c.name; }

class PcxLastColumn : public testing::TestWithParam<ColumnCase> {};

// An image dark in its last column only: that column is printed, at the image's own width,
// whether or not the rows end on a whole byte.
TEST_P(PcxLastColumn, IsDrawn) {
  const ColumnCase& c = GetParam();
  const int height = 6;
  const uint8_t paper = c.bits == 1 ? 1 : 0, ink = c.bits == 1 ? 0 : 1;
  std::vector<uint8_t> px(static_cast<size_t>(c.width * height), paper);
  for (int y = 0; y < height; ++y) px[static_cast<size_t>(y * c.width + c.width - 1)] = ink;
  const std::string pcx = Pcx(c.width, height, c.bits, px);
  std::string error;
  const std::optional<Bitmap> decoded = DecodePcx(pcx, error);
  ASSERT_TRUE(decoded) << error;
  EXPECT_EQ(decoded->width(), c.width);
  EXPECT_EQ(decoded->InkedBox(), (Box{c.width - 1, 0, 1, height}));
  const std::string script = "IS" + std::to_string(pcx.size()) + ",'EDGE'" + pcx + "\r\rIR100,200,'EDGE'\rP1\r";
  const RenderResult r = Render(script);
  EXPECT_TRUE(r.warnings.empty()) << WarningsText(r);
  EXPECT_EQ(Only(r).InkedBox(), (Box{100 + c.width - 1, 200, 1, height}));
  EXPECT_EQ(Only(r).InkCount(), height);
}

INSTANTIATE_TEST_SUITE_P(Images, PcxLastColumn,
                         testing::Values(ColumnCase{"OneBitWholeBytes", 16, 1}, ColumnCase{"OneBitPartByte", 13, 1},
                                         ColumnCase{"OneBitOneByte", 8, 1}, ColumnCase{"OneBitNineWide", 9, 1},
                                         ColumnCase{"EightBitWholeBytes", 16, 8}, ColumnCase{"EightBitOdd", 13, 8}),
                         [](const testing::TestParamInfo<ColumnCase>& info) { return info.param.name; });

TEST(Png, EncodesEveryDotAndTheResolution) {
  Bitmap b(13, 5);
  b.Fill({2, 1, 9, 2});
  b.Set(12, 4, true);
  const std::string png = EncodePng(b);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
  image.format = PNG_FORMAT_GRAY;
  std::vector<uint8_t> px(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, px.data(), 0, nullptr));
  ASSERT_EQ(image.width, 13u);
  ASSERT_EQ(image.height, 5u);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 13; ++x) EXPECT_EQ(px[y * 13 + x], b.Ink(x, y) ? 0 : 255) << x << "," << y;
  }
  EXPECT_NE(png.find("pHYs\x00\x00\x1F\x40\x00\x00\x1F\x40\x01", 0, 13), std::string::npos);
}

TEST(AnyBytes, NothingCrashesAndEveryWarningHasALine) {
  const std::vector<std::string> pieces = {
      "T", "V", "B1", "B2", "BD", "IR", "IS", "SW", "SL", "SM", "CS", "P", "SOB", ",", "'", "\\",
      "\r", "\n", "-", "0", "9", "99999999999", "M", "P", "Q", "O", "S", "B", "\xFF", "\x80"};
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::string script;
    const int n = static_cast<int>(rng() % 40);
    for (int i = 0; i < n; ++i) script += pieces[rng() % pieces.size()];
    const RenderResult r = Render(script, {200, 200});
    const int lines = 2 + static_cast<int>(std::count(script.begin(), script.end(), '\n') +
                                           std::count(script.begin(), script.end(), '\r'));
    for (const Warning& w : r.warnings) {
      EXPECT_GE(w.line, 1);
      EXPECT_LE(w.line, lines);
    }
  }
}

}  // namespace
}  // namespace qm::render::test
