#include "cli/setting_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <utility>
#include <vector>

#include "cli/escape.h"
#include "link/printer_link.h"
#include "link/query.h"

namespace qm::cli {

namespace {

// Lower case, runs of blanks as one, no blanks at either end.
std::string Folded(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ' ') {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

std::string Labelled(std::string_view label, std::string_view value) {
  while (!label.empty() && label.back() == ' ') label.remove_suffix(1);
  std::string out(label);
  out += ' ';
  out += value;
  return out;
}

namespace {

// The code point of the UTF-8 sequence at `i`, advancing `i` past it; nullopt when the bytes
// there are no shortest-form sequence of a scalar value.
std::optional<char32_t> NextCodePoint(std::string_view text, size_t& i) {
  const auto b = static_cast<unsigned char>(text[i]);
  size_t length = 0;
  char32_t c = 0;
  if (b < 0x80) {
    ++i;
    return b;
  }
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
    c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    c = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    c = b & 0x07;
  } else {
    return std::nullopt;
  }
  if (i + length > text.size()) return std::nullopt;
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (next & 0x3F);
  }
  const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  i += length;
  return c;
}

}  // namespace

std::string Latin1Refusal(std::string_view text) {
  std::vector<std::pair<char32_t, std::string_view>> beyond;
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    const std::optional<char32_t> c = NextCodePoint(text, i);
    if (!c) return "not UTF-8 text";
    if (*c <= 0xFF) continue;
    if (std::ranges::none_of(beyond, [&](const auto& seen) { return seen.first == *c; })) {
      beyond.emplace_back(*c, text.substr(start, i - start));
    }
  }
  if (beyond.empty()) return {};
  std::string named;
  for (const auto& [c, bytes] : beyond) {
    if (!named.empty()) named += ", ";
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    named += "\"" + std::string(bytes) + "\" (" + code + ")";
  }
  return named + (beyond.size() == 1 ? " has" : " have") + " no byte in the printer's code page (Latin-1)";
}

std::string TakeLatin1(std::string_view option, std::string_view text, std::string& out) {
  const std::optional<std::string> bytes = Utf8ToLatin1(text);
  if (!bytes) return std::string(option) + ": " + Latin1Refusal(text);
  out = *bytes;
  return {};
}

std::string OneLine(std::string_view bytes) {
  while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) bytes.remove_suffix(1);
  std::string out;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0xA0) {
      out += Latin1ToUtf8(std::string_view(&c, 1));
    } else {
      out += EscapeBytes(std::string_view(&c, 1));
    }
  }
  return out;
}

std::optional<int> ParseInt(std::string_view text) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> FindEntry(EntryList names, std::string_view text) {
  const std::string wanted = Folded(text);
  if (wanted.empty()) return std::nullopt;
  for (size_t i = 0; i < names.size(); ++i) {
    if (Folded(names[i]) == wanted) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::string EntryOrNone(EntryList names, std::optional<int> index) {
  if (!index || *index < 0 || static_cast<size_t>(*index) >= names.size()) return "none";
  return std::string(names[static_cast<size_t>(*index)]);
}

std::string NumberedEntries(EntryList names) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string number = std::to_string(i);
    out += std::string(4 - number.size(), ' ') + number + "  " + std::string(names[i]) + "\n";
  }
  return out;
}

std::string WriteFailure(const PrinterLink& link) {
  const std::string& why = link.lastError();
  return "the write failed" + (why.empty() ? "" : ": " + why);
}

std::string NoReply(const PrinterLink& link, std::string_view what) {
  std::string error(what);
  if (ReadFailed(link)) error += ": " + link.lastError();
  return error;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace qm::cli
