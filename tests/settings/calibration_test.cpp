// Calibration: the analysis on worked and boundary distributions, the extra dialog's finer
// levels, exact command bytes, and the distribution read against printers that answer at
// once, late, in part, or over every interface of the virtual printer.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "printer/sensing.h"
#include "printer/virtual_printer.h"
#include "pty_pair.h"
#include "settings/calibration.h"
#include "settings_fixture.h"

namespace qm {
namespace {

using test::SettingsBench;

SensingCounts Counts(const std::map<int, int>& set) {
  SensingCounts v{};
  for (const auto& [k, count] : set) v[static_cast<size_t>(k)] = static_cast<uint16_t>(count);
  return v;
}

std::string Encode(const SensingCounts& v) {
  std::string out;
  for (const uint16_t c : v) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

const std::map<int, int> kWorked = {{3, 50}, {4, 400}, {5, 900}, {6, 300}, {20, 200}, {21, 500}, {22, 100}};

TEST(SensingAnalysis, FindsPeaksLevelsAndProposal) {
  struct Row {
    const char* name;
    std::map<int, int> counts;
    SensingType type;
    int lo, hi, first, last, selected, value;
  };
  const auto G = SensingType::kGap;
  const auto B = SensingType::kBlackMark;
  const Row rows[] = {
      {"worked gap", kWorked, G, 5, 21, 13, 20, 17, 144},
      {"worked black mark", kWorked, B, 5, 21, 6, 13, 9, 80},
      {"all zeros, gap", {}, G, 31, 31, 31, 30, 31, 256},
      {"all zeros, black mark", {}, B, 0, 0, 1, 0, 0, 8},
      {"one cluster, gap", {{10, 500}}, G, 10, 11, 10, 10, 10, 88},
      {"one cluster, black mark", {{10, 500}}, B, 9, 10, 10, 9, 9, 80},
      {"counts of exactly 100 are not a cluster", {{5, 100}, {6, 100}, {20, 150}}, G, 20, 21, 20, 20, 20, 168},
      {"peak at 0", {{0, 500}, {1, 200}, {20, 300}}, G, 0, 20, 10, 19, 15, 128},
      {"peak at 31", {{25, 300}, {31, 800}}, G, 25, 31, 28, 30, 29, 240},
      {"black mark peak at 31", {{2, 300}, {31, 800}}, B, 2, 31, 3, 16, 9, 80},
      {"touching clusters split at the sharp fall", {{4, 900}, {5, 850}, {6, 100}, {7, 300}}, G, 5, 7, 6, 6, 6, 56},
      {"touching clusters, black mark", {{4, 300}, {5, 100}, {6, 850}, {7, 900}}, B, 4, 6, 5, 5, 4, 40},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const SensingAnalysis a = AnalyseSensing(Counts(r.counts), r.type);
    EXPECT_EQ(a.lo, r.lo);
    EXPECT_EQ(a.hi, r.hi);
    EXPECT_EQ(a.firstEnabled, r.first);
    EXPECT_EQ(a.lastEnabled, r.last);
    EXPECT_EQ(a.selected, r.selected);
    EXPECT_EQ(a.middleGapValue, r.value);
    EXPECT_EQ(a.needsExtra(), r.hi - r.lo <= 3);
  }
}

TEST(SensingAnalysis, ExtraDialogLevelsByDistance) {
  struct Row {
    SensingType type;
    int lo, hi;
    const char* first;  // radio 0
    const char* last;   // radio 7
    std::optional<int> fifth;
  };
  const auto G = SensingType::kGap;
  const auto B = SensingType::kBlackMark;
  const Row rows[] = {
      {G, 10, 11, "085 :", "078 :", 81}, {G, 10, 12, "094 :", "087 :", 90}, {G, 10, 13, "068 :", "061 :", 64},
      {G, 10, 14, "", "", std::nullopt}, {G, 31, 31, "", "", std::nullopt}, {B, 10, 11, "083 :", "090 :", 87},
      {B, 10, 12, "082 :", "089 :", 86}, {B, 10, 13, "092 :", "099 :", 96}, {B, 10, 14, "", "", std::nullopt},
      {G, 0, 1, "005 :", "-002 :", 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.lo) + ".." + std::to_string(r.hi) + (r.type == G ? " G" : " B"));
    EXPECT_EQ(ExtraRadioLabel(r.type, r.lo, r.hi, 0), r.first);
    EXPECT_EQ(ExtraRadioLabel(r.type, r.lo, r.hi, 7), r.last);
    EXPECT_EQ(ExtraLevel(r.type, r.lo, r.hi, 4), r.fifth);
  }
  EXPECT_EQ(ExtraPeakLabel(5), "048 : ");
  EXPECT_EQ(ExtraCountText(7), "007");
  EXPECT_EQ(ExtraCountText(65535), "65535");
}

TEST(SensingDistribution, DecodesLowByteFirstAndFormats) {
  std::string bytes(64, '\0');
  bytes[0] = '\x84';
  bytes[1] = '\x03';
  bytes[62] = '\xFF';
  bytes[63] = '\xFF';
  const SensingCounts v = DecodeDistribution(bytes);
  EXPECT_EQ(v[0], 900);
  EXPECT_EQ(v[31], 65535) << "high bytes are unsigned";
  EXPECT_EQ(DecodeDistribution(bytes.substr(0, 3))[1], 0) << "a missing byte reads 0";
  EXPECT_EQ(CountText(v[0]), "0900");
  EXPECT_EQ(LevelLabel(0), "008 :");
  EXPECT_EQ(LevelLabel(31), "256 :");
}

TEST(CalibrationCommands, ExactBytesAndPresets) {
  EXPECT_EQ(BuildReadDistribution(150, SensingType::kGap), "^MXd,1200,G\r");
  EXPECT_EQ(BuildReadDistribution(1, SensingType::kBlackMark), "^MXd,8,B\r");
  EXPECT_EQ(BuildStoreThreshold(144, 7), "^MXs,144,7\r");
  EXPECT_EQ(BuildCancelSensing(), "^MXc\r");
  EXPECT_EQ(BuildManualCalibration(DetectText(kDefaultDetectIndex), MarginText(kDefaultMarginIndex), "1500"),
            "^MA8,16,1500\r");
  EXPECT_EQ(BuildCancelManualCalibration(), "^MAC\r");
  EXPECT_EQ(MarginText(kMarginEntries - 1), "40");
  EXPECT_EQ(DetectText(kDetectEntries - 1), "15");
  const char* gapMargins[] = {"6", "6", "8", "8", "10", "10", "30", "30"};
  const char* markMargins[] = {"4", "4", "6", "6", "8", "8", "20", "20"};
  for (int p = 0; p < 8; ++p) {
    SCOPED_TRACE("Setting " + std::to_string(p + 1));
    const char* detect = p % 2 == 0 ? "5" : "8";
    EXPECT_EQ(DetectText(PresetFor(p, false).detectIndex), detect);
    EXPECT_EQ(MarginText(PresetFor(p, false).marginIndex), gapMargins[p]);
    EXPECT_EQ(DetectText(PresetFor(p, true).detectIndex), detect);
    EXPECT_EQ(MarginText(PresetFor(p, true).marginIndex), markMargins[p]);
  }
  EXPECT_EQ(SensingWaitMs(kSerial, 1200), 4800);
  EXPECT_EQ(SensingWaitMs(kEthernet, 1200), 2400);
  EXPECT_EQ(SensingWaitMs(kParallel, 1200), 7200);
  EXPECT_EQ(SensingWaitMs(kUsb, 1200), 7200);
}

TEST(ReadSensingDistribution, AnEarlyReplyIsTakenWithoutWaitingOutTheFeed) {
  SettingsBench b;
  const SensingCounts sent = Counts(kWorked);
  b.printer.Answer("^MXd,1200,G\r", Encode(sent));
  const DistributionRead read = ReadSensingDistribution(b.link, b.clock, b.prompter, 150, SensingType::kGap);
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(read.counts, sent);
  EXPECT_EQ(b.printer.received(12), "^MXd,1200,G\r");
  EXPECT_TRUE(b.clock.sleeps.empty()) << "the 4800 ms feed is a deadline, not a pause";
  EXPECT_TRUE(b.prompter.messages.empty());
}

TEST(ReadSensingDistribution, AReplyLaterThanTheLinksOwnDeadlineStillCounts) {
  test::PtyPair pty;
  test::FakeClock clock;
  test::RecordingPrompter prompter;
  PrinterLink link(clock, prompter, EnglishStrings(), test::ScriptedPrinterTiming(),
                   test::ScriptedPrinterDevices(pty.path()));
  link.SetPortName("COM1:");
  ASSERT_EQ(link.Open(), 1);
  const SensingCounts sent = Counts(kWorked);
  std::thread printer([&] {
    pty.Receive(12);
    // Three of the link's read deadlines, well inside the feed of a 150 mm label.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    pty.Send(Encode(sent).substr(0, 20));
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    pty.Send(Encode(sent).substr(20));
  });
  const DistributionRead read = ReadSensingDistribution(link, clock, prompter, 150, SensingType::kGap);
  printer.join();
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(read.counts, sent);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST(ReadSensingDistribution, TwoShortReadsFailWithoutAnalysableZeros) {
  struct Row {
    const char* name;
    std::string reply;
  };
  const Row rows[] = {{"silent", ""}, {"half a distribution", std::string(32, '\x05')}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    SettingsBench b;
    if (!r.reply.empty()) b.printer.Answer("^MXd,8,B\r", r.reply);
    const DistributionRead read = ReadSensingDistribution(b.link, b.clock, b.prompter, 1, SensingType::kBlackMark);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.firstTotal, static_cast<int>(r.reply.size()));
    EXPECT_EQ(read.counts, SensingCounts{});
    EXPECT_EQ(b.texts(), std::vector<std::string>{"Sensing Data Read Fail!"});
    EXPECT_EQ(b.prompter.messages[0].icon, Icon::kExclamation);
    EXPECT_EQ(b.printer.received(9), "^MXd,8,B\r") << "the second read sends nothing";
  }
}

// The virtual printer's distribution, read over each interface, proposes its own threshold.
TEST(ReadSensingDistribution, EveryInterfaceOfTheVirtualPrinter) {
  struct Row {
    const char* port;
    int model;
    SensingType type;
  };
  const Row rows[] = {{"COM1:", 1, SensingType::kGap},
                      {"LPT1:", 1, SensingType::kBlackMark},
                      {"USB", 1, SensingType::kGap},
                      {"USB", 0, SensingType::kBlackMark}};  // in four quarters
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.port) + " model " + std::to_string(r.model));
    char dirName[] = "/tmp/quillmark-calibration-XXXXXX";
    const std::string dir = ::mkdtemp(dirName);
    printer::PrinterOptions options;
    options.listen.reset();
    options.serial = true;
    options.parallel = true;
    options.usbDir = dir + "/usb";
    options.model = r.model;
    {
      printer::VirtualPrinter vp(options);
      std::string error;
      ASSERT_TRUE(vp.Start(error)) << error;
      test::FakeClock clock;
      test::RecordingPrompter prompter;
      LinkTiming timing;
      timing.usbReadWaitMs = 500;
      timing.serialDefaults.readTotalConstantMs = 500;
      DeviceMap devices;
      devices.Override("COM1", vp.serialPath());
      devices.Override("LPT1", vp.parallelPath());
      devices.usb = UsbRoots{vp.usbSysfsRoot(), vp.usbDevRoot()};
      PrinterLink link(clock, prompter, EnglishStrings(), timing, devices);
      link.SetPortName(r.port);
      ASSERT_EQ(link.Open(), 1);
      const DistributionRead read = ReadSensingDistribution(link, clock, prompter, 150, r.type);
      ASSERT_TRUE(read.ok) << (prompter.messages.empty() ? "" : prompter.messages[0].text);
      EXPECT_EQ(link.usbModel(), r.port == std::string("USB") ? r.model : -1);
      const auto media = r.type == SensingType::kGap ? printer::MediaType::kGap : printer::MediaType::kBlackMark;
      EXPECT_EQ(AnalyseSensing(read.counts, r.type).middleGapValue, printer::NaturalThreshold(media));
      link.Close();
      vp.Stop();
    }
    std::filesystem::remove_all(dir);
  }
}

}  // namespace
}  // namespace qm
