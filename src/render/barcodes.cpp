#include "render/barcodes.h"

#include <zint.h>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <memory>

namespace qm::render {

namespace {

struct ZintDeleter {
  void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using ZintPtr = std::unique_ptr<zint_symbol, ZintDeleter>;

bool Module(const zint_symbol* s, int row, int col) {
  return (s->encoded_data[row][col >> 3] >> (col & 7)) & 1;
}

// Encodes; on failure returns false with zint's reason as a warning.
bool Encode(zint_symbol* s, const std::string& data, Symbol& out) {
  if (data.empty()) {
    out.warnings.push_back("no data to encode");
    return false;
  }
  const int rc = ZBarcode_Encode(s, reinterpret_cast<const unsigned char*>(data.data()),
                                 static_cast<int>(std::min<size_t>(data.size(), 16000)));
  if (rc >= ZINT_ERROR) {
    out.warnings.push_back(std::string("cannot encode: ") + s->errtxt);
    return false;
  }
  if (rc != 0) out.warnings.push_back(s->errtxt);
  return true;
}

// The module matrix of an encoded symbol, each module `mw` by `mh` dots.
Bitmap Matrix(const zint_symbol* s, int mw, int mh) {
  Bitmap b(s->width * mw, s->rows * mh);
  for (int r = 0; r < s->rows; ++r) {
    for (int c = 0; c < s->width; ++c) {
      if (Module(s, r, c)) b.Fill({c * mw, r * mh, mw, mh});
    }
  }
  return b;
}

// `symbol` with a line of text centred under it, `gap` dots below.
Bitmap WithText(const Bitmap& symbol, const std::u32string& text, GlyphRenderer& glyphs, int gap) {
  const Bitmap line = glyphs.DrawLine(text, {TextFace::kMono, 10, 18, 0, false, false});
  Bitmap out(std::max(symbol.width(), line.width()), symbol.height() + gap + line.height());
  out.Blit(symbol, (out.width() - symbol.width()) / 2, 0);
  out.Blit(line, (out.width() - line.width()) / 2, symbol.height() + gap);
  return out;
}

std::u32string Latin1(std::string_view s) { return std::u32string(s.begin(), s.end()); }

constexpr std::array<int, 10> k1DSymbologies = {
    BARCODE_CODE39, BARCODE_CODE128, BARCODE_C25INTER, BARCODE_CODABAR, BARCODE_CODE93,
    BARCODE_UPCA,   BARCODE_UPCE,    BARCODE_EANX,     BARCODE_EANX,    BARCODE_GS1_128};

// Symbologies of two bar widths: a run of one module is narrow, a longer run wide.
// 1.11 inches across, at 8 dots a millimetre.
constexpr int kMaxiCodeWidth = 225;

bool TwoWidths(int type) { return type == 0 || type == 2 || type == 3; }

}  // namespace

Symbol DrawBarcode1D(const Barcode1DRequest& request, GlyphRenderer& glyphs) {
  Symbol out;
  if (request.type < 0 || request.type >= static_cast<int>(k1DSymbologies.size())) {
    out.warnings.push_back("unknown barcode type " + std::to_string(request.type));
    return out;
  }
  ZintPtr s(ZBarcode_Create());
  s->symbology = k1DSymbologies[request.type];
  std::string data = request.data;
  if (request.type == 8 && data.size() > 8) {
    out.warnings.push_back("EAN8 takes 7 digits (8 with the check digit), not " + std::to_string(data.size()));
    return out;
  }
  if (request.type == 7 && data.size() > 13) {
    out.warnings.push_back("EAN13 takes 12 digits (13 with the check digit), not " + std::to_string(data.size()));
    return out;
  }
  if (request.type == 9) {
    // Application identifiers in parentheses, as the operator types them.
    if (data.find('(') != std::string::npos) {
      s->input_mode = GS1_MODE | GS1PARENS_MODE;
    } else {
      out.warnings.push_back("UCC/EAN128 data carries no (AI): drawn as Code128");
      s->symbology = BARCODE_CODE128;
    }
  }
  if (!Encode(s.get(), data, out)) return out;
  const int narrow = std::clamp(request.narrow, 1, 100);
  const int wide = TwoWidths(request.type) ? std::clamp(request.wide, 1, 100) : narrow;
  const int height = std::clamp(request.height, 0, Bitmap::kMaxSide);
  // Each run of equal modules of the top row becomes one bar or space.
  std::vector<std::pair<bool, int>> runs;
  for (int c = 0; c < s->width;) {
    const bool ink = Module(s.get(), 0, c);
    int n = 1;
    while (c + n < s->width && Module(s.get(), 0, c + n) == ink) ++n;
    runs.emplace_back(ink, TwoWidths(request.type) ? (n == 1 ? narrow : wide) : n * narrow);
    c += n;
  }
  const int quiet = request.quietZone > 0 ? request.quietZone * narrow : 0;
  int64_t total = 2 * quiet;
  for (const auto& r : runs) total += r.second;
  Bitmap bars(static_cast<int>(std::min<int64_t>(total, Bitmap::kMaxSide)), height);
  int x = quiet;
  for (const auto& [ink, w] : runs) {
    if (ink) bars.Fill({x, 0, w, height});
    x += w;
  }
  if (height == 0) out.warnings.push_back("bar height 0: only the human-readable line is drawn");
  const std::string text(reinterpret_cast<const char*>(s->text));
  out.bitmap = request.hri && !text.empty() ? WithText(bars, Latin1(text), glyphs, 4) : bars;
  return out;
}

Symbol DrawPdf417(const Pdf417Request& request, GlyphRenderer& glyphs) {
  Symbol out;
  ZintPtr s(ZBarcode_Create());
  s->symbology = BARCODE_PDF417;
  s->option_1 = std::clamp(request.level, 0, 8);
  s->option_2 = std::clamp(request.columns, 1, 30);
  if (!Encode(s.get(), request.data, out)) return out;
  if (s->rows > request.maxRows) {
    out.warnings.push_back("the data needs " + std::to_string(s->rows) + " rows, more than the " +
                           std::to_string(request.maxRows) + " allowed: drawn with " +
                           std::to_string(s->rows));
  }
  const Bitmap symbol = Matrix(s.get(), std::clamp(request.moduleWidth, 1, 20), std::clamp(request.rowHeight, 1, 200));
  out.bitmap = request.hri ? WithText(symbol, Latin1(request.data), glyphs, 6) : symbol;
  return out;
}

Symbol DrawQrCode(const QrRequest& request) {
  Symbol out;
  ZintPtr s(ZBarcode_Create());
  s->symbology = BARCODE_QRCODE;
  static constexpr std::string_view kLevels = "LMQH";
  const size_t level = kLevels.find(request.level);
  if (level == std::string_view::npos) {
    out.warnings.push_back(std::string("unknown error correction level ") + request.level + ": drawn with L");
  }
  s->option_1 = level == std::string_view::npos ? 1 : static_cast<int>(level) + 1;
  if (request.model == 1) out.warnings.push_back("QR Code model 1 is not made: drawn as model 2");
  if (!Encode(s.get(), request.data, out)) return out;
  const int m = 2 * std::clamp(request.size, 1, 20);
  out.bitmap = Matrix(s.get(), m, m);
  return out;
}

Symbol DrawMaxiCode(const MaxiCodeRequest& request) {
  Symbol out;
  ZintPtr s(ZBarcode_Create());
  s->symbology = BARCODE_MAXICODE;
  int mode = request.mode;
  if (mode == 0) {
    out.warnings.push_back("MaxiCode mode 0 is not made: drawn as mode 2");
    mode = 2;
  }
  if (mode != 2 && mode != 3 && mode != 4) {
    out.warnings.push_back("unknown MaxiCode mode " + std::to_string(mode) + ": drawn as mode 4");
    mode = 4;
  }
  s->option_1 = mode;
  std::string data = request.data;
  if (mode == 2 || mode == 3) {
    // "class,country,postcode,postcode+4,message": the carrier's primary message first.
    std::array<std::string, 4> f;
    size_t at = 0;
    for (std::string& field : f) {
      const size_t comma = data.find(',', at);
      if (comma == std::string::npos) {
        out.warnings.push_back("MaxiCode mode " + std::to_string(mode) +
                               " needs class, country and postcode before the message");
        return out;
      }
      field = data.substr(at, comma - at);
      at = comma + 1;
    }
    std::string postcode = mode == 2 ? f[2] + f[3] : f[2];
    std::string primary = postcode;
    if (mode == 3) primary.resize(6, ' ');
    primary += f[1] + f[0];
    if (primary.size() >= sizeof s->primary) primary.resize(sizeof s->primary - 1);
    std::copy(primary.begin(), primary.end(), s->primary);
    s->primary[primary.size()] = '\0';
    data = data.substr(at);
  }
  if (!Encode(s.get(), data, out)) return out;
  // The symbol's own hexagons, rastered by the library; the scale is tried until the
  // symbol is about 1.11 inches across (the raster moves in steps with it).
  Bitmap b;
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (ZBarcode_Buffer(s.get(), 0) >= ZINT_ERROR || s->bitmap_width <= 0) {
      out.warnings.push_back(std::string("cannot draw: ") + s->errtxt);
      return out;
    }
    b = Bitmap(s->bitmap_width, s->bitmap_height);
    for (int y = 0; y < b.height(); ++y) {
      for (int x = 0; x < b.width(); ++x) {
        const unsigned char* px = s->bitmap + (static_cast<size_t>(y) * s->bitmap_width + x) * 3;
        if (px[0] < 128) b.Set(x, y, true);
      }
    }
    const int inked = b.InkedBox().width;
    if (inked <= 0 || std::abs(inked - kMaxiCodeWidth) <= 2) break;
    s->scale = s->scale * static_cast<float>(kMaxiCodeWidth) / static_cast<float>(inked);
  }
  out.bitmap = std::move(b);
  return out;
}

}  // namespace qm::render
