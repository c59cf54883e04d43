// Lengths between inches, millimetres and printer dots at 8 dots per millimetre, with the
// single-precision factors the tools have always used, so every dialog shows the same figure.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qm {

enum class LengthUnit { kInch, kMm, kDots };
inline constexpr std::array<std::string_view, 3> kLengthUnitNames = {"inch", "mm", "dots"};

// The factors as single-precision values: 25.4 is really 25.399999618530273 and 0.03937008
// is 0.03937007859349251. Multiplying by 8 or 0.125 is exact, so chained factors stay so.
inline constexpr float kMmPerInch = 25.4f;
inline constexpr float kInchPerMm = 0.03937008f;
inline constexpr float kDotsPerMm = 8.0f;
inline constexpr float kMmPerDot = 0.125f;

// The factor that takes a length in `from` to `to`; 1 for the same unit.
double ConversionFactor(LengthUnit from, LengthUnit to);

// A length in another unit, formed in double and stored in single precision, unrounded.
float ConvertLength(float value, LengthUnit from, LengthUnit to);

// A length in printer dots, the product formed in double and not yet truncated.
double DotsOf(float value, LengthUnit unit);

// The converter's six conversions, in the order the dialog lists them.
enum class UnitConversion { kInchToMm, kInchToDots, kDotsToInch, kDotsToMm, kMmToInch, kMmToDots };
inline constexpr std::array<std::string_view, 6> kUnitConversionNames = {
    "inch to mm", "inch to dots", "dots to inch", "dots to mm", "mm to inch", "mm to dots"};

struct ConversionUnits {
  LengthUnit from;
  LengthUnit to;
};
// The source and target units, whose names label the input and output fields.
ConversionUnits UnitsOf(UnitConversion conversion);
// "Convert Unit": the input times the conversion's factor, in single precision.
float ConvertUnit(float input, UnitConversion conversion);

// A converted length as it is shown: the single-precision value itself, unrounded, in the
// shortest decimal that reads back as the same value ("203.2" for 1 inch in dots, since the
// stored float is the one nearest to it), with its sign, and "0" for either zero.
std::string ShownLength(float value);

}  // namespace qm
