// A one-bit label canvas at the printer's 8 dots per millimetre: one byte per dot, 1 for ink.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm::render {

struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }  // one past the last column
  int bottom() const { return top + height; }
  bool empty() const { return width <= 0 || height <= 0; }
  bool operator==(const Box&) const = default;
};

class Bitmap {
 public:
  Bitmap() = default;
  // Sizes are clamped to 0..kMaxSide, so a hostile "SW" cannot ask for gigabytes.
  Bitmap(int width, int height);
  static constexpr int kMaxSide = 8000;  // 1 metre of label

  int width() const { return width_; }
  int height() const { return height_; }
  bool Ink(int x, int y) const { return Inside(x, y) && dots_[Index(x, y)] != 0; }
  void Set(int x, int y, bool ink) {
    if (Inside(x, y)) dots_[Index(x, y)] = ink ? 1 : 0;
  }
  const std::vector<uint8_t>& dots() const { return dots_; }

  // Each returns whether the whole box lay on the bitmap (what fell outside is dropped).
  bool Fill(Box box);
  bool Clear(Box box);
  bool Invert(Box box);
  // Draws `src`'s ink at (x, y): `invert` flips the canvas under each inked dot instead.
  bool Blit(const Bitmap& src, int x, int y, bool invert = false);

  // Turned clockwise by quarter turns (0 to 3).
  Bitmap Rotated(int quarterTurns) const;
  // The smallest box holding every inked dot; empty when there is none.
  Box InkedBox() const;
  int64_t InkCount() const;
  int64_t InkCount(Box box) const;

  bool operator==(const Bitmap&) const = default;

  // How many bitmaps exist now, and the most that did at once since ResetPeak(): what
  // shows that a long script's labels are drawn and let go one by one.
  static int64_t Live();
  static int64_t Peak();
  static void ResetPeak();

 private:
  // Counts the bitmap it is part of; equal whatever the count, so bitmaps compare by dots.
  struct Tally {
    Tally();
    Tally(const Tally&);
    Tally& operator=(const Tally&) { return *this; }
    ~Tally();
    bool operator==(const Tally&) const { return true; }
  };

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
  // The part of `box` on the bitmap; sets `whole` false when part of it was off.
  Box Clip(Box box, bool& whole) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> dots_;
  Tally tally_;
};

// A PNG of the bitmap, black ink on white, one bit per pixel; empty on failure.
std::string EncodePng(const Bitmap& bitmap);
// Writes EncodePng to `path`; false with `error` set on failure.
bool WritePng(const Bitmap& bitmap, const std::string& path, std::string& error);

}  // namespace qm::render
