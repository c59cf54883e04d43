// What the builders send, as the printer keeps it: each command of a printed label taken
// apart into word, fields and data bytes, with the paper and print settings it printed with.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "commands/barcode_commands.h"
#include "commands/character_set_print.h"
#include "commands/command_framing.h"
#include "commands/font_finder.h"
#include "commands/layout_commands.h"
#include "commands/text_commands.h"
#include "commands/two_byte_codepage.h"
#include "printer/escape.h"
#include "printer_harness.h"

namespace qm::printer {
namespace {

using Fields = std::vector<std::string>;

struct Want {
  std::string word;
  Fields fields;
  std::string data;  // raw bytes between the quotes
};

void ExpectCommand(const LabelCommand& got, const Want& want) {
  EXPECT_EQ(got.word(), want.word) << Escape(got.raw());
  EXPECT_EQ(got.fields(), want.fields) << Escape(got.raw());
  EXPECT_EQ(Escape(got.data()), Escape(want.data)) << Escape(got.raw());
}

// Each write goes over a connection of its own, as the link sends it over Ethernet.
class Printer {
 public:
  void Write(const std::string& bytes) {
    h_.Send(bytes, kEthernet, ++channel_);
    h_.End(channel_);
  }
  void WriteAll(const std::vector<std::string>& writes) {
    for (const std::string& bytes : writes) Write(bytes);
  }
  const std::vector<PrintedLabel>& printed() const { return h_.printed; }
  const MediaSettings& media() { return h_.stored().media; }

 private:
  test::Harness h_;
  uint64_t channel_ = 0;
};

// The one label a test print leaves, holding the builder's one line.
void ExpectTestPrint(const std::string& line, const Want& want) {
  SCOPED_TRACE(Escape(line));
  Printer p;
  p.Write(TestPrintBytes(line));
  ASSERT_EQ(p.printed().size(), 1u);
  ASSERT_EQ(p.printed()[0].commands.size(), 1u);
  ExpectCommand(p.printed()[0].commands[0], want);
  EXPECT_EQ(Escape(p.printed()[0].commands[0].raw()), Escape(line));
  EXPECT_EQ(p.printed()[0].settings, FactoryState(1).media);
}

TEST(BuilderLabels, TextLinesKeepEveryField) {
  BitmapTextFields bitmap;
  BitmapTextFields styled;
  styled.xPos = 12.9;
  styled.font = 'f';
  styled.rotation = 3;
  styled.reverse = styled.bold = true;
  styled.data = "it's ^_^ >50% \xA0\xFF";  // unescaped quote, then bytes that begin queries
  VectorTextFields vector;
  VectorTextFields turned;
  turned.fontSpace = -5;
  turned.bold = turned.italic = true;
  turned.justification = Justification::kCenter;
  turned.textDirection = TextDirection::kRightToLeft;
  turned.data = "'quoted'";
  ExpectTestPrint(BuildBitmapTextLine(bitmap),
                  {"T", {"20", "20", "3", "1", "1", "0", "0", "N", "N"}, "VORMAND Label Printer"});
  ExpectTestPrint(BuildBitmapTextLine(styled),
                  {"T", {"12", "20", "f", "1", "1", "0", "3", "R", "B"}, styled.data});
  ExpectTestPrint(
      BuildVectorTextLine(vector),
      {"V", {"20", "20", "U", "35", "35", "1", "N", "N", "N", "0", "L", "0"}, "VORMAND Label Printer"});
  ExpectTestPrint(BuildVectorTextLine(turned),
                  {"V", {"20", "20", "U", "35", "35", "-5", "B", "N", "I", "0", "C", "1"}, "'quoted'"});
}

TEST(BuilderLabels, BarcodeLinesKeepEveryField) {
  Barcode1DFields zone;
  zone.quietZone = true;
  Barcode1DFields ean;
  ean.barcode = 9;
  ean.rotation = 1;
  ean.hri = false;
  ExpectTestPrint(BuildBarcode1DLine({}),
                  {"B1", {"100", "100", "0", "2", "7", "100", "0", "1"}, "123456789"});
  ExpectTestPrint(BuildBarcode1DLine(zone),
                  {"B1", {"100", "100", "0", "2", "7", "100", "0", "1", "12"}, "123456789"});
  ExpectTestPrint(BuildBarcode1DLine(ean),
                  {"B1", {"100", "100", "9", "2", "7", "100", "1", "0"}, "123456789"});

  Barcode2DFields maxi;
  ExpectTestPrint(BuildBarcode2DLine(maxi),
                  {"B2", {"100", "100", "M", "0"}, std::string(kMaxiCodeSamples[0])});
  SelectMaxiCodeMode(maxi, MaxiCodeMode::kMode4);
  ExpectTestPrint(BuildBarcode2DLine(maxi),
                  {"B2", {"100", "100", "M", "4"}, std::string(kMaxiCodeSamples[3])});
  Barcode2DFields pdf;
  SelectBarcode2DType(pdf, Barcode2DType::kPdf417);
  ExpectTestPrint(
      BuildBarcode2DLine(pdf),
      {"B2", {"100", "100", "P", "30", "5", "0", "0", "1", "1", "3", "10", "0"}, std::string(kPdf417Sample)});
  Barcode2DFields qr;
  SelectBarcode2DType(qr, Barcode2DType::kQrCode);
  qr.qrModel = QrModel::kModel2;
  qr.qrErrorCorrection = QrErrorCorrection::kH;
  ExpectTestPrint(BuildBarcode2DLine(qr),
                  {"B2", {"100", "100", "Q", "2", "H", "4", "0"}, std::string(kQrCodeSample)});
  // The data field has several lines, and what is typed in it is not escaped.
  qr.data = "Don't\r\nstop 'here ^_^\r\n<end>";
  ExpectTestPrint(BuildBarcode2DLine(qr), {"B2", {"100", "100", "Q", "2", "H", "4", "0"}, qr.data});
}

TEST(BuilderLabels, CharacterSetPrintsKeepTheirTablesAndBytes) {
  std::string under;
  for (int c = 0x20; c <= 0x7F; ++c) {
    if (c == '\'' || c == '\\') under += '\\';
    under += static_cast<char>(c);
  }
  std::string over;
  for (int c = 0x80; c <= 0xFF; ++c) over += static_cast<char>(c);
  CharacterSetFields bitmap;
  bitmap.ics = 3;
  bitmap.codeTable = 6;
  CharacterSetFields vector = bitmap;
  SelectCharacterSetFont(vector, FontKind::kVector);
  vector.sizeOne = 40;
  struct Case {
    const char* name;
    std::vector<std::string> writes;
    Want text;
  };
  const std::vector<Case> cases = {
      {"under 80H",
       BuildUnder80HPrint(bitmap),
       {"T", {"20", "20", "3", "1", "1", "10", "0", "N", "N"}, under}},
      {"over 80H", BuildOver80HPrint(bitmap), {"T", {"20", "20", "3", "1", "1", "10", "0", "N", "N"}, over}},
      {"over 80H, vector",
       BuildOver80HPrint(vector),
       {"V", {"20", "20", "U", "35", "40", "+1", "N", "N", "N", "0", "L", "0"}, over}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Printer p;
    p.WriteAll(c.writes);
    ASSERT_EQ(p.printed().size(), 1u);
    const PrintedLabel& label = p.printed()[0];
    ASSERT_EQ(label.commands.size(), 3u);
    ExpectCommand(label.commands[0], {"SW", {"780"}, ""});
    ExpectCommand(label.commands[1], {"CS", {"3", "6"}, ""});
    ExpectCommand(label.commands[2], c.text);
    EXPECT_EQ(label.settings.paperWidth, 780) << "printed narrowed";
    EXPECT_EQ(label.settings.ics, 3);
    EXPECT_EQ(label.settings.codePage, 6);
    EXPECT_EQ(p.media().paperWidth, 830) << "and widened after";
  }

  // One label, each set's line after its own "CS", so each line keeps its character set.
  CharacterSetFields international;
  international.codeTable = 10;
  Printer p;
  p.WriteAll(BuildInternationalPrint(international));
  ASSERT_EQ(p.printed().size(), 1u);
  const PrintedLabel& label = p.printed()[0];
  ASSERT_EQ(label.commands.size(), 32u);
  for (int n = 0; n < 16; ++n) {
    SCOPED_TRACE(n);
    const auto i = static_cast<size_t>(2 * n);
    ExpectCommand(label.commands[i], {"CS", {std::to_string(n), "10"}, ""});
    ExpectCommand(
        label.commands[i + 1],
        {"T", {"30", std::to_string(50 + 70 * n), "3", "1", "1", "10", "0", "N", "N"}, "#$@[\\\\]^`{|}~"});
    EXPECT_EQ(label.SettingsFor(i + 1).ics, n);
    EXPECT_EQ(label.SettingsFor(i + 1).codePage, 10);
  }
  const std::string record = FormatLabelRecord(label);
  EXPECT_NE(record.find("  T30,50,3,1,1,10,0,N,N,'#$@[\\\\\\\\]^`{|}~'  (code page 10, character set 0)\n"),
            std::string::npos)
      << record;
  EXPECT_NE(record.find("  T30,1100,3,1,1,10,0,N,N,'#$@[\\\\\\\\]^`{|}~'\n"), std::string::npos)
      << "the last line has the label's own tables";
  EXPECT_EQ(label.settings.ics, 15);
  EXPECT_EQ(label.settings.codePage, 10);
  EXPECT_EQ(label.settings.paperWidth, FactoryState(1).media.paperWidth) << "no width is sent";
}

TEST(BuilderLabels, LabelAndPrintSettingLinesShapeTheLabel) {
  LabelSettingFields mm;
  ChangeLabelUnit(mm, LengthUnit::kMm);
  mm.width = 100;
  mm.length = 50;
  mm.media = qm::MediaType::kContinuous;
  mm.marginApply = false;
  LabelSettingFields mark;
  ChangeLabelUnit(mark, LengthUnit::kDots);
  mark.width = 600;
  mark.length = 800.9f;
  mark.xMargin = 8;
  mark.yMargin = 16;
  mark.media = qm::MediaType::kBlackMark;
  PrintingSettingFields slow;
  slow.speed = PrintSpeed::kIps2_5;
  slow.density = 0;
  slow.direction = PrintDirection::kBottom;
  BlockDrawFields box;
  SelectBlockType(box, BlockType::kS);
  BlockDrawFields diagonal;
  SelectBlockType(diagonal, BlockType::kD);
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::vector<Want> want;
    std::function<void(MediaSettings&)> settings;  // what the lines change
  };
  const auto with = [](std::vector<std::string> lines, std::string line) {
    lines.push_back(std::move(line));
    return lines;
  };
  const std::vector<Case> cases = {
      {"label defaults and a line",
       with(BuildLabelSettingLines({}), BuildBlockDrawLine({})),
       {{"SW", {"812"}, ""},
        {"SL", {"1219", "24", "G"}, ""},
        {"SM", {"40", "40"}, ""},
        {"BD", {"100", "100", "800", "120", "O"}, ""}},
       [](MediaSettings& m) { m.horizontalMargin = m.verticalMargin = 40; }},
      {"millimetres, continuous, a box",
       with(BuildLabelSettingLines(mm), BuildBlockDrawLine(box)),
       {{"SW", {"800"}, ""},
        {"SL", {"400", "0", "C"}, ""},
        {"BD", {"100", "100", "800", "300", "S", "10"}, ""}},
       [](MediaSettings& m) {
         m.paperWidth = 800;
         m.paperLength = 400;
         m.gapLength = 0;
         m.media = MediaType::kContinuous;
       }},
      {"dots, black mark, a diagonal",
       with(BuildLabelSettingLines(mark), BuildBlockDrawLine(diagonal)),
       {{"SW", {"600"}, ""},
        {"SL", {"800", "24", "B"}, ""},
        {"SM", {"8", "16"}, ""},
        {"BD", {"100", "100", "800", "120", "D"}, ""}},
       [](MediaSettings& m) {
         m.paperWidth = 600;
         m.paperLength = 800;
         m.media = MediaType::kBlackMark;
         m.horizontalMargin = 8;
         m.verticalMargin = 16;
       }},
      {"print defaults",
       BuildPrintingSettingLines({}),
       {{"SS", {"3"}, ""}, {"SD", {"20"}, ""}, {"SOT", {}, ""}},
       [](MediaSettings& m) { m.density = 20; }},
      {"slowest, lightest, bottom first",
       BuildPrintingSettingLines(slow),
       {{"SS", {"0"}, ""}, {"SD", {"0"}, ""}, {"SOB", {}, ""}},
       [](MediaSettings& m) {
         m.printSpeed = 0;
         m.density = 0;
         m.topFirst = false;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Printer p;
    // As the tester sends its script: the appended lines, then the copies line.
    p.Write(ScriptLines(c.lines) + "P1,1\r\n");
    ASSERT_EQ(p.printed().size(), 1u);
    const PrintedLabel& label = p.printed()[0];
    ASSERT_EQ(label.commands.size(), c.want.size());
    for (size_t i = 0; i < c.want.size(); ++i) ExpectCommand(label.commands[i], c.want[i]);
    MediaSettings expected = FactoryState(1).media;
    c.settings(expected);
    EXPECT_EQ(label.settings, expected);
    EXPECT_EQ(p.media(), expected) << "the settings stay for the next label";
  }
}

std::vector<std::string> Words(const PrintedLabel& label) {
  std::vector<std::string> words;
  for (const LabelCommand& c : label.commands) words.push_back(c.word());
  return words;
}

TEST(BuilderLabels, PrinterSettingTestPrintsWithTheSettingsItShows) {
  PrintingSettingFields slow;
  slow.speed = PrintSpeed::kIps2_5;
  slow.density = 7;
  slow.direction = PrintDirection::kBottom;
  PrintingSettingFields densityOnly;
  densityOnly.density = 4;
  densityOnly.speedApply = densityOnly.directionApply = false;
  Printer p;
  p.Write(BuildPrinterSettingTest(slow));
  p.Write(BuildPrinterSettingTest(densityOnly));
  ASSERT_EQ(p.printed().size(), 2u);
  const PrintedLabel& first = p.printed()[0];
  EXPECT_EQ(Words(first),
            (std::vector<std::string>{"T", "T", "T", "SS", "T", "SD", "T", "SOB", "T", "BD", "BD", "BD"}));
  ExpectCommand(first.commands[2],
                {"T", {"100", "200", "3", "1", "1", "0", "0", "N", "N"}, "Printing Speed     : 2.5 ips"});
  ExpectCommand(first.commands[4],
                {"T", {"100", "250", "3", "1", "1", "0", "0", "N", "N"}, "Density(0~20)      : 7"});
  ExpectCommand(first.commands[6],
                {"T", {"100", "300", "3", "1", "1", "0", "0", "N", "N"}, "Printing Direction : SOB"});
  ExpectCommand(first.commands[9], {"BD", {"150", "500", "495", "750", "B", "15"}, ""});
  EXPECT_EQ(first.settings.printSpeed, 0);
  EXPECT_EQ(first.settings.density, 7);
  EXPECT_FALSE(first.settings.topFirst);

  const PrintedLabel& second = p.printed()[1];
  EXPECT_EQ(Words(second), (std::vector<std::string>{"T", "T", "T", "SD", "T", "BD", "BD", "BD"}));
  EXPECT_EQ(second.settings.density, 4);
  EXPECT_EQ(second.settings.printSpeed, 0) << "speed and direction stay as the first label left them";
  EXPECT_FALSE(second.settings.topFirst);
}

TEST(BuilderLabels, FontComparisonPrintsBothAnswersOnContinuousMedia) {
  FontFinderFields found;
  FindMostSimilar(found);
  FindSimilarAndRound(found);
  Printer p;
  p.Write(BuildFontComparisonPrint(FontFinderFields{}));
  p.Write(BuildFontComparisonPrint(found));
  ASSERT_EQ(p.printed().size(), 2u);
  const std::vector<std::vector<Want>> want = {
      {{"SL", {"600", "0", "C"}, ""},
       {"T", {"50", "50", "3", "1", "1", "0", "0", "N", "N"}, "TEST148"},
       {"T", {"50", "350", "3", "1", "1", "0", "0", "N", "N"}, "TEST148"}},
      {{"SL", {"600", "0", "C"}, ""},
       {"T", {"50", "50", "0", "3", "3", "0", "0", "N", "N"}, "TEST148"},
       {"T", {"50", "350", "5", "1", "1", "0", "0", "N", "N"}, "TEST148"}},
  };
  for (size_t l = 0; l < want.size(); ++l) {
    const PrintedLabel& label = p.printed()[l];
    ASSERT_EQ(label.commands.size(), want[l].size());
    for (size_t i = 0; i < want[l].size(); ++i) ExpectCommand(label.commands[i], want[l][i]);
    EXPECT_EQ(label.settings.paperLength, 600);
    EXPECT_EQ(label.settings.gapLength, 0);
    EXPECT_EQ(label.settings.media, MediaType::kContinuous);
  }
}

TEST(BuilderLabels, TwoByteRowsKeepEveryCodeByteExact) {
  const auto fields = [](TwoByteCodeTable table, std::string start, std::string end) {
    TwoByteCodepageFields f;
    SelectTwoByteCodeTable(f, table);
    f.startBlock = std::move(start);
    f.endBlock = std::move(end);
    return f;
  };
  TwoByteCodepageFields gbVector = fields(TwoByteCodeTable::kGb2312, "A1", "A2");
  gbVector.fontKind = FontKind::kVector;
  gbVector.vectorFontWidth = "40";
  gbVector.vectorFontHeight = "30";
  TwoByteCodepageFields jisAll = fields(TwoByteCodeTable::kJis, "", "");
  SetPrintAllBlocks(jisAll, true);
  struct Case {
    const char* name;
    TwoByteCodepageFields fields;
    int firstLead;
    size_t labels;
    Fields prefix;
  };
  const Fields ks = {"20", "20", "d", "1", "1", "0", "0", "N", "N"};
  const std::vector<Case> cases = {
      {"KS5601 block B0", fields(TwoByteCodeTable::kKs5601, "B0", "B0"), 0xB0, 1, ks},
      {"GB2312 vector", gbVector, 0xA1, 2, {"20", "20", "G", "30", "40", "1", "N", "N", "N", "0", "L", "0"}},
      // Trail bytes 0x40 to 0xFE hold a backslash and a caret.
      {"BIG5 block A4",
       fields(TwoByteCodeTable::kBig5, "A4", "A4"),
       0xA4,
       1,
       {"20", "20", "n", "1", "1", "0", "0", "N", "N"}},
      {"JIS, all blocks", jisAll, 0x81, 124, {"20", "20", "j", "1", "1", "0", "0", "N", "N"}},
      // Any two digits are taken as a block: a quote or a backslash as every lead byte.
      {"JIS block 27",
       fields(TwoByteCodeTable::kJis, "27", "27"),
       0x27,
       1,
       {"20", "20", "j", "1", "1", "0", "0", "N", "N"}},
      {"BIG5 block 5C",
       fields(TwoByteCodeTable::kBig5, "5C", "5C"),
       0x5C,
       1,
       {"20", "20", "n", "1", "1", "0", "0", "N", "N"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TwoBytePrint print = BuildTwoBytePrint(c.fields);
    ASSERT_FALSE(print.error);
    Printer p;
    p.WriteAll(print.rows);
    ASSERT_EQ(p.printed().size(), c.labels);
    const TwoByteCodeTableInfo& info = InfoOf(c.fields.codeTable);
    for (size_t l = 0; l < c.labels; ++l) {
      const int lead = c.firstLead + static_cast<int>(l);
      std::string codes;
      for (int trail = info.firstTrail; trail <= info.lastTrail; ++trail) {
        codes += static_cast<char>(lead);
        codes += static_cast<char>(trail);
      }
      ASSERT_EQ(p.printed()[l].commands.size(), 1u) << "lead " << lead;
      ExpectCommand(p.printed()[l].commands[0],
                    {c.fields.fontKind == FontKind::kBitmap ? "T" : "V", c.prefix, codes});
    }
  }
}

}  // namespace
}  // namespace qm::printer
