// The RFID encoder and its tag: data both ways, locks, passwords, kill, counters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer/escape.h"
#include "printer_harness.h"

namespace qm::printer {
namespace {

using namespace std::string_literals;
using test::Harness;

struct TagCase {
  const char* name;
  std::string commands;
  std::string read;
  std::string expected;
};

TEST(PrinterRfid, WrittenDataReadsBackInTheFormAsked) {
  const std::vector<TagCase> cases = {
      {"hex both ways", ">RFW,H,4,4,'DEADBEEF'\r", ">RFR,H,4,4,S\r", "DEADBEEF"},
      {"lower-case hex is taken", ">RFW,H,4,2,'beef'\r", ">RFR,H,4,2,S\r", "BEEF"},
      {"hex written, characters read", ">RFW,H,4,3,'414243'\r", ">RFR,A,4,3,S\r", "ABC"},
      {"characters written, hex read", ">RFW,A,0,3,'a,b'\r", ">RFR,H,0,3,S\r", "612C62"},
      {"raw bytes come back as they are", ">RFW,H,10,2,'00FF'\r", ">RFR,A,10,2,S\r", "\0\xFF"s},
      {"metal form", ">RFw,H,16,2,'1234'\r", ">RFr,H,16,2,S\r", "1234"},
      {"user memory in hex", ">RFW,U,4,2,'1A2B'\r", ">RFR,U,4,2,S\r", "1A2B"},
      {"user memory in characters", ">RFw,U,8,3,'xyz'\r", ">RFr,u,8,3,S\r", "78797A"},
      {"user and EPC memory are apart", ">RFW,U,4,2,'1A2B'\r", ">RFR,H,4,2,S\r", "3014"},
      {"short data writes what it has", ">RFW,H,4,12,'AABB'\r", ">RFR,H,4,3,S\r", "AABB25"},
      {"refused: not hexadecimal", ">RFW,H,4,2,'XY12'\r", ">RFR,H,4,2,S\r", "3014"},
      {"refused: more data than bytes", ">RFW,A,4,2,'abc'\r", ">RFR,H,4,2,S\r", "3014"},
      {"refused: unknown data type", ">RFW,Q,4,2,'1234'\r", ">RFR,H,4,2,S\r", "3014"},
      {"last bytes of the bank", ">RFW,H,126,2,'CAFE'\r", ">RFR,H,64,64,S\r",
       std::string(124, '0') + "CAFE"},
      {"read beyond the bank answers nothing", "", ">RFR,H,100,64,S\r", ""},
      {"malformed read answers nothing", "", ">RFR,H,4,12\r", ""},
  };
  for (const TagCase& c : cases) {
    Harness h;
    EXPECT_EQ(h.Send(c.commands), "") << c.name;
    EXPECT_EQ(Escape(h.Send(c.read)), Escape(c.expected)) << c.name;
  }
}

TEST(PrinterRfid, RangesPastTheTagAreRefusedAndCountNothing) {
  const std::vector<std::string> refused = {
      ">RFW,H,2147483647,4,'DEADBEEF'\r",  // the start plus the count overflows an int
      ">RFw,H,2147483647,4,'DEADBEEF'\r",
      ">RFW,U,2147483647,64,'AA'\r",
      ">RFW,H,125,4,'DEADBEEF'\r",  // one byte past the end
      ">RFW,H,99999999999999999999,4,'DEADBEEF'\r",
      ">RFW,H,4,4294967297,'DEADBEEF'\r",
  };
  for (const std::string& write : refused) {
    Harness h;
    h.Send(write + "P1\r");
    EXPECT_EQ(h.Send(">RFI,6\r>RFI,7\r"), "0\r\n0\r\n") << Escape(write);
    EXPECT_EQ(h.Send(">RFR,H,124,4,S\r>RFR,U,124,4,S\r"), "0000000000000000") << Escape(write);
  }
  Harness h;
  for (const char* read : {">RFR,H,2147483647,4,S\r", ">RFr,u,2147483647,64,S\r", ">RFR,A,125,4,S\r",
                           ">RFR,H,2147483647,4,P\r"}) {
    EXPECT_EQ(h.Send(read), "") << read;
  }
  EXPECT_TRUE(h.printed.empty());
  EXPECT_EQ(h.Send(">RFW,H,124,4,'DEADBEEF'\r>RFR,H,124,4,S\r"), "DEADBEEF") << "the last four bytes fit";
}

TEST(PrinterRfid, LocksGuardTheMemoryTheyName) {
  struct Case {
    const char* name;
    std::string protect;
    bool epcWritable;
    bool userWritable;
  };
  const std::vector<Case> cases = {
      {"plain lock", ">RFLK\r", false, false},
      {"plain lock, then unlock", ">RFLK\r>RFUL\r", true, true},
      {"payload: EPC locked", ">RFLP,L,'0C,02,00'\r", false, true},
      {"payload: user locked", ">RFLP,L,'00,C0,20'\r", true, false},
      {"payload: EPC locked, then unlocked by payload", ">RFLP,L,'0C,02,00'\r>RFLP,U,'0C,00,00'\r", true, true},
      {"payload: EPC locked for good", ">RFLP,L,'0C,03,00'\r>RFLP,U,'0C,00,00'\r>RFUL\r", false, true},
      {"mask without action unlocks", ">RFLK\r>RFLP,L,'0C,00,00'\r", true, false},
      {"malformed payload changes nothing", ">RFLK\r>RFLP,L,'0C,00'\r", false, false},
  };
  for (const Case& c : cases) {
    Harness h;
    h.Send(c.protect);
    h.Send(">RFW,H,4,1,'EE'\r>RFW,U,4,1,'EE'\r");
    EXPECT_EQ(h.Send(">RFR,H,4,1,S\r"), c.epcWritable ? "EE" : "30") << c.name;
    EXPECT_EQ(h.Send(">RFR,U,4,1,S\r"), c.userWritable ? "EE" : "00") << c.name;
  }
}

TEST(PrinterRfid, PasswordsNeedTheEncoderKeyAndHexadecimalDigits) {
  struct Case {
    std::string command;
    const char* access;
    const char* kill;
  };
  const std::vector<Case> cases = {
      {">RFZ,'5E2A7C13,5E2A7C13,11223344,a1b2c3d4'\r\n", "11223344", "A1B2C3D4"},
      {">RFZ,'00000000,5E2A7C13,11223344,55667788'\r", "00000000", "00000000"},
      {">RFZ,'5E2A7C13,5E2A7C13,GHIJKLMN,55667788'\r", "00000000", "00000000"},
      {">RFZ,'5E2A7C13,5E2A7C13,1122334,55667788'\r", "00000000", "00000000"},
      {">RFZ,5E2A7C13,5E2A7C13,11223344,55667788\r", "00000000", "00000000"},
      {">RFZ,\r", "00000000", "00000000"},
  };
  for (const Case& c : cases) {
    Harness h;
    h.Send(c.command);
    EXPECT_EQ(h.model().volatileState().tag.accessPassword(), c.access) << Escape(c.command);
    EXPECT_EQ(h.model().volatileState().tag.killPassword(), c.kill) << Escape(c.command);
  }
}

TEST(PrinterRfid, KillNeedsAKillPasswordAndAPrintBringsAFreshTag) {
  Harness h;
  h.Send(">RFKL\r");
  EXPECT_EQ(h.Send(">RFR,H,4,2,S\r"), "3014") << "a zero kill password kills nothing";
  h.Send(">RFW,H,4,2,'ABCD'\r>RFZ,'5E2A7C13,5E2A7C13,11223344,55667788'\r>RFKL\r");
  EXPECT_EQ(h.Send(">RFR,H,4,2,S\r"), "") << "a dead tag answers nothing";
  h.Send(">RFW,H,4,2,'1111'\rP1\r");
  EXPECT_EQ(h.Send(">RFI,7\r"), "1\r\n") << "the write to the dead tag voids its label";
  EXPECT_EQ(h.Send(">RFR,H,4,2,S\r"), "3014") << "the next label carries a blank tag";
}

TEST(PrinterRfid, CountersCountLabelsWithTagWrites) {
  Harness h;
  h.Send(">RFW,H,4,2,'0102'\rP1\r");             // written, then printed: valid
  h.Send("T20,20,3,1,1,0,0,N,N,'no tag'\rP1\r");  // no tag write: not counted
  h.Send(">RFLK\r>RFW,H,4,2,'0102'\rP1\r");      // refused by the lock: void
  h.Send(">RFW,H,4,2,'0102'\r");                 // not printed yet: not counted
  EXPECT_EQ(h.Send(">RFI,6\r"), "1\r\n");
  EXPECT_EQ(h.Send(">RFI,7\r"), "1\r\n");
  h.Send(">RFUL\r>RFw,H,4,2,'0102'\r");          // a metal tag counts at once
  EXPECT_EQ(h.Send(">RFI,6\r"), "2\r\n");
  h.Send(">RFVR\r");
  EXPECT_EQ(h.Send(">RFI,6\r"), "0\r\n");
  EXPECT_EQ(h.Send(">RFI,7\r"), "0\r\n");
}

TEST(PrinterRfid, PrintedReadPutsTheTagDataOnALabel) {
  Harness h;
  h.Send(">RFW,H,4,2,'0102'\r");
  EXPECT_EQ(h.Send(">RFR,H,4,2,P\r"), "") << "printed, not answered";
  ASSERT_EQ(h.printed.size(), 1u);
  EXPECT_EQ(h.printed[0].kind, LabelKind::kTagData);
  ASSERT_EQ(h.printed[0].commands.size(), 1u);
  EXPECT_EQ(h.printed[0].commands[0].data(), "0102");
}

TEST(PrinterRfid, CalibrationIsRemembered) {
  Harness h;
  EXPECT_FALSE(h.stored().rfid.calibrated);
  h.Send(">RFCP\r");
  EXPECT_TRUE(h.stored().rfid.calibrated);
  EXPECT_EQ(h.storedChanges, 1);
}

}  // namespace
}  // namespace qm::printer
