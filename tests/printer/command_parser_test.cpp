// The command stream: where commands end, raw bytes inside them, noise, and limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer/command_parser.h"
#include "printer/escape.h"

namespace qm::printer {
namespace {

using namespace std::string_literals;

// Events as readable strings: "C:<command>", "C:<header>+<n>:<payload>", "G:<noise>",
// "M:<malformed>", "L:<first bytes of an over-long command>". Adjacent noise is joined, so
// a stream fed byte by byte records the same as one fed whole.
class Recorder : public ParserSink {
 public:
  void OnCommand(Command&& c) override {
    std::string e = "C:" + Escape(c.text);
    if (c.IsImageStore()) {
      e += "+" + std::to_string(c.payloadSize) + (c.payloadRefused ? ":refused" : ":" + Escape(c.payload));
    }
    events.push_back(e);
  }
  void OnSkipped(std::string_view bytes, SkipReason reason) override {
    const char* tag = reason == SkipReason::kGarbage ? "G:" : reason == SkipReason::kMalformed ? "M:" : "L:";
    if (reason == SkipReason::kGarbage && !events.empty() && events.back().rfind("G:", 0) == 0) {
      events.back() += Escape(bytes);
      return;
    }
    events.push_back(tag + Escape(bytes));
  }
  std::vector<std::string> events;
};

std::vector<std::string> FeedWhole(const std::string& bytes) {
  Recorder r;
  CommandParser p(r);
  p.Feed(bytes);
  return r.events;
}

std::vector<std::string> FeedByteByByte(const std::string& bytes) {
  Recorder r;
  CommandParser p(r);
  for (const char c : bytes) p.Feed(&c, 1);
  return r.events;
}

struct Case {
  const char* name;
  std::string stream;
  std::vector<std::string> events;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      // Queries the tools send without a terminator end with their fixed form.
      {"information queries", "^PI0^PI1^PI2^PI4,0", {"C:^PI0", "C:^PI1", "C:^PI2", "C:^PI4,0"}},
      {"queries with line ends", "^PI4,1\r\n^PI5,3\r\n^SA\r\n", {"C:^PI4,1", "C:^PI5,3", "C:^SA"}},
      {"switch reads", "^MBR1,1^MBR3,3^MBR4,2", {"C:^MBR1,1", "C:^MBR3,3", "C:^MBR4,2"}},
      {"short switch write with CR value", "^MBS2,\r^MBA\x02\r", {"C:^MBS2,\\r", "C:^MBA\\x02"}},
      {"switch write with NUL value", "^MBS1,\0^MBA\x01\r"s, {"C:^MBS1,\\x00", "C:^MBA\\x01"}},
      {"long switch write", "^MBS3,`\r^MBA\x03\r", {"C:^MBS3,`", "C:^MBA\\x03"}},
      {"switch value that looks like a command", "^MBS4,^^MBA\x04\r", {"C:^MBS4,^", "C:^MBA\\x04"}},
      {"switch number CR", "^MBA\r", {"C:^MBA\\r"}},
      {"label length check", "^MBL1^MBL0", {"C:^MBL1", "C:^MBL0"}},
      {"identification", "^MBX1\r^MBY1,SN0001\r\n^MBY\x0F,2\r\n",
       {"C:^MBX1", "C:^MBY1,SN0001", "C:^MBY\\x0F,2"}},
      {"identification text holding a caret", "^MBY2,a^b>c\r\n", {"C:^MBY2,a^b>c"}},
      {"user settings", "^MBU0,812\r^MBU5,-3\r^MBU\x0F,99\r", {"C:^MBU0,812", "C:^MBU5,-3", "C:^MBU\\x0F,99"}},
      {"signed shifts", "SA-12\r\nTA+7\r\n", {"C:SA-12", "C:TA+7"}},
      {"calibration", "^MXd,1200,G\r^MXs,144,7\r^MXc\r^MA8,16,1500\r^MAC\r",
       {"C:^MXd,1200,G", "C:^MXs,144,7", "C:^MXc", "C:^MA8,16,1500", "C:^MAC"}},
      {"status", "^cp\r^cu\r^ee\rCPS\r", {"C:^cp", "C:^cu", "C:^ee", "C:CPS"}},
      {"RFID settings in one write", ">RFS,5,3,2,1\r>RFTP,600\r", {"C:>RFS,5,3,2,1", "C:>RFTP,600"}},
      {"RFID passwords", ">RFZ,'5E2A7C13,5E2A7C13,11223344,55667788'\r\n",
       {"C:>RFZ,'5E2A7C13,5E2A7C13,11223344,55667788'"}},
      {"image commands", "IIID*IIID'LOGO'II", {"C:II", "C:ID*", "C:II", "C:ID'LOGO'", "C:II"}},
      // The image bytes are data, whatever they hold.
      {"image store", "IS5,'LOGO'a\r\0'b\r\rIR100,100,'LOGO'\rP1\r"s,
       {"C:IS5,'LOGO'+5:a\\r\\x00'b", "C:IR100,100,'LOGO'", "C:P1"}},
      {"image store with blanks", "IS 3,'a'xyz", {"C:IS 3,'a'+3:xyz"}},
      {"empty image", "IS0,'E'P1\r", {"C:IS0,'E'+0:", "C:P1"}},
      {"text with an unescaped quote", "T20,20,3,1,1,0,0,N,N,'it's'\rP1\r",
       {"C:T20,20,3,1,1,0,0,N,N,'it's'", "C:P1"}},
      {"escaped character table", "T20,20,3,1,1,10,0,N,N,' !\\'()[\\\\]^_>~'\rP1\r",
       {"C:T20,20,3,1,1,10,0,N,N,' !\\\\'()[\\\\\\\\]^_>~'", "C:P1"}},
      {"two-dimensional data over two lines", "B2100,100,Q,1,L,4,0,'line1\r\nline2'\r\nP1\r\n",
       {"C:B2100,100,Q,1,L,4,0,'line1\\r\\nline2'", "C:P1"}},
      {"two-dimensional data ending in a quote", "B2100,100,Q,1,L,4,0,'Don't'\r\nP1\r",
       {"C:B2100,100,Q,1,L,4,0,'Don't'", "C:P1"}},
      // Data is sent as typed: quotes inside it neither close nor reopen it.
      {"text data with quotes before query bytes", "T20,20,j,1,1,0,0,N,N,''?'@'\\']'^'_'\rP1\r",
       {"C:T20,20,j,1,1,0,0,N,N,''?'@'\\\\']'^'_'", "C:P1"}},
      {"two-dimensional data with an odd quote on a line", "B2100,100,Q,1,L,4,0,'Don't\r\nstop'\r\nP1\r",
       {"C:B2100,100,Q,1,L,4,0,'Don't\\r\\nstop'", "C:P1"}},
      {"unclosed barcode data does not swallow a query", "B2100,100,Q,1,L,4,0,'abc\r\n^PI0",
       {"M:B2100,100,Q,1,L,4,0,'abc\\r\\n", "C:^PI0"}},
      {"empty lines", "\r\n\r\n\r\r\n\n", {}},
      // Noise is skipped and reported; a valid query right after it is still found.
      {"noise then a query", "hello world^PI0", {"G:hello world", "C:^PI0"}},
      {"binary noise then a switch read", "\x01\x02\xff^MBR2,1", {"G:\\x01\\x02\\xFF", "C:^MBR2,1"}},
      {"unknown word cut short by a query", "HELLO^PI0", {"M:HELLO", "C:^PI0"}},
      {"unknown information query", "^PI3^PI0", {"M:^PI", "G:3", "C:^PI0"}},
      {"switch read cut short", "^MBR1\r^MBR1,1", {"M:^MBR1", "C:^MBR1,1"}},
      {"doubled caret", "^^PI0", {"M:^", "C:^PI0"}},
      {"delete without a name", "IDx\rII", {"M:ID", "G:x", "C:II"}},
      {"image header broken by a line end", "IS12\rP1\r", {"M:IS12", "C:P1"}},
      // A header declaring more than the printer takes is refused alone: what follows it
      // is read as commands, not swallowed as gigabytes of image.
      {"refused image header takes no bytes", "IS9999999999,'pic'^PI0",
       {"C:IS9999999999,'pic'+9999999999:refused", "C:^PI0"}},
      {"unknown commands reach the printer whole", "XYZ,1\r^QQ\r", {"C:XYZ,1", "C:^QQ"}},
  };
  return cases;
}

TEST(CommandParser, EveryFormWholeAndByteByByte) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FeedWhole(c.stream), c.events);
    EXPECT_EQ(FeedByteByByte(c.stream), c.events);
  }
}

TEST(CommandParser, AnySplitOfTheStreamGivesTheSameCommands) {
  std::string stream;
  for (const Case& c : Cases()) stream += c.stream + "\r";
  const std::vector<std::string> whole = FeedWhole(stream);
  for (size_t cut = 0; cut <= stream.size(); ++cut) {
    Recorder r;
    CommandParser p(r);
    p.Feed(stream.substr(0, cut));
    p.Feed(stream.substr(cut));
    ASSERT_EQ(r.events, whole) << "cut at " << cut;
  }
}

TEST(CommandParser, OversizedImageHeaderIsRefusedAlone) {
  Recorder r;
  CommandParser p(r);
  const std::string header = "IS" + std::to_string(CommandParser::kMaxImageBytes + 1) + ",'BIG'";
  p.Feed(header + "^PI0");
  EXPECT_FALSE(p.InPayload());
  EXPECT_EQ(r.events, (std::vector<std::string>{
                          "C:" + header + "+" + std::to_string(CommandParser::kMaxImageBytes + 1) + ":refused",
                          "C:^PI0"}));
}

TEST(CommandParser, ImageAtTheLimitIsKept) {
  struct Sink : ParserSink {
    void OnCommand(Command&& c) override { commands.push_back(std::move(c)); }
    void OnSkipped(std::string_view, SkipReason) override {}
    std::vector<Command> commands;
  } sink;
  CommandParser p(sink);
  p.Feed("IS" + std::to_string(CommandParser::kMaxImageBytes) + ",'MAX'");
  p.Feed(std::string(CommandParser::kMaxImageBytes, '\r'));
  ASSERT_EQ(sink.commands.size(), 1u);
  EXPECT_FALSE(sink.commands[0].payloadRefused);
  EXPECT_EQ(sink.commands[0].payload.size(), CommandParser::kMaxImageBytes);
}

TEST(CommandParser, OverLongCommandIsDroppedUpToItsLineEndOrTheNextCommand) {
  const std::string start = "T20,20,3,1,1,0,0,N,N,'";
  struct Case {
    const char* name;
    size_t filler;  // bytes of text after `start`
    std::string next;
    std::vector<std::string> after;  // events after the over-long one
  };
  const size_t full = CommandParser::kMaxCommandBytes - start.size();
  const std::vector<Case> cases = {
      {"closed and ended", 160 * 1024, "'\r^PI0", {"C:^PI0"}},
      // The value byte is a CR: it must not be taken for the end of the dropped line.
      {"unterminated, then a switch write", 160 * 1024, "^MBS2,\r^MBA\x02\r", {"C:^MBS2,\\r", "C:^MBA\\x02"}},
      {"buffer exactly full, then RFID", full, ">RFI,1\r", {"C:>RFI,1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorder r;
    CommandParser p(r);
    p.Feed(start);
    const std::string filler(4096, 'a');
    for (size_t left = c.filler; left > 0; left -= std::min(left, filler.size())) {
      p.Feed(filler.data(), std::min(left, filler.size()));
      ASSERT_LE(p.PendingBytes(), CommandParser::kMaxCommandBytes);
    }
    p.Feed(c.next);
    ASSERT_EQ(r.events.size(), 1 + c.after.size());
    EXPECT_EQ(r.events[0].substr(0, 2 + start.size()), "L:" + start);
    EXPECT_EQ(std::vector<std::string>(r.events.begin() + 1, r.events.end()), c.after);
  }
}

TEST(CommandParser, OverLongNamesAreMalformed) {
  const std::string name(CommandParser::kMaxNameBytes + 1, 'n');
  for (const std::string& start : {"ID'"s, "IS1,'"s}) {
    SCOPED_TRACE(start);
    Recorder r;
    CommandParser p(r);
    p.Feed(start + name + "'^PI0");
    ASSERT_GE(r.events.size(), 2u);
    EXPECT_EQ(r.events.front().substr(0, 2), "M:");
    EXPECT_EQ(r.events.back(), "C:^PI0");
  }
}

TEST(CommandParser, NoiseIsReportedInBoundedPieces) {
  Recorder r;
  CommandParser p(r);
  p.Feed(std::string(100000, 'x'));
  EXPECT_LT(p.PendingBytes(), 1024u);
  ASSERT_EQ(r.events.size(), 1u);
  EXPECT_EQ(r.events[0].size(), 2u + 100000u) << "every byte of noise is reported once";
}

}  // namespace
}  // namespace qm::printer
