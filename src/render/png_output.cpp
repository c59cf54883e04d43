// PNG output through libpng: one bit per dot, white paper (1) and black ink (0).
#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "render/bitmap.h"

namespace qm::render {

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), size);
}

void NoFlush(png_structp) {}

}  // namespace

std::string EncodePng(const Bitmap& bitmap) {
  if (bitmap.width() == 0 || bitmap.height() == 0) return {};
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return {};
  png_infop info = png_create_info_struct(png);
  // Rows are packed before setjmp, so nothing with a destructor lives across a longjmp.
  const size_t stride = (static_cast<size_t>(bitmap.width()) + 7) / 8;
  std::vector<png_byte> packed(stride * bitmap.height(), 0xFF);
  const uint8_t* dot = bitmap.dots().data();
  for (int y = 0; y < bitmap.height(); ++y) {
    png_byte* row = &packed[stride * y];
    for (int x = 0; x < bitmap.width(); ++x, ++dot) {
      if (*dot) row[x >> 3] &= static_cast<png_byte>(~(0x80 >> (x & 7)));
    }
  }
  std::vector<png_bytep> rows(bitmap.height());
  for (int y = 0; y < bitmap.height(); ++y) rows[y] = &packed[stride * y];
  volatile bool ok = false;  // set after setjmp, read after a longjmp
  if (info && setjmp(png_jmpbuf(png)) == 0) {
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width()),
                 static_cast<png_uint_32>(bitmap.height()), 1, PNG_COLOR_TYPE_GRAY,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // 8 dots per millimetre.
    png_set_pHYs(png, info, 8000, 8000, PNG_RESOLUTION_METER);
    // Labels are mostly paper: plain rows and quick compression make small files fast.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    ok = true;
  }
  png_destroy_write_struct(&png, info ? &info : nullptr);
  if (!ok) out.clear();
  return out;
}

bool WritePng(const Bitmap& bitmap, const std::string& path, std::string& error) {
  const std::string bytes = EncodePng(bitmap);
  if (bytes.empty()) {
    error = path + ": the label is empty or could not be encoded";
    return false;
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    error = path + ": could not be written";
    return false;
  }
  return true;
}

}  // namespace qm::render
