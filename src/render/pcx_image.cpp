// Stored images ("IS") are PCX files; SDL_image reads them (1-bit, 4-bit planes, 8-bit
// palette, 24-bit), and the renderer prints every pixel darker than mid-grey.
#include <SDL_image.h>

#include "render/draw_commands.h"

namespace qm::render {

std::optional<Bitmap> DecodePcx(std::string_view bytes, std::string& error) {
  // A PCX header alone is 128 bytes.
  if (bytes.size() < 128 || static_cast<unsigned char>(bytes[0]) != 0x0A) {
    error = "not a PCX file";
    return std::nullopt;
  }
  // SDL_image misreads the last, partly filled byte of a one-bit row: it is given whole
  // bytes to read, and the picture is cut back to its own width below.
  auto le16 = [&](size_t at) { return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8; };
  const int width = le16(8) - le16(4) + 1;
  // SDL_image takes the header's words as signed and sizes its buffers from them before it
  // reads a pixel: a negative bytes-per-line or a vast picture is refused here instead.
  auto s16 = [&](size_t at) { return static_cast<int>(static_cast<int16_t>(le16(at))); };
  const int signedWidth = s16(8) - s16(4) + 1;
  const int signedHeight = s16(10) - s16(6) + 1;
  if (s16(66) <= 0 || signedWidth <= 0 || signedHeight <= 0) {
    error = "not a PCX file";
    return std::nullopt;
  }
  if (width > Bitmap::kMaxSide || signedWidth > Bitmap::kMaxSide || signedHeight > Bitmap::kMaxSide) {
    error = "larger than a label";
    return std::nullopt;
  }
  std::string widened;
  if (bytes[3] == 1 && bytes[65] == 1 && width > 0 && width % 8 != 0 && le16(66) * 8 >= (width + 7) / 8 * 8) {
    widened.assign(bytes);
    const int xmax = le16(4) + (width + 7) / 8 * 8 - 1;
    widened[8] = static_cast<char>(xmax & 0xFF);
    widened[9] = static_cast<char>(xmax >> 8);
    bytes = widened;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(std::min<size_t>(bytes.size(), INT32_MAX)));
  if (!rw) {
    error = SDL_GetError();
    return std::nullopt;
  }
  SDL_Surface* loaded = IMG_LoadPCX_RW(rw);
  SDL_RWclose(rw);
  if (!loaded) {
    error = IMG_GetError();
    return std::nullopt;
  }
  if (loaded->w > Bitmap::kMaxSide || loaded->h > Bitmap::kMaxSide) {
    SDL_FreeSurface(loaded);
    error = "larger than a label";
    return std::nullopt;
  }
  Bitmap out(widened.empty() ? loaded->w : std::min(width, loaded->w), loaded->h);
  const SDL_PixelFormat* format = loaded->format;
  const int bits = format->BitsPerPixel;
  // Indexed images are read through their palette here: converting a one-bit surface to
  // RGBA loses the last, partly filled byte of every row.
  SDL_Surface* rgba = bits <= 8 && format->palette ? nullptr : SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  const SDL_Surface* src = rgba ? rgba : loaded;
  if (!rgba && !(bits <= 8 && format->palette)) {
    SDL_FreeSurface(loaded);
    error = SDL_GetError();
    return std::nullopt;
  }
  SDL_LockSurface(const_cast<SDL_Surface*>(src));
  for (int y = 0; y < src->h; ++y) {
    const auto* row = static_cast<const uint8_t*>(src->pixels) + static_cast<ptrdiff_t>(y) * src->pitch;
    for (int x = 0; x < out.width(); ++x) {
      uint8_t r = 0, g = 0, b = 0;
      if (rgba) {
        r = row[x * 4];
        g = row[x * 4 + 1];
        b = row[x * 4 + 2];
      } else {
        int index = 0;
        if (bits == 1) index = (row[x >> 3] >> (7 - (x & 7))) & 1;
        else if (bits == 4) index = (row[x >> 1] >> (x & 1 ? 0 : 4)) & 0x0F;
        else index = row[x];
        if (index < format->palette->ncolors) {
          const SDL_Color c = format->palette->colors[index];
          r = c.r;
          g = c.g;
          b = c.b;
        }
      }
      // Rec. 601 luma, in integers.
      if ((299 * r + 587 * g + 114 * b) / 1000 < 128) out.Set(x, y, true);
    }
  }
  SDL_UnlockSurface(const_cast<SDL_Surface*>(src));
  if (rgba) SDL_FreeSurface(rgba);
  SDL_FreeSurface(loaded);
  return out;
}

}  // namespace qm::render
