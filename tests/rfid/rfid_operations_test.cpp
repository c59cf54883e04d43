// The RFID operations on the wire: a scripted printer for exact bytes and odd replies, the
// virtual printer for tag data over every interface.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "link/printer_link.h"
#include "printer/virtual_printer.h"
#include "rfid/rfid_operations.h"
#include "scripted_printer.h"
#include "table_test.h"

namespace qm {
namespace {

using test::FakeClock;
using test::RecordingPrompter;
using test::ScriptedPrinter;

struct Bench {
  Bench()
      : link(clock, prompter, EnglishStrings(), test::ScriptedPrinterTiming(),
             test::ScriptedPrinterDevices(printer.path())) {
    link.SetPortName("COM1:");
    link.Open();
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : prompter.messages) out.push_back(m.text);
    return out;
  }
  ScriptedPrinter printer;
  FakeClock clock;
  RecordingPrompter prompter;
  PrinterLink link;
};

struct GetCase {
  const char* name;
  std::vector<std::string> replies;  // to queries 1 to 7; empty: silent
  bool ok;
  RfidSettings expected;
};

void PrintTo(const GetCase& c, std::ostream* os) { *os << c.name; }

class SevenQueries : public testing::TestWithParam<GetCase> {};

TEST_P(SevenQueries, EachParsedAndTheLastDecides) {
  const GetCase& c = GetParam();
  Bench b;
  for (int n = 1; n <= 7; ++n) {
    if (!c.replies[static_cast<size_t>(n - 1)].empty()) b.printer.Answer(BuildRfidQuery(n), c.replies[static_cast<size_t>(n - 1)]);
  }
  RfidSettings s;
  EXPECT_EQ(GetRfidSettings(b.link, b.clock, b.prompter, s), c.ok);
  EXPECT_EQ(s, c.expected);
  const std::string wire = ">RFI,1\r>RFI,2\r>RFI,3\r>RFI,4\r>RFI,5\r>RFI,6\r>RFI,7\r";
  test::ExpectBytes(c.name, b.printer.received(wire.size()), wire);
  EXPECT_EQ(b.clock.sleeps, std::vector<int>(7, 100));
  EXPECT_EQ(b.texts(), std::vector<std::string>{c.ok ? "Get RFID setting is successful" : "Get RFID setting is faied"});
}

INSTANTIATE_TEST_SUITE_P(
    RfidGet, SevenQueries,
    testing::Values(
        GetCase{"a_printer_that_answers_all", {"GEN2\r\n", "8\r\n", "600\r\n", "3\r\n", "2\r\n", "12\r", "0\r\n"}, true,
                {0, 7, "600", 3, 2, "12\r", "0\r\n"}},
        GetCase{"a_long_reply_is_cut_to_16_bytes", {"ISO-B", "31", "600 \t", "10", "5", "1", "12345678901234567"}, true,
                {1, 30, "600", 10, 5, "1", "1234567890123456"}},
        // No digits read as 0: the first entry of the retry and label lists, no power.
        GetCase{"only_the_seventh_counts", {"", "", "", "", "", "", "4"}, true, {-1, -1, "", 0, 0, "", "4"}},
        GetCase{"a_silent_seventh_fails_the_rest_kept", {"GEN2", "1", "7", "0", "0", "9", ""}, false,
                {0, 0, "7", 0, 0, "9", ""}}),
    test::RowName());

TEST(RfidSettingsWrites, SetResetAndCalibrateSendOneWriteEach) {
  Bench b;
  RfidSettings s;
  s.validCounter = "12\r";
  s.voidCounter = "3";
  ApplyRfidDefaults(s);
  EXPECT_TRUE(SetRfidSettings(b.link, b.prompter, s));
  EXPECT_TRUE(ResetRfidCounters(b.link, b.prompter, s));
  EXPECT_TRUE(CalibrateRfid(b.link, b.prompter));
  const std::string wire = ">RFS,5,3,2,1\r>RFTP,600\r>RFVR\r>RFCP\r";
  // Waits for the whole of it: on a loaded machine the line may still be carrying the end.
  EXPECT_EQ(b.printer.received(wire.size()), wire);
  EXPECT_EQ(s.validCounter, "0");
  EXPECT_EQ(s.voidCounter, "0");
  EXPECT_EQ(b.texts(), (std::vector<std::string>{"Set RFID setting is successful", "Auto calibration is successful",
                                                 "Auto calibration is successful"}));
  EXPECT_TRUE(b.clock.sleeps.empty());
}

struct WriteCase {
  const char* name;
  TagWriteRequest request;
  std::string wire;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

std::vector<WriteCase> WriteCases() {
  LockPayload killLeft;
  killLeft.mask[0] = killLeft.action[0] = true;
  const std::string data = "0102030405060708090A0B0C";
  const TagRange label{TagCarrier::kLabel, TagMemory::kEpc, TagDataType::kHex, 4, 12};
  const TagRange metal{TagCarrier::kMetal, TagMemory::kEpc, TagDataType::kHex, 4, 12};
  const TagRange user{TagCarrier::kLabel, TagMemory::kUser, TagDataType::kAscii, 16, 51};
  return {
      {"data_on_a_label", {false, true, false, label, data, {}}, ">RFW,H,4,12,'" + data + "'\rP1\r"},
      {"data_on_metal", {false, true, false, metal, data, {}}, ">RFw,H,4,12,'" + data + "'\r"},
      {"no_carrier_acts_as_metal", {false, true, false, {}, data, {}}, ">RFw,H,4,12,'" + data + "'\r"},
      {"user_memory", {false, true, false, user, "abc", {}}, ">RFW,U,16,51,'abc'\rP1\r"},
      {"all_four", {true, true, true, label, data, killLeft},
       ">RFUL\r>RFW,H,4,12,'" + data + "'\r>RFLP,L,'80,20,00'\rP1\r"},
      {"lock_alone_on_metal", {false, false, true, metal, "", killLeft}, ">RFLP,L,'80,20,00'\r"},
  };
}

class TagWrites : public testing::TestWithParam<WriteCase> {};

TEST_P(TagWrites, StepsInOrderAsTheBoxesSay) {
  const WriteCase& c = GetParam();
  Bench b;
  const TagWriteResult r = WriteTag(b.link, b.prompter, c.request);
  EXPECT_TRUE(r.ok);
  test::ExpectBytes(c.name, b.printer.received(c.wire.size()), c.wire);
  EXPECT_EQ(b.texts(), std::vector<std::string>{"Writing is success"});
}

INSTANTIATE_TEST_SUITE_P(RfidWrite, TagWrites, testing::ValuesIn(WriteCases()), test::RowName());

TEST(RfidPasswords, EightCharactersWithoutDotsOrNothingIsSent) {
  struct Case {
    const char* access;
    const char* kill;
    std::string wire;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"9C.4D.E1.37", "5E.2A.7C.13", ">RFZ,'5E2A7C13,5E2A7C13,9C4DE137,5E2A7C13'\r", "Set RFID setting is successful"},
      {"GHIJKLMN", "12345678", ">RFZ,'5E2A7C13,5E2A7C13,GHIJKLMN,12345678'\r", "Set RFID setting is successful"},
      {"9C.4D.E1", "5E.2A.7C.13", "", "Value of access is invalid!"},
      {"9C.4D.E1.37", "1234567", "", "Value of kill is invalid!"},
  };
  for (const Case& c : cases) {
    Bench b;
    EXPECT_EQ(SendRfidPasswords(b.link, b.prompter, c.access, c.kill), c.wire.size() > 0) << c.access;
    EXPECT_EQ(b.printer.received(c.wire.size()), c.wire) << c.access;
    EXPECT_EQ(b.texts(), std::vector<std::string>{c.message}) << c.access;
  }
}

struct ReadCase {
  const char* name;
  TagRange range;
  std::string reply;  // to the read command
  TagReadStatus status;
  std::string chars;
  std::string message;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

std::vector<ReadCase> ReadCases() {
  const TagRange hex{TagCarrier::kLabel, TagMemory::kEpc, TagDataType::kHex, 4, 12};
  const TagRange ascii{TagCarrier::kMetal, TagMemory::kUser, TagDataType::kAscii, 4, 12};
  const std::string whole = "0102030405060708090A0B0C";
  return {
      {"whole", hex, whole, TagReadStatus::kComplete, whole, "Reading data is successful"},
      {"more_than_asked_the_rest_is_dropped", hex, whole + "FFFF", TagReadStatus::kComplete, whole,
       "Reading data is successful"},
      {"ascii_counts_one_character_a_byte", ascii, "hello world!", TagReadStatus::kComplete, "hello world!",
       "Reading data is successful"},
      {"short", hex, whole.substr(0, 20), TagReadStatus::kIncomplete, whole.substr(0, 20),
       "Reading data is incomplete: 20 of 24 characters came"},
      {"silent", hex, "", TagReadStatus::kNoReply, "", "Reading data is faied"},
  };
}

class TagReads : public testing::TestWithParam<ReadCase> {};

TEST_P(TagReads, ShortLateAndMissingReplies) {
  const ReadCase& c = GetParam();
  Bench b;
  if (!c.reply.empty()) b.printer.Answer(BuildTagRead(c.range), c.reply);
  const TagReadResult r = ReadTag(b.link, b.clock, b.prompter, c.range);
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.chars, c.chars);
  EXPECT_EQ(b.printer.received(BuildTagRead(c.range).size()), BuildTagRead(c.range));
  EXPECT_EQ(b.texts(), std::vector<std::string>{c.message});
  if (c.status == TagReadStatus::kComplete) {
    EXPECT_TRUE(b.clock.sleeps.empty()) << "a whole reply is taken at once";
  } else {
    // The link gave up after its own short wait: the rest of the 4 s is slept, once.
    ASSERT_EQ(b.clock.sleeps.size(), 1u);
    EXPECT_GT(b.clock.sleeps[0], 2000);
    EXPECT_LE(b.clock.sleeps[0], 4000);
  }
}

INSTANTIATE_TEST_SUITE_P(RfidRead, TagReads, testing::ValuesIn(ReadCases()), test::RowName());

TEST(RfidRead, ARangePastTheGridIsRefusedBeforeAnythingIsSent) {
  Bench b;
  const TagReadResult refused = ReadTag(b.link, b.clock, b.prompter, {TagCarrier::kLabel, TagMemory::kEpc, TagDataType::kHex, 16, 64});
  EXPECT_EQ(refused.status, TagReadStatus::kRefused);
  EXPECT_EQ(b.printer.received(), "");
  EXPECT_EQ(b.texts(), std::vector<std::string>{std::string(kInvalidRange)});
}

// Tag data read back whole over every interface: Ethernet gives 32 bytes a read and USB
// comes in 16-byte pieces with a pause after each full one.
TEST(RfidRead, EveryInterfaceReadsOnUntilTheDataIsIn) {
  const std::string tmp = std::filesystem::temp_directory_path() / ("quillmark-rfid-" + std::to_string(::getpid()));
  printer::PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.serial = true;
  options.usbDir = tmp;
  printer::VirtualPrinter vp(options);
  std::string error;
  ASSERT_TRUE(vp.Start(error)) << error;

  std::string data;
  for (int i = 0; i < 20; ++i) data += "A" + std::to_string(i % 10);  // 20 bytes, 40 digits
  const TagRange range{TagCarrier::kMetal, TagMemory::kUser, TagDataType::kHex, 8, 20};
  struct Case {
    std::string port;
    std::vector<int> sleeps;
  };
  const std::vector<Case> cases = {{"ETHERNET", {}}, {"COM1:", {}}, {"USB", {200, 200}}};
  bool written = false;
  for (const Case& c : cases) {
    FakeClock clock;
    RecordingPrompter prompter;
    LinkTiming timing;
    timing.usbReadWaitMs = timing.tcpReadWaitMs = timing.serialDefaults.readTotalConstantMs = 1000;
    DeviceMap devices;
    devices.Override("COM1", vp.serialPath());
    devices.usb = UsbRoots{vp.usbSysfsRoot(), vp.usbDevRoot()};
    PrinterLink link(clock, prompter, EnglishStrings(), timing, devices);
    link.SetPortName(c.port);
    link.SetEthernetSettings("127.0.0.1", vp.tcpPort());
    ASSERT_EQ(link.Open(), 1) << c.port << link.lastError();
    if (!written) {
      TagWriteRequest w;
      w.data = true;
      w.range = range;
      w.cells = data;
      ASSERT_TRUE(WriteTag(link, prompter, w).ok);
      written = true;
      prompter.messages.clear();
    }
    const TagReadResult r = ReadTag(link, clock, prompter, range);
    EXPECT_EQ(r.status, TagReadStatus::kComplete) << c.port;
    EXPECT_EQ(r.chars, data) << c.port;
    EXPECT_EQ(clock.sleeps, c.sleeps) << c.port;
    link.Close();
  }
  vp.Stop();
  std::filesystem::remove_all(tmp);
}

}  // namespace
}  // namespace qm
