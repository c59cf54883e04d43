// Switch bytes: what each bit means, and the exact commands that read and write them.
#include <gtest/gtest.h>

#include "settings/memory_switch.h"
#include "settings_fixture.h"

namespace qm {
namespace {

TEST(MemorySwitch, SerialSwitchDecodesBitByBitAndEncodesBack) {
  struct Case {
    uint8_t byte;
    SerialSwitch decoded;
    uint8_t reencoded;
  };
  const Case cases[] = {
      {0x00, {0, 0, 0, 0, 0, 0}, 0x00},
      {0x35, {1, 0, 1, 0, 1, 1}, 0x35},  // software, one stop, seven bits, no parity, odd, 38400
      {0x40, {0, 0, 0, 0, 0, 0}, 0x00},  // bit 6 alone: by DIP switch
      {0x7F, {1, 1, 1, 1, 1, 2}, 0x7F},
      {0xFF, {1, 1, 1, 1, 1, 2}, 0x7F},  // bit 7 is never written
      {0x60, {0, 0, 0, 0, 0, 2}, 0x60},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeSerialSwitch(c.byte), c.decoded) << int(c.byte);
    EXPECT_EQ(EncodeSerialSwitch(DecodeSerialSwitch(c.byte)), c.reencoded) << int(c.byte);
  }
}

TEST(MemorySwitch, SpeedStrobeAndGapShareTheirSwitches) {
  struct Case {
    uint8_t byte;
    int speed;
    std::optional<int> strobe, gap;
  };
  const Case cases[] = {
      // Strobe (bits 6-7) and gap position (bit 5) each read their own bits only.
      {0x00, 0, 0, 0}, {0x20, 1, 0, 1}, {0x40, 2, 1, 0}, {0x45, 2, 1, 0}, {0x60, 3, 1, 1},
      {0x80, 4, 2, 0}, {0xA0, 5, 2, 1}, {0xC0, 6, std::nullopt, 0}, {0xE0, 0, std::nullopt, 1},
      {0xFF, 0, std::nullopt, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeSpeed(c.byte), c.speed) << int(c.byte);
    EXPECT_EQ(DecodeStrobe(c.byte), c.strobe) << int(c.byte);
    EXPECT_EQ(DecodeGapPosition(c.byte), c.gap) << int(c.byte);
  }
  EXPECT_EQ(EncodeSpeed(3), 0x60);
  EXPECT_EQ(EncodeSpeed(6), 0xC0);
  EXPECT_EQ(EncodeSpeed(0), 0x00);
  EXPECT_EQ(EncodeSpeed(7), 0x00) << "no such speed: default";
  EXPECT_EQ(EncodeStrobe(0), 0x00);
  EXPECT_EQ(EncodeStrobe(1), 0x40);
  EXPECT_EQ(EncodeStrobe(2), 0x80);
  EXPECT_EQ(EncodeGapPosition(1), 0x20);
}

TEST(MemorySwitch, EachItemWritesItsOwnBitsAndKeepsTheRest) {
  struct Case {
    uint8_t current;
    uint8_t owned;
    uint8_t value;
    uint8_t written;
  };
  const Case cases[] = {
      {0x20, kStrobeBits, EncodeStrobe(1), 0x60},       // strobe 3 beside gap upper
      {0xBF, kStrobeBits, EncodeStrobe(0), 0x3F},
      {0xC0, kGapPositionBits, EncodeGapPosition(1), 0xE0},
      {0xFF, kGapPositionBits, EncodeGapPosition(0), 0xDF},
      {0x0B, kSpeedBits, EncodeSpeed(6), 0xCB},          // 8ips beside Japan
      {0xE0, kIcsBits, 16, 0xF0},                        // the last ICS needs bit 4
      {0xFF, kIcsBits, 0, 0xE0},
      {0x80, kSerialBits, 0x7F, 0xFF},                   // bit 7 stays as read
      {0xFF, kSerialBits, 0x00, 0x80},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MergeSwitch(c.current, c.owned, c.value), c.written) << int(c.current) << " " << int(c.value);
  }
}

TEST(MemorySwitch, CommandsAreExactBytes) {
  EXPECT_EQ(BuildSwitchRead(1, '1'), "^MBR1,1");
  EXPECT_EQ(BuildSwitchRead(3, '3'), "^MBR3,3");
  EXPECT_EQ(BuildSwitchWrite(2, 0x00, SwitchWriteForm::kShort), std::string("^MBS2,\0", 7));
  EXPECT_EQ(BuildSwitchWrite(3, 0x60, SwitchWriteForm::kLong), "^MBS3,\x60\r");
  EXPECT_EQ(BuildSwitchCommit(2), std::string("\x5E\x4D\x42\x41\x02\x0D", 6));
}

TEST(MemorySwitch, InterfaceCodeFollowsTheLinkKind) {
  EXPECT_EQ(InterfaceCodeDigit(kSerial), '1');
  EXPECT_EQ(InterfaceCodeDigit(kParallel), '2');
  EXPECT_EQ(InterfaceCodeDigit(kUsb), '3');
  EXPECT_EQ(InterfaceCodeDigit(kEthernet), '2');
}

TEST(MemorySwitch, ReadAsksWaitsAndTakesOneByte) {
  test::SettingsBench b;
  b.printer.Answer("^MBR2,1", std::string("\x35\x99", 2));
  const SwitchRead r = ReadSwitch(b.link, b.clock, 2, 10);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.value, 0x35);
  EXPECT_EQ(b.clock.sleeps, std::vector<int>{10});
  EXPECT_EQ(b.printer.received(std::string("^MBR2,1").size()), "^MBR2,1");
}

TEST(MemorySwitch, ReadWithoutReplyReportsNothingReceived) {
  test::SettingsBench b;
  const SwitchRead r = ReadSwitch(b.link, b.clock, 4, 10);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.count, 0);
}

TEST(MemorySwitch, WriteSendsValueThenCompletion) {
  test::SettingsBench b;
  EXPECT_EQ(WriteSwitch(b.link, 4, 0x80, SwitchWriteForm::kLong), 1);
  EXPECT_EQ(b.printer.received(std::string("^MBS4,\x80\r^MBA\x04\r").size()), "^MBS4,\x80\r^MBA\x04\r");
}

TEST(MemorySwitch, ListsHoldThePrintersNamesExactly) {
  EXPECT_EQ(kCodePageNames[19], "PC928 -  Greek");
  EXPECT_EQ(kCodePageNames[23], "PC858 - Latin 1 + Euro");
  EXPECT_EQ(kIcsNames[11], "Japan");
  EXPECT_EQ(kIcsNames[16], "China");
}

}  // namespace
}  // namespace qm
