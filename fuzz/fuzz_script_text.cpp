// The tester's script editor mapping: any script bytes shown in the editor come back as
// the same bytes, and any editor text becomes bytes that survive the same trip.
//
// Input: the bytes of a script; read again two bytes at a time, the editor's text.
#include <string>
#include <string_view>

#include "commands/script_text.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string shown = qm::ScriptToEditorText(bytes);
  FUZZ_CHECK(shown.size() <= bytes.size());
  for (const char16_t c : shown) FUZZ_CHECK(c == u'\n' || c >= 0x20);  // no raw control in the editor
  FUZZ_CHECK(qm::EditorTextToScript(shown) == bytes);

  std::u16string typed(size / 2, u'\0');
  for (size_t i = 0; i < typed.size(); ++i) typed[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  const std::string sent = qm::EditorTextToScript(typed);
  FUZZ_CHECK(sent.size() >= typed.size() && sent.size() <= 2 * typed.size());
  FUZZ_CHECK(qm::EditorTextToScript(qm::ScriptToEditorText(sent)) == sent);
  return 0;
}
