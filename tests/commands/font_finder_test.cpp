// The font finder's two searches and its comparison label.
#include <gtest/gtest.h>

#include "commands/font_finder.h"

namespace qm {
namespace {

TEST(FontFinder, SearchesOfTheSampleTargets) {
  struct Case {
    double width, height;
    FontChoice mostSimilar, similarAndRound;
  };
  const Case cases[] = {
      {3, 5, {0, 3, 3}, {5, 1, 1}},    // ties at 32 go to the last font visited
      {2, 3, {0, 2, 2}, {3, 1, 1}},
      {10, 10, {5, 3, 2}, {6, 2, 1}},
      {1, 1.5, {0, 1, 1}, {0, 1, 1}},  // nothing has smaller multipliers than 1
      {20, 35, {6, 4, 4}, {6, 4, 4}},  // the largest cell; no larger font to round to
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindMostSimilarFont(c.width, c.height), c.mostSimilar) << c.width << "x" << c.height;
    EXPECT_EQ(FindSimilarAndRoundFont(c.width, c.height), c.similarAndRound)
        << c.width << "x" << c.height;
  }
}

TEST(FontFinder, NothingWithinHundredDotsLeavesTheShownResults) {
  // 160 x 280 dots is the largest cell: a target 100 dots beyond it is still taken, one a
  // hair farther is not.
  EXPECT_EQ(FindMostSimilarFont(20, 35 + 100.0 / 8), (FontChoice{6, 4, 4}));
  EXPECT_EQ(FindMostSimilarFont(20, 35 + 100.1 / 8), std::nullopt);
  EXPECT_EQ(FindSimilarAndRoundFont(100, 100), std::nullopt);

  FontFinderFields f;
  f.mostSimilar = {1, 2, 3};
  f.similarAndRound = {4, 3, 2};
  f.width = 100;
  FindMostSimilar(f);
  FindSimilarAndRound(f);
  EXPECT_EQ(f.mostSimilar, (FontChoice{1, 2, 3}));
  EXPECT_EQ(f.similarAndRound, (FontChoice{4, 3, 2}));

  f.width = 10;
  f.height = 10;
  FindMostSimilar(f);
  EXPECT_EQ(f.mostSimilar, (FontChoice{5, 3, 2}));
  EXPECT_EQ(f.similarAndRound, (FontChoice{4, 3, 2}));  // each search shows only its own
}

TEST(FontFinder, ComparisonPrint) {
  FontFinderFields f;
  EXPECT_EQ(BuildFontComparisonPrint(f),
            "SL600,0,C\rT50,50,3,1,1,0,0,N,N,'TEST148'\rT50,350,3,1,1,0,0,N,N,'TEST148'\rP1\r");
  FindMostSimilar(f);
  FindSimilarAndRound(f);
  EXPECT_EQ(BuildFontComparisonPrint(f),
            "SL600,0,C\rT50,50,0,3,3,0,0,N,N,'TEST148'\rT50,350,5,1,1,0,0,N,N,'TEST148'\rP1\r");
}

}  // namespace
}  // namespace qm
