// Printer status: which boxes each reply ticks, and the test of each command against a
// scripted printer that answers, answers badly, or stays silent.
#include <gtest/gtest.h>

#include "settings/printer_status.h"
#include "settings_fixture.h"

namespace qm {
namespace {

using test::SettingsBench;

std::vector<std::string> Names(StatusCommand command, const std::vector<int>& ticked) {
  std::vector<std::string> out;
  for (const int box : ticked) out.emplace_back(StatusBoxes(command).at(static_cast<size_t>(box)));
  return out;
}

using Names_ = std::vector<std::string>;

TEST(StatusBoxes, RepliesTickTheirBoxes) {
  struct Row {
    StatusCommand command;
    std::string reply;
    Names_ ticked;
    bool ok;
  };
  const auto cp = StatusCommand::kCp;
  const auto cu = StatusCommand::kCu;
  const auto ee = StatusCommand::kEe;
  const auto cps = StatusCommand::kCps;
  const Row rows[] = {
      {cu, "\xC0", {"Paper Empty", "Cover Open"}, false},
      {cu, std::string(1, '\0'), {"Status OK"}, true},
      {cu, "\x03", {}, false},  // bits not shown: neither a box nor OK
      {cp, std::string("\0\x40", 2), {"On Printing label"}, false},
      {cp, std::string("\0\0", 2), {"Status OK"}, true},
      {cp, "\xFC\xE0",
       {"Paper Empty", "Cover Open", "Cutter jammed", "Thermal Head overheat", "Gap Detection Error",
        "Ribbon End Error", "On Building label", "On Printing label", "Issued label is pasued"},
       false},
      {cp, std::string("\0\x1F", 2), {}, false},
      {cps, "\x01", {"Cover Open"}, false},
      {cps, "\x02", {"Paper Empty"}, false},
      {cps, "\x0C", {"Paper Jam", "TPH overheat"}, false},
      {cps, "\xF0", {"Not defined", "Not defined", "Not defined", "Not defined"}, false},
      {cps, std::string(1, '\0'), {"Status OK"}, true},
      {ee, "00\r\n", {"No Error"}, true},
      {ee, "08\r\n", {"Duplicate Name"}, false},
      {ee, "09\r\n", {"Name Not Found"}, false},
      {ee, "12\r\n", {"Pause Mode"}, false},
      {ee, "50\r\n", {"Printer Busy"}, false},
      {ee, "93\r\n", {"Illegal Interrupt"}, false},
      {ee, "24\r\n", {"Excessive Feeding"}, false},
      {ee, "56\r\n", {}, false},
      {ee, "13\r\n", {}, false},
      {ee, std::string(4, '\0'), {}, false},
  };
  for (const Row& r : rows) {
    const std::vector<int> ticked = TickedBoxes(r.command, r.reply);
    SCOPED_TRACE(std::string(ShapeOf(r.command).name) + " reply " + std::to_string(r.reply.size()) + " bytes");
    EXPECT_EQ(Names(r.command, ticked), r.ticked);
    EXPECT_EQ(StatusIsOk(r.command, ticked), r.ok);
  }
}

TEST(CheckPrinterStatus, WritesWaitsAndReadsEachCommand) {
  struct Row {
    StatusCommand command;
    std::string wire;
    std::string reply;
    int waitMs;
    Names_ ticked;
  };
  const Row rows[] = {
      {StatusCommand::kCp, "^cp\r", std::string("\x80\0", 2), 50, {"Paper Empty"}},
      {StatusCommand::kCu, "^cu\r", "\x40", 50, {"Cover Open"}},
      {StatusCommand::kEe, "^ee\r", "11\r\n", 30, {"Print Head Up"}},
      {StatusCommand::kCps, "CPS\r", "\x08", 50, {"TPH overheat"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.wire);
    SettingsBench b;
    b.printer.Answer(r.wire, r.reply);
    const StatusRead read = CheckPrinterStatus(b.link, b.clock, b.prompter, r.command);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.reply, r.reply);
    EXPECT_EQ(Names(r.command, read.ticked), r.ticked);
    EXPECT_EQ(b.printer.received(4), r.wire);
    EXPECT_EQ(b.clock.sleeps, std::vector<int>{r.waitMs});
    EXPECT_TRUE(b.prompter.messages.empty());
  }
}

TEST(CheckPrinterStatus, TwoFailedReadsTickNothing) {
  struct Row {
    const char* name;
    StatusCommand command;
    std::string reply;  // answered to the command once; the second read finds nothing
  };
  const Row rows[] = {
      {"silent ^cp", StatusCommand::kCp, ""},
      {"one byte of ^cp", StatusCommand::kCp, std::string(1, '\0')},
      {"silent CPS", StatusCommand::kCps, ""},
      {"^ee without its line end", StatusCommand::kEe, "12\r\r"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    SettingsBench b;
    if (!r.reply.empty()) b.printer.Answer(std::string(ShapeOf(r.command).command), r.reply);
    const StatusRead read = CheckPrinterStatus(b.link, b.clock, b.prompter, r.command);
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.ticked.empty()) << "zeros must not read as Status OK";
    EXPECT_EQ(b.texts(), std::vector<std::string>{"Status Data Read Fail!"});
    EXPECT_EQ(b.prompter.messages[0].icon, Icon::kExclamation);
  }
}

TEST(CheckPrinterStatus, AMalformedReplyIsReadOnceMoreAndTheSecondShown) {
  SettingsBench b;
  // A stray carriage return, then the real answer: the second read takes it.
  b.printer.Answer("^ee\r", "12\r\r11\r\n");
  const StatusRead read = CheckPrinterStatus(b.link, b.clock, b.prompter, StatusCommand::kEe);
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(read.reply, "11\r\n");
  EXPECT_EQ(Names(StatusCommand::kEe, read.ticked), Names_{"Print Head Up"});
  EXPECT_EQ(b.texts(), std::vector<std::string>{"Status Data Read Fail!"});
}

TEST(CheckPrinterStatus, EeOffSerialIsRefusedWithoutSending) {
  test::FakeClock clock;
  test::RecordingPrompter prompter;
  DeviceMap devices;
  devices.usb = UsbRoots{"/nonexistent/sys", "/nonexistent/dev"};
  PrinterLink link(clock, prompter, EnglishStrings(), {}, devices);
  link.SetPortName("USB");
  link.Open();
  ASSERT_EQ(link.GetInterfaceKind(), kUsb);
  prompter.messages.clear();
  const StatusRead read = CheckPrinterStatus(link, clock, prompter, StatusCommand::kEe);
  EXPECT_TRUE(read.refused);
  EXPECT_FALSE(read.ok);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "This Command is applied in Serial Interface only!");
  EXPECT_EQ(prompter.messages[0].icon, Icon::kInformation);
  EXPECT_TRUE(clock.sleeps.empty()) << "nothing written, nothing waited";
}

}  // namespace
}  // namespace qm
