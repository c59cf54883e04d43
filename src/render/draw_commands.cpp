#include "render/draw_commands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "render/barcodes.h"
#include "render/command_text.h"
#include "render/text_codec.h"

namespace qm::render {

namespace {

struct NamedCell {
  std::string_view name;
  FontCell cell;
};

// "0" to "6" are the printer's own cells; the others are this renderer's choice.
constexpr std::array<NamedCell, 19> kFontCells = {{
    {"0", {8, 13, false}},   {"1", {10, 18, false}},  {"2", {14, 22, false}},
    {"3", {17, 26, false}},  {"4", {20, 35, false}},  {"5", {28, 44, false}},
    {"6", {40, 70, false}},  {"7", {16, 24, false}},  {"8", {24, 32, false}},
    {"9", {32, 48, false}},  {"a", {16, 16, true}},   {"b", {20, 20, true}},
    {"c", {24, 24, true}},   {"d", {28, 28, true}},   {"e", {32, 32, true}},
    {"f", {40, 40, true}},   {"m", {24, 24, true}},   {"n", {24, 24, true}},
    {"j", {24, 24, true}},
}};

TwoByteTable TableOfFont(std::string_view name) {
  if (name == "m" || name == "G") return TwoByteTable::kGb2312;
  if (name == "n" || name == "B") return TwoByteTable::kBig5;
  if (name == "j" || name == "J") return TwoByteTable::kJis;
  return TwoByteTable::kKs5601;
}

class Drawer {
 public:
  Drawer(Bitmap& canvas, const DrawItem& item, const PaperSettings& paper, GlyphRenderer& glyphs,
         std::vector<Warning>& warnings, std::vector<DrawnBox>* boxes)
      : canvas_(canvas), item_(item), paper_(paper), glyphs_(glyphs), warnings_(warnings), boxes_(boxes) {}

  void Run() {
    const std::optional<CommandParts> parts = SplitCommand(item_.command);
    if (!parts) return Warn("its data has no closing quote");
    p_ = *parts;
    const std::string_view w = p_.word;
    if (w == "T") return Text();
    if (w == "V") return Vector();
    if (w == "B1") return Barcode1D();
    if (w == "B2") return Barcode2D();
    if (w == "BD") return Block();
    if (w == "IR") return Image();
    Warn("is not a drawing command");
  }

 private:
  void Drew(Box box, char blockType = 0) {
    if (boxes_ && !box.empty()) boxes_->push_back({item_.line, std::string(p_.word), box, blockType});
  }

  void Warn(const std::string& why) {
    std::string head(item_.command.substr(0, 40));
    for (char& c : head) {
      if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
    }
    if (item_.command.size() > 40) head += "...";
    warnings_.push_back({item_.line, "\"" + head + "\" " + why});
  }

  bool Shape(size_t minFields, size_t maxFields, bool data) {
    if (p_.fields.size() < minFields || p_.fields.size() > maxFields) {
      Warn("has " + std::to_string(p_.fields.size()) + " fields, not " + std::to_string(minFields) +
           (maxFields != minFields ? " to " + std::to_string(maxFields) : ""));
      return false;
    }
    if (p_.hasData != data) {
      Warn(data ? "lacks its quoted data" : "carries data it does not take");
      return false;
    }
    return true;
  }

  // Field `i` as a number within [lo, hi]; warns and returns nullopt otherwise.
  std::optional<int> Num(size_t i, int lo, int hi) {
    const std::optional<int> v = Number(p_.fields[i]);
    if (!v || *v < lo || *v > hi) {
      Warn("field " + std::to_string(i + 1) + " \"" + std::string(p_.fields[i].substr(0, 12)) +
           "\" is not a number from " + std::to_string(lo) + " to " + std::to_string(hi));
      return std::nullopt;
    }
    return v;
  }

  std::optional<char> Letter(size_t i, std::string_view allowed) {
    if (p_.fields[i].size() == 1 && allowed.find(p_.fields[i][0]) != std::string_view::npos) {
      return p_.fields[i][0];
    }
    Warn("field " + std::to_string(i + 1) + " is not one of " + std::string(allowed));
    return std::nullopt;
  }

  // Puts `b` turned clockwise by `quarters` so that its point (ax, ay) lands on (x, y)
  // inside the margins; warns when any of it falls off the label.
  void Place(const Bitmap& b, int quarters, int ax, int ay, int x, int y, bool clear = false) {
    const int w = b.width(), h = b.height();
    int rx = ax, ry = ay;
    switch (quarters & 3) {
      case 1: rx = h - 1 - ay; ry = ax; break;
      case 2: rx = w - 1 - ax; ry = h - 1 - ay; break;
      case 3: rx = ay; ry = w - 1 - ax; break;
      default: break;
    }
    const Bitmap turned = b.Rotated(quarters);
    const int64_t left = int64_t{x} + paper_.marginX - rx;
    const int64_t top = int64_t{y} + paper_.marginY - ry;
    const Box box{static_cast<int>(std::clamp<int64_t>(left, -2 * Bitmap::kMaxSide, 2 * Bitmap::kMaxSide)),
                  static_cast<int>(std::clamp<int64_t>(top, -2 * Bitmap::kMaxSide, 2 * Bitmap::kMaxSide)),
                  turned.width(), turned.height()};
    if (box.right() <= 0 || box.bottom() <= 0 || box.left >= canvas_.width() || box.top >= canvas_.height()) {
      return Warn("lies outside the label: not drawn");
    }
    // A quiet zone is white whatever lay there before.
    if (clear) canvas_.Clear(box);
    Drew(box);
    if (!canvas_.Blit(turned, box.left, box.top)) Warn("reaches beyond the label: cut off");
  }

  std::u32string Decode(std::string_view font, std::string_view data, bool twoByte) {
    const std::string bytes = Unescape(data);
    if (twoByte) return DecodeTwoByte(bytes, TableOfFont(font));
    return DecodeSingleByte(bytes, item_.codePage, item_.ics);
  }

  void Text() {
    if (!Shape(9, 9, true)) return;
    const auto x = Num(0, -9999, 9999), y = Num(1, -9999, 9999);
    const std::optional<FontCell> cell = BitmapFontCell(p_.fields[2]);
    if (!cell) return Warn("names no font \"" + std::string(p_.fields[2].substr(0, 4)) + "\"");
    const auto h = Num(3, 1, 8), v = Num(4, 1, 8), space = Num(5, 0, 999), rot = Num(6, 0, 3);
    const auto rev = Letter(7, "NR"), bold = Letter(8, "NB");
    if (!x || !y || !h || !v || !space || !rot || !rev || !bold) return;
    TextStyle style{cell->twoByte ? TextFace::kCjk : TextFace::kMono, cell->width * *h,
                    cell->height * *v, *space, *bold == 'B', false};
    Bitmap line = glyphs_.DrawLine(Decode(p_.fields[2], p_.data, cell->twoByte), style);
    if (line.width() == 0) return;
    if (*rev == 'R') line.Invert({0, 0, line.width(), line.height()});
    Place(line, *rot, 0, 0, *x, *y);
  }

  void Vector() {
    if (!Shape(12, 12, true)) return;
    const auto x = Num(0, -9999, 9999), y = Num(1, -9999, 9999);
    const std::string_view font = p_.fields[2];
    const bool twoByte = font == "K" || font == "G" || font == "B" || font == "J";
    if (font != "U" && !twoByte) return Warn("names no vector font \"" + std::string(font.substr(0, 4)) + "\"");
    const auto w = Num(3, 1, 1000), h = Num(4, 1, 1000), space = Num(5, -1000, 1000);
    const auto bold = Letter(6, "NB"), rev = Letter(7, "NR"), italic = Letter(8, "NI");
    const auto rot = Num(9, 0, 3);
    const auto just = Letter(10, "LCR");
    const auto dir = Num(11, 0, 1);
    if (!x || !y || !w || !h || !space || !bold || !rev || !italic || !rot || !just || !dir) return;
    std::u32string text = Decode(font, p_.data, twoByte);
    if (*dir == 1) std::reverse(text.begin(), text.end());
    Bitmap line = glyphs_.DrawLine(text, {TextFace::kSans, *w, *h, *space, *bold == 'B', *italic == 'I'});
    if (*rev == 'R') line.Invert({0, 0, line.width(), line.height()});
    // Justified about X: the line begins, centres or ends there.
    const int ax = *just == 'L' ? 0 : *just == 'C' ? line.width() / 2 : line.width() - 1;
    Place(line, *rot, ax, 0, *x, *y);
  }

  void Barcode1D() {
    if (!Shape(8, 9, true)) return;
    const auto x = Num(0, -9999, 9999), y = Num(1, -9999, 9999), type = Num(2, 0, 9);
    const auto narrow = Num(3, 1, 100), wide = Num(4, 1, 100), height = Num(5, 0, 1000);
    const auto rot = Num(6, 0, 3), hri = Num(7, 0, 1);
    std::optional<int> quiet = -1;
    if (p_.fields.size() == 9) quiet = Num(8, 0, 20);
    if (!x || !y || !type || !narrow || !wide || !height || !rot || !hri || !quiet) return;
    Symbol s = DrawBarcode1D({*type, *narrow, *wide, *height, *hri == 1, *quiet, std::string(p_.data)}, glyphs_);
    Finish(s, *rot, 0, 0, *x, *y, *quiet > 0);
  }

  void Barcode2D() {
    if (!Shape(3, 12, true)) return;
    const auto x = Num(0, -9999, 9999), y = Num(1, -9999, 9999);
    if (!x || !y) return;
    const std::string data(p_.data);
    const std::string_view type = p_.fields[2];
    if (type == "M") {
      if (!Shape(4, 4, true)) return;
      const auto mode = Num(3, 0, 6);
      if (!mode) return;
      Symbol s = DrawMaxiCode({*mode, data});
      return Finish(s, 0, 0, 0, *x, *y);
    }
    if (type == "P") {
      if (!Shape(12, 12, true)) return;
      const auto rows = Num(3, 3, 90), cols = Num(4, 1, 30), level = Num(5, 0, 8), compress = Num(6, 0, 2);
      const auto hri = Num(7, 0, 1), origin = Num(8, 0, 1), module = Num(9, 1, 9), height = Num(10, 1, 99);
      const auto rot = Num(11, 0, 3);
      if (!rows || !cols || !level || !compress || !hri || !origin || !module || !height || !rot) return;
      Symbol s = DrawPdf417({*rows, *cols, *level, *hri == 1, *module, *height, data}, glyphs_);
      // "Center" puts the symbol's middle at X, Y.
      const int ax = *origin == 1 ? s.bitmap.width() / 2 : 0;
      const int ay = *origin == 1 ? s.bitmap.height() / 2 : 0;
      return Finish(s, *rot, ax, ay, *x, *y);
    }
    if (type == "Q") {
      if (!Shape(7, 7, true)) return;
      const auto model = Num(3, 1, 2);
      const auto level = Letter(4, "LMQH");
      const auto size = Num(5, 1, 10), rot = Num(6, 0, 3);
      if (!model || !level || !size || !rot) return;
      Symbol s = DrawQrCode({*model, *level, *size, data});
      return Finish(s, *rot, 0, 0, *x, *y);
    }
    Warn("names no 2D barcode type \"" + std::string(type.substr(0, 4)) + "\"");
  }

  void Finish(const Symbol& s, int rot, int ax, int ay, int x, int y, bool clear = false) {
    for (const std::string& w : s.warnings) Warn(w);
    if (s.bitmap.width() > 0 && s.bitmap.height() > 0) Place(s.bitmap, rot, ax, ay, x, y, clear);
  }

  void Block() {
    if (!Shape(5, 6, false)) return;
    const auto sx = Num(0, -9999, 9999), sy = Num(1, -9999, 9999);
    const auto ex = Num(2, -9999, 9999), ey = Num(3, -9999, 9999);
    const auto type = Letter(4, "OEDSB");
    if (!sx || !sy || !ex || !ey || !type) return;
    std::optional<int> thick = 0;
    if (*type == 'S' || *type == 'B') {
      if (p_.fields.size() != 6) return Warn("needs its line thickness");
      thick = Num(5, 1, 1000);
      if (!thick) return;
    }
    const int mx = paper_.marginX, my = paper_.marginY;
    const Box box{std::min(*sx, *ex) + mx, std::min(*sy, *ey) + my, std::abs(*ex - *sx), std::abs(*ey - *sy)};
    if (*type != 'S' && box.empty()) return Warn("encloses no area: nothing drawn");
    bool whole = true;
    Box drawn = box;
    switch (*type) {
      case 'O': whole = canvas_.Fill(box); break;
      case 'E': whole = canvas_.Invert(box); break;
      case 'D': whole = canvas_.Clear(box); break;
      case 'B': {
        const int t = std::min({*thick, (box.width + 1) / 2, (box.height + 1) / 2});
        whole = canvas_.Fill({box.left, box.top, box.width, t});
        canvas_.Fill({box.left, box.bottom() - t, box.width, t});
        canvas_.Fill({box.left, box.top, t, box.height});
        canvas_.Fill({box.right() - t, box.top, t, box.height});
        break;
      }
      default: whole = Line(*sx + mx, *sy + my, *ex + mx, *ey + my, *thick, drawn); break;
    }
    if (drawn.right() <= 0 || drawn.bottom() <= 0 || drawn.left >= canvas_.width() || drawn.top >= canvas_.height()) {
      if (!drawn.empty()) Warn("lies outside the label: not drawn");
      return;
    }
    Drew(drawn, *type);
    if (!whole) {
      Warn("reaches beyond the label: cut off");
    }
  }

  // A line `t` dots thick: a run of `t` dots across its main direction at every step along it.
  // `drawn` becomes the box of all its runs.
  bool Line(int x0, int y0, int x1, int y1, int t, Box& drawn) {
    const int dx = x1 - x0, dy = y1 - y0;
    drawn = {};
    if (dx == 0 && dy == 0) {
      Warn("has no length: nothing drawn");
      return true;
    }
    int left = std::numeric_limits<int>::max(), top = left, right = std::numeric_limits<int>::min(), bottom = right;
    auto run = [&](Box b) {
      left = std::min(left, b.left);
      top = std::min(top, b.top);
      right = std::max(right, b.right());
      bottom = std::max(bottom, b.bottom());
      return canvas_.Fill(b);
    };
    bool whole = true;
    if (std::abs(dx) >= std::abs(dy)) {
      const int step = dx > 0 ? 1 : -1;
      for (int i = 0; i != dx; i += step) {
        const int y = y0 + static_cast<int>(std::lround(static_cast<double>(dy) * i / dx));
        whole &= run({x0 + i, y, 1, t});
      }
    } else {
      const int step = dy > 0 ? 1 : -1;
      for (int i = 0; i != dy; i += step) {
        const int x = x0 + static_cast<int>(std::lround(static_cast<double>(dx) * i / dy));
        whole &= run({x, y0 + i, t, 1});
      }
    }
    drawn = {left, top, right - left, bottom - top};
    return whole;
  }

  void Image() {
    if (!Shape(2, 2, true)) return;
    const auto x = Num(0, -9999, 9999), y = Num(1, -9999, 9999);
    if (!x || !y) return;
    if (!item_.image) return Warn("recalls an image that was never stored");
    std::string error;
    const std::optional<Bitmap> image = DecodePcx(*item_.image, error);
    if (!image) return Warn("recalls an image that cannot be read: " + error);
    Place(*image, 0, 0, 0, *x, *y);
  }

  Bitmap& canvas_;
  const DrawItem& item_;
  const PaperSettings& paper_;
  GlyphRenderer& glyphs_;
  std::vector<Warning>& warnings_;
  std::vector<DrawnBox>* boxes_;
  CommandParts p_;
};

}  // namespace

bool IsDrawingWord(std::string_view word) {
  return word == "T" || word == "V" || word == "B1" || word == "B2" || word == "BD" || word == "IR";
}

std::optional<FontCell> BitmapFontCell(std::string_view name) {
  for (const NamedCell& c : kFontCells) {
    if (c.name == name) return c.cell;
  }
  return std::nullopt;
}

void DrawCommand(Bitmap& canvas, const DrawItem& item, const PaperSettings& paper,
                 GlyphRenderer& glyphs, std::vector<Warning>& warnings, std::vector<DrawnBox>* boxes) {
  Drawer(canvas, item, paper, glyphs, warnings, boxes).Run();
}

}  // namespace qm::render
