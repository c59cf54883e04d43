// Lines of text drawn through FreeType: the printer's bitmap fonts as fixed cells, its
// vector font at a size in dots, and the two-byte fonts with the CJK face.
#pragma once

#include <memory>
#include <string>

#include "render/bitmap.h"

namespace qm::render {

enum class TextFace {
  kMono,  // bitmap fonts: every character fills one cell
  kSans,  // the vector font: proportional
  kCjk,   // two-byte fonts: full-width cells, ASCII in half a cell
};

struct TextStyle {
  TextFace face = TextFace::kMono;
  int width = 17;   // cell width (kMono, kCjk) or character width (kSans), in dots
  int height = 26;  // cell or character height, in dots
  int spacing = 0;  // dots added after each character but the last; may be negative (kSans)
  bool bold = false;
  bool italic = false;
};

// Font files, looked up once; QUILLMARK_FONT_DIR may point at a folder holding the same names.
struct FontFiles {
  std::string mono;
  std::string sans;
  std::string cjk;
};
FontFiles DefaultFontFiles();

class GlyphRenderer {
 public:
  explicit GlyphRenderer(const FontFiles& files = DefaultFontFiles());
  ~GlyphRenderer();
  GlyphRenderer(const GlyphRenderer&) = delete;
  GlyphRenderer& operator=(const GlyphRenderer&) = delete;

  // Empty when every face loaded; otherwise which font is missing.
  const std::string& error() const { return error_; }
  // One unrotated line, its box the text's cells (kMono, kCjk) or advances and line height
  // (kSans). A character no face holds is drawn as a hollow box.
  Bitmap DrawLine(const std::u32string& text, const TextStyle& style);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string error_;
};

}  // namespace qm::render
