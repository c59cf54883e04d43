// The regenerate mode's literals: what it prints must paste back as the same bytes.
#include <gtest/gtest.h>

#include "table_test.h"

namespace qm {
namespace {

TEST(TableSupport, LiteralsEscapeWhatAStringCannotHoldAsIs) {
  const struct {
    std::string bytes;
    std::string literal;
  } cases[] = {
      {"T20,20,'a'\r\n", R"("T20,20,'a'\r\n")"},
      {"say \"hi\" \\", R"("say \"hi\" \\")"},
      {std::string("\0\x41", 2), R"("\x00" "A")"},
      // A hex digit after a hex escape would join it: the literal is closed off first.
      {"\x1B" "A1", R"("\x1B" "A1")"},
      {"\xE9t\xE9", R"("\xE9t\xE9")"},
  };
  for (const auto& c : cases) EXPECT_EQ(test::CppLiteral(c.bytes), c.literal);
  EXPECT_EQ(test::RowIdentifier("two status-bytes"), "two_status_bytes");
}

}  // namespace
}  // namespace qm
