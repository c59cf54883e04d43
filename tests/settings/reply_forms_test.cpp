// Every query of the settings, status and RFID tools, answered in every form a printer may
// use: a text reply with and without its CR LF, whole or in two pieces 25 ms apart, over a
// serial line, USB and Ethernet. Each must come back right and at once: the link's real
// gap rules run on virtual time, so a read that waits out its deadline shows as seconds.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/strings.h"
#include "fake_clock.h"
#include "fake_usb_tree.h"
#include "link/printer_link.h"
#include "pty_pair.h"
#include "rfid/rfid_operations.h"
#include "settings/hardware_info.h"
#include "settings/memory_switch.h"
#include "settings/printer_status.h"
#include "settings/serial_language.h"
#include "settings/user_settings.h"
#include "virtual_time.h"

namespace qm {
namespace {

// One link on virtual time to a printer end that answers what the row scripts.
struct Bench {
  explicit Bench(InterfaceKind kind) : kind(kind), link(clock, prompter, EnglishStrings(), LinkTiming{}, Devices()) {
    end = std::make_unique<test::VirtualPrinterEnd>(clock, link, [this](const std::string& bytes) {
      if (this->kind == kEthernet) tcp.Send(bytes);
      else (this->kind == kUsb ? *usbPty : pty).Send(bytes);
    });
    static const char* const kNames[] = {"COM1:", "LPT1:", "USB", "ETHERNET"};
    link.SetPortName(kNames[kind]);
    link.SetEthernetSettings("127.0.0.1", tcp.port());
    opened = link.Open() == 1;
    if (kind == kUsb) link.Close();  // as Connect does: USB opens around every call
  }
  DeviceMap Devices() {
    DeviceMap map;
    map.Override("COM1", pty.path());
    if (kind == kUsb) usbPty = &usb.AddNode(0, "2961", "0101");
    map.usb = UsbRoots{usb.sysfs(), usb.dev()};
    return map;
  }
  char InterfaceDigit() const { return kind == kSerial ? '1' : kind == kUsb ? '3' : '2'; }

  InterfaceKind kind;
  test::PtyPair pty;
  test::FakeUsbTree usb;
  test::PtyPair* usbPty = nullptr;
  test::LoopbackEnd tcp;
  test::VirtualTimeClock clock;
  test::RecordingPrompter prompter;
  PrinterLink link;
  std::unique_ptr<test::VirtualPrinterEnd> end;
  bool opened = false;
};

struct Query {
  std::string command;  // '#' stands for the interface digit of a switch read
  std::string reply;    // without a line end: the form adds it
};

struct Row {
  std::string name;
  std::vector<Query> queries;
  bool text;       // a text reply that may or may not end in CR LF
  int waitsMs;     // the waits the tool takes before its reads, all together
  int reads;       // reads that may each take a gap
  std::string expected;
  std::function<std::string(Bench&)> run;
  bool serialOnly = false;
  std::string expectedWithLineEnd = {};  // where the tool keeps a reply as it came
};

std::string Join(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "|") + p;
  return out;
}

std::string Choice(const ChoiceRead& r) {
  return r.ok ? (r.index ? std::to_string(*r.index) : "none") : "failed";
}

std::string Status(Bench& b, StatusCommand c) {
  const StatusRead r = CheckPrinterStatus(b.link, b.clock, b.prompter, c);
  std::string out = r.ok ? "ok" : "failed";
  for (int t : r.ticked) out += ":" + std::to_string(t);
  return out;
}

Row Numeric(const char* name, NumericItem item) {
  return {name, {{std::string(SpecOf(item).query), "104"}}, true, 10, 1, "104", [item](Bench& b) {
            return GetNumericItem(b.link, b.clock, b.prompter, item).value_or("failed");
          }};
}

Row Hardware(const char* name, HardwareItem item, const char* value) {
  return {name, {{BuildHardwareRead(item), value}}, true, SpecOf(item).readDelayMs, 1, value, [item](Bench& b) {
            return GetHardwareItem(b.link, b.clock, b.prompter, item).value_or("failed");
          }};
}

Row Signed(const char* name, SignedItem item, const char* command, const char* reply, const char* expected) {
  return {name, {{command, reply}}, true, 10, 1, expected, [item](Bench& b) {
            const auto v = GetSignedItem(b.link, b.clock, b.prompter, item);
            return v ? (v->negative ? "-" : "+") + std::to_string(v->value) : std::string("failed");
          }};
}

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      // The printer information: the first three kept exactly as they came.
      {"printer_information",
       {{"^PI0", "LRX-500II"}, {"^PI1", "RFID TT 203dpi"}, {"^PI2", "V1.52"}, {"^PI4,0", "31"}},
       true, 40, 4, "LRX-500II|RFID TT 203dpi|V1.52|31 Celsius",
       [](Bench& b) {
         const PrinterInformation i = GetPrinterInformation(b.link, b.clock, b.prompter);
         return i.ok ? Join({i.modelName, i.modelType, i.firmwareVersion, i.temperature}) : "failed";
       },
       false, "LRX-500II\r\n|RFID TT 203dpi\r\n|V1.52\r\n|31 Celsius"},
      Numeric("paper_width", NumericItem::kPaperWidth),
      Numeric("paper_length", NumericItem::kPaperLength),
      Numeric("gap_length", NumericItem::kGapLength),
      Numeric("horizontal_margin", NumericItem::kHorizontalMargin),
      Numeric("vertical_margin", NumericItem::kVerticalMargin),
      Numeric("density", NumericItem::kDensity),
      Signed("offset", SignedItem::kOffset, "^SA\r\n", "-012", "-12"),
      Signed("tear_off", SignedItem::kTearOff, "^PI4,2\r\n", "+045", "+45"),
      {"strobe", {{"^MBR4,#", "\x40"}}, false, 10, 1, "1",
       [](Bench& b) { return Choice(GetStrobe(b.link, b.clock, b.prompter)); }},
      {"speed", {{"^MBR3,#", "\x60"}}, false, 10, 1, "3",
       [](Bench& b) { return Choice(GetSpeed(b.link, b.clock, b.prompter)); }},
      {"gap_position", {{"^MBR4,#", "\x20"}}, false, 10, 1, "1",
       [](Bench& b) { return Choice(GetGapPosition(b.link, b.clock, b.prompter)); }},
      {"serial_settings", {{"^MBR2,#", "\x41"}}, false, 10, 1, "1|0|0|0|0|0",
       [](Bench& b) {
         const auto s = GetSerialSettings(b.link, b.clock, b.prompter);
         if (!s) return std::string("failed");
         return Join({std::to_string(s->handShake), std::to_string(s->stopBits), std::to_string(s->dataLength),
                      std::to_string(s->parityCheck), std::to_string(s->paritySelection),
                      std::to_string(s->baudRate)});
       }},
      {"code_page_and_ics", {{"^MBR1,#", "\x03"}, {"^MBR3,#", "\x05"}}, false, 100, 2, "3|5",
       [](Bench& b) {
         const auto l = GetLanguageSettings(b.link, b.clock, b.prompter);
         return l ? Join({std::to_string(l->codePage), std::to_string(l->ics)}) : "failed";
       }},
      Hardware("hardware_version", HardwareItem::kVersion, "A1.2"),
      Hardware("serial_number", HardwareItem::kSerialNumber, "SN0001"),
      Hardware("printer_id", HardwareItem::kPrinterId, "PID-7"),
      {"status_cp", {{"^cp\r", std::string("\x00\x00", 2)}}, false, 50, 1, "ok:9",
       [](Bench& b) { return Status(b, StatusCommand::kCp); }},
      {"status_cu", {{"^cu\r", std::string("\x00", 1)}}, false, 50, 1, "ok:6",
       [](Bench& b) { return Status(b, StatusCommand::kCu); }},
      {"status_cps", {{"CPS\r", std::string("\x00", 1)}}, false, 50, 1, "ok:8",
       [](Bench& b) { return Status(b, StatusCommand::kCps); }},
      // Two characters and CR LF, always: the one reply read as a line.
      {"status_ee", {{"^ee\r", "00\r\n"}}, false, 50, 1, "ok:0",
       [](Bench& b) { return Status(b, StatusCommand::kEe); }, true},
      {"rfid_settings",
       {{">RFI,1\r", "GEN2"}, {">RFI,2\r", "8"}, {">RFI,3\r", "450"}, {">RFI,4\r", "4"},
        {">RFI,5\r", "2"}, {">RFI,6\r", "12"}, {">RFI,7\r", "3"}},
       true, 700, 7, "0|7|450|4|2|12|3",
       [](Bench& b) {
         RfidSettings r;
         if (!GetRfidSettings(b.link, b.clock, b.prompter, r)) return std::string("failed");
         return Join({std::to_string(r.tagType), std::to_string(r.power), r.position, std::to_string(r.retries),
                      std::to_string(r.labels), r.validCounter, r.voidCounter});
       },
       false, "0|7|450|4|2|12\r\n|3\r\n"},
      // Tag data: exactly the characters expected. USB reads it in pieces of 16 with a
      // pause after each full one.
      {"tag_read", {{">RFR,H,4,12,S\r", "0A0B0C0D0E0F101112131415"}}, false, 200, 2, "0A0B0C0D0E0F101112131415",
       [](Bench& b) {
         const TagRange range{TagCarrier::kLabel, TagMemory::kEpc, TagDataType::kHex, 4, 12};
         const TagReadResult r = ReadTag(b.link, b.clock, b.prompter, range);
         return r.status == TagReadStatus::kComplete ? r.chars : "failed";
       }},
  };
  return rows;
}

struct Form {
  const char* name;
  bool lineEnd;
  bool split;
};
constexpr Form kForms[] = {{"bare", false, false}, {"bare_split", false, true},
                           {"crlf", true, false},  {"crlf_split", true, true}};

struct Case {
  const Row* row;
  InterfaceKind kind;
  Form form;
};

std::vector<Case> Cases() {
  std::vector<Case> out;
  for (const Row& row : Rows()) {
    for (const InterfaceKind kind : {kSerial, kUsb, kEthernet}) {
      if (row.serialOnly && kind != kSerial) continue;
      for (const Form& form : kForms) {
        if (!row.text && form.lineEnd) continue;  // its shape is its count
        out.push_back({&row, kind, form});
      }
    }
  }
  return out;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.row->name << " kind " << c.kind << " " << c.form.name; }

class ReplyForms : public testing::TestWithParam<Case> {};

TEST_P(ReplyForms, AnsweredAtOnceAndWhole) {
  const Case& c = GetParam();
  Bench b(c.kind);
  ASSERT_TRUE(b.opened) << b.link.lastError();
  for (const Query& q : c.row->queries) {
    std::string command = q.command;
    if (const size_t at = command.find('#'); at != std::string::npos) command[at] = b.InterfaceDigit();
    const std::string reply = q.reply + (c.form.lineEnd ? "\r\n" : "");
    const size_t half = reply.size() / 2;
    b.end->Answer(command, c.form.split && half > 0 ? std::vector<std::string>{reply.substr(0, half), reply.substr(half)}
                                                    : std::vector<std::string>{reply});
  }
  b.end->SetSplitMs(25);
  const int64_t start = b.clock.NowMs();
  const bool kept = c.form.lineEnd && !c.row->expectedWithLineEnd.empty();
  EXPECT_EQ(c.row->run(b), kept ? c.row->expectedWithLineEnd : c.row->expected);
  const int64_t took = b.clock.NowMs() - start;
  // Each read may take the 25 ms split and a quiet gap; a deadline is seconds.
  EXPECT_LE(took, c.row->waitsMs + 100 * c.row->reads) << "a read waited for more than its reply";
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
  static const char* const kKinds[] = {"serial", "parallel", "usb", "ethernet"};
  return info.param.row->name + "_" + kKinds[info.param.kind] + "_" + info.param.form.name;
}

INSTANTIATE_TEST_SUITE_P(EveryQuery, ReplyForms, testing::ValuesIn(Cases()), CaseName);

// The clock itself: a reply that never comes ends at the link's deadline, on virtual time.
TEST(ReplyFormsClock, ASilentPrinterCostsTheDeadlineOnTheClockOnly) {
  for (const InterfaceKind kind : {kSerial, kUsb, kEthernet}) {
    Bench b(kind);
    ASSERT_TRUE(b.opened) << b.link.lastError();
    const int64_t start = b.clock.NowMs();
    EXPECT_EQ(GetNumericItem(b.link, b.clock, b.prompter, NumericItem::kPaperWidth), std::nullopt);
    const int64_t took = b.clock.NowMs() - start;
    EXPECT_GE(took, 3000) << "kind " << kind << ": the link gave up before its deadline";
    EXPECT_LE(took, 5100) << "kind " << kind;
  }
}

}  // namespace
}  // namespace qm
