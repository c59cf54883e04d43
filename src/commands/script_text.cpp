#include "commands/script_text.h"

namespace qm {

namespace {

constexpr char16_t kControlPictures = 0x2400;  // U+2400..U+241F stand for bytes 0x00..0x1F
constexpr char16_t kDeletePicture = 0x2421;
// Bytes 0x80..0x9F have no control pictures and most fonts draw them as empty boxes (or an
// editor takes 0x85 for a line end): they show as the circled numbers 0..31, that is the
// byte less 0x80.
constexpr char16_t kC1Pictures[32] = {
    0x24EA, 0x2460, 0x2461, 0x2462, 0x2463, 0x2464, 0x2465, 0x2466, 0x2467, 0x2468, 0x2469,
    0x246A, 0x246B, 0x246C, 0x246D, 0x246E, 0x246F, 0x2470, 0x2471, 0x2472, 0x2473, 0x3251,
    0x3252, 0x3253, 0x3254, 0x3255, 0x3256, 0x3257, 0x3258, 0x3259, 0x325A, 0x325B};
// The editor's own paragraph and line separators, as its raw text hands them back.
constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;

int C1Byte(char16_t c) {
  for (int i = 0; i < 32; ++i) {
    if (kC1Pictures[i] == c) return 0x80 + i;
  }
  return -1;
}

}  // namespace

size_t ScriptToEditorText(std::string_view bytes, char16_t* out) {
  char16_t* const start = out;
  const size_t n = bytes.size();
  for (size_t i = 0; i < n; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x20 && b < 0x7F) {
      *out++ = b;
    } else if (b == '\r' && i + 1 < n && bytes[i + 1] == '\n') {
      *out++ = u'\n';
      ++i;
    } else if (b < 0x20) {
      *out++ = static_cast<char16_t>(kControlPictures + b);
    } else if (b == 0x7F) {
      *out++ = kDeletePicture;
    } else if (b >= 0x80 && b < 0xA0) {
      *out++ = kC1Pictures[b - 0x80];
    } else {
      *out++ = b;
    }
  }
  return static_cast<size_t>(out - start);
}

std::u16string ScriptToEditorText(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  text.resize(ScriptToEditorText(bytes, text.data()));
  return text;
}

std::string EditorTextToScript(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (const char16_t c : text) {
    if (c == u'\n' || c == kLineSeparator || c == kParagraphSeparator) {
      bytes += "\r\n";
    } else if (c >= kControlPictures && c < kControlPictures + 0x20) {
      bytes.push_back(static_cast<char>(c - kControlPictures));
    } else if (c == kDeletePicture) {
      bytes.push_back('\x7F');
    } else if (c < 0x20) {
      // A control character typed or pasted into the editor (a tab) is sent as it is.
      bytes.push_back(static_cast<char>(c));
    } else if (c <= 0xFF) {
      bytes.push_back(static_cast<char>(c));
    } else if (const int b = C1Byte(c); b >= 0) {
      bytes.push_back(static_cast<char>(b));
    } else {
      bytes.push_back('?');
    }
  }
  return bytes;
}

}  // namespace qm
