// Settings operations against a scripted printer: exact bytes out, replies parsed,
// messages in order.
#include <gtest/gtest.h>

#include <functional>

#include "core/strings.h"
#include "pty_pair.h"
#include "settings/hardware_info.h"
#include "settings/serial_language.h"
#include "settings/user_settings.h"
#include "settings_fixture.h"

namespace qm {
namespace {

using test::SettingsBench;

TEST(PrinterInformation, AsksFourQueriesAndKeepsRepliesAsReceived) {
  SettingsBench b;
  b.printer.Answer("^PI0", "LRX-500II\r\n");
  b.printer.Answer("^PI1", "LRX");
  b.printer.Answer("^PI2", std::string(32, 'F'));
  b.printer.Answer("^PI4,0", "31\r\n");
  int steps = 0;
  struct Steps : NoProgress {
    int& count;
    explicit Steps(int& c) : count(c) {}
    void Report(uint64_t, uint64_t) override { ++count; }
  } counted(steps);
  const PrinterInformation info = GetPrinterInformation(b.link, b.clock, b.prompter, &counted);
  EXPECT_EQ(b.printer.received(std::string("^PI0^PI1^PI2^PI4,0").size()), "^PI0^PI1^PI2^PI4,0");
  EXPECT_TRUE(info.ok);
  EXPECT_EQ(info.modelName, "LRX-500II\r\n") << "not trimmed";
  EXPECT_EQ(info.modelType, "LRX");
  EXPECT_EQ(info.firmwareVersion, std::string(32, 'F')) << "a reply fills the 32-byte buffer";
  EXPECT_EQ(info.temperature, "31 Celsius");
  EXPECT_EQ(steps, 4);
  EXPECT_EQ(b.clock.sleeps, (std::vector<int>{10, 10, 10, 10}));
  EXPECT_EQ(b.texts(), std::vector<std::string>{"Get printer information is successful."});
}

TEST(PrinterInformation, TemperatureWithoutLineEndReadsTheSame) {
  SettingsBench b;
  b.printer.Answer("^PI4,0", "31");
  EXPECT_EQ(GetPrinterInformation(b.link, b.clock, b.prompter).temperature, "31 Celsius");
}

TEST(PrinterInformation, NoTemperatureShowsTwoWarningsAndEmptyFields) {
  SettingsBench b;
  b.printer.Answer("^PI0", "LRX-500II\r\n");
  const PrinterInformation info = GetPrinterInformation(b.link, b.clock, b.prompter);
  EXPECT_FALSE(info.ok);
  EXPECT_EQ(info.modelName, "");
  ASSERT_EQ(b.prompter.messages.size(), 2u);
  EXPECT_EQ(b.prompter.messages[0].text, "Get printer information is failed");
  EXPECT_EQ(b.prompter.messages[0].caption, "Warnning");
  EXPECT_EQ(b.prompter.messages[0].icon, Icon::kExclamation);
  EXPECT_EQ(b.prompter.messages[1].text, "Get printer information is failed.");
  EXPECT_EQ(b.prompter.messages[1].caption, "");
}

TEST(PrinterInformation, StopsAtTheFirstQueryThePortFails) {
  qm::test::PtyPair pty;
  qm::test::FakeClock clock;
  qm::test::RecordingPrompter prompter;
  PrinterLink link(clock, prompter, EnglishStrings(), test::ScriptedPrinterTiming(),
                   test::ScriptedPrinterDevices(pty.path()));
  link.SetPortName("COM1:");
  ASSERT_EQ(link.Open(), 1);
  std::string heard;
  clock.onSleep = [&](int) {
    heard += pty.Receive(4, 500);
    // The printer answers the model name, then its line goes dead during the model type.
    if (heard == "^PI0") pty.Send("LMX-C410\r\n");
    if (heard == "^PI0^PI1") pty.CloseMaster();
  };
  const PrinterInformation info = GetPrinterInformation(link, clock, prompter);
  EXPECT_FALSE(info.ok);
  EXPECT_EQ(info.failedQuery, InfoQuery::kModelType);
  EXPECT_EQ(info.modelName, "");
  EXPECT_EQ(clock.sleeps, (std::vector<int>{10, 10})) << "nothing written after the failed read";
  EXPECT_EQ(prompter.ids(), (std::vector<int>{sid::kSerialReadError, 0, 0}));
  EXPECT_EQ(prompter.messages[1].text, "Get printer information is failed");
  EXPECT_EQ(prompter.messages[2].text, "Get printer information is failed.");
}

TEST(PrinterInformation, AQueryThatCannotBeWrittenIsTheLast) {
  SettingsBench b;
  b.link.Close();
  const PrinterInformation info = GetPrinterInformation(b.link, b.clock, b.prompter);
  EXPECT_EQ(info.failedQuery, InfoQuery::kModelName);
  EXPECT_EQ(b.prompter.ids(), (std::vector<int>{sid::kPortWriteError, 0, 0}));
  EXPECT_EQ(b.printer.received(), "");
}

TEST(NumericItems, SetSendsPrefixDecimalAndCarriageReturn) {
  struct Case {
    NumericItem item;
    int value;
    std::string bytes;
    std::string message;
  };
  const Case cases[] = {
      {NumericItem::kPaperWidth, 104, "^MBU0,104\r", "Setting paper width is successful"},
      {NumericItem::kPaperLength, 2432, "^MBU2,2432\r", "Setting paper length is successful"},
      {NumericItem::kGapLength, -3, "^MBU5,-3\r", "Setting gap length is successful"},
      {NumericItem::kHorizontalMargin, 0, "^MBU3,0\r", "Setting paper horizontal margin is successful"},
      {NumericItem::kVerticalMargin, 16, "^MBU4,16\r", "Setting paper vertical margin is successful"},
      {NumericItem::kDensity, 20, "^MBU1,20\r", "Setting print density is successful"},
  };
  for (const Case& c : cases) {
    SettingsBench b;
    EXPECT_TRUE(SetNumericItem(b.link, b.prompter, c.item, c.value));
    EXPECT_EQ(b.printer.received(std::string(c.bytes).size()), c.bytes);
    EXPECT_EQ(b.texts(), std::vector<std::string>{c.message});
  }
}

TEST(NumericItems, GetStripsLineEndsAndMakesEmptyZero) {
  struct Case {
    NumericItem item;
    std::string query;
    std::string reply;  // empty: the printer stays silent
    std::optional<std::string> field;
    std::string message;
  };
  const Case cases[] = {
      {NumericItem::kPaperWidth, "^PI5,0\r\n", "104\r\n", "104", "Getting paper width is successful"},
      {NumericItem::kPaperWidth, "^PI5,0\r\n", "\r\n", "0", "Getting paper width is successful"},
      {NumericItem::kPaperLength, "^PI5,1\r\n", "1200\r\n\r\n", "1200", "Getting paper length is successful"},
      {NumericItem::kGapLength, "^PI5,2\r\n", "-3\r\n", "-3", "Getting gap length is successful"},
      {NumericItem::kHorizontalMargin, "^PI5,3\r\n", "8", "8", "Getting paper horizontal margin is successful"},
      {NumericItem::kVerticalMargin, "^PI5,4\r\n", "", std::nullopt, "Getting paper vertical margin is failed"},
      {NumericItem::kDensity, "^PI4,1\r\n", "12\r\n", "12", "Getting print density is successful"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    SettingsBench b;
    if (!c.reply.empty()) b.printer.Answer(c.query, c.reply);
    EXPECT_EQ(GetNumericItem(b.link, b.clock, b.prompter, c.item), c.field);
    EXPECT_EQ(b.printer.received(std::string(c.query).size()), c.query);
    EXPECT_EQ(b.texts(), std::vector<std::string>{c.message});
    EXPECT_EQ(b.prompter.messages[0].icon, c.field ? Icon::kInformation : Icon::kExclamation);
  }
}

TEST(SignedItems, ReplyIsASignAndThreeDigits) {
  struct Case {
    std::string reply;
    std::optional<SignedValue> value;
  };
  const Case cases[] = {
      {"-005", SignedValue{true, 5}},   {"+100", SignedValue{false, 100}},
      {"-012\r\n", SignedValue{true, 12}}, {" 045", SignedValue{false, 45}},
      {"-5", std::nullopt},             {"+1a0", std::nullopt},
      {"", std::nullopt},               {"+10", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSignedReply(c.reply), c.value) << c.reply;
}

TEST(SignedItems, GetAndSetOffsetAndTearOff) {
  SettingsBench b;
  b.printer.Answer("^SA\r\n", "-005\r\n");
  b.printer.Answer("^PI4,2\r\n", "+100\r\n");
  EXPECT_EQ(GetSignedItem(b.link, b.clock, b.prompter, SignedItem::kOffset), (SignedValue{true, 5}));
  EXPECT_EQ(GetSignedItem(b.link, b.clock, b.prompter, SignedItem::kTearOff), (SignedValue{false, 100}));
  EXPECT_TRUE(SetSignedItem(b.link, b.prompter, SignedItem::kOffset, true, "12"));
  EXPECT_TRUE(SetSignedItem(b.link, b.prompter, SignedItem::kTearOff, false, "7"));
  EXPECT_EQ(b.printer.received(std::string("^SA\r\n^PI4,2\r\nSA-12\r\nTA+7\r\n").size()), "^SA\r\n^PI4,2\r\nSA-12\r\nTA+7\r\n");
  EXPECT_EQ(b.texts(), (std::vector<std::string>{
                           "Getting offset is successful", "Getting tear-off/cutting position is successful",
                           "Setting offset is successful", "Setting Tear-Off/Cutting position is successful"}));
}

TEST(SignedItems, AShortReplyIsAFailureNotAWrongNumber) {
  SettingsBench b;
  b.printer.Answer("^SA\r\n", "-5");
  EXPECT_EQ(GetSignedItem(b.link, b.clock, b.prompter, SignedItem::kOffset), std::nullopt);
  EXPECT_EQ(b.texts(), std::vector<std::string>{"Getting offset is failed"});
}

TEST(SwitchItems, SetReadsTheSwitchAndKeepsWhatTheOtherItemStored) {
  const std::string strobeCleared = "Memory switch 4 could not be read first, so the gap detect position it also "
                                    "holds was cleared.";
  struct Case {
    const char* label;
    std::string read;  // the switch read's reply; empty: the printer stays silent
    std::function<bool(SettingsBench&)> set;
    std::string bytes;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"strobe 3 over gap upper", "\x20", [](SettingsBench& b) { return SetStrobe(b.link, b.clock, b.prompter, 1); },
       "^MBR4,1^MBS4,\x60\r^MBA\x04\r", {"Setting strobe is successful"}},
      {"gap lower under strobe 4", "\xA0",
       [](SettingsBench& b) { return SetGapPosition(b.link, b.clock, b.prompter, 0); },
       "^MBR4,1^MBS4,\x80\r^MBA\x04\r", {"Setting gap detect position is successful"}},
      {"gap upper beside strobe 3 and bits no item owns", "\x47",
       [](SettingsBench& b) { return SetGapPosition(b.link, b.clock, b.prompter, 1); },
       "^MBR4,1^MBS4,\x67\r^MBA\x04\r", {"Setting gap detect position is successful"}},
      {"speed 5ips over ICS Japan", "\x0B", [](SettingsBench& b) { return SetSpeed(b.link, b.clock, b.prompter, 3); },
       "^MBR3,1^MBS3,\x6B\r^MBA\x03\r", {"Setting speed is successful"}},
      {"no speed selected: default, ICS kept", "\xEB",
       [](SettingsBench& b) { return SetSpeed(b.link, b.clock, b.prompter, std::nullopt); },
       "^MBR3,1^MBS3,\x0B\r^MBA\x03\r", {"Setting speed is successful"}},
      // Nothing to keep: the item's byte alone, as ever, and a notice after the message.
      {"strobe 3, switch silent", "", [](SettingsBench& b) { return SetStrobe(b.link, b.clock, b.prompter, 1); },
       "^MBR4,1^MBS4,\x40\r^MBA\x04\r", {"Setting strobe is successful", strobeCleared}},
      {"gap upper, switch silent", "",
       [](SettingsBench& b) { return SetGapPosition(b.link, b.clock, b.prompter, 1); },
       "^MBR4,1^MBS4,\x20\r^MBA\x04\r",
       {"Setting gap detect position is successful",
        "Memory switch 4 could not be read first, so the print strobe it also holds was cleared."}},
      {"speed default, switch silent", "",
       [](SettingsBench& b) { return SetSpeed(b.link, b.clock, b.prompter, std::nullopt); },
       std::string("^MBR3,1^MBS3,\0\r^MBA\x03\r", 21),
       {"Setting speed is successful",
        "Memory switch 3 could not be read first, so the default ICS it also holds was cleared."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SettingsBench b;
    if (!c.read.empty()) b.printer.Answer(c.bytes.substr(0, 7), c.read);
    EXPECT_TRUE(c.set(b));
    EXPECT_EQ(b.printer.received(c.bytes.size()), c.bytes);
    EXPECT_EQ(b.clock.sleeps, std::vector<int>{10});
    EXPECT_EQ(b.texts(), c.messages);
    EXPECT_EQ(b.prompter.messages.back().icon, c.read.empty() ? Icon::kExclamation : Icon::kInformation);
  }
}

TEST(SwitchItems, AFailedWriteShowsTheFailureAlone) {
  SettingsBench b;
  b.link.Close();
  EXPECT_FALSE(SetStrobe(b.link, b.clock, b.prompter, 2));
  // The link's own port errors come first; the page's failure is the one message of its own.
  std::vector<std::string> own;
  for (const Message& m : b.prompter.messages) {
    if (m.stringId == 0) own.push_back(m.text);
  }
  EXPECT_EQ(own, std::vector<std::string>{"Setting strobe is failed"});
}

TEST(SwitchItems, Switch4Byte0x60HoldsStrobe3AndGapUpper) {
  SettingsBench b;
  b.printer.Answer("^MBR4,1", "\x60");
  const ChoiceRead strobe = GetStrobe(b.link, b.clock, b.prompter);
  const ChoiceRead gap = GetGapPosition(b.link, b.clock, b.prompter);
  EXPECT_TRUE(strobe.ok);
  EXPECT_EQ(strobe.index, 1);
  EXPECT_TRUE(gap.ok);
  EXPECT_EQ(gap.index, 1);
  b.printer.Answer("^MBR3,1", "\x45");
  EXPECT_EQ(GetSpeed(b.link, b.clock, b.prompter).index, 2);
  EXPECT_EQ(b.texts(), (std::vector<std::string>{"Getting strobe is successful",
                                                 "Getting gap detect position is successful",
                                                 "Getting speed is successful"}));
}

TEST(SwitchItems, SilenceIsAFailedGet) {
  SettingsBench b;
  EXPECT_FALSE(GetStrobe(b.link, b.clock, b.prompter).ok);
  EXPECT_EQ(b.texts(), std::vector<std::string>{"Getting strobe is failed"});
}

TEST(PageCommands, CheckLabelLengthAndInitialize) {
  SettingsBench b;
  EXPECT_EQ(SetCheckLabelLength(b.link, true), 1);
  EXPECT_EQ(SetCheckLabelLength(b.link, false), 1);
  EXPECT_TRUE(b.prompter.messages.empty()) << "check label length reports nothing";
  EXPECT_TRUE(InitializeUserSettings(b.link, b.prompter));
  EXPECT_EQ(b.printer.received(std::string(std::string("^MBL1^MBL0^MBU\x0F,99\r", 19)).size()), std::string("^MBL1^MBL0^MBU\x0F,99\r", 19));
  EXPECT_EQ(b.texts(), std::vector<std::string>{"Initialize all user setting data is successful"});
}

TEST(SerialPage, GetDecodesAndSetShowsThreeMessagesInOrder) {
  SettingsBench b;
  b.printer.Answer("^MBR2,1", "\x7F");
  const auto got = GetSerialSettings(b.link, b.clock, b.prompter);
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(*got, (SerialSwitch{1, 1, 1, 1, 1, 2}));
  b.printer.Forget();
  EXPECT_TRUE(SetSerialSettings(b.link, b.clock, b.prompter, *got));
  EXPECT_EQ(b.printer.received(std::string("^MBR2,1^MBS2,\x7F^MBA\x02\r").size()), "^MBR2,1^MBS2,\x7F^MBA\x02\r");
  EXPECT_EQ(b.texts(), (std::vector<std::string>{"Get serial communication status is successful",
                                                 "Set serial communication status is successful",
                                                 "Please, turn off the printer and turn on the printer",
                                                 "Please, close application and re-connect printer"}));
}

TEST(SerialPage, SetKeepsBit7AsReadAndSaysWhenItCouldNot) {
  const std::vector<std::string> set = {"Set serial communication status is successful",
                                        "Please, turn off the printer and turn on the printer",
                                        "Please, close application and re-connect printer"};
  struct Case {
    std::string read;  // empty: silent
    std::string bytes;
    std::string notice;
  };
  const Case cases[] = {
      {"\x80", "^MBR2,1^MBS2,\xA1^MBA\x02\r", ""},
      {"\xFF", "^MBR2,1^MBS2,\xA1^MBA\x02\r", ""},
      {"", "^MBR2,1^MBS2,\x21^MBA\x02\r", "Memory switch 2 could not be read first, so its bit 7 was cleared."},
  };
  for (const Case& c : cases) {
    SettingsBench b;
    if (!c.read.empty()) b.printer.Answer("^MBR2,1", c.read);
    EXPECT_TRUE(SetSerialSettings(b.link, b.clock, b.prompter, SerialSwitch{1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(b.printer.received(c.bytes.size()), c.bytes);
    std::vector<std::string> expected = set;
    if (!c.notice.empty()) expected.push_back(c.notice);
    EXPECT_EQ(b.texts(), expected);
  }
}

TEST(SerialPage, DefaultSettingKeepsTheBaudRate) {
  const SerialSwitch d = DefaultSerialSettings(SerialSwitch{1, 1, 1, 1, 1, 2});
  EXPECT_EQ(d, (SerialSwitch{0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(EncodeSerialSwitch(d), 0x60);
}

TEST(SerialPage, SilenceAndAFailedWriteUseThePagesMisspelling) {
  SettingsBench b;
  EXPECT_FALSE(GetSerialSettings(b.link, b.clock, b.prompter).has_value());
  b.link.Close();
  EXPECT_FALSE(SetSerialSettings(b.link, b.clock, b.prompter, SerialSwitch{0, 0, 0, 0, 0, 0}));
  const auto texts = b.texts();
  EXPECT_EQ(texts.front(), "Get serial communication status is faied");
  EXPECT_EQ(texts.back(), "Set serial communication status is faied");
}

TEST(LanguagePage, GetReadsBothSwitchesWithLongerWaits) {
  struct Case {
    std::string codePageReply, icsReply;
    std::optional<LanguageSettings> expected;
  };
  const Case cases[] = {
      {"\x17", "\x0B", LanguageSettings{23, 11}},
      {"\x18", std::string(1, '\0'), LanguageSettings{-1, 0}},   // code page 24 is beyond the list
      {"", "\x45", LanguageSettings{-1, 5}},       // no code page byte; ICS 5 below speed 4ips
      {"\x07", "\x7F", LanguageSettings{7, -1}},    // ICS 31 is beyond its list
      {"\x07", "", std::nullopt},                  // success rests on the second read
  };
  for (const Case& c : cases) {
    SettingsBench b;
    if (!c.codePageReply.empty()) b.printer.Answer("^MBR1,1", c.codePageReply);
    if (!c.icsReply.empty()) b.printer.Answer("^MBR3,1", c.icsReply);
    EXPECT_EQ(GetLanguageSettings(b.link, b.clock, b.prompter), c.expected);
    EXPECT_EQ(b.clock.sleeps, (std::vector<int>{50, 50}));
    EXPECT_EQ(b.printer.received(std::string("^MBR1,1^MBR3,1").size()), "^MBR1,1^MBR3,1");
  }
}

TEST(LanguagePage, SetWritesCodePageThenIcsKeepingThePrintSpeed) {
  struct Case {
    std::string read;  // switch 3; empty: silent
    std::string bytes;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"\x60", "^MBS1,\x07^MBA\x01\r^MBR3,1^MBS3,\x6B^MBA\x03\r", {"Set default codepage && ICS is successful."}},
      {"\xE5", "^MBS1,\x07^MBA\x01\r^MBR3,1^MBS3,\xEB^MBA\x03\r", {"Set default codepage && ICS is successful."}},
      {"", "^MBS1,\x07^MBA\x01\r^MBR3,1^MBS3,\x0B^MBA\x03\r",
       {"Set default codepage && ICS is successful.",
        "Memory switch 3 could not be read first, so the print speed it also holds was cleared."}},
  };
  for (const Case& c : cases) {
    SettingsBench b;
    if (!c.read.empty()) b.printer.Answer("^MBR3,1", c.read);
    EXPECT_TRUE(SetLanguageSettings(b.link, b.clock, b.prompter, LanguageSettings{7, 11}));
    EXPECT_EQ(b.printer.received(c.bytes.size()), c.bytes);
    EXPECT_EQ(b.clock.sleeps, std::vector<int>{50});
    EXPECT_EQ(b.texts(), c.messages);
  }
}

TEST(LanguagePage, SetWithoutASelectionSendsNothing) {
  SettingsBench b;
  EXPECT_FALSE(SetLanguageSettings(b.link, b.clock, b.prompter, LanguageSettings{-1, 3}));
  EXPECT_EQ(b.printer.received(std::string("").size()), "");
  EXPECT_EQ(b.prompter.messages.size(), 1u);
}

TEST(HardwareInfo, CommandsAreExactBytes) {
  EXPECT_EQ(BuildHardwareRead(HardwareItem::kSerialNumber), "^MBX1\r");
  EXPECT_EQ(BuildHardwareWrite(HardwareItem::kSerialNumber, "SN0001"), "^MBY1,SN0001\r\n");
  EXPECT_EQ(BuildHardwareWrite(HardwareItem::kPrinterId, ""), "^MBY2,\r\n");
  EXPECT_EQ(BuildHardwareReset(HardwareItem::kVersion), std::string("\x5E\x4D\x42\x59\x0F\x2C\x30\x0D\x0A", 9));
}

TEST(HardwareInfo, GetShowsTheValueWithAFullStop) {
  SettingsBench b;
  b.printer.Answer("^MBX0\r", "A1.2\r\n");
  EXPECT_EQ(GetHardwareItem(b.link, b.clock, b.prompter, HardwareItem::kVersion), "A1.2");
  EXPECT_EQ(b.clock.sleeps, std::vector<int>{100});
  ASSERT_EQ(b.prompter.messages.size(), 1u);
  EXPECT_EQ(b.prompter.messages[0].text, "H/W version is A1.2.");
  EXPECT_EQ(b.prompter.messages[0].caption, "Information");
  EXPECT_EQ(GetHardwareItem(b.link, b.clock, b.prompter, HardwareItem::kSerialNumber), std::nullopt);
  EXPECT_EQ(b.clock.sleeps, (std::vector<int>{100, 1000}));
  EXPECT_EQ(b.prompter.messages[1].text, "Serial Number is NULL");
  EXPECT_EQ(b.prompter.messages[1].caption, "");
}

TEST(HardwareInfo, SetWaitsForThePrinterThenReports) {
  SettingsBench b;
  EXPECT_TRUE(SetHardwareItem(b.link, b.clock, b.prompter, HardwareItem::kSerialNumber, "SN0001"));
  EXPECT_EQ(b.clock.sleeps, std::vector<int>{5700});
  EXPECT_TRUE(InitializeHardwareItem(b.link, b.clock, b.prompter, HardwareItem::kPrinterId));
  EXPECT_EQ(b.printer.received(std::string(std::string("^MBY1,SN0001\r\n^MBY\x0F,2\r\n", 23)).size()), std::string("^MBY1,SN0001\r\n^MBY\x0F,2\r\n", 23));
  EXPECT_EQ(b.texts(), (std::vector<std::string>{"Set serial number is successful",
                                                 "Initialize printer ID is successful"}));
}

TEST(HardwareInfo, TooLongTextIsRefusedAndFailuresUseEachItemsIcon) {
  SettingsBench b;
  EXPECT_FALSE(SetHardwareItem(b.link, b.clock, b.prompter, HardwareItem::kPrinterId, "12345678"));
  EXPECT_EQ(b.texts(), std::vector<std::string>{"Printer ID string can't be more than 7 character."});
  EXPECT_TRUE(b.clock.sleeps.empty());
  b.link.Close();
  b.prompter.messages.clear();
  EXPECT_FALSE(SetHardwareItem(b.link, b.clock, b.prompter, HardwareItem::kVersion, "A1"));
  EXPECT_FALSE(SetHardwareItem(b.link, b.clock, b.prompter, HardwareItem::kSerialNumber, "1"));
  std::vector<std::pair<std::string, Icon>> shown;
  for (const auto& m : b.prompter.messages) {
    if (m.stringId == 0) shown.emplace_back(m.text, m.icon);
  }
  EXPECT_EQ(shown, (std::vector<std::pair<std::string, Icon>>{{"Set hardware version is failed", Icon::kInformation},
                                                             {"Set serial number is failed", Icon::kExclamation}}));
}

}  // namespace
}  // namespace qm
