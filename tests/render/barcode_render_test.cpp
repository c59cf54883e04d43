// Every barcode command drawn, then read back by an independent decoder: the data must
// come back whole at each rotation, and the symbol must sit where the command put it.
#include <gtest/gtest.h>

#include "render_support.h"

namespace qm::render::test {
namespace {

using ZXing::BarcodeFormat;

struct LinearCase {
  int type;
  BarcodeFormat format;
  std::string data;
  std::string decoded;  // what a reader gives back: check digits added, framing taken off
};

// Data with their check digits where the symbology has one, so the reader's text is known.
const std::vector<LinearCase> kLinear = {
    {0, BarcodeFormat::Code39, "QUILL-39", "QUILL-39"},
    {1, BarcodeFormat::Code128, "Quillmark 128", "Quillmark 128"},
    {2, BarcodeFormat::ITF, "12345678", "12345678"},
    {3, BarcodeFormat::Codabar, "A40156B", "40156"},
    {4, BarcodeFormat::Code93, "CODE 93", "CODE 93"},
    {5, BarcodeFormat::UPCA, "03600029145", "036000291452"},
    {6, BarcodeFormat::UPCE, "0425261", "04252614"},
    {7, BarcodeFormat::EAN13, "400638133393", "4006381333931"},
    {8, BarcodeFormat::EAN8, "9638507", "96385074"},
    {9, BarcodeFormat::Code128, "(01)09501101530003", "0109501101530003"},
};

TEST(LinearBarcode, EachTypeAtEachRotationDecodesToItsData) {
  for (const LinearCase& c : kLinear) {
    for (int rot = 0; rot < 4; ++rot) {
      SCOPED_TRACE("type " + std::to_string(c.type) + " rotation " + std::to_string(rot));
      // Anchored in the middle, so every turn stays on the label.
      const std::string script = "B1700,700," + std::to_string(c.type) + ",3,7,120," + std::to_string(rot) +
                                 ",1,10,'" + c.data + "'\r\nP1\r\n";
      const RenderResult r = Render(script, {1400, 1400});
      ASSERT_EQ(r.labels.size(), 1u);
      EXPECT_TRUE(r.warnings.empty()) << WarningsText(r);
      const std::vector<std::string> got = Decode(*r.labels[0].bitmap, c.format);
      ASSERT_EQ(got.size(), 1u);
      EXPECT_EQ(got[0], c.decoded);
      // The anchor is the symbol's first corner, turned with it.
      const Box box = r.labels[0].bitmap->InkedBox();
      const bool left = rot == 0 || rot == 3, top = rot == 0 || rot == 1;
      EXPECT_EQ(left ? box.left : box.right() - 1, 700 + (rot == 0 ? 30 : rot == 2 ? -30 : 0));
      EXPECT_EQ(top ? box.top : box.bottom() - 1, 700 + (rot == 1 ? 30 : rot == 3 ? -30 : 0));
    }
  }
}

TEST(LinearBarcode, BarsAreTheCommandsWidthsAndHeight) {
  // Code39 has two bar widths: every run of ink on a scan line is narrow or wide.
  const RenderResult r = Render("B1100,100,0,3,8,90,0,0,'AB'\r\nP1\r\n");
  const Bitmap& b = *r.labels[0].bitmap;
  const Box box = b.InkedBox();
  EXPECT_EQ(box.height, 90);
  std::vector<int> widths;
  for (int x = box.left, run = 0; x <= box.right(); ++x) {
    if (b.Ink(x, box.top + 45)) {
      ++run;
    } else if (run) {
      widths.push_back(run);
      run = 0;
    }
  }
  ASSERT_EQ(widths.size(), 5u * 4);  // "*AB*": five bars a character
  for (int w : widths) EXPECT_TRUE(w == 3 || w == 8) << w;
  // The readable line sits under the bars only when asked for.
  const Bitmap withText = *Render("B1100,100,0,3,8,90,0,1,'AB'\r\nP1\r\n").labels[0].bitmap;
  EXPECT_GT(withText.InkedBox().height, 90 + 10);
}

TEST(LinearBarcode, QuietZoneClearsWhatLiesUnderIt) {
  const std::string block = "BD0,0,800,400,O\r\n";
  const Bitmap with = *Render(block + "B1200,100,1,2,2,100,0,0,10,'Q'\r\nP1\r\n").labels[0].bitmap;
  const Bitmap without = *Render(block + "B1200,100,1,2,2,100,0,0,'Q'\r\nP1\r\n").labels[0].bitmap;
  // Ten narrow bars of 2 dots each side: 20 dots cleared before the first bar.
  EXPECT_EQ(with.InkCount({200, 100, 20, 100}), 0);
  EXPECT_EQ(without.InkCount({200, 100, 20, 100}), 20 * 100);
}

struct QuietCase {
  std::string name;
  int type, narrow, wide, quiet;
  std::string data;
};

void PrintTo(const QuietCase& c, std::ostream* os) { *os << c.name; }

class QuietZone : public testing::TestWithParam<QuietCase> {};

// The quiet zone is as wide after the last bar as before the first: `quiet` narrow widths
// cleared on each side, and the block under it showing again just past either edge.
TEST_P(QuietZone, IsClearedOnTheRightAsOnTheLeft) {
  const QuietCase& c = GetParam();
  const std::string fields = std::to_string(c.type) + "," + std::to_string(c.narrow) + "," + std::to_string(c.wide) + ",80,0,0,";
  const Bitmap bare = *Render("B1200,100," + fields + "'" + c.data + "'\r\nP1\r\n").labels[0].bitmap;
  const RenderResult r = Render("BD0,0,1000,300,O\r\nB1200,100," + fields + std::to_string(c.quiet) + ",'" + c.data + "'\r\nP1\r\n",
                                {1000, 300});
  ASSERT_TRUE(r.warnings.empty()) << WarningsText(r);
  const Bitmap& on = *r.labels[0].bitmap;
  const Box bars = bare.InkedBox();
  ASSERT_EQ(bars, (Box{200, 100, bars.width, 80}));
  const int zone = c.quiet * c.narrow;
  const int right = 200 + zone + bars.width;  // the first column after the last bar
  EXPECT_EQ(on.InkCount({200, 100, zone, 80}), 0) << "left";
  EXPECT_EQ(on.InkCount({right, 100, zone, 80}), 0) << "right";
  EXPECT_EQ(on.InkCount({199, 100, 1, 80}), 80) << "the block just before the zone";
  EXPECT_EQ(on.InkCount({right + zone, 100, 1, 80}), 80) << "the block just past the zone";
  // The bars themselves sit between the two zones, unchanged.
  EXPECT_EQ(on.InkCount({200 + zone, 100, bars.width, 80}), bare.InkCount(bars));
  EXPECT_TRUE(on.Ink(200 + zone, 140));
  EXPECT_TRUE(on.Ink(right - 1, 140));
}

INSTANTIATE_TEST_SUITE_P(
    LinearBarcode, QuietZone,
    testing::Values(QuietCase{"Code128", 1, 2, 2, 10, "Q"}, QuietCase{"Code39TwoWidths", 0, 3, 7, 5, "AB"},
                    QuietCase{"Ean13", 7, 2, 2, 9, "400638133393"}, QuietCase{"OneNarrowWidth", 1, 4, 4, 1, "Z9"}),
    [](const testing::TestParamInfo<QuietCase>& info) { return info.param.name; });

TEST(LinearBarcode, DataTheSymbologyRefusesIsAWarningWithItsLine) {
  const RenderResult r = Render("T10,10,3,1,1,0,0,N,N,'x'\r\nB1100,100,7,2,7,100,0,1,'ABC'\r\nP1\r\n");
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_EQ(r.warnings[0].line, 2);
}

struct MatrixCase {
  std::string command;  // without its position
  BarcodeFormat format;
  std::string decoded;
  bool warns;
};

TEST(MatrixBarcode, QrAndPdf417AtEachRotationDecode) {
  const std::vector<MatrixCase> cases = {
      {"Q,2,M,4,", BarcodeFormat::QRCode, "ABCDEFGHIJKLMN1234567890", false},
      {"Q,2,H,2,", BarcodeFormat::QRCode, "ABCDEFGHIJKLMN1234567890", false},
      {"Q,1,L,4,", BarcodeFormat::QRCode, "ABCDEFGHIJKLMN1234567890", true},  // model 1: drawn as 2
      {"P,30,5,2,0,0,1,3,10,", BarcodeFormat::PDF417, "VORMAND Label Printer, This is Test Printing.", false},
      {"P,90,3,5,0,0,1,2,6,", BarcodeFormat::PDF417, "VORMAND Label Printer, This is Test Printing.", false},
  };
  for (const MatrixCase& c : cases) {
    for (int rot = 0; rot < 4; ++rot) {
      SCOPED_TRACE(c.command + std::to_string(rot));
      const RenderResult r = Render("B2500,500," + c.command + std::to_string(rot) + ",'" + c.decoded + "'\r\nP1\r\n", {1000, 1000});
      ASSERT_EQ(r.labels.size(), 1u);
      EXPECT_EQ(r.warnings.size(), c.warns ? 1u : 0u) << WarningsText(r);
      const std::vector<std::string> got = Decode(*r.labels[0].bitmap, c.format);
      ASSERT_EQ(got.size(), 1u);
      EXPECT_EQ(got[0], c.decoded);
    }
  }
}

TEST(MatrixBarcode, QrModulesAreTwiceTheSizeInDots) {
  // Version 1 is 21 modules across.
  for (int size = 1; size <= 4; ++size) {
    const RenderResult r = Render("B2100,100,Q,2,L," + std::to_string(size) + ",0,'1'\r\nP1\r\n");
    EXPECT_EQ(r.labels[0].bitmap->InkedBox(), (Box{100, 100, 21 * 2 * size, 21 * 2 * size}));
  }
}

TEST(MatrixBarcode, Pdf417CentreOriginPutsTheMiddleOnThePoint) {
  const Bitmap b = *Render("B2400,600,P,30,5,0,0,0,1,3,10,0,'centre'\r\nP1\r\n").labels[0].bitmap;
  const Box box = b.InkedBox();
  EXPECT_NEAR(box.left + box.width / 2, 400, 2);
  EXPECT_NEAR(box.top + box.height / 2, 600, 6);
}

TEST(MatrixBarcode, MaxiCodeModesDecode) {
  const std::string message = "THIS IS A TEST OF THE MAXICODE MESSAGE";
  const std::vector<std::pair<int, std::string>> cases = {
      {2, "999,840,06810,7317," + message},
      {3, "999,826,B1050,0," + message},
      {4, message},
  };
  for (const auto& [mode, data] : cases) {
    SCOPED_TRACE(mode);
    const RenderResult r = Render("B210,10,M," + std::to_string(mode) + ",'" + data + "'\r\nP1\r\n", {300, 300});
    EXPECT_TRUE(r.warnings.empty()) << WarningsText(r);
    const std::vector<std::string> got = Decode(*r.labels[0].bitmap, BarcodeFormat::MaxiCode, true);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NE(got[0].find(message), std::string::npos) << got[0];
    // About 1.11 inches across at 8 dots a millimetre, within the library's raster steps.
    EXPECT_NEAR(r.labels[0].bitmap->InkedBox().width, 225, 18);
  }
}

TEST(MatrixBarcode, MaxiCodeMode0IsDrawnAsMode2WithAWarning) {
  const RenderResult r = Render("B210,10,M,0,'999,840,06810,7317,MODE ZERO'\r\nP1\r\n", {300, 300});
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_NE(r.warnings[0].text.find("mode 0"), std::string::npos);
  EXPECT_EQ(Decode(*r.labels[0].bitmap, BarcodeFormat::MaxiCode, true).size(), 1u);
}

}  // namespace
}  // namespace qm::render::test
