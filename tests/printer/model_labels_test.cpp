// Printing: what a label records, what stops it, the image store, and the limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer_harness.h"

namespace qm::printer {
namespace {

using namespace std::string_literals;
using test::Harness;

std::vector<std::string> Raw(const PrintedLabel& label) {
  std::vector<std::string> raw;
  for (const LabelCommand& c : label.commands) raw.push_back(c.raw());
  return raw;
}

TEST(PrinterLabels, TestPrintRecordsItsCommandAndTheSettingsInForce) {
  Harness h;
  h.Send("T20,20,3,1,1,0,0,N,N,'VORMAND Label Printer'\rP1\r");
  ASSERT_EQ(h.printed.size(), 1u);
  const PrintedLabel& label = h.printed[0];
  EXPECT_EQ(label.sequence, 1u);
  EXPECT_EQ(label.kind, LabelKind::kLabel);
  EXPECT_EQ(label.quantity, 1);
  EXPECT_EQ(label.copies, 1);
  EXPECT_EQ(label.printedAtMs, 1700000000000);
  EXPECT_EQ(label.settings, FactoryState(1).media);
  ASSERT_EQ(label.commands.size(), 1u);
  EXPECT_EQ(label.commands[0].word(), "T");
  EXPECT_EQ(label.commands[0].fields(), (std::vector<std::string>{"20", "20", "3", "1", "1", "0", "0", "N", "N"}));
  EXPECT_EQ(label.commands[0].data(), "VORMAND Label Printer");
}

TEST(PrinterLabels, SettingCommandsShapeTheLabelTheyArePartOf) {
  Harness h;
  h.Send("SW600\r\nSL800,16,B\r\nSOB\r\nSD5\r\nCS3,6\r\nT10,10,3,1,1,0,0,N,N,'A'\r\nP2,3\r\n");
  ASSERT_EQ(h.printed.size(), 1u);
  const PrintedLabel& label = h.printed[0];
  EXPECT_EQ(label.settings.paperWidth, 600);
  EXPECT_EQ(label.settings.paperLength, 800);
  EXPECT_EQ(label.settings.gapLength, 16);
  EXPECT_EQ(label.settings.media, MediaType::kBlackMark);
  EXPECT_FALSE(label.settings.topFirst);
  EXPECT_EQ(label.settings.density, 5);
  EXPECT_EQ(label.settings.ics, 3);
  EXPECT_EQ(label.settings.codePage, 6);
  EXPECT_EQ(label.quantity, 2);
  EXPECT_EQ(label.copies, 3);
  EXPECT_EQ(Raw(label), (std::vector<std::string>{"SW600", "SL800,16,B", "SOB", "SD5", "CS3,6",
                                                  "T10,10,3,1,1,0,0,N,N,'A'"}));
}

TEST(PrinterLabels, PrinterSettingTestLabelIsOneLabel) {
  Harness h;
  h.Send(
      "T100,100,3,1,1,0,0,N,N,'Printer Setting Test'\r"
      "T100,150,3,1,1,0,0,N,N,'============================='\r"
      "T100,200,3,1,1,0,0,N,N,'Printing Speed     : 5.0 ips'\rSS3\r"
      "T100,250,3,1,1,0,0,N,N,'Density(0~20)      : 20'\rSD20\r"
      "T100,300,3,1,1,0,0,N,N,'Printing Direction : SOT'\rSOT\r"
      "T100,350,3,1,1,0,0,N,N,'============================='\r"
      "BD150,500,495,750,B,15\rBD200,550,300,700,S,30\rBD430,550,330,700,S,30\r\rP1\r");
  ASSERT_EQ(h.printed.size(), 1u);
  EXPECT_EQ(h.printed[0].commands.size(), 12u);
  EXPECT_EQ(h.printed[0].settings.printSpeed, 3);
  EXPECT_EQ(h.printed[0].settings.density, 20);
  EXPECT_EQ(h.printed[0].commands.back().fields(), (std::vector<std::string>{"430", "550", "330", "700", "S", "30"}));
}

TEST(PrinterLabels, FaultsStopPrintingUntilTheyClear) {
  Harness h;
  Faults coverOpen;
  coverOpen.coverOpen = true;
  h.model().SetFaults(coverOpen);
  h.Send("T20,20,3,1,1,0,0,N,N,'A'\rP1\r");
  EXPECT_TRUE(h.printed.empty());
  EXPECT_EQ(h.Send("^ee\r"), "11\r\n");
  h.model().SetFaults(Faults{});
  h.Send("P1\r");
  ASSERT_EQ(h.printed.size(), 1u);
  EXPECT_EQ(Raw(h.printed[0]), (std::vector<std::string>{"T20,20,3,1,1,0,0,N,N,'A'"}));
}

TEST(PrinterLabels, CountsOfZeroAndMalformedCommandsPrintNothing) {
  const char* streams[] = {"T20,20,3,1,1,0,0,N,N,'A'\rP0\r", "T20,20,3,1,1,0,0,N,N,'A'\rP1,0\r", "PX\r",
                           "T20,20\rP1\r"};
  for (const char* s : streams) {
    Harness h;
    h.Send(s);
    const bool malformedText = std::string(s).rfind("T20,20\r", 0) == 0;
    if (malformedText) {
      ASSERT_EQ(h.printed.size(), 1u) << s;
      EXPECT_TRUE(h.printed[0].commands.empty()) << "a malformed command is not recorded";
    } else {
      EXPECT_TRUE(h.printed.empty()) << s;
    }
  }
}

TEST(PrinterLabels, ImagesAreStoredRecalledListedAndDeleted) {
  Harness h;
  h.Send("IS3,'LOGO'\x0A\r\0\r\rIR100,100,'LOGO'\rP1\r"s);
  ASSERT_EQ(h.printed.size(), 1u);
  const LabelCommand& recall = h.printed[0].commands.at(0);
  EXPECT_EQ(recall.word(), "IR");
  ASSERT_NE(recall.image, nullptr);
  EXPECT_EQ(*recall.image, "\x0A\r\0"s);

  h.Send("IS5,'B'12345IS2,'LOGO'xy");  // replaces LOGO
  EXPECT_EQ(h.model().Images(), (std::map<std::string, size_t>{{"B", 5}, {"LOGO", 2}}));
  EXPECT_EQ(*recall.image, "\x0A\r\0"s) << "a printed label keeps the image it printed";
  h.Send("II");
  ASSERT_EQ(h.printed.size(), 2u);
  EXPECT_EQ(h.printed[1].kind, LabelKind::kImageList);
  std::vector<std::string> lines;
  for (const LabelCommand& c : h.printed[1].commands) lines.emplace_back(c.data());
  EXPECT_EQ(lines, (std::vector<std::string>{"IMAGES: 2", "B 5 BYTES", "LOGO 2 BYTES",
                                             "FREE: " + std::to_string(PrinterModel::kImageStoreBytes - 7) +
                                                 " BYTES"}));
  h.Send("ID'B'II");
  EXPECT_EQ(h.model().Images().size(), 1u);
  h.Send("ID'NOPE'II");
  EXPECT_EQ(h.Send("^ee\r"), "09\r\n") << "name not found";
  h.Send("ID*II");
  EXPECT_TRUE(h.model().Images().empty());
  h.Send("IR0,0,'LOGO'\rP1\r");
  EXPECT_EQ(h.printed.back().commands.at(0).image, nullptr);
}

TEST(PrinterLabels, ImageStoreRefusesWhatDoesNotFit) {
  Harness h;
  const size_t big = CommandParser::kMaxImageBytes;
  h.Send("IS" + std::to_string(big) + ",'A'" + std::string(big, 'a'));
  h.Send("IS" + std::to_string(big) + ",'B'" + std::string(big, 'b'));
  EXPECT_EQ(h.model().Images().size(), 2u);
  h.Send("IS1,'C'c");
  EXPECT_EQ(h.model().Images().size(), 2u) << "the store is full";
  EXPECT_EQ(h.Send("^ee\r"), "04\r\n");
  h.Send("IS1,'A'a");
  EXPECT_EQ(h.model().Images().at("A"), 1u) << "replacing an image frees its room";
  h.Send("IS1,'C'c");
  EXPECT_EQ(h.model().Images().size(), 3u);
}

TEST(PrinterLabels, LabelMemoryAndHistoryAreBounded) {
  Harness h;
  std::string many;
  for (size_t i = 0; i <= PrinterModel::kMaxLabelCommands; ++i) many += "BD1,1,2,2,O\r";
  h.Send(many);
  EXPECT_EQ(h.model().PendingLabel().size(), PrinterModel::kMaxLabelCommands);
  EXPECT_EQ(h.Send("^ee\r"), "04\r\n");

  test::Harness history;
  for (size_t i = 0; i < PrinterCore::kLabelHistory + 5; ++i) history.Send("P1\r");
  EXPECT_EQ(history.model().labelsPrinted(), PrinterCore::kLabelHistory + 5);
  ASSERT_EQ(history.labels().size(), PrinterCore::kLabelHistory) << "only the latest are kept";
  EXPECT_EQ(history.labels().front().sequence, 6u);
  EXPECT_EQ(history.labels().back().sequence, PrinterCore::kLabelHistory + 5);
}

TEST(PrinterLabels, RecalledImagesCountAgainstLabelMemoryAndHistory) {
  Harness h;
  const size_t big = CommandParser::kMaxImageBytes;
  h.Send("IS" + std::to_string(big) + ",'A'" + std::string(big, 'a'));
  h.Send("IR0,0,'A'\rIR0,0,'A'\rIR0,0,'A'\rIR0,0,'A'\r");
  EXPECT_EQ(h.model().PendingLabel().size(), 3u) << "three recalls of the largest image fill a label";
  EXPECT_EQ(h.Send("^ee\r"), "04\r\n");
  h.Send("P1\r");
  for (int i = 0; i < 2; ++i) h.Send("IR0,0,'A'\rP1\r");
  ASSERT_EQ(h.labels().size(), 2u) << "the oldest label gave up its images";
  EXPECT_EQ(h.labels().front().sequence, 2u);
}

}  // namespace
}  // namespace qm::printer
