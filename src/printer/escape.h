// Readable forms of raw command bytes, for the log and the label records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm::printer {

// Printable ASCII stays as it is; CR and LF become \r and \n, a backslash \\, and every
// other byte \xNN with upper-case digits.
std::string Escape(std::string_view bytes);

// "2024-01-17 09:41:07.250" for milliseconds since the epoch, in local time.
std::string FormatTimestamp(int64_t epochMs);

// Milliseconds since the epoch, from the system clock.
int64_t WallClockMs();

}  // namespace qm::printer
