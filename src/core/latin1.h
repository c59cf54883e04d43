// The printer keeps one byte a character (Latin-1); terminals and JSON hold UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Latin-1 bytes as UTF-8 text.
std::string Latin1ToUtf8(std::string_view bytes);
// UTF-8 text as Latin-1 bytes; nullopt when it is not UTF-8 or holds a character beyond U+00FF.
std::optional<std::string> Utf8ToLatin1(std::string_view text);

}  // namespace qm
