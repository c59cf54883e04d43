// Escaped text in, bytes out, and back; JSON string literals.
#include <gtest/gtest.h>

#include "cli/escape.h"
#include "cli/outcome.h"

namespace qm::cli {
namespace {

TEST(ParseEscapes, TurnsEachEscapeIntoItsByte) {
  struct Case {
    const char* text;
    std::string bytes;
  };
  const Case cases[] = {
      {"^PI5,0\\r\\n", "^PI5,0\r\n"},
      {"a\\tb", "a\tb"},
      {"C:\\\\x", "C:\\x"},                            // \\ then a plain x, not \x
      {"\\x00\\x7f\\xFF", std::string("\x00\x7F\xFF", 3)},
      {"\\x4142", "A42"},                              // exactly two digits are taken
      {"'quoted' text, 100%", "'quoted' text, 100%"},  // nothing else is special
      {"\\xe9t\\xC3\\xa9", "\xE9t\xC3\xA9"},
  };
  for (const auto& c : cases) {
    const Unescaped got = ParseEscapes(c.text);
    EXPECT_TRUE(got.ok) << c.text << ": " << got.error;
    EXPECT_EQ(got.bytes, c.bytes) << c.text;
  }
}

TEST(ParseEscapes, RefusesWhatCannotBeRead) {
  struct Case {
    const char* text;
    const char* mention;
  };
  const Case cases[] = {
      {"\\x", "two hex digits at position 1"},
      {"ab\\x4", "two hex digits at position 3"},
      {"\\xG0", "two hex digits"},
      {"\\x0G", "two hex digits"},
      {"^PI0\\q", "unknown escape \\q at position 5"},
      {"\\0", "unknown escape \\0"},
      {"abc\\", "lone \\"},
  };
  for (const auto& c : cases) {
    const Unescaped got = ParseEscapes(c.text);
    EXPECT_FALSE(got.ok) << c.text;
    EXPECT_NE(got.error.find(c.mention), std::string::npos) << c.text << " -> " << got.error;
  }
}

TEST(EscapeBytes, GivesEveryByteBackThroughParseEscapes) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string text = EscapeBytes(all);
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_TRUE(b >= 0x20 && b < 0x7F) << "byte " << int(b) << " left unescaped";
  }
  EXPECT_EQ(text.substr(0, 40), "\\x00\\x01\\x02\\x03\\x04\\x05\\x06\\x07\\x08\\t\\n");
  EXPECT_EQ(text.substr(text.find("\\x0C"), 6), "\\x0C\\r");
  EXPECT_EQ(EscapeBytes("a\\b \x7F\xFF"), "a\\\\b \\x7F\\xFF");
  const Unescaped back = ParseEscapes(text);
  ASSERT_TRUE(back.ok) << back.error;
  EXPECT_EQ(back.bytes, all);
}

TEST(JsonString, EscapesWhatJsonForbidsAndReplacesStrayBytes) {
  struct Case {
    std::string text;
    const char* json;
  };
  const Case cases[] = {
      {"say \"hi\"\\", R"("say \"hi\"\\")"},
      {"a\r\nb\t", R"("a\r\nb\t")"},
      {std::string("\x00\x1F\x7F", 3), R"("\u0000\u001f\u007f")"},
      {"caf\xC3\xA9 \xE3\x83\xA9", "\"caf\xC3\xA9 \xE3\x83\xA9\""},  // UTF-8 passes
      {"/tmp/\xE9t\xE9", R"("/tmp/\ufffdt\ufffd")"},                  // Latin-1 does not
      {"\xC3", R"("\ufffd")"},                                         // cut short
      {"\xC0\xAF", R"("\ufffd\ufffd")"},                               // overlong
      {"\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"},                     // a surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json);
}

TEST(JsonObject, KeepsOrderAndTypes) {
  JsonObject object;
  object.Add("command", "query").Add("ok", false).Add("exit", 1).Add("bytes", int64_t{1} << 40);
  JsonObject more;
  more.Add("ok", true).Add("reply", std::string("x"));
  object.Merge(more);
  EXPECT_EQ(object.Dump(), R"({"command":"query","ok":true,"exit":1,"bytes":1099511627776,"reply":"x"})");
}

}  // namespace
}  // namespace qm::cli
