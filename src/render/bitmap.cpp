#include "render/bitmap.h"

#include <algorithm>
#include <atomic>

namespace qm::render {

namespace {

std::atomic<int64_t> live{0};
std::atomic<int64_t> peak{0};

void Count(int64_t by) {
  const int64_t now = live.fetch_add(by) + by;
  int64_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
}

}  // namespace

Bitmap::Tally::Tally() { Count(1); }
Bitmap::Tally::Tally(const Tally&) { Count(1); }
Bitmap::Tally::~Tally() { Count(-1); }

int64_t Bitmap::Live() { return live.load(); }
int64_t Bitmap::Peak() { return peak.load(); }
void Bitmap::ResetPeak() { peak.store(live.load()); }

Bitmap::Bitmap(int width, int height)
    : width_(std::clamp(width, 0, kMaxSide)),
      height_(std::clamp(height, 0, kMaxSide)),
      dots_(static_cast<size_t>(width_) * height_, 0) {}

Box Bitmap::Clip(Box box, bool& whole) const {
  if (box.empty()) {
    whole = true;
    return {};
  }
  const int64_t l = std::max<int64_t>(box.left, 0);
  const int64_t t = std::max<int64_t>(box.top, 0);
  const int64_t r = std::min<int64_t>(int64_t{box.left} + box.width, width_);
  const int64_t b = std::min<int64_t>(int64_t{box.top} + box.height, height_);
  whole = l == box.left && t == box.top && r == int64_t{box.left} + box.width &&
          b == int64_t{box.top} + box.height;
  if (r <= l || b <= t) return {};
  return {static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l), static_cast<int>(b - t)};
}

bool Bitmap::Fill(Box box) {
  bool whole = true;
  const Box c = Clip(box, whole);
  for (int y = c.top; y < c.bottom(); ++y) {
    std::fill_n(dots_.begin() + static_cast<std::ptrdiff_t>(Index(c.left, y)), c.width, 1);
  }
  return whole;
}

bool Bitmap::Clear(Box box) {
  bool whole = true;
  const Box c = Clip(box, whole);
  for (int y = c.top; y < c.bottom(); ++y) {
    std::fill_n(dots_.begin() + static_cast<std::ptrdiff_t>(Index(c.left, y)), c.width, 0);
  }
  return whole;
}

bool Bitmap::Invert(Box box) {
  bool whole = true;
  const Box c = Clip(box, whole);
  for (int y = c.top; y < c.bottom(); ++y) {
    for (int x = c.left; x < c.right(); ++x) dots_[Index(x, y)] ^= 1;
  }
  return whole;
}

bool Bitmap::Blit(const Bitmap& src, int x, int y, bool invert) {
  bool whole = true;
  const Box c = Clip({x, y, src.width_, src.height_}, whole);
  for (int row = c.top; row < c.bottom(); ++row) {
    const uint8_t* from = &src.dots_[src.Index(c.left - x, row - y)];
    uint8_t* to = &dots_[Index(c.left, row)];
    for (int i = 0; i < c.width; ++i) {
      if (invert) {
        to[i] ^= from[i];
      } else {
        to[i] |= from[i];
      }
    }
  }
  return whole;
}

Bitmap Bitmap::Rotated(int quarterTurns) const {
  const int q = ((quarterTurns % 4) + 4) % 4;
  if (q == 0) return *this;
  Bitmap out = q == 2 ? Bitmap(width_, height_) : Bitmap(height_, width_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (!dots_[Index(x, y)]) continue;
      switch (q) {
        case 1: out.dots_[out.Index(height_ - 1 - y, x)] = 1; break;  // clockwise
        case 2: out.dots_[out.Index(width_ - 1 - x, height_ - 1 - y)] = 1; break;
        default: out.dots_[out.Index(y, width_ - 1 - x)] = 1; break;
      }
    }
  }
  return out;
}

Box Bitmap::InkedBox() const {
  int l = width_, t = height_, r = -1, b = -1;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* row = &dots_[Index(0, y)];
    for (int x = 0; x < width_; ++x) {
      if (!row[x]) continue;
      l = std::min(l, x);
      r = std::max(r, x);
      t = std::min(t, y);
      b = std::max(b, y);
    }
  }
  if (r < 0) return {};
  return {l, t, r - l + 1, b - t + 1};
}

int64_t Bitmap::InkCount() const { return std::count(dots_.begin(), dots_.end(), uint8_t{1}); }

int64_t Bitmap::InkCount(Box box) const {
  bool whole = true;
  const Box c = Clip(box, whole);
  int64_t n = 0;
  for (int y = c.top; y < c.bottom(); ++y) {
    for (int x = c.left; x < c.right(); ++x) n += dots_[Index(x, y)];
  }
  return n;
}

}  // namespace qm::render
