#include "commands/command_framing.h"

#include <cmath>
#include <limits>

namespace qm {

std::optional<FieldError> CheckRange(const FieldRange& range, double value) {
  // A NaN is outside every range.
  if (value >= range.minimum && value <= range.maximum) return std::nullopt;
  return range;
}

std::string TruncatedInteger(double value) {
  if (std::isnan(value)) return "0";
  // 2^63 is exactly representable; anything at or past it would overflow the conversion.
  constexpr double kLimit = 9223372036854775808.0;
  if (value >= kLimit) return std::to_string(std::numeric_limits<long long>::max());
  if (value <= -kLimit) return std::to_string(std::numeric_limits<long long>::min());
  return std::to_string(static_cast<long long>(value));
}

std::string TestPrintBytes(std::string_view line) {
  std::string bytes(line);
  bytes += "\rP1\r";
  return bytes;
}

std::string ScriptLines(const std::vector<std::string>& lines) {
  std::string script;
  for (const std::string& line : lines) {
    script += line;
    script += "\r\n";
  }
  return script;
}

}  // namespace qm
