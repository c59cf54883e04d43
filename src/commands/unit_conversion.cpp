#include "commands/unit_conversion.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace qm {

static_assert(static_cast<double>(kMmPerInch) == 25.399999618530273);
static_assert(static_cast<double>(kInchPerMm) == 0.03937007859349251);

namespace {

double ToMm(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::kInch: return kMmPerInch;
    case LengthUnit::kDots: return kMmPerDot;
    case LengthUnit::kMm: break;
  }
  return 1.0;
}

double FromMm(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::kInch: return kInchPerMm;
    case LengthUnit::kDots: return kDotsPerMm;
    case LengthUnit::kMm: break;
  }
  return 1.0;
}

}  // namespace

double ConversionFactor(LengthUnit from, LengthUnit to) {
  if (from == to) return 1.0;
  // Through millimetres: 25.4 x 8 for inches to dots, 0.125 x 0.03937008 for dots to inches.
  // Each factor is a float and the other a power of two (or 1), so the product is exact.
  return ToMm(from) * FromMm(to);
}

float ConvertLength(float value, LengthUnit from, LengthUnit to) {
  return static_cast<float>(static_cast<double>(value) * ConversionFactor(from, to));
}

double DotsOf(float value, LengthUnit unit) {
  return static_cast<double>(value) * ConversionFactor(unit, LengthUnit::kDots);
}

ConversionUnits UnitsOf(UnitConversion conversion) {
  switch (conversion) {
    case UnitConversion::kInchToDots: return {LengthUnit::kInch, LengthUnit::kDots};
    case UnitConversion::kDotsToInch: return {LengthUnit::kDots, LengthUnit::kInch};
    case UnitConversion::kDotsToMm: return {LengthUnit::kDots, LengthUnit::kMm};
    case UnitConversion::kMmToInch: return {LengthUnit::kMm, LengthUnit::kInch};
    case UnitConversion::kMmToDots: return {LengthUnit::kMm, LengthUnit::kDots};
    case UnitConversion::kInchToMm: break;
  }
  return {LengthUnit::kInch, LengthUnit::kMm};
}

float ConvertUnit(float input, UnitConversion conversion) {
  const ConversionUnits units = UnitsOf(conversion);
  return ConvertLength(input, units.from, units.to);
}

int ShownDecimals(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::kDots: return 0;
    case LengthUnit::kMm: return 3;
    case LengthUnit::kInch: break;
  }
  return 4;
}

std::string ShownLength(float value, LengthUnit unit) {
  const int decimals = ShownDecimals(unit);
  const double scaled = static_cast<double>(value) * std::pow(10.0, decimals);
  // Rounded as a count of the last place, so no binary fraction decides a tie.
  if (!std::isfinite(scaled) || std::abs(scaled) >= 1e15) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
  }
  const long long places = std::llround(scaled);
  std::string digits = std::to_string(std::llabs(places));
  if (decimals > 0) {
    if (digits.size() <= static_cast<size_t>(decimals)) digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
    digits.insert(digits.size() - static_cast<size_t>(decimals), 1, '.');
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == '.') digits.pop_back();
  }
  // A value that rounds to nothing has no sign.
  return places < 0 ? "-" + digits : digits;
}

}  // namespace qm
