// The command script as the editor shows it: 8-bit bytes in, editable text out, and back.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// Shows script bytes as editor text: Latin-1, CR LF as the editor's line break ("\n"), and
// every other control byte (a lone CR, a lone LF, other C0 bytes, DEL) as its visible
// control picture, and bytes 0x80..0x9F as the circled numbers 0..31, so that nothing is
// lost on the way back.
std::u16string ScriptToEditorText(std::string_view bytes);
// The same into `out`, which has room for bytes.size() units (never more are needed); the
// number written. A large script is shown without a second copy of its text.
size_t ScriptToEditorText(std::string_view bytes, char16_t* out);

// The script bytes for editor text; the editor's own line and paragraph separators are line
// breaks. Characters outside Latin-1 that stand for no byte cannot be sent in an 8-bit
// script and become "?".
std::string EditorTextToScript(std::u16string_view text);

}  // namespace qm
