// Barcodes through libzint, drawn dot for dot: the library encodes, the renderer sizes each
// bar and module in printer dots. Symbols come out unrotated; the caller turns them.
#pragma once

#include <string>
#include <vector>

#include "render/bitmap.h"
#include "render/glyphs.h"

namespace qm::render {

struct Barcode1DRequest {
  int type = 0;       // "B1" position: Code39, Code128, I2of5, Codabar, Code93, UPC-A, UPC-E, EAN13, EAN8, UCC/EAN128
  int narrow = 2;     // dots
  int wide = 7;       // dots, for the symbologies of two bar widths
  int height = 100;   // dots of bar
  bool hri = true;    // the human-readable line under the bars
  int quietZone = -1; // narrow bars of space cleared on each side; -1 for none
  std::string data;
};

struct Pdf417Request {
  int maxRows = 30;
  int columns = 5;
  int level = 0;     // error correction 0 to 8
  bool hri = false;
  int moduleWidth = 3;
  int rowHeight = 10;
  std::string data;
};

struct QrRequest {
  int model = 2;     // 1 or 2
  char level = 'L';  // L, M, Q, H
  int size = 4;      // modules are 2 x size dots
  std::string data;
};

struct MaxiCodeRequest {
  int mode = 4;  // 0, 2, 3 or 4
  std::string data;
};

struct Symbol {
  Bitmap bitmap;                      // empty when nothing could be drawn
  std::vector<std::string> warnings;  // each a reason, for the command's warning
};

Symbol DrawBarcode1D(const Barcode1DRequest& request, GlyphRenderer& glyphs);
Symbol DrawPdf417(const Pdf417Request& request, GlyphRenderer& glyphs);
Symbol DrawQrCode(const QrRequest& request);
Symbol DrawMaxiCode(const MaxiCodeRequest& request);

}  // namespace qm::render
