#include "cli/escape.h"

namespace qm::cli {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Position(size_t at) { return " at position " + std::to_string(at + 1); }

}  // namespace

Unescaped ParseEscapes(std::string_view text) {
  Unescaped result;
  std::string& out = result.bytes;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (i + 1 == text.size()) {
      result.error = "a lone \\ ends the text (write \\\\ for a backslash)";
      return result;
    }
    const char kind = text[++i];
    switch (kind) {
      case 'r': out.push_back('\r'); break;
      case 'n': out.push_back('\n'); break;
      case 't': out.push_back('\t'); break;
      case '\\': out.push_back('\\'); break;
      case 'x': {
        const int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
          result.error = "\\x needs two hex digits" + Position(i - 1);
          return result;
        }
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        break;
      }
      default:
        result.error = std::string("unknown escape \\") + kind + Position(i - 1) +
                       " (use \\r \\n \\t \\\\ or \\xNN)";
        return result;
    }
  }
  result.ok = true;
  return result;
}

std::string EscapeBytes(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '\r': out += "\\r"; continue;
      case '\n': out += "\\n"; continue;
      case '\t': out += "\\t"; continue;
      case '\\': out += "\\\\"; continue;
      default: break;
    }
    if (b >= 0x20 && b < 0x7F) {
      out.push_back(c);
    } else {
      out += "\\x";
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0x0F]);
    }
  }
  return out;
}

}  // namespace qm::cli
