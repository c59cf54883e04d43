// The sensing distribution: its 64-byte form, and that the operator's analysis finds a
// threshold between label and gap in it.
#include <gtest/gtest.h>

#include <string>

#include "printer/sensing.h"
#include "printer_harness.h"

namespace qm::printer {
namespace {

// The analysis the calibration page runs on a distribution, step by step.
struct Analysis {
  int lo = 0;
  int hi = 0;
  int selected = 0;  // level index; the threshold is selected x 8 + 8
};

Analysis AnalyseGap(const SensingCounts& v) {
  Analysis a;
  int s = 31;
  for (int k = 0; k < 32; ++k) {
    if (v[k] > 0) {
      s = k;
      break;
    }
  }
  int lo = 31;
  for (int k = s; k < 32; ++k) {
    if (v[k] > 100) {
      lo = k;
      break;
    }
  }
  while (lo < 31 && v[lo + 1] >= v[lo]) ++lo;
  int hi;
  if (lo < 31) {
    hi = lo + 1;
    for (int k = 31; k > lo; --k) {
      if (v[k] > 0) {
        hi = k;
        break;
      }
    }
  } else {
    hi = s;
  }
  if (hi > lo) {
    while (hi > lo + 1 && v[hi - 1] >= v[hi]) --hi;
    for (int k = hi; k >= lo + 1; --k) {
      if (v[k] > 0 && v[k - 1] > 0 && 4 * v[k] < v[k - 1]) {
        lo = k - 1;
        break;
      }
    }
  }
  const int mid = (lo + hi) / 2;
  if (lo > s) {
    while (lo > s + 1 && v[lo - 1] >= v[lo]) --lo;
  }
  a.lo = lo;
  a.hi = hi;
  a.selected = (mid + hi) / 2;
  return a;
}

Analysis AnalyseMark(const SensingCounts& v) {
  Analysis a;
  int t = 0;
  for (int k = 31; k >= 0; --k) {
    if (v[k] > 0) {
      t = k;
      break;
    }
  }
  int hi = 0;
  int lo = 0;
  if (t > 0) {
    hi = 1;
    for (int k = t; k >= 1; --k) {
      if (v[k] > 100) {
        hi = k;
        break;
      }
    }
    while (hi > 1 && v[hi - 1] >= v[hi]) --hi;
    lo = hi - 1;
    for (int k = 0; k < hi; ++k) {
      if (v[k] > 0) {
        lo = k;
        break;
      }
    }
    if (lo < hi) {
      while (lo < hi - 1 && v[lo + 1] >= v[lo]) ++lo;
      for (int k = lo; k <= hi - 1; ++k) {
        if (v[k] > 0 && v[k + 1] > 0 && 4 * v[k] < v[k + 1]) {
          hi = k + 1;
          break;
        }
      }
    }
  }
  const int mid = (lo + hi) / 2;
  if (hi < t) {
    while (hi < t - 1 && v[hi + 1] >= v[hi]) ++hi;
  }
  a.lo = lo;
  a.hi = hi;
  a.selected = (mid + lo) / 2;
  return a;
}

TEST(PrinterSensing, ReferenceAnalysisReproducesTheWorkedExample) {
  SensingCounts v{};
  v[3] = 50, v[4] = 400, v[5] = 900, v[6] = 300, v[20] = 200, v[21] = 500, v[22] = 100;
  EXPECT_EQ(AnalyseGap(v).selected * 8 + 8, 144);
  EXPECT_EQ(AnalyseMark(v).selected * 8 + 8, 80);
}

TEST(PrinterSensing, EveryUsualLabelGivesAThresholdBetweenItsClusters) {
  for (const MediaType media : {MediaType::kGap, MediaType::kBlackMark}) {
    for (int mm = 20; mm <= 400; mm += 5) {
      for (const int gap : {8, 24, 40}) {
        const SensingCounts v = SensingDistribution(mm * 8, media, gap);
        const Analysis a = media == MediaType::kGap ? AnalyseGap(v) : AnalyseMark(v);
        SCOPED_TRACE(std::to_string(mm) + " mm, gap " + std::to_string(gap));
        // Far enough apart that the operator needs no finer choice.
        EXPECT_GT(a.hi - a.lo, 3);
        EXPECT_GT(a.selected, a.lo);
        EXPECT_LT(a.selected, a.hi);
        EXPECT_EQ(a.selected * 8 + 8, NaturalThreshold(media));
      }
    }
  }
}

TEST(PrinterSensing, ReplyIsSixtyFourBytesLowByteFirst) {
  test::Harness h;
  const std::string reply = h.Send("^MXd,1200,G\r");
  ASSERT_EQ(reply.size(), 64u);
  const SensingCounts expected = SensingDistribution(1200, MediaType::kGap, 24);
  EXPECT_EQ(reply, EncodeDistribution(expected));
  for (size_t k = 0; k < 32; ++k) {
    const auto low = static_cast<unsigned char>(reply[2 * k]);
    const auto high = static_cast<unsigned char>(reply[2 * k + 1]);
    EXPECT_EQ(low | (high << 8), expected[k]) << k;
  }
  EXPECT_GT(expected[5], 255) << "the test must cover a count wider than a byte";
  EXPECT_EQ(h.Send("^MXd,1200,B\r"), EncodeDistribution(SensingDistribution(1200, MediaType::kBlackMark, 24)));
  EXPECT_EQ(h.Send("^MXd,0,G\r^MXd,1200,C\r^MXd,x,G\r"), "") << "malformed requests get no reply";
}

TEST(PrinterSensing, CountsSaturateOnVeryLongLabels) {
  const SensingCounts v = SensingDistribution(1000000, MediaType::kGap, 24);
  EXPECT_EQ(v[5], 0xFFFF);
  EXPECT_EQ(SensingDistribution(1200, MediaType::kGap, 24), SensingDistribution(1200, MediaType::kGap, 24));
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
