// Numbered strings of the user interface, English by default.
#pragma once

#include <string>
#include <string_view>

#include "core/prompter.h"

namespace qm {

namespace sid {
inline constexpr int kTitle = 102;
inline constexpr int kInterfaceType = 103;
inline constexpr int kCantOpenFile = 106;
inline constexpr int kBinaryDownloadDone = 107;
inline constexpr int kSelectBinaryFile = 108;
inline constexpr int kSerialReadError = 109;
inline constexpr int kPortWriteError = 110;
inline constexpr int kPcxDownloadDone = 145;
inline constexpr int kSelectPcxFiles = 146;
inline constexpr int kTypeImageName = 147;
inline constexpr int kSocketCreateFailed = 148;
inline constexpr int kConnectFailed = 149;
inline constexpr int kCannotOpenPort = 216;
inline constexpr int kPortOpened = 217;
inline constexpr int kNoParallelOnWin9x = 218;
inline constexpr int kNoCalibrationOnEthernet = 219;
}  // namespace sid

// English text of a numbered string; empty for an unknown number.
std::string_view EnglishText(int id);

// Looks numbered strings up; the GUI supplies a translated table.
class StringTable {
 public:
  virtual ~StringTable() = default;
  virtual std::string Text(int id) const { return std::string(EnglishText(id)); }
};

// The English table, immutable and shared.
const StringTable& EnglishStrings();

// A message carrying numbered string `id` from `table`.
Message NumberedMessage(const StringTable& table, int id, Icon icon);

}  // namespace qm
