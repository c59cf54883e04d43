// Replies byte for byte, settings that survive a set and a get, and refusals that change
// nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer/escape.h"
#include "printer_harness.h"

namespace qm::printer {
namespace {

using namespace std::string_literals;
using test::Harness;

struct Exchange {
  std::string query;
  std::string reply;
};

TEST(PrinterReplies, EveryQueryOfAFreshPrinterInItsExactFormat) {
  const std::vector<Exchange> table = {
      {"^PI0", "LRX-500II"},
      {"^PI1", "RFID TT 203dpi"},
      {"^PI2", "V1.52"},
      {"^PI4,0", "31\r\n"},
      {"^PI4,1\r\n", "10\r\n"},
      {"^PI4,2\r\n", "+000\r\n"},
      {"^PI5,0\r\n", "812\r\n"},
      {"^PI5,1\r\n", "1219\r\n"},
      {"^PI5,2\r\n", "24\r\n"},
      {"^PI5,3\r\n", "0\r\n"},
      {"^PI5,4\r\n", "0\r\n"},
      {"^SA\r\n", "+000\r\n"},
      {"^MBR1,2", "\0"s},
      {"^MBR4,2", "\0"s},
      {"^MBX0\r", "A1.2\r\n"},
      {"^MBX1\r", "QM20240117A0042\r\n"},
      {"^MBX2\r", "PRN01\r\n"},
      {"^cp\r", "\0\0"s},
      {"^cu\r", "\0"s},
      {"CPS\r", "\0"s},
      {"^ee\r", "00\r\n"},
      {">RFI,1\r", "GEN2\r\n"},
      {">RFI,2\r", "18\r\n"},
      {">RFI,3\r", "600\r\n"},
      {">RFI,4\r", "3\r\n"},
      {">RFI,5\r", "2\r\n"},
      {">RFI,6\r", "0\r\n"},
      {">RFI,7\r", "0\r\n"},
      {">RFR,H,4,12,S\r", "3014257BF7194E4000000001"},
      // Commands that are not queries answer nothing.
      {"^MBU0,800\r", ""},
      {"SW800\r", ""},
      {"T20,20,3,1,1,0,0,N,N,'x'\rP1\r", ""},
      {"II", ""},
      {"^MBL1", ""},
      {"^MXs,144,7\r", ""},
      {">RFVR\r", ""},
      {"^PI3", ""},
      {"^MBR5,2", ""},
  };
  for (const Exchange& e : table) {
    Harness h;
    EXPECT_EQ(Escape(h.Send(e.query)), Escape(e.reply)) << Escape(e.query);
  }
}

struct RoundTrip {
  std::string set;
  std::string query;
  std::string reply;
};

TEST(PrinterReplies, SetThenQueryGivesTheValueBack) {
  const std::vector<RoundTrip> table = {
      {"^MBU0,640\r", "^PI5,0\r\n", "640\r\n"},
      {"^MBU2,1600\r", "^PI5,1\r\n", "1600\r\n"},
      {"^MBU5,30\r", "^PI5,2\r\n", "30\r\n"},
      {"^MBU3,16\r", "^PI5,3\r\n", "16\r\n"},
      {"^MBU4,24\r", "^PI5,4\r\n", "24\r\n"},
      {"^MBU1,15\r", "^PI4,1\r\n", "15\r\n"},
      {"^MBU0,832\r", "^PI5,0\r\n", "832\r\n"},
      {"^MBU1,0\r", "^PI4,1\r\n", "0\r\n"},
      {"SA-12\r\n", "^SA\r\n", "-012\r\n"},
      {"SA+45\r\n", "^SA\r\n", "+045\r\n"},
      {"SA100\r\n", "^SA\r\n", "+100\r\n"},
      {"TA+7\r\n", "^PI4,2\r\n", "+007\r\n"},
      {"TA-100\r\n", "^PI4,2\r\n", "-100\r\n"},
      // Label commands change the same settings.
      {"SW600\r", "^PI5,0\r\n", "600\r\n"},
      {"SL800,16,B\r", "^PI5,2\r\n", "16\r\n"},
      {"SM8,16\r", "^PI5,4\r\n", "16\r\n"},
      {"SD5\r", "^PI4,1\r\n", "5\r\n"},
      {"^MBY0,B2.0\r\n", "^MBX0\r", "B2.0\r\n"},
      {"^MBY1,SN0001\r\n", "^MBX1\r", "SN0001\r\n"},
      {"^MBY2,\r\n", "^MBX2\r", "\r\n"},
      {"^MBY0,ABCDEFG\r\n", "^MBX0\r", "ABCD\r\n"},
      {"^MBY2,ID\x01\xff\r\n", "^MBX2\r", "ID\x01\xff\r\n"},
      // Memory switches: raw bytes, short and long forms, taking effect at the completion.
      {"^MBS2,\x35^MBA\x02\r", "^MBR2,2", "\x35"},
      {"^MBS1,\r^MBA\x01\r", "^MBR1,2", "\r"},
      {"^MBS3,\x60\r^MBA\x03\r", "^MBR3,2", "\x60"},
      {"^MBS4,\x80\r^MBA\x04\r", "^MBR4,2", "\x80"},
      {"^MBS2,\x7f^MBA\x02\r", "^MBR2,2", "\x7f"},
      {">RFS,2,10,5,31\r>RFTP,750\r", ">RFI,1\r", "ISO-B\r\n"},
      {">RFS,2,10,5,31\r>RFTP,750\r", ">RFI,2\r", "31\r\n"},
      {">RFS,2,10,5,31\r>RFTP,750\r", ">RFI,3\r", "750\r\n"},
      {">RFS,2,10,5,31\r>RFTP,750\r", ">RFI,4\r", "10\r\n"},
      {">RFS,2,10,5,31\r>RFTP,750\r", ">RFI,5\r", "5\r\n"},
      {">RFS,5,3,2,1\r", ">RFI,2\r", "1\r\n"},
  };
  for (const RoundTrip& t : table) {
    Harness h;
    EXPECT_EQ(h.Send(t.set), "") << Escape(t.set);
    EXPECT_EQ(Escape(h.Send(t.query)), Escape(t.reply)) << Escape(t.set);
  }
}

TEST(PrinterReplies, RefusedSettingsChangeNothingAndReportASyntaxError) {
  const std::vector<RoundTrip> table = {
      {"^MBU0,833\r", "^PI5,0\r\n", "812\r\n"},
      {"^MBU0,-3\r", "^PI5,0\r\n", "812\r\n"},
      {"^MBU1,21\r", "^PI4,1\r\n", "10\r\n"},
      {"^MBU5,-3\r", "^PI5,2\r\n", "24\r\n"},
      {"^MBU2,12a\r", "^PI5,1\r\n", "1219\r\n"},
      {"^MBU9,1\r", "^PI5,0\r\n", "812\r\n"},
      {"SA+101\r\n", "^SA\r\n", "+000\r\n"},
      {"TAx\r\n", "^PI4,2\r\n", "+000\r\n"},
      {"SW900\r", "^PI5,0\r\n", "812\r\n"},
      {"SL600,24,X\r", "^PI5,1\r\n", "1219\r\n"},
      {"^MBL7", "^ee\r", "01\r\n"},
      {">RFTP,-5\r", ">RFI,3\r", "600\r\n"},
  };
  for (const RoundTrip& t : table) {
    Harness h;
    h.Send(t.set);
    EXPECT_EQ(Escape(h.Send(t.query)), Escape(t.reply)) << Escape(t.set);
    EXPECT_EQ(h.storedChanges, 0) << Escape(t.set);
    if (t.query != "^ee\r") {
      EXPECT_EQ(h.Send("^ee\r"), "01\r\n") << Escape(t.set);
    }
    EXPECT_EQ(h.Send("^ee\r"), "00\r\n") << "an error is reported once";
  }
}

TEST(PrinterReplies, RfidSettingsTakeTheValuesInRangeAndRefuseTheRest) {
  Harness h;
  // No tag type chosen (field left out), retries unchosen (-1), power unchosen (0).
  h.Send(">RFS,-1,4,0\r");
  EXPECT_EQ(h.Send(">RFI,4\r"), "3\r\n");
  EXPECT_EQ(h.Send(">RFI,5\r"), "4\r\n");
  EXPECT_EQ(h.Send(">RFI,2\r"), "18\r\n");
  EXPECT_EQ(h.Send(">RFI,1\r"), "GEN2\r\n");
  h.Send(">RFS,3,1,1,1\r");  // tag code 3 is no tag type
  EXPECT_EQ(h.Send(">RFI,1\r"), "GEN2\r\n");
  EXPECT_EQ(h.Send(">RFI,4\r"), "1\r\n");
}

TEST(PrinterReplies, SwitchValueTakesEffectOnlyAtItsCompletion) {
  Harness h;
  h.Send("^MBS2,\x35");
  EXPECT_EQ(h.Send("^MBR2,2"), "\0"s) << "staged, not yet in effect";
  h.Send("^MBA\x03\r");
  EXPECT_EQ(h.Send("^MBR3,2"), "\0"s) << "completion of another switch";
  h.Send("^MBA\x02\r");
  EXPECT_EQ(h.Send("^MBR2,2"), "\x35");
  h.Send("^MBA\x02\r");
  EXPECT_EQ(h.Send("^MBR2,2"), "\x35") << "a second completion changes nothing";
  EXPECT_EQ(h.storedChanges, 1);
}

TEST(PrinterReplies, SwitchReadAnswersOnlyOnTheInterfaceItsDigitNames) {
  struct Case {
    InterfaceKind kind;
    char answered;
  };
  const Case cases[] = {{kSerial, '1'}, {kParallel, '2'}, {kUsb, '3'}, {kEthernet, '2'}};
  for (const Case& c : cases) {
    Harness h;
    h.Send("^MBS2,A^MBA\x02\r");
    for (const char code : {'1', '2', '3'}) {
      const std::string reply = h.Send(std::string("^MBR2,") + code, c.kind);
      EXPECT_EQ(reply, code == c.answered ? "A" : "") << "kind " << c.kind << " code " << code;
    }
  }
}

TEST(PrinterReplies, InitialiseCommandsRestoreTheFactorySettings) {
  Harness h;
  h.Send("^MBU0,640\r^MBU1,15\rSA-5\r\nTA+9\r\n^MBY1,XYZ\r\n^MBY2,ABC\r\n");
  h.Send("^MBU\x0F,99\r");
  EXPECT_EQ(h.Send("^PI5,0\r\n"), "812\r\n");
  EXPECT_EQ(h.Send("^PI4,1\r\n"), "10\r\n");
  EXPECT_EQ(h.Send("^SA\r\n"), "+000\r\n");
  EXPECT_EQ(h.Send("^MBX1\r"), "XYZ\r\n") << "identification is not a user setting";
  h.Send("^MBY\x0F,1\r\n");
  EXPECT_EQ(h.Send("^MBX1\r"), "QM20240117A0042\r\n");
  EXPECT_EQ(h.Send("^MBX2\r"), "ABC\r\n") << "only the named item is reset";
}

TEST(PrinterReplies, StatusBytesFollowTheFaults) {
  struct Case {
    const char* faults;
    std::string cp, cu, cps, ee;
  };
  const std::vector<Case> cases = {
      {"", "\0\0"s, "\0"s, "\0"s, "00"},
      {"cover-open", "\x40\0"s, "\x40", "\x01", "11"},
      {"paper-empty", "\x80\0"s, "\x80", "\x02", "07"},
      {"cutter-jam", "\x20\0"s, "\x20", "\x04", "91"},
      {"head-overheat", "\x10\0"s, "\x10", "\x08", "00"},
      {"gap-error", "\x08\0"s, "\x08", "\0"s, "92"},
      {"ribbon-end", "\x04\0"s, "\x04", "\0"s, "00"},
      {"paper-jam", "\0\0"s, "\0"s, "\x04", "94"},
      {"paused", "\0\x20"s, "\0"s, "\0"s, "12"},
      {"printing", "\0\x40"s, "\0"s, "\0"s, "00"},
      {"busy", "\0\0"s, "\0"s, "\0"s, "50"},
      {"cover-open,paper-empty", "\xC0\0"s, "\xC0", "\x03", "11"},
      {"ee=93", "\0\0"s, "\0"s, "\0"s, "93"},
      {"building", "\0\x80"s, "\0"s, "\0"s, "00"},
      {"cps=F0", "\0\0"s, "\0"s, "\xF0", "00"},
      {"cps=a5,cover-open", "\x40\0"s, "\x40", "\xA5", "11"},
  };
  for (const Case& c : cases) {
    Harness h;
    Faults f;
    std::string error;
    ASSERT_TRUE(ParseFaults(c.faults, f, error)) << error;
    h.model().SetFaults(f);
    EXPECT_EQ(Escape(h.Send("^cp\r")), Escape(c.cp)) << c.faults;
    EXPECT_EQ(Escape(h.Send("^cu\r")), Escape(c.cu)) << c.faults;
    EXPECT_EQ(Escape(h.Send("CPS\r")), Escape(c.cps)) << c.faults;
    EXPECT_EQ(h.Send("^ee\r"), c.ee + "\r\n") << c.faults;
  }
}

TEST(PrinterReplies, OverheatShowsInTheHeadTemperature) {
  Harness h;
  Faults f;
  f.headOverheat = true;
  h.model().SetFaults(f);
  EXPECT_EQ(h.Send("^PI4,0"), "68\r\n");
}

TEST(PrinterReplies, StatusShowsALabelBeingBuilt) {
  Harness h;
  h.Send("SW600\r");
  EXPECT_EQ(h.Send("^cp\r"), "\0\0"s) << "a setting alone builds nothing";
  h.Send("T20,20,3,1,1,0,0,N,N,'x'\r");
  EXPECT_EQ(h.Send("^cp\r"), "\0\x80"s);
  h.Send("P1\r");
  EXPECT_EQ(h.Send("^cp\r"), "\0\0"s);
}

TEST(PrinterReplies, QueriesArriveInAnyPiecesAndStillAnswerOnce) {
  Harness h;
  std::string answers;
  for (const char c : std::string("^PI0^PI4,0^MBR2,2^PI5,0\r\n")) answers += h.Send(std::string(1, c));
  EXPECT_EQ(Escape(answers), Escape("LRX-500II31\r\n\0"s + "812\r\n"));
}

}  // namespace
}  // namespace qm::printer

namespace qm::printer {
namespace {

// Random bytes, weighted towards the ones commands are made of, in random pieces: the
// printer must neither fail nor lose its way for good.
TEST(PrinterReplies, RandomStreamsLeaveThePrinterAnswering) {
  const std::string alphabet = "^>ISIRDPTVB12SWLMAXYURcpue',*0123456789\r\n\x0F\\ \x00\xFF"s;
  uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (int round = 0; round < 20; ++round) {
    Harness h;
    std::string stream;
    for (int i = 0; i < 20000; ++i) {
      stream.push_back(next() % 4 == 0 ? static_cast<char>(next()) : alphabet[next() % alphabet.size()]);
    }
    for (size_t at = 0; at < stream.size();) {
      const size_t piece = 1 + next() % 300;
      h.Send(std::string_view(stream).substr(at, piece));
      at += piece;
    }
    // An image header may still be waiting for its bytes; then they come first.
    h.Send(std::string(1024, '\r'));
    EXPECT_EQ(h.Send("\r^PI0"), "LRX-500II") << "round " << round;
  }
}

}  // namespace
}  // namespace qm::printer
