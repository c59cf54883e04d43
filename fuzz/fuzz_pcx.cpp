// Stored images: any bytes stored under a name reach the PCX reader when a label recalls
// them. It returns a picture no larger than a label, or says why not.
//
// Input: the stored image's bytes.
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "render/draw_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::optional<qm::render::Bitmap> picture = qm::render::DecodePcx(bytes, error);
  if (!picture) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  FUZZ_CHECK(picture->width() >= 0 && picture->width() <= qm::render::Bitmap::kMaxSide);
  FUZZ_CHECK(picture->height() >= 0 && picture->height() <= qm::render::Bitmap::kMaxSide);
  FUZZ_CHECK(picture->dots().size() == static_cast<size_t>(picture->width()) * static_cast<size_t>(picture->height()));
  return 0;
}
