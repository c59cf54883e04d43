// Where each command drew: exact boxes per command, lines and words, margins and "SOB",
// overlaps between objects and picking the command under a dot.
#include <gtest/gtest.h>

#include "render/drawn_boxes.h"
#include "render_support.h"
#include "table_test.h"

namespace qm::render::test {
namespace {

using qm::test::RowName;

struct BoxRow {
  std::string name;
  std::string script;  // one label; "P1" is added
  std::vector<DrawnBox> boxes;
};

std::string Shown(const std::vector<DrawnBox>& boxes) {
  std::string s;
  for (const DrawnBox& b : boxes) {
    s += std::to_string(b.line) + " " + b.word + (b.blockType ? std::string(1, b.blockType) : "") + " {" +
         std::to_string(b.box.left) + "," + std::to_string(b.box.top) + "," + std::to_string(b.box.width) + "," +
         std::to_string(b.box.height) + "}\n";
  }
  return s;
}

std::string ImageScript() {
  std::vector<uint8_t> px(20 * 10, 0);  // 1-bit, all dark
  const std::string pcx = Pcx(20, 10, 1, px);
  return "IS" + std::to_string(pcx.size()) + ",'LOGO'" + pcx + "\r\nIR100,200,'LOGO'";
}

class DrawnBoxes : public testing::TestWithParam<BoxRow> {};

TEST_P(DrawnBoxes, AreExact) {
  const BoxRow& row = GetParam();
  const RenderResult r = Render(row.script + "\r\nP1\r\n");
  ASSERT_EQ(r.labels.size(), 1u) << WarningsText(r);
  ASSERT_TRUE(r.labels[0].boxes);
  EXPECT_EQ(Shown(*r.labels[0].boxes), Shown(row.boxes)) << WarningsText(r);
  EXPECT_EQ(*r.labels[0].boxes, row.boxes);
  // Whatever was inked on the label lies inside what the commands say they drew.
  const Box ink = r.labels[0].bitmap->InkedBox();
  if (!ink.empty()) {
    Box all;
    for (const DrawnBox& b : row.boxes) {
      all = all.empty() ? b.box : BoxOfLine({{0, "", all}, {0, "", b.box}}, 0);
    }
    EXPECT_EQ(BoxOfLine({{0, "", all}, {0, "", ink}}, 0), all) << "ink outside the boxes";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, DrawnBoxes,
    testing::Values(
        BoxRow{"bitmap text", "T10,20,1,1,1,0,0,N,N,'AB'", {{1, "T", {10, 20, 20, 18}}}},
        BoxRow{"bitmap text magnified and spaced", "T10,20,0,2,3,5,0,N,N,'ABC'", {{1, "T", {10, 20, 58, 39}}}},
        BoxRow{"bitmap text turned 90 degrees", "T100,100,1,1,1,0,1,N,N,'AB'", {{1, "T", {83, 100, 18, 20}}}},
        BoxRow{"bitmap text turned 180 degrees", "T100,100,1,1,1,0,2,N,N,'AB'", {{1, "T", {81, 83, 20, 18}}}},
        BoxRow{"reverse text is its cells", "T10,20,1,1,1,0,0,R,N,'AB'", {{1, "T", {10, 20, 20, 18}}}},
        BoxRow{"margins move the box", "SM30,40\r\nT10,20,1,1,1,0,0,N,N,'A'", {{2, "T", {40, 60, 10, 18}}}},
        BoxRow{"a filled block", "BD100,100,800,120,O", {{1, "BD", {100, 100, 700, 20}, 'O'}}},
        BoxRow{"a block given end first", "BD800,120,100,100,E", {{1, "BD", {100, 100, 700, 20}, 'E'}}},
        BoxRow{"a frame", "BD150,500,495,750,B,15", {{1, "BD", {150, 500, 345, 250}, 'B'}}},
        BoxRow{"a horizontal line is as thick as asked", "BD100,100,500,100,S,10",
               {{1, "BD", {100, 100, 400, 10}, 'S'}}},
        BoxRow{"a diagonal line holds all its runs", "BD200,550,300,700,S,30",
               {{1, "BD", {200, 550, 129, 150}, 'S'}}},
        BoxRow{"a block reaching past the edge keeps its whole box", "BD800,0,900,10,O",
               {{1, "BD", {800, 0, 100, 10}, 'O'}}},
        BoxRow{"QR code of 21 modules of 8 dots", "B250,60,Q,2,M,4,0,'HELLO'", {{1, "B2", {50, 60, 168, 168}}}},
        BoxRow{"Code128 of 68 modules of 2 dots", "B110,10,1,2,4,50,0,0,'ABC'", {{1, "B1", {10, 10, 136, 50}}}},
        BoxRow{"a recalled image", ImageScript(), {{3, "IR", {100, 200, 20, 10}}}},
        BoxRow{"several commands in drawing order", "BD0,0,10,10,O\r\nSS3\r\nT10,20,1,1,1,0,0,N,N,'A'",
               {{1, "BD", {0, 0, 10, 10}, 'O'}, {3, "T", {10, 20, 10, 18}}}},
        BoxRow{"a setting draws nothing", "SS3\r\nSD10", {}},
        BoxRow{"an unknown font draws nothing", "T10,10,Z,1,1,0,0,N,N,'x'", {}},
        BoxRow{"empty text draws nothing", "T10,10,1,1,1,0,0,N,N,''", {}},
        BoxRow{"a block wholly off the label draws nothing", "BD-500,-500,-400,-400,O", {}},
        BoxRow{"text wholly off the label draws nothing", "T5000,10,1,1,1,0,0,N,N,'A'", {}},
        BoxRow{"a line of no length draws nothing", "BD10,10,10,10,S,3", {}}),
    RowName());

TEST(DrawnBoxesOfLabels, TurnWithTheLabelAndFollowEachPrint) {
  const RenderResult r = Render("SOB\r\nBD10,20,50,40,O\r\nP2\r\nT0,0,1,1,1,0,0,N,N,'A'\r\n");
  ASSERT_EQ(r.labels.size(), 3u);
  // The label turned half way round: the block now sits at the far corner.
  const std::vector<DrawnBox> turned = {{2, "BD", {812 - 50, 1219 - 40, 40, 20}, 'O'}};
  EXPECT_EQ(*r.labels[0].boxes, turned);
  EXPECT_EQ(*r.labels[1].boxes, turned);
  EXPECT_EQ(r.labels[0].bitmap->InkedBox(), turned[0].box);
  // Each label starts clean: the unprinted one holds only its own text.
  const std::vector<DrawnBox> text = {{4, "T", {812 - 10, 1219 - 18, 10, 18}}};
  EXPECT_EQ(*r.labels[2].boxes, text);
}

struct OverlapRow {
  std::string name;
  std::vector<DrawnBox> boxes;
  std::vector<Warning> warnings;
};

class Overlaps : public testing::TestWithParam<OverlapRow> {};

TEST_P(Overlaps, AreWarnedOnTheLaterLine) { EXPECT_EQ(OverlapWarnings(GetParam().boxes), GetParam().warnings); }

const DrawnBox kFrame{1, "BD", {100, 100, 200, 100}, 'B'};

INSTANTIATE_TEST_SUITE_P(
    Pairs, Overlaps,
    testing::Values(
        OverlapRow{"two blocks sharing dots", {{1, "BD", {0, 0, 10, 10}, 'O'}, {2, "BD", {9, 9, 10, 10}, 'O'}},
                   {{2, "\"BD\" overlaps \"BD\" of line 1"}}},
        OverlapRow{"blocks touching edge to edge", {{1, "BD", {0, 0, 10, 10}, 'O'}, {2, "BD", {10, 0, 10, 10}, 'O'}}, {}},
        OverlapRow{"text inside a frame", {kFrame, {2, "T", {110, 110, 50, 18}}}, {}},
        OverlapRow{"text across a frame's edge", {kFrame, {2, "T", {290, 110, 50, 18}}},
                   {{2, "\"T\" overlaps \"BD\" of line 1"}}},
        OverlapRow{"a frame drawn round earlier text", {{1, "T", {110, 110, 50, 18}}, {2, "BD", {100, 100, 200, 100}, 'B'}}, {}},
        OverlapRow{"text inside an inverted block", {{1, "BD", {0, 0, 100, 30}, 'E'}, {2, "T", {5, 5, 50, 18}}}, {}},
        OverlapRow{"text on a filled block", {{1, "BD", {0, 0, 100, 30}, 'O'}, {2, "T", {5, 5, 50, 18}}},
                   {{2, "\"T\" overlaps \"BD\" of line 1"}}},
        OverlapRow{"the rules of a table crossing",
                   {{1, "BD", {0, 50, 400, 2}, 'S'}, {2, "BD", {100, 0, 2, 300}, 'S'}, kFrame}, {}},
        OverlapRow{"a barcode over text and a block",
                   {{1, "T", {0, 0, 50, 18}}, {2, "BD", {0, 40, 10, 10}, 'O'}, {3, "B1", {5, 10, 100, 40}}},
                   {{3, "\"B1\" overlaps \"T\" of line 1"}, {3, "\"B1\" overlaps \"BD\" of line 2"}}},
        OverlapRow{"one line's own objects", {{4, "T", {0, 0, 50, 18}}, {4, "T", {0, 0, 50, 18}}}, {}}),
    RowName());

TEST(OverlapsOfManyObjects, SideBySideAreNotComparedPairByPair) {
  // 100000 texts in a row: pair by pair this would be 5e9 comparisons, a stalled render.
  std::vector<DrawnBox> row;
  for (int i = 0; i < 100000; ++i) row.push_back({i + 1, "T", {i * 10, 0, 10, 18}});
  EXPECT_TRUE(OverlapWarnings(row).empty());
  row.push_back({100001, "BD", {5, 5, 10, 10}, 'O'});  // over the first two
  const std::vector<Warning> w = OverlapWarnings(row);
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(w[0], (Warning{100001, "\"BD\" overlaps \"T\" of line 1"}));
  EXPECT_EQ(w[1], (Warning{100001, "\"BD\" overlaps \"T\" of line 2"}));
}

TEST(OverlapsOfManyObjects, AreNamedUpToTheLimitAndThenCounted) {
  std::vector<DrawnBox> pile;
  for (int i = 0; i < 20; ++i) pile.push_back({i + 1, "T", {0, 0, 50, 18}});  // 190 pairs
  const std::vector<Warning> w = OverlapWarnings(pile);
  ASSERT_EQ(w.size(), kMaxOverlapWarnings + 1);
  EXPECT_EQ(w.back().text, "more objects overlap: only 100 are named");
  for (size_t i = 0; i + 1 < w.size(); ++i) EXPECT_NE(w[i].text.find("\"T\" overlaps \"T\" of line "), std::string::npos);
}

struct PickRow {
  std::string name;
  int x, y;
  int line;  // 0 for none
};

class Pick : public testing::TestWithParam<PickRow> {};

TEST_P(Pick, FindsTheCommandUnderTheDot) {
  const std::vector<DrawnBox> boxes = {kFrame, {2, "T", {110, 110, 50, 18}}, {3, "BD", {0, 0, 20, 20}, 'O'},
                                       {4, "BD", {0, 0, 20, 20}, 'E'}};
  const std::optional<DrawnBox> picked = PickAt(boxes, GetParam().x, GetParam().y);
  EXPECT_EQ(picked ? picked->line : 0, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Dots, Pick,
                         testing::Values(PickRow{"text inside a frame", 120, 115, 2},
                                         PickRow{"the frame around it", 101, 150, 1},
                                         PickRow{"the frame's last dot", 299, 199, 1},
                                         PickRow{"just past the frame", 300, 150, 0},
                                         PickRow{"of two equal boxes the later", 5, 5, 4},
                                         PickRow{"nothing drawn there", 500, 500, 0}),
                         RowName());

TEST(BoxOfLine, HoldsEveryBoxOfThatLineOnly) {
  const std::vector<DrawnBox> boxes = {{1, "T", {10, 10, 5, 5}}, {2, "T", {0, 0, 1, 1}}, {1, "T", {30, 40, 5, 5}}};
  EXPECT_EQ(BoxOfLine(boxes, 1), (Box{10, 10, 25, 35}));
  EXPECT_EQ(BoxOfLine(boxes, 2), (Box{0, 0, 1, 1}));
  EXPECT_TRUE(BoxOfLine(boxes, 3).empty());
}

}  // namespace
}  // namespace qm::render::test
