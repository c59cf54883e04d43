// Calibration of the media sensor: the distribution the printer reports, its analysis into a
// proposed threshold, and the commands that store a threshold or run the printer's own
// calibration.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/prompter.h"

namespace qm {

class PrinterLink;

inline constexpr int kSensingLevels = 32;
inline constexpr int kDistributionBytes = 64;
using SensingCounts = std::array<uint16_t, kSensingLevels>;

// Index 0 and 1, as the page's radio buttons number them.
enum class SensingType { kGap = 0, kBlackMark = 1 };

// The level a count belongs to: (index + 1) x 8, 8 to 256.
constexpr int SensingLevel(int index) { return (index + 1) * 8; }

// Count k from bytes 2k and 2k+1, low byte first; missing bytes read as 0.
SensingCounts DecodeDistribution(std::string_view bytes);

// "0900": a count as the page shows it.
std::string CountText(int count);
// "008 :": the label beside a level's radio button.
std::string LevelLabel(int index);

// Where the two clusters lie and the levels between them the operator may choose.
struct SensingAnalysis {
  int lo = 0;             // the lower peak's index
  int hi = 0;             // the upper peak's index
  int mid = 0;            // (lo + hi) / 2 before the lower peak was settled
  int firstEnabled = 0;   // level buttons offered, inclusive; none when first > last
  int lastEnabled = -1;
  int selected = 0;       // the proposed level's index
  int middleGapValue = 8; // selected x 8 + 8

  int distance() const { return hi - lo; }
  // Clusters this close need the finer choice of the extra dialog.
  bool needsExtra() const { return distance() <= 3; }
  bool operator==(const SensingAnalysis&) const = default;
};

// Finds the label's cluster and the gap's (or mark's) and proposes a level between them.
SensingAnalysis AnalyseSensing(const SensingCounts& counts, SensingType type);

// The extra dialog's finer levels for radio `index` 0..7, given the two peaks; nullopt when
// the peaks are not 1 to 3 levels apart.
std::optional<int> ExtraLevel(SensingType type, int lo, int hi, int index);
// "094 :", or empty text when there is no such level.
std::string ExtraRadioLabel(SensingType type, int lo, int hi, int index);
// "048 : ", the extra dialog's label of a peak; "0900" style counts there read "%3.3d".
std::string ExtraPeakLabel(int index);
std::string ExtraCountText(int count);

// Commands, each ending in a carriage return.
std::string BuildReadDistribution(int labelLengthMm, SensingType type);  // "^MXd,1200,G\r"
std::string BuildStoreThreshold(int middleGapValue, int gapCount);       // "^MXs,144,7\r"
std::string BuildCancelSensing();                                         // "^MXc\r"
// "^MA8,16,1500\r", the list texts and the length field's text as they stand.
std::string BuildManualCalibration(std::string_view detect, std::string_view margin, std::string_view lengthText);
std::string BuildCancelManualCalibration();  // "^MAC\r"

// How long the printer takes to move `dots` of label past its sensor on this interface.
int SensingWaitMs(int interfaceKind, int dots);

struct DistributionRead {
  bool ok = false;  // all 64 bytes came, on the first read or the one more after it
  SensingCounts counts{};
  int firstTotal = 0;  // what the first read brought
};

// "Check Sensing Value": sends the read command, waits for the label to pass (the wait is a
// deadline: a distribution complete earlier is taken at once), reads the 64 bytes and, when
// they do not all come, says "Sensing Data Read Fail!" and reads once more.
DistributionRead ReadSensingDistribution(PrinterLink& link, Clock& clock, Prompter& prompter, int labelLengthMm,
                                         SensingType type);

// Each returns the link's write result; nothing is shown.
int StoreThreshold(PrinterLink& link, int middleGapValue, int gapCount);
int CancelSensing(PrinterLink& link);
int RunManualCalibration(PrinterLink& link, std::string_view detect, std::string_view margin,
                         std::string_view lengthText);
int CancelManualCalibration(PrinterLink& link);

// "Select the Sensening Level.", when a save has no level to store.
void TellSelectLevel(Prompter& prompter);

// The manual page's list entries.
inline constexpr int kDetectEntries = 12;  // "4" to "15"
inline constexpr int kMarginEntries = 19;  // "4" to "40" in steps of 2
inline constexpr int kDefaultDetectIndex = 4;
inline constexpr int kDefaultMarginIndex = 6;
std::string DetectText(int index);
std::string MarginText(int index);

// "Setting 1" to "Setting 8" (`preset` 0..7): the list indexes they select.
struct ManualPreset {
  int detectIndex = 0;
  int marginIndex = 0;
};
ManualPreset PresetFor(int preset, bool blackMark);

}  // namespace qm
