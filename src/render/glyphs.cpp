#include "render/glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace qm::render {

namespace {

constexpr char kDejaVuDir[] = "/usr/share/fonts/truetype/dejavu/";
constexpr char kNotoDir[] = "/usr/share/fonts/opentype/noto/";

// 26.6 fixed point, as FreeType sizes and advances are.
FT_F26Dot6 ToF26(double dots) { return static_cast<FT_F26Dot6>(dots * 64.0 + 0.5); }
int FromF26(FT_Pos v) { return static_cast<int>((v + 32) >> 6); }

void SetSize(FT_Face face, double xppem, double yppem) {
  FT_Set_Char_Size(face, std::max<FT_F26Dot6>(ToF26(xppem), 64), std::max<FT_F26Dot6>(ToF26(yppem), 64), 72, 72);
}

void HollowBox(Bitmap& out, Box cell) {
  const Box inner{cell.left + 1, cell.top + 1, cell.width - 2, cell.height - 2};
  if (inner.width < 2 || inner.height < 2) {
    out.Fill(inner);
    return;
  }
  out.Fill({inner.left, inner.top, inner.width, 1});
  out.Fill({inner.left, inner.bottom() - 1, inner.width, 1});
  out.Fill({inner.left, inner.top, 1, inner.height});
  out.Fill({inner.right() - 1, inner.top, 1, inner.height});
}

}  // namespace

FontFiles DefaultFontFiles() {
  const char* dir = std::getenv("QUILLMARK_FONT_DIR");
  if (dir && *dir) {
    const std::string d = std::string(dir) + "/";
    return {d + "DejaVuSansMono.ttf", d + "DejaVuSans.ttf", d + "NotoSansCJK-Regular.ttc"};
  }
  return {std::string(kDejaVuDir) + "DejaVuSansMono.ttf", std::string(kDejaVuDir) + "DejaVuSans.ttf",
          std::string(kNotoDir) + "NotoSansCJK-Regular.ttc"};
}

struct GlyphRenderer::Impl {
  FT_Library lib = nullptr;
  FT_Face mono = nullptr;
  FT_Face sans = nullptr;
  FT_Face cjk = nullptr;

  // Loads, emboldens and renders one glyph as one bit per dot; null when `face` lacks it.
  FT_GlyphSlot Render(FT_Face face, char32_t c, FT_Pos emboldenF26) {
    if (!face) return nullptr;
    const FT_UInt index = FT_Get_Char_Index(face, c);
    if (index == 0) return nullptr;
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0) return nullptr;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return nullptr;
    if (emboldenF26 > 0) {
      FT_Outline_Embolden(&slot->outline, emboldenF26);
      slot->advance.x += emboldenF26;
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return nullptr;
    return slot;
  }

  // A glyph's advance in 26.6 dots without drawing it; -1 when `face` lacks it.
  FT_Pos Advance(FT_Face face, char32_t c) {
    if (!face) return -1;
    const FT_UInt index = FT_Get_Char_Index(face, c);
    if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0) return -1;
    return face->glyph->advance.x;
  }

  // Copies a rendered glyph with its pen at (penX, baseline), inside `clip` only.
  static void Put(FT_GlyphSlot slot, Bitmap& out, int penX, int baseline, Box clip) {
    const FT_Bitmap& bm = slot->bitmap;
    const int left = penX + slot->bitmap_left;
    const int top = baseline - slot->bitmap_top;
    for (unsigned r = 0; r < bm.rows; ++r) {
      const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(r) * bm.pitch;
      const int y = top + static_cast<int>(r);
      if (y < clip.top || y >= clip.bottom()) continue;
      for (unsigned c = 0; c < bm.width; ++c) {
        const int x = left + static_cast<int>(c);
        if (x < clip.left || x >= clip.right()) continue;
        if (row[c >> 3] & (0x80 >> (c & 7))) out.Set(x, y, true);
      }
    }
  }

  // Sizes the monospaced face so one character fills a cell of `w` by `h` dots; returns
  // the baseline's distance from the cell's top.
  int SizeMono(int w, int h) {
    const double upem = mono->units_per_EM;
    const double yppem = h * upem / (mono->ascender - mono->descender);
    SetSize(mono, w * upem / mono->max_advance_width, yppem);
    return static_cast<int>(mono->ascender * yppem / upem + 0.5);
  }

  // One character in the cell `cell`, the face already sized by SizeMono.
  void MonoCell(char32_t c, Box cell, int ascent, bool bold, Bitmap& out) {
    if (c == U' ') return;
    const FT_Pos strength = bold ? ToF26(std::max(1.0, cell.width / 8.0)) : 0;
    FT_GlyphSlot slot = Render(mono, c, strength);
    if (!slot && cjk) {
      SetSize(cjk, cell.width, cell.height);
      slot = Render(cjk, c, strength);
    }
    if (!slot) {
      HollowBox(out, cell);
      return;
    }
    Put(slot, out, cell.left, cell.top + ascent, cell);
  }

  void CjkCell(char32_t c, Box cell, bool bold, Bitmap& out) {
    if (c == U' ' || c == U'\u3000') return;
    const FT_Pos strength = bold ? ToF26(std::max(1.0, cell.width / 12.0)) : 0;
    SetSize(cjk, cell.width, cell.height);
    // The ideographic em box: 0.88 of it above the baseline.
    const int baseline = cell.top + static_cast<int>(cell.height * 0.88 + 0.5);
    FT_GlyphSlot slot = Render(cjk, c, strength);
    if (!slot) {
      HollowBox(out, cell);
      return;
    }
    Put(slot, out, cell.left, baseline, cell);
  }
};

GlyphRenderer::GlyphRenderer(const FontFiles& files) : impl_(std::make_unique<Impl>()) {
  if (FT_Init_FreeType(&impl_->lib) != 0) {
    impl_->lib = nullptr;
    error_ = "the font engine could not start";
    return;
  }
  auto load = [&](const std::string& path, FT_Face& face) {
    if (FT_New_Face(impl_->lib, path.c_str(), 0, &face) != 0) {
      face = nullptr;
      if (error_.empty()) error_ = "font file missing: " + path;
    }
  };
  load(files.mono, impl_->mono);
  load(files.sans, impl_->sans);
  load(files.cjk, impl_->cjk);
}

GlyphRenderer::~GlyphRenderer() {
  for (FT_Face f : {impl_->mono, impl_->sans, impl_->cjk}) {
    if (f) FT_Done_Face(f);
  }
  if (impl_->lib) FT_Done_FreeType(impl_->lib);
}

Bitmap GlyphRenderer::DrawLine(const std::u32string& text, const TextStyle& style) {
  const int w = std::clamp(style.width, 1, 2000);
  const int h = std::clamp(style.height, 1, 2000);
  if (text.empty()) return Bitmap(0, h);
  if (style.face == TextFace::kMono || style.face == TextFace::kCjk) {
    const int space = std::max(style.spacing, 0);
    // Two-byte fonts give ASCII half a cell.
    auto cellWidth = [&](char32_t c) { return style.face == TextFace::kCjk && c < 0x80 ? std::max(w / 2, 1) : w; };
    int64_t total = 0;
    for (char32_t c : text) total += cellWidth(c) + space;
    total -= space;
    Bitmap out(static_cast<int>(std::min<int64_t>(total, Bitmap::kMaxSide)), h);
    int x = 0;
    int sizedFor = -1;  // the cell width the monospaced face is sized for
    int ascent = 0;
    for (char32_t c : text) {
      const Box cell{x, 0, cellWidth(c), h};
      if (x >= out.width()) break;
      if (style.face == TextFace::kCjk && c >= 0x80 && impl_->cjk) {
        impl_->CjkCell(c, cell, style.bold, out);
        sizedFor = -1;
      } else if (impl_->mono) {
        if (sizedFor != cell.width) ascent = impl_->SizeMono(cell.width, h);
        sizedFor = cell.width;
        impl_->MonoCell(c, cell, ascent, style.bold, out);
      } else if (c != U' ') {
        HollowBox(out, cell);
      }
      x += cell.width + space;
    }
    return out;
  }
  // The vector font: proportional advances, `spacing` between characters.
  FT_Face face = impl_->sans;
  if (!face) return Bitmap(w * static_cast<int>(std::min<size_t>(text.size(), 4000)), h);
  SetSize(face, w, h);
  if (impl_->cjk) SetSize(impl_->cjk, w, h);
  FT_Matrix shear{0x10000, style.italic ? 0x3333 : 0, 0, 0x10000};  // 0.2 lean
  FT_Set_Transform(face, &shear, nullptr);
  if (impl_->cjk) FT_Set_Transform(impl_->cjk, &shear, nullptr);
  const FT_Pos strength = style.bold ? ToF26(std::max(1.0, w / 16.0)) : 0;
  const double upem = face->units_per_EM;
  const int ascent = static_cast<int>(face->ascender * h / upem + 0.5);
  const int lineHeight = std::max(1, static_cast<int>((face->ascender - face->descender) * h / upem + 0.5));
  // First the advances, then the drawing: the line's width is their sum.
  std::vector<int> advance;
  advance.reserve(text.size());
  int64_t total = 0;
  for (char32_t c : text) {
    // A line longer than any label is not measured to its end.
    if (total > Bitmap::kMaxSide || advance.size() >= static_cast<size_t>(Bitmap::kMaxSide)) break;
    FT_Pos a = impl_->Advance(face, c);
    if (a < 0) a = impl_->Advance(impl_->cjk, c);
    advance.push_back(a >= 0 ? FromF26(a + strength) : w / 2 + 1);
    total += advance.back() + style.spacing;
  }
  total -= style.spacing;
  // Italic leans right beyond the last advance by up to a fifth of the height.
  const int lean = style.italic ? h / 5 + 1 : 0;
  Bitmap out(static_cast<int>(std::clamp<int64_t>(total + lean, 1, Bitmap::kMaxSide)), lineHeight);
  int64_t x = 0;
  for (size_t i = 0; i < advance.size() && x < out.width(); ++i) {
    FT_GlyphSlot slot = impl_->Render(face, text[i], strength);
    if (!slot) slot = impl_->Render(impl_->cjk, text[i], strength);
    if (slot) {
      Impl::Put(slot, out, static_cast<int>(x), ascent, {0, 0, out.width(), out.height()});
    } else {
      HollowBox(out, {static_cast<int>(x), 0, advance[i], lineHeight});
    }
    x += advance[i] + style.spacing;
  }
  FT_Set_Transform(face, nullptr, nullptr);
  if (impl_->cjk) FT_Set_Transform(impl_->cjk, nullptr, nullptr);
  return out;
}

}  // namespace qm::render
