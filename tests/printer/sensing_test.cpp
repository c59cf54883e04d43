// The sensing distribution: its 64-byte form, and that the operator's analysis finds a
// threshold between label and gap in it.
#include <gtest/gtest.h>

#include <string>

#include "printer/sensing.h"
#include "settings/calibration.h"
#include "printer_harness.h"

namespace qm::printer {
namespace {

// The calibration page's own analysis, on what the printer reports.
SensingAnalysis Analyse(const SensingCounts& v, MediaType media) {
  return AnalyseSensing(v, media == MediaType::kBlackMark ? SensingType::kBlackMark : SensingType::kGap);
}

TEST(PrinterSensing, EveryUsualLabelGivesAThresholdBetweenItsClusters) {
  for (const MediaType media : {MediaType::kGap, MediaType::kBlackMark}) {
    for (int mm = 20; mm <= 400; mm += 5) {
      for (const int gap : {8, 24, 40}) {
        const SensingCounts v = SensingDistribution(mm * 8, media, mm * 8, gap);
        const SensingAnalysis a = Analyse(v, media);
        SCOPED_TRACE(std::to_string(mm) + " mm, gap " + std::to_string(gap));
        // Far enough apart that the operator needs no finer choice.
        EXPECT_GT(a.hi - a.lo, 3);
        EXPECT_GT(a.selected, a.lo);
        EXPECT_LT(a.selected, a.hi);
        EXPECT_EQ(a.middleGapValue, NaturalThreshold(media));
      }
    }
  }
}

TEST(PrinterSensing, ReplyIsSixtyFourBytesLowByteFirst) {
  test::Harness h;
  const std::string reply = h.Send("^MXd,1200,G\r");
  ASSERT_EQ(reply.size(), 64u);
  const SensingCounts expected = SensingDistribution(1200, MediaType::kGap, 1219, 24);
  EXPECT_EQ(reply, EncodeDistribution(expected));
  for (size_t k = 0; k < 32; ++k) {
    const auto low = static_cast<unsigned char>(reply[2 * k]);
    const auto high = static_cast<unsigned char>(reply[2 * k + 1]);
    EXPECT_EQ(low | (high << 8), expected[k]) << k;
  }
  EXPECT_GT(expected[5], 255) << "the test must cover a count wider than a byte";
  EXPECT_EQ(h.Send("^MXd,1200,B\r"), EncodeDistribution(SensingDistribution(1200, MediaType::kBlackMark, 1219, 24)));
  EXPECT_EQ(h.Send("^MXd,0,G\r^MXd,1200,C\r^MXd,x,G\r"), "") << "malformed requests get no reply";
}

TEST(PrinterSensing, TheDistributionFollowsTheLoadedMedia) {
  struct Row {
    const char* media;    // the "SL" command that loads it
    const char* request;
    int expected;         // the threshold the page proposes; 0: no second cluster
  };
  const Row rows[] = {
      {"SL1219,24,G\r", "^MXd,1200,G\r", NaturalThreshold(MediaType::kGap)},
      {"SL400,40,B\r", "^MXd,400,B\r", NaturalThreshold(MediaType::kBlackMark)},
      {"SL2432,8,G\r", "^MXd,1200,G\r", NaturalThreshold(MediaType::kGap)},
      {"SL1219,0,C\r", "^MXd,1200,G\r", 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.media);
    test::Harness h;
    h.Send(r.media);
    const std::string reply = h.Send(r.request);
    ASSERT_EQ(reply.size(), 64u);
    const SensingType type = std::string(r.request).find(",B") != std::string::npos ? SensingType::kBlackMark : SensingType::kGap;
    const SensingAnalysis a = AnalyseSensing(DecodeDistribution(reply), type);
    if (r.expected == 0) {
      EXPECT_TRUE(a.needsExtra()) << "continuous media shows one cluster";
    } else {
      EXPECT_EQ(a.middleGapValue, r.expected);
    }
  }
  // A longer gap in the same feed shows as a taller gap cluster.
  const SensingCounts narrow = SensingDistribution(1200, MediaType::kGap, 1219, 24);
  const SensingCounts wide = SensingDistribution(1200, MediaType::kGap, 1160, 80);
  EXPECT_GT(wide[22], narrow[22]);
  EXPECT_LT(wide[5], narrow[5]);
}

TEST(PrinterSensing, CountsSaturateOnVeryLongLabels) {
  const SensingCounts v = SensingDistribution(1000000, MediaType::kGap, 1219, 24);
  EXPECT_EQ(v[5], 0xFFFF);
  EXPECT_EQ(SensingDistribution(1200, MediaType::kGap, 1219, 24), SensingDistribution(1200, MediaType::kGap, 1219, 24));
}

TEST(PrinterSensing, StoringAndManualCalibrationSetTheThreshold) {
  test::Harness h;
  h.Send("^MXd,1200,G\r^MXs,136,9\r");
  EXPECT_EQ(h.stored().sensor.threshold, 136);
  EXPECT_EQ(h.stored().sensor.gapCount, 9);
  EXPECT_TRUE(h.stored().sensor.calibrated);
  h.Send("^MXs,300,7\r^MXs,100,3\r");
  EXPECT_EQ(h.stored().sensor.threshold, 136) << "out of range: refused";
  h.Send("SL1219,24,B\r^MA5,20,1500\r");
  EXPECT_EQ(h.stored().sensor.threshold, NaturalThreshold(MediaType::kBlackMark));
  EXPECT_EQ(h.stored().sensor.manualDetections, 5);
  EXPECT_EQ(h.stored().sensor.manualMargin, 20);
  h.Send("^MA3,16,1500\r^MA8,16,\r");
  EXPECT_EQ(h.stored().sensor.manualDetections, 5) << "refused";
}

}  // namespace
}  // namespace qm::printer
