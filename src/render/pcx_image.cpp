// Stored images ("IS") are PCX files; SDL_image reads them (1-bit, 4-bit planes, 8-bit
// palette, 24-bit), and the renderer prints every pixel darker than mid-grey.
//
// SDL_image is loaded the first time a picture is read, not when a program starts: linked
// in, it brought SDL with its display and sound libraries (some 60 shared objects) into
// every run of the CLI and the printer, which almost never draw a PCX.
#include <SDL_image.h>
#include <dlfcn.h>

#include <mutex>

#include "render/draw_commands.h"

namespace qm::render {

namespace {

struct PcxReader {
  decltype(&SDL_RWFromConstMem) rwFromConstMem = nullptr;
  decltype(&SDL_RWclose) rwClose = nullptr;
  decltype(&SDL_GetError) getError = nullptr;
  decltype(&IMG_LoadPCX_RW) loadPcx = nullptr;
  decltype(&SDL_FreeSurface) freeSurface = nullptr;
  decltype(&SDL_ConvertSurfaceFormat) convertSurfaceFormat = nullptr;
  decltype(&SDL_LockSurface) lockSurface = nullptr;
  decltype(&SDL_UnlockSurface) unlockSurface = nullptr;
  std::string failure;  // why it could not be loaded; empty once it is
};

template <typename F>
bool Find(void* library, const char* name, F& out, std::string& failure) {
  out = reinterpret_cast<F>(::dlsym(library, name));
  if (!out && failure.empty()) failure = std::string("the PCX reader lacks ") + name;
  return out != nullptr;
}

// Loaded once per process and kept: the handle is never closed, so the functions stay valid.
const PcxReader& Reader() {
  static PcxReader reader;
  static std::once_flag once;
  std::call_once(once, [] {
    void* library = ::dlopen("libSDL2_image-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
      const char* why = ::dlerror();
      reader.failure = std::string("the PCX reader (SDL_image) could not be loaded") + (why ? ": " + std::string(why) : "");
      return;
    }
    // SDL's own functions are found through SDL_image, which depends on it.
    std::string& f = reader.failure;
    Find(library, "SDL_RWFromConstMem", reader.rwFromConstMem, f);
    Find(library, "SDL_RWclose", reader.rwClose, f);
    Find(library, "SDL_GetError", reader.getError, f);
    Find(library, "IMG_LoadPCX_RW", reader.loadPcx, f);
    Find(library, "SDL_FreeSurface", reader.freeSurface, f);
    Find(library, "SDL_ConvertSurfaceFormat", reader.convertSurfaceFormat, f);
    Find(library, "SDL_LockSurface", reader.lockSurface, f);
    Find(library, "SDL_UnlockSurface", reader.unlockSurface, f);
  });
  return reader;
}

}  // namespace

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
  const PcxReader& sdl = Reader();
  if (!sdl.failure.empty()) {
    error = sdl.failure;
    return std::nullopt;
  }
  SDL_RWops* rw = sdl.rwFromConstMem(bytes.data(), static_cast<int>(std::min<size_t>(bytes.size(), INT32_MAX)));
  if (!rw) {
    error = sdl.getError();
    return std::nullopt;
  }
  SDL_Surface* loaded = sdl.loadPcx(rw);
  sdl.rwClose(rw);
  if (!loaded) {
    error = sdl.getError();
    return std::nullopt;
  }
  if (loaded->w > Bitmap::kMaxSide || loaded->h > Bitmap::kMaxSide) {
    sdl.freeSurface(loaded);
    error = "larger than a label";
    return std::nullopt;
  }
  Bitmap out(widened.empty() ? loaded->w : std::min(width, loaded->w), loaded->h);
  const SDL_PixelFormat* format = loaded->format;
  const int bits = format->BitsPerPixel;
  // Indexed images are read through their palette here: converting a one-bit surface to
  // RGBA loses the last, partly filled byte of every row.
  SDL_Surface* rgba = bits <= 8 && format->palette ? nullptr : sdl.convertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  const SDL_Surface* src = rgba ? rgba : loaded;
  if (!rgba && !(bits <= 8 && format->palette)) {
    sdl.freeSurface(loaded);
    error = sdl.getError();
    return std::nullopt;
  }
  sdl.lockSurface(const_cast<SDL_Surface*>(src));
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
  sdl.unlockSurface(const_cast<SDL_Surface*>(src));
  if (rgba) sdl.freeSurface(rgba);
  sdl.freeSurface(loaded);
  return out;
}

}  // namespace qm::render
