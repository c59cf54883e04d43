// Walking a script label by label: only the labels wanted are drawn, each is let go once
// handed over, and a label's key changes exactly when what draws it changes.
#include <gtest/gtest.h>

#include <map>

#include "render/label_renderer.h"
#include "table_test.h"

namespace qm::render {
namespace {

// Wants the labels listed; keeps each one's key, and counts drawings and bitmaps held.
class Recorder : public LabelSink {
 public:
  explicit Recorder(std::vector<int> wanted = {}) : wanted_(std::move(wanted)) {}
  bool Wanted(const LabelVisit& label) override {
    keys.push_back(label.key);
    lines.push_back(label.line);
    return std::find(wanted_.begin(), wanted_.end(), label.index) != wanted_.end();
  }
  void Take(const LabelVisit& label, std::shared_ptr<const Bitmap> bitmap, std::shared_ptr<const std::vector<DrawnBox>>,
            const std::vector<Warning>&) override {
    if (bitmap.get() != last_) ++drawn;
    last_ = bitmap.get();
    taken[label.index] = bitmap->InkCount();
    mostLive = std::max(mostLive, Bitmap::Live());
  }
  std::vector<uint64_t> keys;
  std::vector<int> lines;
  std::map<int, int64_t> taken;  // index: dots inked
  int drawn = 0;
  int64_t mostLive = 0;

 private:
  std::vector<int> wanted_;
  const Bitmap* last_ = nullptr;
};

LabelRenderer& Renderer() {
  static LabelRenderer renderer;
  return renderer;
}

TEST(Walk, OnlyTheWantedLabelsAreDrawnAndAllAreCounted) {
  // Labels of 100, 400 and 900 dots; the second printed twice.
  const std::string script =
      "BD0,0,10,10,O\r\nP1\r\nBD0,0,20,20,O\r\nP2\r\nBD0,0,30,30,O\r\nP1\r\n";
  Recorder r({2, 3});
  const WalkResult walk = Renderer().RenderEach(script, {}, r);
  EXPECT_EQ(walk.labels, 4);
  EXPECT_EQ(r.taken, (std::map<int, int64_t>{{2, 400}, {3, 900}}));
  EXPECT_EQ(r.drawn, 2);
  EXPECT_EQ(r.lines, (std::vector<int>{2, 4, 4, 6}));
  EXPECT_EQ(r.keys[1], r.keys[2]) << "copies of one print share their key";
}

TEST(Walk, ABitmapIsLetGoBeforeTheNextLabelIsDrawn) {
  std::string script;
  for (int i = 0; i < 40; ++i) script += "BD0,0," + std::to_string(10 + i) + ",10,O\r\nP1\r\n";
  std::vector<int> all(40);
  for (int i = 0; i < 40; ++i) all[i] = i;
  const int64_t before = Bitmap::Live();
  Recorder r(all);
  Renderer().RenderEach(script, {}, r);
  EXPECT_EQ(r.drawn, 40);
  // The one being handed over, and the canvas it was turned from at most.
  EXPECT_LE(r.mostLive - before, 2);
  EXPECT_EQ(Bitmap::Live(), before);
}

TEST(Walk, AHugeLabelNotWantedIsNeverDrawn) {
  Recorder r;
  const int64_t before = Bitmap::Live();
  Bitmap::ResetPeak();
  const WalkResult walk = Renderer().RenderEach("SW8000\r\nSL8000,24,G\r\nBD0,0,8000,8000,B\r\nP3\r\n", {}, r);
  EXPECT_EQ(walk.labels, 3);
  EXPECT_TRUE(r.taken.empty());
  EXPECT_EQ(Bitmap::Peak(), before);
}

struct KeyCase {
  std::string name;
  std::string before;
  std::string after;
  std::vector<bool> changed;  // per label of `after`: whether its key differs from `before`'s
};

class LabelKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(LabelKeys, ChangeExactlyWhenTheLabelWouldDrawDifferently) {
  const KeyCase& c = GetParam();
  Recorder a, b;
  Renderer().RenderEach(c.before, {}, a);
  Renderer().RenderEach(c.after, {}, b);
  ASSERT_EQ(b.keys.size(), c.changed.size());
  for (size_t i = 0; i < c.changed.size(); ++i) {
    EXPECT_EQ(i >= a.keys.size() || a.keys[i] != b.keys[i], c.changed[i]) << "label " << i + 1;
  }
}

// Three labels; the settings before the last stand where the rows change them in place.
const std::string kThree =
    "BD0,0,10,10,O\r\nP1\r\nT10,10,Z,1,1,0,0,N,N,'b'\r\nP1\r\nSW812\r\nSOT\r\nBD5,5,9,9,B\r\nP1\r\n";

std::string Changed(std::string_view from, std::string_view to) {
  std::string s = kThree;
  return s.replace(s.find(from), from.size(), to);
}

INSTANTIATE_TEST_SUITE_P(
    Walk, LabelKeys,
    testing::Values(
        KeyCase{"the same script", kThree, kThree, {false, false, false}},
        KeyCase{"a letter of the second label", kThree, Changed("'b'", "'c'"), {false, true, false}},
        KeyCase{"the print count written another way", kThree, Changed("P1\r\nT", "P1,1\r\nT"), {false, false, false}},
        KeyCase{"the paper width before the last label", kThree, Changed("SW812", "SW400"), {false, false, true}},
        KeyCase{"the print direction before the last label", kThree, Changed("SOT", "SOB"), {false, false, true}},
        KeyCase{"a line put above moves the lines warnings name", kThree, "\r\n" + kThree, {true, true, true}},
        KeyCase{"a setting that leaves the paper as it was", kThree, Changed("SOT", "XX1"), {false, false, false}}),
    test::RowName());

}  // namespace
}  // namespace qm::render
