// Everything the virtual printer remembers: what survives a restart and what does not.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "printer/rfid_tag.h"

namespace qm::printer {

// The printer models, indexed like the USB model table.
struct ModelInfo {
  std::string_view name;      // "^PI0"
  std::string_view type;      // "^PI1"
  std::string_view firmware;  // "^PI2"
};
inline constexpr int kModelCount = 8;
const ModelInfo& ModelAt(int modelIndex);

enum class MediaType : char { kGap = 'G', kContinuous = 'C', kBlackMark = 'B' };

// Limits the printer enforces on stored values; a setting outside them is refused.
inline constexpr int kMaxWidthDots = 832;     // 104 mm print head at 8 dots/mm
inline constexpr int kMaxLengthDots = 2432;
inline constexpr int kMaxGapDots = 999;
inline constexpr int kMaxDensity = 20;
inline constexpr int kMaxShiftDots = 100;     // print offset and tear-off position
inline constexpr size_t kHardwareVersionMax = 4;
inline constexpr size_t kSerialNumberMax = 16;
inline constexpr size_t kPrinterIdMax = 7;

// Paper and print settings. The user setting commands and the label commands change the
// same values, as on the printer.
struct MediaSettings {
  int paperWidth = 812;   // dots
  int paperLength = 1219;
  int gapLength = 24;
  int horizontalMargin = 0;
  int verticalMargin = 0;
  int density = 10;       // 0 to 20
  int offset = 0;         // signed dots, "SA"
  int tearOff = 0;        // signed dots, "TA"
  bool labelLengthCheck = false;
  MediaType media = MediaType::kGap;
  int printSpeed = 3;     // "SS" position, 0 to 4
  bool topFirst = true;   // "SOT" / "SOB"
  int codePage = 0;       // "CS"
  int ics = 0;

  bool operator==(const MediaSettings&) const = default;
};

struct Identification {
  std::string hardwareVersion = "A1.2";
  std::string serialNumber = "QM20240117A0042";
  std::string printerId = "PRN01";

  bool operator==(const Identification&) const = default;
};

// The media sensor: the threshold stored by calibration.
struct SensorSettings {
  int threshold = 144;  // the middle gap value
  int gapCount = 7;
  MediaType calibratedFor = MediaType::kGap;
  int manualDetections = 8;
  int manualMargin = 16;
  bool calibrated = false;

  bool operator==(const SensorSettings&) const = default;
};

struct RfidSettings {
  int tagType = 5;  // 5 GEN2, 2 ISO-B
  int power = 18;   // 1 to 31
  int position = 600;
  int retries = 3;  // 0 to 10
  int labels = 2;   // 0 to 5
  uint32_t validCount = 0;
  uint32_t voidCount = 0;
  bool calibrated = false;

  bool operator==(const RfidSettings&) const = default;
};

// What the printer keeps in non-volatile memory; this is what the state file holds.
struct StoredState {
  int modelIndex = 1;
  MediaSettings media;
  std::array<uint8_t, 4> switches{};  // memory switches 1 to 4
  Identification ident;
  SensorSettings sensor;
  RfidSettings rfid;

  bool operator==(const StoredState&) const = default;
};

// Factory state for a model.
StoredState FactoryState(int modelIndex);

// Status conditions, set on demand for tests and demos.
struct Faults {
  bool paperEmpty = false;
  bool coverOpen = false;
  bool cutterJam = false;
  bool headOverheat = false;
  bool gapError = false;
  bool ribbonEnd = false;
  bool paperJam = false;
  bool paused = false;
  bool printing = false;
  bool busy = false;
  bool tagAbsent = false;  // no RFID tag within the encoder's reach
  bool building = false;  // a label is being built, as if its commands were pending
  int cpsExtra = 0;       // further "CPS" bits, the four the printer leaves undefined among them
  std::string errorCode;  // forced "^ee" class and code, two characters, or empty

  // Conditions under which the printer prints nothing.
  bool BlocksPrinting() const {
    return paperEmpty || coverOpen || cutterJam || headOverheat || ribbonEnd || paperJam || paused;
  }
  bool operator==(const Faults&) const = default;
};

// Parses "cover-open,paper-empty,ee=12"; on failure names the bad item in `error`.
bool ParseFaults(std::string_view list, Faults& faults, std::string& error);

// Everything else lives only while the printer runs.
struct VolatileState {
  std::array<int, 4> stagedSwitches{-1, -1, -1, -1};  // "^MBS" values waiting for "^MBA"
  bool sensingInProgress = false;
  bool manualCalibrationRunning = false;
  std::string lastError = "00";  // "^ee" class and code, cleared when read
  int headTemperature = 31;
  RfidTag tag;
};

}  // namespace qm::printer
