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
  // A sweep from left to right: only boxes still open where the next one begins are
  // compared, so a label of many objects side by side is not compared pair by pair.
  std::vector<size_t> order(boxes.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return boxes[a].box.left < boxes[b].box.left; });
  std::vector<std::pair<size_t, size_t>> pairs;  // (later, earlier)
  std::vector<size_t> open;
  bool more = false;
  for (size_t k : order) {
    const Box& b = boxes[k].box;
    if (b.empty()) continue;
    open.erase(std::remove_if(open.begin(), open.end(), [&](size_t o) { return boxes[o].box.right() <= b.left; }),
               open.end());
    for (size_t o : open) {
      if (boxes[o].line == boxes[k].line || !Overlap(boxes[o], boxes[k])) continue;
      if (pairs.size() == kMaxOverlapWarnings) {
        more = true;
        break;
      }
      pairs.emplace_back(std::max(o, k), std::min(o, k));
    }
    if (more) break;
    open.push_back(k);
  }
  std::sort(pairs.begin(), pairs.end());
  std::vector<Warning> out;
  for (const auto& [j, i] : pairs) {
    out.push_back({boxes[j].line, "\"" + boxes[j].word + "\" overlaps \"" + boxes[i].word + "\" of line " +
                                      std::to_string(boxes[i].line)});
  }
  if (more) {
    out.push_back({boxes[pairs.back().first].line,
                   "more objects overlap: only " + std::to_string(kMaxOverlapWarnings) + " are named"});
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
