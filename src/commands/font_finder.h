// The font finder: which bitmap font and magnifications come closest to a character cell
// given in millimetres, and the label that prints two answers side by side.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace qm {

// Base character cell of bitmap fonts "0" to "6", in dots.
struct FontCell {
  int width;
  int height;
};
inline constexpr std::array<FontCell, 7> kFontCells = {
    {{8, 13}, {10, 18}, {14, 22}, {17, 26}, {20, 35}, {28, 44}, {40, 70}}};
inline constexpr int kMaxMulti = 4;

struct FontChoice {
  int font = 3;
  int xMulti = 1;
  int yMulti = 1;
  bool operator==(const FontChoice&) const = default;
};

// The candidate closest to the cell, the last visited among equals (font 0 to 6, then
// X 1 to 4, then Y 1 to 4); nullopt when none lies within 100 dots.
std::optional<FontChoice> FindMostSimilarFont(double widthMm, double heightMm);

// A larger font with smaller magnifications than the closest one, when one lies within 100
// dots; otherwise the closest itself. nullopt when nothing lies within 100 dots at all.
std::optional<FontChoice> FindSimilarAndRoundFont(double widthMm, double heightMm);

// The dialog's state: the size asked for and the two answers shown. A search that finds
// nothing leaves its answer as it was.
struct FontFinderFields {
  double width = 3;   // millimetres
  double height = 5;  // millimetres
  FontChoice mostSimilar;
  FontChoice similarAndRound;
};
void FindMostSimilar(FontFinderFields& fields);
void FindSimilarAndRound(FontFinderFields& fields);

// "Print for comparsion", one write: a 600-dot continuous label, "TEST148" in each answer's
// font and magnifications, and "P1"; each line ends in CR. The label length stays set.
std::string BuildFontComparisonPrint(const FontFinderFields& fields);

}  // namespace qm
