#include "commands/script_text.h"

namespace qm {

namespace {

constexpr char16_t kControlPictures = 0x2400;  // U+2400..U+241F stand for bytes 0x00..0x1F
constexpr char16_t kDeletePicture = 0x2421;

}  // namespace

std::u16string ScriptToEditorText(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      text.push_back(u'\n');
      ++i;
    } else if (b < 0x20) {
      text.push_back(static_cast<char16_t>(kControlPictures + b));
    } else if (b == 0x7F) {
      text.push_back(kDeletePicture);
    } else {
      text.push_back(static_cast<char16_t>(b));
    }
  }
  return text;
}

std::string EditorTextToScript(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (const char16_t c : text) {
    if (c == u'\n') {
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
    } else {
      bytes.push_back('?');
    }
  }
  return bytes;
}

}  // namespace qm
