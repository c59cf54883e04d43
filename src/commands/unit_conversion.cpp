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

std::string ShownLength(float value) {
  if (value == 0.0f) return "0";
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc()) {
    const auto general = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, general.ptr);
  }
  return std::string(buffer, end);
}

}  // namespace qm
