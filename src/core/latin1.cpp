#include "core/latin1.h"

namespace qm {

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

std::optional<std::string> Utf8ToLatin1(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out.push_back(text[i]);
      continue;
    }
    // Only the two-byte forms of U+0080..U+00FF have a Latin-1 byte.
    if ((b != 0xC2 && b != 0xC3) || i + 1 >= text.size()) return std::nullopt;
    const auto next = static_cast<unsigned char>(text[i + 1]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    out.push_back(static_cast<char>(((b & 0x03) << 6) | (next & 0x3F)));
    ++i;
  }
  return out;
}

}  // namespace qm
