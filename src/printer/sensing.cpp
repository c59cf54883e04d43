#include "printer/sensing.h"

#include <algorithm>

namespace qm::printer {

namespace {

// Readings taken per dot of feed.
constexpr int64_t kSamplesPerDot = 8;
// Where each cluster peaks, as level indexes 0 to 31 (level = (index + 1) x 8).
constexpr int kGapMediaLabelPeak = 5;
constexpr int kGapMediaGapPeak = 22;
constexpr int kMarkMediaLabelPeak = 25;
constexpr int kMarkMediaMarkPeak = 9;
// A cluster's spread over five neighbouring levels; flat enough that no step between
// neighbours looks like the edge of another cluster.
constexpr int64_t kShape[] = {2, 3, 4, 3, 2};
constexpr int64_t kShapeTotal = 14;
// A gap narrower than this still shows on the sensor.
constexpr int kMinGapDots = 8;

void AddCluster(SensingCounts& counts, int peak, int64_t samples) {
  for (int i = 0; i < 5; ++i) {
    const int level = peak - 2 + i;
    const int64_t value = counts[static_cast<size_t>(level)] + samples * kShape[i] / kShapeTotal;
    counts[static_cast<size_t>(level)] = static_cast<uint16_t>(std::min<int64_t>(value, 0xFFFF));
  }
}

}  // namespace

SensingCounts SensingDistribution(int feedDots, MediaType media, int labelDots, int gapDots) {
  SensingCounts counts{};
  const int64_t dots = std::max(feedDots, 0);
  if (dots == 0) return counts;
  const int64_t pitch = static_cast<int64_t>(std::max(labelDots, 1)) + std::max(gapDots, 0);
  // The share of the feed that passes over gaps; a gap narrower than the sensor's spot
  // still shows as that spot.
  const int64_t met = dots * std::max(gapDots, 0) / pitch;
  const int64_t gap =
      gapDots <= 0 ? 0 : std::min<int64_t>(std::max<int64_t>(met, kMinGapDots), std::max<int64_t>(dots / 2, 1));
  const int64_t gapSamples = gap * kSamplesPerDot;
  const int64_t labelSamples = (dots - gap) * kSamplesPerDot;
  const bool mark = media == MediaType::kBlackMark;
  AddCluster(counts, mark ? kMarkMediaLabelPeak : kGapMediaLabelPeak, labelSamples);
  if (gapSamples > 0) AddCluster(counts, mark ? kMarkMediaMarkPeak : kGapMediaGapPeak, gapSamples);
  return counts;
}

std::string EncodeDistribution(const SensingCounts& counts) {
  std::string out;
  out.reserve(64);
  for (const uint16_t c : counts) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

int NaturalThreshold(MediaType media) {
  // Between the two clusters, nearer the smaller one, as the operator's analysis finds.
  const int lo = media == MediaType::kBlackMark ? kMarkMediaMarkPeak : kGapMediaLabelPeak;
  const int hi = media == MediaType::kBlackMark ? kMarkMediaLabelPeak : kGapMediaGapPeak;
  const int mid = (lo + hi) / 2;
  const int level = media == MediaType::kBlackMark ? (mid + lo) / 2 : (mid + hi) / 2;
  return level * 8 + 8;
}

}  // namespace qm::printer
