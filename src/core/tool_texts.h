// The messages and names of the printer tools that carry the tools' own spelling.
//
// They are spelled exactly as the printer's own tools spell them ("faied", "Warnning",
// "Sensening", "pasued", "Insufficant"): operators, scripts and tests compare them as they
// are. Do not correct them, here or where they are used.
#pragma once

#include <string_view>

namespace qm::texts {

inline constexpr std::string_view kGetRfidSettingFailed = "Get RFID setting is faied";
inline constexpr std::string_view kSetRfidSettingFailed = "Set RFID setting is faied";
inline constexpr std::string_view kAutoCalibrationFailed = "Auto calibration is faied";
inline constexpr std::string_view kReadingDataFailed = "Reading data is faied";
inline constexpr std::string_view kWritingIsSuccess = "Writing is success";
inline constexpr std::string_view kGetSerialStatusFailed = "Get serial communication status is faied";
inline constexpr std::string_view kSetSerialStatusFailed = "Set serial communication status is faied";
inline constexpr std::string_view kWarnningCaption = "Warnning";
inline constexpr std::string_view kSelectSenseningLevel = "Select the Sensening Level.";
inline constexpr std::string_view kIssuedLabelPasued = "Issued label is pasued";
inline constexpr std::string_view kInsufficantMem = "Insufficant Mem";

}  // namespace qm::texts
