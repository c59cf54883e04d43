// Rendering a script in a test, and reading barcodes back with zxing-cpp.
#pragma once

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <cstdint>
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

// A PCX file: 1-bit (two colours) or 8-bit with its palette, run-length encoded.
inline std::string Pcx(int width, int height, int bits, const std::vector<uint8_t>& pixels) {
  std::string h(128, '\0');
  const int bytesPerLine = ((bits == 1 ? (width + 7) / 8 : width) + 1) / 2 * 2;
  h[0] = 0x0A;
  h[1] = 5;
  h[2] = 1;
  h[3] = static_cast<char>(bits);
  h[8] = static_cast<char>(width - 1);
  h[9] = static_cast<char>((width - 1) >> 8);
  h[10] = static_cast<char>(height - 1);
  h[11] = static_cast<char>((height - 1) >> 8);
  h[16 + 3] = h[16 + 4] = h[16 + 5] = static_cast<char>(0xFF);  // 1-bit: colour 1 white
  h[65] = 1;
  h[66] = static_cast<char>(bytesPerLine);
  std::string body;
  for (int y = 0; y < height; ++y) {
    std::vector<uint8_t> line(bytesPerLine, 0);
    for (int x = 0; x < width; ++x) {
      const uint8_t p = pixels[y * width + x];
      if (bits == 8) {
        line[x] = p;
      } else if (p) {
        line[x / 8] |= 0x80 >> (x % 8);
      }
    }
    for (uint8_t b : line) {
      if (b >= 0xC0) body += static_cast<char>(0xC1);
      body += static_cast<char>(b);
    }
  }
  if (bits == 8) {
    body += '\x0C';
    for (int i = 0; i < 256; ++i) body += std::string(3, static_cast<char>(i == 1 ? 0 : 255));
  }
  return h + body;
}

}  // namespace qm::render::test
