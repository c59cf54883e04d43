// The label renderer's script entry point, which takes any bytes: it returns bitmaps no
// larger than a label, no more labels than its limit, and warnings in line order that name
// lines of the script.
//
// Input: a script, as the tester's preview or "quillmark-cli render" would hand it over.
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "render/label_renderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Loading the fonts is the slow part; one renderer serves every input, as in the tester.
  static qm::render::LabelRenderer renderer;
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  const auto images = [](const std::string&) { return std::shared_ptr<const std::string>(); };
  const qm::render::RenderResult result = renderer.RenderScript(script, qm::render::PaperSettings{}, images, true);

  FUZZ_CHECK(result.labels.size() <= static_cast<size_t>(qm::render::LabelRenderer::kMaxLabels) + 1);
  const long lines = 1 + std::count_if(script.begin(), script.end(), [](char c) { return c == '\r' || c == '\n'; });
  for (const qm::render::RenderedLabel& label : result.labels) {
    FUZZ_CHECK(label.bitmap != nullptr);
    FUZZ_CHECK(label.bitmap->width() <= qm::render::Bitmap::kMaxSide);
    FUZZ_CHECK(label.bitmap->height() <= qm::render::Bitmap::kMaxSide);
    FUZZ_CHECK(label.line >= 1 && label.line <= lines);
  }
  for (size_t i = 0; i < result.warnings.size(); ++i) {
    FUZZ_CHECK(result.warnings[i].line >= 1 && result.warnings[i].line <= lines);
    FUZZ_CHECK(!result.warnings[i].text.empty());
    if (i > 0) FUZZ_CHECK(result.warnings[i - 1].line <= result.warnings[i].line);
  }
  return 0;
}
