// What every command builder shares: the line endings of a test print and of the script,
// coordinates written as truncated integers, and the ranges a field is checked against.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// A field's label as the dialog shows it and the range its value must lie in. As a
// validation result it names the field that is out of that range.
struct FieldRange {
  std::string_view label;
  int minimum;
  int maximum;
  bool operator==(const FieldRange&) const = default;
};
using FieldError = FieldRange;

// The field's range when `value` lies outside it; nullopt when it is inside.
std::optional<FieldError> CheckRange(const FieldRange& range, double value);

// A real-valued coordinate as the commands carry it: truncated toward zero, in decimal.
// Values beyond the 64-bit range saturate and a NaN is 0, so any typed number is safe.
std::string TruncatedInteger(double value);

// A one-label test print of one builder line: the line, CR, "P1", CR.
std::string TestPrintBytes(std::string_view line);

// Lines as the tester appends them to its script, each followed by CR LF, in order.
std::string ScriptLines(const std::vector<std::string>& lines);

// Rotation lists of the text and barcode builders; the command carries the position.
inline constexpr std::array<std::string_view, 4> kRotationNames = {"0", "90", "180", "270"};

// The two kinds of font a character print can use.
enum class FontKind { kBitmap, kVector };
inline constexpr std::array<std::string_view, 2> kFontKindNames = {"Bitmap Font", "Vector Font"};

}  // namespace qm
