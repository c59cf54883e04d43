#include "commands/font_finder.h"

namespace qm {

namespace {

// A squared distance; the search never takes a candidate farther than 100 dots.
constexpr double kFarthest = 100.0 * 100.0;

struct Target {
  double width;
  double height;
};

Target TargetOf(double widthMm, double heightMm) { return {widthMm * 8.0, heightMm * 8.0}; }

double Distance(const Target& t, int font, int xMulti, int yMulti) {
  const double dh = t.height - kFontCells[font].height * yMulti;
  const double dw = t.width - kFontCells[font].width * xMulti;
  return dh * dh + dw * dw;
}

// Visits candidates in the finder's order from `firstFont`; among candidates that `accept`
// and are no farther than the best so far, the last one visited wins.
template <typename Accept>
std::optional<FontChoice> Closest(const Target& t, int firstFont, Accept accept) {
  std::optional<FontChoice> best;
  double bestDistance = kFarthest;
  for (int font = firstFont; font < static_cast<int>(kFontCells.size()); ++font) {
    for (int x = 1; x <= kMaxMulti; ++x) {
      for (int y = 1; y <= kMaxMulti; ++y) {
        const FontChoice candidate{font, x, y};
        if (!accept(candidate)) continue;
        const double distance = Distance(t, font, x, y);
        if (distance <= bestDistance) {
          bestDistance = distance;
          best = candidate;
        }
      }
    }
  }
  return best;
}

}  // namespace

std::optional<FontChoice> FindMostSimilarFont(double widthMm, double heightMm) {
  return Closest(TargetOf(widthMm, heightMm), 0, [](const FontChoice&) { return true; });
}

std::optional<FontChoice> FindSimilarAndRoundFont(double widthMm, double heightMm) {
  const std::optional<FontChoice> closest = FindMostSimilarFont(widthMm, heightMm);
  if (!closest) return std::nullopt;
  const std::optional<FontChoice> round =
      Closest(TargetOf(widthMm, heightMm), closest->font, [&](const FontChoice& c) {
        return c.font > closest->font && c.xMulti < closest->xMulti && c.yMulti < closest->yMulti;
      });
  return round ? round : closest;
}

void FindMostSimilar(FontFinderFields& fields) {
  if (auto found = FindMostSimilarFont(fields.width, fields.height)) fields.mostSimilar = *found;
}

void FindSimilarAndRound(FontFinderFields& fields) {
  if (auto found = FindSimilarAndRoundFont(fields.width, fields.height)) {
    fields.similarAndRound = *found;
  }
}

std::string BuildFontComparisonPrint(const FontFinderFields& fields) {
  const auto line = [](std::string_view y, const FontChoice& c) {
    return "T50," + std::string(y) + "," + std::to_string(c.font) + "," +
           std::to_string(c.xMulti) + "," + std::to_string(c.yMulti) + ",0,0,N,N,'TEST148'\r";
  };
  return "SL600,0,C\r" + line("50", fields.mostSimilar) + line("350", fields.similarAndRound) +
         "P1\r";
}

}  // namespace qm
