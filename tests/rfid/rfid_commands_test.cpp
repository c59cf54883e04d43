// The RFID command builders and reply parsers, on exact bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rfid/rfid_commands.h"
#include "table_test.h"

namespace qm {
namespace {

TEST(RfidLockPayload, EveryBoxAloneSetsItsOwnBit) {
  // Rows of ten boxes: kill, access, EPC, TID and user, each left then right.
  const char* mask[10] = {"80,00,00", "40,00,00", "20,00,00", "10,00,00", "08,00,00",
                          "04,00,00", "02,00,00", "01,00,00", "00,80,00", "00,40,00"};
  const char* action[10] = {"00,20,00", "00,10,00", "00,08,00", "00,04,00", "00,02,00",
                            "00,01,00", "00,00,80", "00,00,40", "00,00,20", "00,00,10"};
  for (size_t i = 0; i < 10; ++i) {
    LockPayload p;
    p.mask[i] = true;
    EXPECT_EQ(FormatLockPayload(p), mask[i]) << "mask box " << i;
    LockPayload q;
    q.action[i] = true;
    EXPECT_EQ(FormatLockPayload(q), action[i]) << "action box " << i;
  }
}

TEST(RfidLockPayload, CommandsCarryTheBytes) {
  LockPayload all;
  all.mask.fill(true);
  all.action.fill(true);
  LockPayload killLeft;
  killLeft.mask[LockPayload::Index(LockArea::kKillPassword, false)] = true;
  killLeft.action[LockPayload::Index(LockArea::kKillPassword, false)] = true;
  LockPayload maskKillLeft;
  maskKillLeft.mask[0] = true;
  EXPECT_EQ(BuildLockCommand(all, false), ">RFLP,L,'FF,FF,F0'\r");
  EXPECT_EQ(BuildLockCommand(killLeft, false), ">RFLP,L,'80,20,00'\r");
  EXPECT_EQ(BuildLockCommand(maskKillLeft, false, "\r\n"), ">RFLP,L,'80,00,00'\r\n");
  EXPECT_EQ(BuildLockCommand(LockPayload{}, true, "\r\n"), ">RFLP,U,'00,00,00'\r\n");
}

struct ChoiceReplyCase {
  const char* name;
  int query;
  std::string reply;
  int RfidSettings::*list;
  int chosen;
};

void PrintTo(const ChoiceReplyCase& c, std::ostream* os) { *os << c.name; }

class ChoiceReplies : public testing::TestWithParam<ChoiceReplyCase> {};

TEST_P(ChoiceReplies, FillTheirList) {
  const ChoiceReplyCase& c = GetParam();
  RfidSettings s;
  s.power = s.retries = s.labels = 3;
  ApplyRfidReply(c.query, c.reply, s);
  EXPECT_EQ(s.*(c.list), c.chosen);
}

INSTANTIATE_TEST_SUITE_P(
    RfidSettingsReply, ChoiceReplies,
    testing::Values(ChoiceReplyCase{"power_1_is_entry_0", 2, "1", &RfidSettings::power, 0},
                    ChoiceReplyCase{"power_8_is_entry_7", 2, "8", &RfidSettings::power, 7},
                    ChoiceReplyCase{"power_9_is_entry_9", 2, "9", &RfidSettings::power, 8},
                    ChoiceReplyCase{"power_31_with_line_end", 2, "31\r\n", &RfidSettings::power, 30},
                    ChoiceReplyCase{"power_0_is_none", 2, "0", &RfidSettings::power, -1},
                    ChoiceReplyCase{"power_32_is_none", 2, "32", &RfidSettings::power, -1},
                    ChoiceReplyCase{"power_leading_sign_and_unit", 2, " +12dB", &RfidSettings::power, 11},
                    ChoiceReplyCase{"power_not_a_number", 2, "x5", &RfidSettings::power, -1},
                    ChoiceReplyCase{"retries_10", 4, "10\r\n", &RfidSettings::retries, 10},
                    ChoiceReplyCase{"retries_11_is_none", 4, "11", &RfidSettings::retries, -1},
                    ChoiceReplyCase{"retries_minus_0", 4, "-0", &RfidSettings::retries, 0},
                    ChoiceReplyCase{"labels_5", 5, "5", &RfidSettings::labels, 5},
                    ChoiceReplyCase{"labels_6_is_none", 5, "6", &RfidSettings::labels, -1},
                    ChoiceReplyCase{"labels_too_long_a_number", 5, "99999999999999999999", &RfidSettings::labels, -1}),
    test::RowName());

TEST(RfidSettingsReply, PowerLabelsAndTextsAsTheyCame) {
  EXPECT_EQ(PowerLabel(0), "0");
  EXPECT_EQ(PowerLabel(7), "7");
  EXPECT_EQ(PowerLabel(8), "9");
  EXPECT_EQ(PowerLabel(30), "31");

  RfidSettings s;
  ApplyRfidReply(3, "600 \t\r\n\v\f", s);
  ApplyRfidReply(6, "12\r", s);
  ApplyRfidReply(7, " 3\r\n", s);
  EXPECT_EQ(s.position, "600");
  EXPECT_EQ(s.validCounter, "12\r");
  EXPECT_EQ(s.voidCounter, " 3\r\n");
}

TEST(RfidSettingsReply, TagTypeByItsFirstCharacters) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"GEN2", 0}, {"GEN2\r\n", 0}, {"GEN2X", 0}, {"ISO-B", 1}, {"I", 1}, {"GEN", 5}, {"gen2", 5}, {"", 5}};
  for (const auto& [reply, chosen] : cases) {
    RfidSettings s;
    s.tagType = 5;  // what it was before
    ApplyRfidReply(1, reply, s);
    EXPECT_EQ(s.tagType, chosen) << reply;
  }
}

TEST(RfidSettingsSet, OneTextWithTheTransponderPosition) {
  RfidSettings s;
  s.validCounter = "7";
  ApplyRfidDefaults(s);
  EXPECT_EQ(BuildRfidSet(s), ">RFS,5,3,2,1\r>RFTP,600\r");
  EXPECT_EQ(s.validCounter, "7") << "defaults keep the counters";
  s.tagType = 1;
  s.power = 30;
  s.position = "12 mm";
  EXPECT_EQ(BuildRfidSet(s), ">RFS,2,3,2,31\r>RFTP,12 mm\r");
  EXPECT_EQ(BuildRfidSet(RfidSettings{}), ">RFS,-1,-1,0\r>RFTP,\r") << "nothing chosen";
}

struct TagFormCase {
  const char* name;
  TagRange range;
  std::string write;
  std::string read;
  std::string print;  // always the label form with the data type letter
};

void PrintTo(const TagFormCase& c, std::ostream* os) { *os << c.name; }

class TagForms : public testing::TestWithParam<TagFormCase> {};

TEST_P(TagForms, WriteReadAndPrint) {
  const TagFormCase& c = GetParam();
  test::ExpectBytes(std::string(c.name) + ".write", BuildTagWrite(c.range, "D"), c.write);
  test::ExpectBytes(std::string(c.name) + ".read", BuildTagRead(c.range), c.read);
  test::ExpectBytes(std::string(c.name) + ".print", BuildTagPrint(c.range), c.print);
}

INSTANTIATE_TEST_SUITE_P(
    RfidTagCommands, TagForms,
    testing::Values(
        TagFormCase{"label_epc_hex", {TagCarrier::kLabel, TagMemory::kEpc, TagDataType::kHex, 4, 12},
                    ">RFW,H,4,12,'D'\r", ">RFR,H,4,12,S\r", ">RFR,H,4,12,P\r"},
        TagFormCase{"metal_epc_hex", {TagCarrier::kMetal, TagMemory::kEpc, TagDataType::kHex, 4, 12},
                    ">RFw,H,4,12,'D'\r", ">RFr,H,4,12,S\r", ">RFR,H,4,12,P\r"},
        TagFormCase{"no_carrier_ascii", {TagCarrier::kNone, TagMemory::kEpc, TagDataType::kAscii, 0, 2},
                    ">RFw,A,0,2,'D'\r", ">RFr,A,0,2,S\r", ">RFR,A,0,2,P\r"},
        TagFormCase{"label_user_ascii", {TagCarrier::kLabel, TagMemory::kUser, TagDataType::kAscii, 16, 51},
                    ">RFW,U,16,51,'D'\r", ">RFR,U,16,51,S\r", ">RFR,A,16,51,P\r"},
        TagFormCase{"metal_user_hex", {TagCarrier::kMetal, TagMemory::kUser, TagDataType::kHex, 4, 12},
                    ">RFw,U,4,12,'D'\r", ">RFr,u,4,12,S\r", ">RFR,H,4,12,P\r"}),
    test::RowName());

TEST(RfidTagCommands, RangesOfTheGrid) {
  const std::vector<std::tuple<int, int, bool>> cases = {
      {16, 64, false}, {16, 51, true}, {16, 52, true}, {16, 53, true}, {16, 54, false}, {0, 64, true}, {4, 12, true}};
  for (const auto& [start, bytes, fits] : cases) EXPECT_EQ(TagRangeFits(start, bytes), fits) << start << "+" << bytes;
}

TEST(RfidTesterLines, ExactLines) {
  EXPECT_EQ(BuildWriteLine(TagDataType::kHex, 4, 12, "0102030405060708090A0B0C"),
            ">RFW,H,4,12,'0102030405060708090A0B0C'\r\n");
  EXPECT_EQ(BuildWriteLine(TagDataType::kAscii, 10, 2, "ab"), ">RFW,A,10,2,'ab'\r\n");
  EXPECT_EQ(BuildReadLine(TagDataType::kHex, 4, 12, false), ">RFR,H,4,12,S\r\n");
  EXPECT_EQ(BuildReadLine(TagDataType::kAscii, 10, 1, true), ">RFR,A,10,1,P\r\n");
  EXPECT_EQ(BuildPasswordCommand(StripDots("9C.4D.E1.37"), "5E2A7C13", "\r\n"),
            ">RFZ,'5E2A7C13,5E2A7C13,9C4DE137,5E2A7C13'\r\n");
}

TEST(RfidPasswordEntry, DotsComeAfterEachPairAsTheOperatorTypes) {
  std::string text;
  for (const char c : std::string("9C4DE137")) text = DotPassword(text + c);
  EXPECT_EQ(text, "9C.4D.E1.37");
  EXPECT_EQ(DotPassword("9C.4D.E1"), "9C.4D.E1.") << "deleting back to 8 adds the dot again";
  EXPECT_EQ(DotPassword("9C.4"), "9C.4");
  EXPECT_EQ(StripDots("9C.4D.E1"), "9C4DE1");
}

TEST(RfidReadGrid, CellsOfTheRangeTakeTheirCharacters) {
  // Default read: 24 characters into cells 5 to 16.
  const auto cells = PlaceTagData("0102030405060708090A0B0C", 4, 2, 24);
  EXPECT_EQ(cells[3], "-");
  EXPECT_EQ(cells[4], "01");
  EXPECT_EQ(cells[15], "0C");
  EXPECT_EQ(cells[16], "-");
  // Start 16 with 51 bytes: cells 17 to 64 from the first 96 characters.
  std::string reply;
  for (int i = 0; i < 51; ++i) reply += static_cast<char>('A' + i % 26) + std::string(1, 'x');
  const auto wide = PlaceTagData(reply, 16, 2, 102);
  EXPECT_EQ(wide[15], "-");
  EXPECT_EQ(wide[16], "Ax");
  EXPECT_EQ(wide[63], reply.substr(94, 2));
  // Short: the cells past what came are empty; a NUL ends a cell's text.
  const auto shortRead = PlaceTagData(std::string("ab\0d", 4), 0, 1, 6);
  EXPECT_EQ(shortRead[1], "b");
  EXPECT_EQ(shortRead[2], "");
  EXPECT_EQ(shortRead[3], "d");
  EXPECT_EQ(shortRead[4], "");
  EXPECT_EQ(shortRead[5], "");
  EXPECT_EQ(shortRead[6], "-");
}

}  // namespace
}  // namespace qm
