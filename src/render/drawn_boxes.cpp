#include "render/drawn_boxes.h"

#include <algorithm>
#include <cstdint>

namespace qm::render {

namespace {

bool Within(const Box& inner, const Box& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right() <= outer.right() &&
         inner.bottom() <= outer.bottom();
}

bool Holder(const DrawnBox& b) { return b.word == "BD" && (b.blockType == 'B' || b.blockType == 'E' || b.blockType == 'D'); }

bool Rule(const DrawnBox& b) { return b.word == "BD" && (b.blockType == 'S' || b.blockType == 'B'); }

}  // namespace

bool Overlap(const DrawnBox& a, const DrawnBox& b) {
  const Box& p = a.box;
  const Box& q = b.box;
  if (p.empty() || q.empty()) return false;
  if (std::max(p.left, q.left) >= std::min(p.right(), q.right())) return false;
  if (std::max(p.top, q.top) >= std::min(p.bottom(), q.bottom())) return false;
  if (Holder(a) && Within(q, p)) return false;
  if (Holder(b) && Within(p, q)) return false;
  return !(Rule(a) && Rule(b));
}

std::vector<Warning> OverlapWarnings(const std::vector<DrawnBox>& boxes) {
  std::vector<Warning> out;
  for (size_t j = 0; j < boxes.size(); ++j) {
    for (size_t i = 0; i < j; ++i) {
      if (boxes[i].line == boxes[j].line || !Overlap(boxes[i], boxes[j])) continue;
      out.push_back({boxes[j].line, "\"" + boxes[j].word + "\" overlaps \"" + boxes[i].word + "\" of line " +
                                        std::to_string(boxes[i].line)});
    }
  }
  return out;
}

std::optional<DrawnBox> PickAt(const std::vector<DrawnBox>& boxes, int x, int y) {
  std::optional<DrawnBox> best;
  int64_t bestArea = 0;
  for (const DrawnBox& b : boxes) {
    const Box& r = b.box;
    if (x < r.left || y < r.top || x >= r.right() || y >= r.bottom()) continue;
    const int64_t area = int64_t{r.width} * r.height;
    if (!best || area <= bestArea) {
      best = b;
      bestArea = area;
    }
  }
  return best;
}

Box BoxOfLine(const std::vector<DrawnBox>& boxes, int line) {
  Box out;
  for (const DrawnBox& b : boxes) {
    if (b.line != line || b.box.empty()) continue;
    if (out.empty()) {
      out = b.box;
      continue;
    }
    const int left = std::min(out.left, b.box.left), top = std::min(out.top, b.box.top);
    const int right = std::max(out.right(), b.box.right()), bottom = std::max(out.bottom(), b.box.bottom());
    out = {left, top, right - left, bottom - top};
  }
  return out;
}

}  // namespace qm::render
