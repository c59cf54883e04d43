// Rendering a script in a test, and reading barcodes back with zxing-cpp.
#pragma once

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <string>
#include <vector>

#include "render/label_renderer.h"

namespace qm::render::test {

inline RenderResult Render(std::string_view script, PaperSettings paper = {}) {
  static LabelRenderer renderer;
  return renderer.RenderScript(script, paper);
}

inline std::string WarningsText(const RenderResult& r) {
  std::string s;
  for (const Warning& w : r.warnings) s += std::to_string(w.line) + ": " + w.text + "\n";
  return s;
}

// The symbol of `format` zxing finds on the bitmap, as text; empty when it finds none.
// (One read: this reader's search for several linear symbols trips over its own checks.)
inline std::vector<std::string> Decode(const Bitmap& b, ZXing::BarcodeFormat format, bool pure = false) {
  std::vector<uint8_t> lum(b.dots().size());
  for (size_t i = 0; i < lum.size(); ++i) lum[i] = b.dots()[i] ? 0 : 255;
  ZXing::DecodeHints hints;
  hints.setFormats(format).setTryRotate(true).setTryHarder(true).setIsPure(pure);
  const ZXing::ImageView view(lum.data(), b.width(), b.height(), ZXing::ImageFormat::Lum);
  std::vector<std::string> out;
  const ZXing::Result r = ZXing::ReadBarcode(view, hints);
  if (r.isValid()) out.push_back(r.text());
  return out;
}

}  // namespace qm::render::test
