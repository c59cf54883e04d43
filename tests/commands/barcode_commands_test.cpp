// Barcode lines, and the 2D builder's symbology switches that reload defaults.
#include <gtest/gtest.h>

#include "commands/barcode_commands.h"
#include "table_test.h"

namespace qm {
namespace {

struct Barcode1DCase {
  const char* name;
  void (*edit)(Barcode1DFields&);
  std::string line;
};

void PrintTo(const Barcode1DCase& c, std::ostream* os) { *os << c.name; }

class Barcode1DLines : public testing::TestWithParam<Barcode1DCase> {};

TEST_P(Barcode1DLines, ExactBytes) {
  Barcode1DFields f;
  GetParam().edit(f);
  test::ExpectBytes(GetParam().name, BuildBarcode1DLine(f), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    BarcodeCommands, Barcode1DLines,
    testing::Values(
        Barcode1DCase{"defaults", [](Barcode1DFields&) {}, "B1100,100,0,2,7,100,0,1,'123456789'"},
        Barcode1DCase{"q_zone", [](Barcode1DFields& f) { f.quietZone = true; },
                      "B1100,100,0,2,7,100,0,1,12,'123456789'"},
        Barcode1DCase{"unchecked_q_zone_keeps_its_number_out", [](Barcode1DFields& f) { f.quietZoneWidth = 20; },
                      "B1100,100,0,2,7,100,0,1,'123456789'"},
        Barcode1DCase{"ucc_ean128_at_90",
                      [](Barcode1DFields& f) {
                        f.barcode = 9;
                        f.rotation = 1;
                      },
                      "B1100,100,9,2,7,100,1,1,'123456789'"},
        Barcode1DCase{"hri_off_truncated_positions",
                      [](Barcode1DFields& f) {
                        f.hri = false;
                        f.xPos = 0.99;
                        f.yPos = 1000;
                        f.data = "A'B";
                      },
                      "B10,1000,0,2,7,100,0,0,'A'B'"}),
    test::RowName());

TEST(BarcodeCommands, Barcode2DDefaultsOfEachType) {
  Barcode2DFields f;
  EXPECT_EQ(BuildBarcode2DLine(f),
            "B2100,100,M,0,'999,840,06810,7317,THIS IS A TEST OF MODE 0 STRUCTURED CARRIER "
            "MESSAGE ENCODING. THIS IS AN 84 CHAR MSG'");
  SelectBarcode2DType(f, Barcode2DType::kPdf417);
  EXPECT_EQ(BuildBarcode2DLine(f),
            "B2100,100,P,30,5,0,0,1,1,3,10,0,'VORMAND Label Printer, This is Test Printing.'");
  SelectBarcode2DType(f, Barcode2DType::kQrCode);
  EXPECT_EQ(BuildBarcode2DLine(f), "B2100,100,Q,1,L,4,0,'ABCDEFGHIJKLMN1234567890'");
  f.qrModel = QrModel::kModel2;
  f.qrErrorCorrection = QrErrorCorrection::kH;
  EXPECT_EQ(BuildBarcode2DLine(f), "B2100,100,Q,2,H,4,0,'ABCDEFGHIJKLMN1234567890'");
}

TEST(BarcodeCommands, MaxiCodeModesBringTheirSamples) {
  Barcode2DFields f;
  SelectMaxiCodeMode(f, MaxiCodeMode::kMode4);
  EXPECT_EQ(BuildBarcode2DLine(f),
            "B2100,100,M,4,'THIS IS A 93 CHARACTER CODE SET A MESSAGE THAT FILLS A MODE "
            "4,UNAPPENDED,MAXICODE SYMBOL...'");
  SelectMaxiCodeMode(f, MaxiCodeMode::kMode2);
  f.data = "mine";  // typed data stays until the mode changes again
  SelectBarcode2DType(f, Barcode2DType::kMaxiCode);
  EXPECT_EQ(BuildBarcode2DLine(f), "B2100,100,M,2,'mine'");
}

TEST(BarcodeCommands, SwitchingTypesReloadsOnlyThatTypesDefaults) {
  Barcode2DFields f;
  SelectMaxiCodeMode(f, MaxiCodeMode::kMode3);
  SelectBarcode2DType(f, Barcode2DType::kPdf417);
  f.maxRow = 90;
  f.maxCol = 1;
  f.pdf417Level = 8;
  f.compress = 2;
  f.hri = false;
  f.origin = 0;
  f.moduleWidth = 9;
  f.barSize = 99;
  f.rotation = 3;
  f.startX = 250.6;
  EXPECT_EQ(BuildBarcode2DLine(f),
            "B2250,100,P,90,1,8,2,0,0,9,99,3,'VORMAND Label Printer, This is Test Printing.'");

  // QR resets its own size and rotation; rows, columns and the rest stay for PDF417.
  SelectBarcode2DType(f, Barcode2DType::kQrCode);
  f.qrErrorCorrection = QrErrorCorrection::kQ;
  EXPECT_EQ(BuildBarcode2DLine(f), "B2250,100,Q,1,Q,4,0,'ABCDEFGHIJKLMN1234567890'");
  SelectBarcode2DType(f, Barcode2DType::kPdf417);
  EXPECT_EQ(BuildBarcode2DLine(f),
            "B2250,100,P,90,1,0,2,0,0,9,10,0,'VORMAND Label Printer, This is Test Printing.'");

  // Back to MaxiCode: "Mode 0" and its sample, not mode 3 chosen before.
  SelectBarcode2DType(f, Barcode2DType::kMaxiCode);
  EXPECT_EQ(f.maxiCodeMode, MaxiCodeMode::kMode0);
  EXPECT_EQ(f.data, kMaxiCodeSamples[0]);
}

}  // namespace
}  // namespace qm
