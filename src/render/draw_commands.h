// Drawing one command on a label canvas: text, barcodes, blocks and recalled images.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/bitmap.h"
#include "render/glyphs.h"
#include "render/label_renderer.h"

namespace qm::render {

// Whether the command word draws on the label ("T", "V", "B1", "B2", "BD", "IR").
bool IsDrawingWord(std::string_view word);

// Draws `item` on `canvas` at the paper's margins, adding a warning for whatever it could
// not draw as asked, and to `boxes` (when given) where it drew.
void DrawCommand(Bitmap& canvas, const DrawItem& item, const PaperSettings& paper,
                 GlyphRenderer& glyphs, std::vector<Warning>& warnings,
                 std::vector<DrawnBox>* boxes = nullptr);

// The bitmap font cells (fonts "0" to "9", "a" to "f", "m", "n", "j"), in dots: width and
// height of one character at multiplier 1; the two-byte fonts' cells are full-width.
struct FontCell {
  int width = 0;
  int height = 0;
  bool twoByte = false;
};
std::optional<FontCell> BitmapFontCell(std::string_view name);

// A PCX image as ink: dark pixels print. nullopt with `error` set when it is not one.
std::optional<Bitmap> DecodePcx(std::string_view bytes, std::string& error);

}  // namespace qm::render
