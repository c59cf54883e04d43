#include "settings/calibration.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "link/printer_link.h"
#include "link/query.h"
#include "core/tool_texts.h"

namespace qm {

namespace {

std::string Printed(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Reads `count` bytes of a reply that may take up to `waitMs` to come: the wait is the
// printer's time to feed the label, so it bounds the reads but never holds back a reply
// that is already whole. The link's own deadline still applies to each read.
int ReadWithin(PrinterLink& link, char* buffer, int count, int waitMs) {
  const Deadline deadline(waitMs);
  int got = 0;
  do {
    const int n = link.Read(buffer + got, count - got, ReplyEnd::kCount);
    if (n > 0) got += n;
    // A port that failed will not answer later; a silent printer may.
    if (n <= 0 && ReadFailed(link)) break;
  } while (got < count && !deadline.Passed());
  return got;
}

int FirstAbove(const SensingCounts& v, int from, int to, int above) {
  for (int k = from; k <= to; ++k) {
    if (v[static_cast<size_t>(k)] > above) return k;
  }
  return -1;
}

int LastAbove(const SensingCounts& v, int from, int to, int above) {
  for (int k = to; k >= from; --k) {
    if (v[static_cast<size_t>(k)] > above) return k;
  }
  return -1;
}

SensingAnalysis AnalyseGap(const SensingCounts& counts) {
  const auto v = [&](int k) { return static_cast<int>(counts[static_cast<size_t>(k)]); };
  SensingAnalysis a;
  const int firstSeen = FirstAbove(counts, 0, 31, 0);
  const int s = firstSeen < 0 ? 31 : firstSeen;
  const int firstTall = FirstAbove(counts, s, 31, 100);
  int lo = firstTall < 0 ? 31 : firstTall;
  // Climb to the top of the first cluster.
  while (lo < 31 && v(lo + 1) >= v(lo)) ++lo;
  int hi = s;
  if (lo < 31) {
    const int last = LastAbove(counts, lo + 1, 31, 0);
    hi = last < 0 ? lo + 1 : last;
  }
  if (hi > lo) {
    // Climb to the top of the second cluster from above.
    while (hi > lo + 1 && v(hi - 1) >= v(hi)) --hi;
    // A sharp fall inside the range is the first cluster's edge.
    for (int k = hi; k >= lo + 1; --k) {
      if (v(k) > 0 && v(k - 1) > 0 && 4 * v(k) < v(k - 1)) {
        lo = k - 1;
        break;
      }
    }
  }
  a.mid = (lo + hi) / 2;
  if (lo > s) {
    while (lo > s + 1 && v(lo - 1) >= v(lo)) --lo;
  }
  a.lo = lo;
  a.hi = hi;
  a.firstEnabled = a.mid;
  a.lastEnabled = hi - 1;
  a.selected = (a.mid + hi) / 2;
  return a;
}

SensingAnalysis AnalyseMark(const SensingCounts& counts) {
  const auto v = [&](int k) { return static_cast<int>(counts[static_cast<size_t>(k)]); };
  SensingAnalysis a;
  const int lastSeen = LastAbove(counts, 0, 31, 0);
  const int t = lastSeen < 0 ? 0 : lastSeen;
  int hi = 0;
  int lo = 0;
  if (t > 0) {
    const int tall = LastAbove(counts, 1, t, 100);
    hi = tall < 0 ? 1 : tall;
    while (hi > 1 && v(hi - 1) >= v(hi)) --hi;
    const int first = FirstAbove(counts, 0, hi - 1, 0);
    lo = first < 0 ? hi - 1 : first;
    if (lo < hi) {
      while (lo < hi - 1 && v(lo + 1) >= v(lo)) ++lo;
      for (int k = lo; k <= hi - 1; ++k) {
        if (v(k) > 0 && v(k + 1) > 0 && 4 * v(k) < v(k + 1)) {
          hi = k + 1;
          break;
        }
      }
    }
  }
  a.mid = (lo + hi) / 2;
  if (t > 0 && hi < t) {
    while (hi < t - 1 && v(hi + 1) >= v(hi)) ++hi;
  }
  a.lo = lo;
  a.hi = hi;
  a.firstEnabled = lo + 1;
  a.lastEnabled = a.mid;
  a.selected = (a.mid + lo) / 2;
  return a;
}

}  // namespace

SensingCounts DecodeDistribution(std::string_view bytes) {
  SensingCounts counts{};
  for (size_t k = 0; k < counts.size() && 2 * k + 1 < bytes.size(); ++k) {
    counts[k] = static_cast<uint16_t>(static_cast<uint8_t>(bytes[2 * k]) |
                                      static_cast<uint8_t>(bytes[2 * k + 1]) << 8);
  }
  return counts;
}

std::string CountText(int count) { return Printed("%4.4d", count); }
std::string LevelLabel(int index) { return Printed("%3.3d :", SensingLevel(index)); }

SensingAnalysis AnalyseSensing(const SensingCounts& counts, SensingType type) {
  SensingAnalysis a = type == SensingType::kBlackMark ? AnalyseMark(counts) : AnalyseGap(counts);
  a.middleGapValue = a.selected * 8 + 8;
  return a;
}

std::optional<int> ExtraLevel(SensingType type, int lo, int hi, int index) {
  const int d = hi - lo;
  if (d < 1 || d > 3) return std::nullopt;
  if (type == SensingType::kBlackMark) {
    static constexpr int kAbove[] = {0, 3, 2, 12};
    return lo * 8 + index + kAbove[d];
  }
  if (d == 3) return lo * 8 - index - 12;
  return hi * 8 - index - (d == 1 ? 3 : 2);
}

std::string ExtraRadioLabel(SensingType type, int lo, int hi, int index) {
  const std::optional<int> level = ExtraLevel(type, lo, hi, index);
  return level ? Printed("%3.3d :", *level) : std::string();
}

std::string ExtraPeakLabel(int index) { return Printed("%3.3d : ", SensingLevel(index)); }
std::string ExtraCountText(int count) { return Printed("%3.3d", count); }

std::string BuildReadDistribution(int labelLengthMm, SensingType type) {
  const int64_t dots = static_cast<int64_t>(labelLengthMm) * 8;
  return "^MXd," + std::to_string(dots) + (type == SensingType::kBlackMark ? ",B\r" : ",G\r");
}

std::string BuildStoreThreshold(int middleGapValue, int gapCount) {
  return "^MXs," + std::to_string(middleGapValue) + "," + std::to_string(gapCount) + "\r";
}

std::string BuildCancelSensing() { return "^MXc\r"; }

std::string BuildManualCalibration(std::string_view detect, std::string_view margin, std::string_view lengthText) {
  std::string out = "^MA";
  out.append(detect).append(",").append(margin).append(",").append(lengthText).append("\r");
  return out;
}

std::string BuildCancelManualCalibration() { return "^MAC\r"; }

int SensingWaitMs(int interfaceKind, int dots) {
  const int64_t perDot = interfaceKind == kSerial ? 4 : interfaceKind == kEthernet ? 2 : 6;
  return static_cast<int>(std::clamp<int64_t>(perDot * dots, 0, std::numeric_limits<int>::max()));
}

DistributionRead ReadSensingDistribution(PrinterLink& link, Clock& clock, Prompter& prompter, int labelLengthMm,
                                         SensingType type) {
  DistributionRead result;
  const int kind = link.GetInterfaceKind();
  const int dots = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(labelLengthMm) * 8, 0,
                                                        std::numeric_limits<int>::max()));
  link.Write(BuildReadDistribution(labelLengthMm, type));
  const int waitMs = SensingWaitMs(kind, dots);
  char buffer[kDistributionBytes] = {};
  int total = 0;
  if (kind == kUsb && link.usbModel() >= 0 && link.usbModel() <= 3) {
    // These models hand the distribution over in quarters, 100 ms apart.
    constexpr int kQuarter = kDistributionBytes / 4;
    for (int q = 0; q < 4; ++q) {
      const int got = ReadWithin(link, buffer + q * kQuarter, kQuarter, q == 0 ? waitMs + 100 : 100);
      if (got != kQuarter) break;
      total += kQuarter;
    }
  } else if (kind == kEthernet) {
    // A connection's reply cannot be read a second time; wait it out as the printer needs.
    clock.Sleep(waitMs);
    total = link.Read(buffer, kDistributionBytes, ReplyEnd::kCount);
  } else {
    total = ReadWithin(link, buffer, kDistributionBytes, waitMs);
  }
  result.firstTotal = total;
  if (total != kDistributionBytes) {
    Tell(prompter, "Sensing Data Read Fail!", Icon::kExclamation);
    std::fill(std::begin(buffer), std::end(buffer), '\0');
    total = link.Read(buffer, kDistributionBytes, ReplyEnd::kCount);
  }
  // Only a whole distribution is analysed: zeros in place of a lost reply would propose
  // a threshold the printer never measured.
  result.ok = total == kDistributionBytes;
  if (result.ok) result.counts = DecodeDistribution(std::string_view(buffer, sizeof buffer));
  return result;
}

int StoreThreshold(PrinterLink& link, int middleGapValue, int gapCount) {
  return link.Write(BuildStoreThreshold(middleGapValue, gapCount));
}

int CancelSensing(PrinterLink& link) { return link.Write(BuildCancelSensing()); }

int RunManualCalibration(PrinterLink& link, std::string_view detect, std::string_view margin,
                         std::string_view lengthText) {
  return link.Write(BuildManualCalibration(detect, margin, lengthText));
}

int CancelManualCalibration(PrinterLink& link) { return link.Write(BuildCancelManualCalibration()); }

void TellSelectLevel(Prompter& prompter) { Tell(prompter, std::string(texts::kSelectSenseningLevel), Icon::kExclamation); }

std::string DetectText(int index) { return std::to_string(index + 4); }
std::string MarginText(int index) { return std::to_string(4 + 2 * index); }

ManualPreset PresetFor(int preset, bool blackMark) {
  // Odd settings detect 5 times, even ones 8; the margin grows in pairs and is narrower
  // for black marks.
  static constexpr int kGapMargin[] = {6, 8, 10, 30};
  static constexpr int kMarkMargin[] = {4, 6, 8, 20};
  const int p = std::clamp(preset, 0, 7);
  const int margin = (blackMark ? kMarkMargin : kGapMargin)[p / 2];
  return ManualPreset{(p % 2 == 0 ? 5 : 8) - 4, (margin - 4) / 2};
}

}  // namespace qm
