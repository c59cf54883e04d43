// Tables of cases whose rows run, fail and are named on their own (TEST_P with a name from
// each row), and whose expected bytes can be written again from what the code now does:
// QUILLMARK_REGENERATE=1 prints every row's actual bytes as a C++ string literal instead of
// failing, so an intended protocol change is a reviewed diff, not hand-edited escapes.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace qm::test {

// `text` as a test name: letters and digits kept, anything else an underscore.
inline std::string RowIdentifier(std::string_view text) {
  std::string out;
  for (const char c : text) out += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return out.empty() ? std::string("row") : out;
}

// The name generator for INSTANTIATE_TEST_SUITE_P: each row by its `name`.
struct RowName {
  template <typename Row>
  std::string operator()(const testing::TestParamInfo<Row>& info) const {
    return RowIdentifier(info.param.name);
  }
};

inline bool Regenerating() {
  const char* value = std::getenv("QUILLMARK_REGENERATE");
  return value && std::string_view(value) == "1";
}

// `bytes` as a C++ string literal: printable ASCII as it is, \r \n \t \\ \" and \xNN else.
// A hex escape is closed off ("" "") when a hex digit follows it.
inline std::string CppLiteral(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  bool afterHex = false;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (afterHex && std::isxdigit(b)) out += "\" \"";
    afterHex = false;
    switch (c) {
      case '\r': out += "\\r"; continue;
      case '\n': out += "\\n"; continue;
      case '\t': out += "\\t"; continue;
      case '\\': out += "\\\\"; continue;
      case '"': out += "\\\""; continue;
      default: break;
    }
    if (b >= 0x20 && b < 0x7F) {
      out += c;
    } else {
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
      afterHex = true;
    }
  }
  return out + "\"";
}

// The row's bytes against what it expects; when regenerating, the actual bytes are printed
// for the row instead and the row passes.
inline void ExpectBytes(std::string_view row, const std::string& actual, const std::string& expected) {
  if (Regenerating()) {
    std::printf("%.*s: %s\n", static_cast<int>(row.size()), row.data(), CppLiteral(actual).c_str());
    return;
  }
  EXPECT_EQ(actual, expected) << "row " << row << "; QUILLMARK_REGENERATE=1 prints " << CppLiteral(actual);
}

}  // namespace qm::test
