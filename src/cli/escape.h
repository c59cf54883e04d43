// Bytes on the command line: C escapes in, escaped text out.
#pragma once

#include <string>
#include <string_view>

namespace qm::cli {

struct Unescaped {
  bool ok = false;
  std::string bytes;
  std::string error;  // what is wrong with the text, for a usage message
};

// Turns `\r`, `\n`, `\t`, `\\` and `\xNN` (exactly two hex digits) into their bytes; every
// other character stands for itself. Any other escape is refused, so a typo is never sent.
Unescaped ParseEscapes(std::string_view text);

// Printable ASCII as itself, backslash doubled, CR LF TAB as `\r` `\n` `\t`, every other
// byte as `\xNN` in upper case; ParseEscapes gives the bytes back.
std::string EscapeBytes(std::string_view bytes);

}  // namespace qm::cli
