// Two-byte code page labels: block parsing and exact row bytes.
#include <gtest/gtest.h>

#include "commands/two_byte_codepage.h"

namespace qm {
namespace {

std::string Pairs(int lead, int first, int last) {
  std::string s;
  for (int t = first; t <= last; ++t) s += {static_cast<char>(lead), static_cast<char>(t)};
  return s;
}

TEST(TwoByteCodepage, BlockParsing) {
  struct Case {
    const char* text;
    std::optional<int> block;
  };
  const Case cases[] = {{"B0", 0xB0}, {"b0", 0xB0}, {"00", 0}, {"fF", 0xFF}, {"B", {}},
                        {"B00", {}},  {"", {}},     {"XZ", {}}, {" B", {}}, {"G1", {}}};
  for (const Case& c : cases) EXPECT_EQ(ParseBlock(c.text), c.block) << c.text;
}

TEST(TwoByteCodepage, OneKs5601Block) {
  TwoByteCodepageFields f;
  f.startBlock = "B0";
  f.endBlock = "b0";
  const TwoBytePrint print = BuildTwoBytePrint(f);
  ASSERT_FALSE(print.error);
  ASSERT_EQ(print.rows.size(), 1u);
  EXPECT_EQ(print.rows[0], "T20,20,d,1,1,0,0,N,N,'" + Pairs(0xB0, 0xA1, 0xFE) + "'\rP1\r");
  EXPECT_EQ(print.rows[0].size(), 215u);
}

TEST(TwoByteCodepage, RefusedBlocksPrintNothing) {
  struct Case {
    const char* start;
    const char* end;
    std::optional<std::string_view> error;
  };
  const Case cases[] = {{"B", "B0", kStartBlockWrong},
                        {"B00", "XZ", kStartBlockWrong},
                        {"B0", "XZ", kEndBlockWrong},
                        {"C0", "B0", std::nullopt}};
  for (const Case& c : cases) {
    TwoByteCodepageFields f;
    f.startBlock = c.start;
    f.endBlock = c.end;
    const TwoBytePrint print = BuildTwoBytePrint(f);
    EXPECT_EQ(print.error, c.error) << c.start << " " << c.end;
    EXPECT_TRUE(print.rows.empty());
  }
}

TEST(TwoByteCodepage, AllBlocksOfEachTable) {
  struct Case {
    TwoByteCodeTable table;
    int labels, firstLead, firstTrail, lastTrail;
    const char* prefix;
  };
  const Case cases[] = {
      {TwoByteCodeTable::kKs5601, 87, 0xA1, 0xA1, 0xFE, "T20,20,d,1,1,0,0,N,N,'"},
      {TwoByteCodeTable::kGb2312, 87, 0xA1, 0xA1, 0xFE, "T20,20,m,1,1,0,0,N,N,'"},
      {TwoByteCodeTable::kBig5, 72, 0xA1, 0x40, 0xFE, "T20,20,n,1,1,0,0,N,N,'"},
      {TwoByteCodeTable::kJis, 124, 0x81, 0x3F, 0xFE, "T20,20,j,1,1,0,0,N,N,'"},
  };
  for (const Case& c : cases) {
    TwoByteCodepageFields f;
    f.startBlock = "zz";  // ignored once all blocks are chosen
    SelectTwoByteCodeTable(f, c.table);
    SetPrintAllBlocks(f, true);
    const TwoBytePrint print = BuildTwoBytePrint(f);
    ASSERT_EQ(print.rows.size(), static_cast<std::size_t>(c.labels)) << c.prefix;
    for (int i = 0; i < c.labels; ++i) {
      EXPECT_EQ(print.rows[i],
                c.prefix + Pairs(c.firstLead + i, c.firstTrail, c.lastTrail) + "'\rP1\r");
    }
  }
}

TEST(TwoByteCodepage, TableChoiceAndVectorPrefix) {
  TwoByteCodepageFields f;
  f.startBlock = "B0";
  SelectTwoByteCodeTable(f, TwoByteCodeTable::kBig5);
  EXPECT_EQ(f.startBlock, "A1");
  EXPECT_EQ(f.endBlock, "E8");
  EXPECT_EQ(f.bitmapFontName, 'n');

  SelectTwoByteCodeTable(f, TwoByteCodeTable::kGb2312);
  f.fontKind = FontKind::kVector;
  f.vectorFontWidth = "40";
  f.vectorFontHeight = "30";
  EXPECT_EQ(BuildTwoByteRow(f, 0xB0),
            "V20,20,G,30,40,1,N,N,N,0,L,0,'" + Pairs(0xB0, 0xA1, 0xFE) + "'\rP1\r");

  // Unchecking "all blocks" keeps the blocks it showed.
  f.startBlock = "C0";
  SetPrintAllBlocks(f, true);
  SetPrintAllBlocks(f, false);
  EXPECT_EQ(f.startBlock, "A1");
}

}  // namespace
}  // namespace qm
