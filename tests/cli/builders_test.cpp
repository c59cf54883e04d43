// `line`, `convert` and `find-font`: the builders' exact bytes on stdout with no printer at
// all, refusals before anything is sent, and the test prints on the wire.
#include <gtest/gtest.h>

#include "cli_harness.h"
#include "loopback_server.h"

namespace qm::cli {
namespace {

using test::CliHarness;

// A port that fails the moment anything opens it: a command that needs no printer never does.
const std::vector<std::string> kNoPrinter = {"--port", "/dev/ttyQM-no-such-port"};

std::string Tcp(const qm::test::LoopbackServer& server) {
  return "tcp://127.0.0.1:" + std::to_string(server.port());
}

std::vector<std::string> With(std::vector<std::string> front, const std::vector<std::string>& back) {
  front.insert(front.end(), back.begin(), back.end());
  return front;
}

TEST(Line, PrintsEachBuildersLinesExactlyWithoutOpeningAPort) {
  const std::string twoByte = "\xB0\xA1\xB0\xA2";
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {{"text"}, "T20,20,3,1,1,0,0,N,N,'VORMAND Label Printer'\r\n"},
      // Typed text goes out in Latin-1, as the dialog sends it: é is E9, not C3 A9.
      {{"text", "--x", "12.9", "--rotation", "270", "--data", "caf\xC3\xA9"}, "T12,20,3,1,1,0,3,N,N,'caf\xE9'\r\n"},
      // Bytes for a two-byte font come through the escapes, sent as given.
      {{"text", "--font", "d", "--data-bytes", "\\xB0\\xA1\\xb0\\xA2"}, "T20,20,d,1,1,0,0,N,N,'" + twoByte + "'\r\n"},
      {{"vector", "--data-bytes", "caf\\xE9\\\\"}, "V20,20,U,35,35,1,N,N,N,0,L,0,'caf\xE9\\'\r\n"},
      {{"barcode", "--data", "\xC3\x80\xC3\xBF"}, "B1100,100,0,2,7,100,0,1,'\xC0\xFF'\r\n"},
      {{"vector"}, "V20,20,U,35,35,1,N,N,N,0,L,0,'VORMAND Label Printer'\r\n"},
      {{"vector", "--font-space", "-5", "--bold", "Bold", "--justification", "center", "--text-direction",
        "Right to Left"},
       "V20,20,U,35,35,-5,B,N,N,0,C,1,'VORMAND Label Printer'\r\n"},
      {{"barcode"}, "B1100,100,0,2,7,100,0,1,'123456789'\r\n"},
      {{"barcode", "--q-zone", "12"}, "B1100,100,0,2,7,100,0,1,12,'123456789'\r\n"},
      {{"barcode", "--barcode", "UCC/EAN128", "--rotation", "90"}, "B1100,100,9,2,7,100,1,1,'123456789'\r\n"},
      {{"barcode2d"},
       "B2100,100,M,0,'999,840,06810,7317,THIS IS A TEST OF MODE 0 STRUCTURED CARRIER MESSAGE ENCODING. THIS "
       "IS AN 84 CHAR MSG'\r\n"},
      {{"barcode2d", "--mode", "4"},
       "B2100,100,M,4,'THIS IS A 93 CHARACTER CODE SET A MESSAGE THAT FILLS A MODE 4,UNAPPENDED,MAXICODE "
       "SYMBOL...'\r\n"},
      {{"barcode2d", "--type", "PDF417"},
       "B2100,100,P,30,5,0,0,1,1,3,10,0,'VORMAND Label Printer, This is Test Printing.'\r\n"},
      {{"barcode2d", "--type", "qr-code", "--model", "2", "--ecc", "H"},
       "B2100,100,Q,2,H,4,0,'ABCDEFGHIJKLMN1234567890'\r\n"},
      {{"block"}, "BD100,100,800,120,O\r\n"},
      {{"block", "--type", "S"}, "BD100,100,800,300,S,10\r\n"},
      {{"label-setting"}, "SW812\r\nSL1219,24,G\r\nSM40,40\r\n"},
      {{"label-setting", "--unit", "mm", "--width", "100", "--length", "50", "--media", "Continuous",
        "--no-margin"},
       "SW800\r\nSL400,0,C\r\n"},
      {{"label-setting", "--no-width", "--no-length", "--no-margin"}, ""},
      {{"print-setting"}, "SS3\r\nSD20\r\nSOT\r\n"},
      {{"print-setting", "--speed", "2.5", "--density", "0", "--direction", "Bottom"}, "SS0\r\nSD0\r\nSOB\r\n"},
      {{"print-setting", "--no-speed", "--no-direction"}, "SD20\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
    CliHarness cli;
    const auto run = cli.Run(With(With(kNoPrinter, {"line"}), c.args));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, "");
  }
}

TEST(Line, JsonListsTheLinesWithoutTheirEnds) {
  CliHarness cli;
  const auto run = cli.Run(With(kNoPrinter, {"--json", "line", "print-setting", "--no-speed"}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "{\"command\":\"line print-setting\",\"ok\":true,\"exit\":0,\"lines\":[\"SD20\",\"SOT\"]}\n");
}

// Every value a field cannot take is refused with exit 2, before the port is even opened.
TEST(BuilderRefusals, OutOfRangeOrDisabledFieldsSendNothing) {
  struct Case {
    std::vector<std::string> args;
    std::string says;
  };
  const Case cases[] = {
      {{"line", "text", "--test-print", "--h-multi", "5"}, "--h-multi: 5 is out of range 1..4"},
      {{"line", "text", "--test-print", "--x", "999.5"}, "--x: 999.5 is out of range 0..999"},
      {{"line", "text", "--test-print", "--font", "g"}, "--font: \"g\" is none of"},
      {{"line", "vector", "--test-print", "--y", "nan"}, "--y: \"nan\" is not a number"},
      {{"line", "vector", "--test-print", "--font-space", "-101"}, "--font-space: -101 is out of range -100..100"},
      {{"line", "barcode", "--test-print", "--q-zone", "21"}, "--q-zone: 21 is out of range 0..20"},
      {{"line", "barcode2d", "--test-print", "--ecc", "H"}, "--ecc: for QR Code only, not Maxicode"},
      {{"line", "barcode2d", "--test-print", "--type", "QR Code", "--bar-size", "5"},
       "--bar-size: 5 is out of range 1..4"},
      {{"line", "block", "--test-print", "--optional", "5"}, "--optional: for types S and B only, not O"},
      {{"line", "print-setting", "--test-print", "--density", "21"}, "--density: 21 is out of range 0..20"},
      {{"line", "print-setting", "--test-print", "--speed", "7"}, "--speed: \"7\" is none of"},
      {{"charset-test", "under80", "--font", "vector", "--size1", "101"}, "--size1: 101 is out of range 1..100"},
      {{"charset-test", "international", "--ics", "2"}, "--ics: international prints all sixteen sets"},
      {{"codepage-test", "KS5601", "--start", "B00"}, "Start Block value is wrong!"},
      {{"codepage-test", "KS5601", "--start", "B"}, "Start Block value is wrong!"},
      {{"codepage-test", "KS5601", "--start", "B0", "--end", "XZ"}, "End Block value is wrong!"},
      {{"codepage-test", "GB2312", "--bitmap", "d"}, "--bitmap: \"d\" is none of m"},
      {{"find-font", "30", "50", "--print"}, "--print: no font lies within 100 dots of 240 x 400 dots"},
      // A character Latin-1 has no byte for is named, not sent as "?".
      {{"line", "text", "--test-print", "--data", "\xE3\x81\x82"},
       "--data: \"\xE3\x81\x82\" (U+3042) has no byte in the printer's code page (Latin-1)"},
      {{"line", "barcode2d", "--test-print", "--data", "a\xE2\x82\xAC\xF0\x9F\x98\x80\xE2\x82\xAC"},
       "--data: \"\xE2\x82\xAC\" (U+20AC), \"\xF0\x9F\x98\x80\" (U+1F600) have no byte"},
      {{"line", "vector", "--test-print", "--data", "caf\xE9"}, "--data: not UTF-8 text"},
      {{"line", "vector", "--test-print", "--data", "\xC0\xA9"}, "--data: not UTF-8 text"},
      {{"line", "text", "--test-print", "--data-bytes", "\\q"}, "--data-bytes: "},
      {{"line", "text", "--test-print", "--data", "a", "--data-bytes", "b"}, "--data excludes --data-bytes"},
      {{"pcx", "recall", "\xE5\x86\x99"}, "NAME: \"\xE5\x86\x99\" (U+5199) has no byte"},
      {{"pcx", "delete", "\xE5\x86\x99"}, "NAME: \"\xE5\x86\x99\" (U+5199) has no byte"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    qm::test::LoopbackServer printer;
    CliHarness cli;
    const auto run = cli.Run(With({"--port", Tcp(printer)}, c.args));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(printer.connections().empty());
  }
}

TEST(TestPrint, SendsTheBuildersOneLabelInOneWrite) {
  struct Case {
    std::vector<std::string> args;
    std::string wire;
  };
  const Case cases[] = {
      {{"line", "text", "--test-print"}, "T20,20,3,1,1,0,0,N,N,'VORMAND Label Printer'\rP1\r"},
      {{"line", "barcode", "--test-print", "--hri", "off"}, "B1100,100,0,2,7,100,0,0,'123456789'\rP1\r"},
      {{"line", "block", "--test-print", "--type", "B", "--end-x", "640.7"}, "BD100,100,640,120,B,20\rP1\r"},
      {{"line", "print-setting", "--test-print", "--no-speed", "--no-direction", "--density", "7"},
       "T100,100,3,1,1,0,0,N,N,'Printer Setting Test'\r"
       "T100,150,3,1,1,0,0,N,N,'============================='\r"
       "T100,250,3,1,1,0,0,N,N,'Density(0~20)      : 7'\rSD7\r"
       "T100,350,3,1,1,0,0,N,N,'============================='\r"
       "BD150,500,495,750,B,15\rBD200,550,300,700,S,30\rBD430,550,330,700,S,30\r\rP1\r"},
      {{"find-font", "2", "3", "--print"},
       "SL600,0,C\rT50,50,0,2,2,0,0,N,N,'TEST148'\rT50,350,3,1,1,0,0,N,N,'TEST148'\rP1\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1]);
    qm::test::LoopbackServer printer;
    CliHarness cli;
    const auto run = cli.Run(With({"--port", Tcp(printer)}, c.args));
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(printer.WaitForTotal(c.wire.size()));
    // Connect's open, then the one write.
    EXPECT_EQ(printer.connections(), (std::vector<std::string>{"", c.wire}));
  }
}

// The same typed text gives the dialog's bytes on the wire.
TEST(TestPrint, TypedTextGoesOutInLatin1AndEscapesAsGiven) {
  struct Case {
    std::vector<std::string> args;
    std::string wire;
  };
  const Case cases[] = {
      {{"line", "text", "--test-print", "--data", "caf\xC3\xA9"}, "T20,20,3,1,1,0,0,N,N,'caf\xE9'\rP1\r"},
      {{"line", "text", "--test-print", "--data-bytes", "\\xA4\\xA2"}, "T20,20,3,1,1,0,0,N,N,'\xA4\xA2'\rP1\r"},
      {{"pcx", "recall", "caf\xC3\xA9", "--x", "1"}, "IR1,0,'caf\xE9'\rP1\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wire);
    qm::test::LoopbackServer printer;
    CliHarness cli;
    const auto run = cli.Run(With({"--port", Tcp(printer)}, c.args));
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(printer.WaitForTotal(c.wire.size()));
    EXPECT_EQ(printer.connections(), (std::vector<std::string>{"", c.wire}));
  }
}

TEST(TestPrint, APrinterThatIsNotThereFailsWithStatusOne) {
  CliHarness cli;
  const auto run = cli.Run(
      {"--port", "tcp://127.0.0.1:" + std::to_string(qm::test::ClosedLoopbackPort()), "line", "text", "--test-print"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
}

TEST(Convert, TheDialogsArithmeticWithWholeDotsTruncated) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {{"1", "inch", "dots"}, "1 inch = 203.2 dots (203 whole dots)\n"},
      {{"4", "inch", "dots"}, "4 inch = 812.8 dots (812 whole dots)\n"},
      {{"812.8", "dots", "inch"}, "812.8 dots = 4 inch\n"},
      {{"12.99", "mm", "dots"}, "12.99 mm = 103.92 dots (103 whole dots)\n"},
      {{"0.6", "MM", "dots"}, "0.6 mm = 4.8 dots (4 whole dots)\n"},
      {{"10", "dots", "mm"}, "10 dots = 1.25 mm\n"},
      {{"100", "mm", "inch"}, "100 mm = 3.937008 inch\n"},
  };
  for (const Case& c : cases) {
    CliHarness cli;
    const auto run = cli.Run(With(With(kNoPrinter, {"convert"}), c.args));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--", "-1", "inch", "mm"},
                                              {"1,5", "inch", "mm"}, {"1", "inch", "cm"}}) {
    CliHarness cli;
    EXPECT_EQ(cli.Run(With({"convert"}, bad)).status, 2) << bad[1];
  }
}

TEST(FindFont, BothAnswersOrNoneWithin100Dots) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {{"3", "5"},
       "Target: 24 x 40 dots\nMost Similar: Font 0, X Multi 3, Y Multi 3 (24 x 39 dots)\n"
       "Similar & Round: Font 5, X Multi 1, Y Multi 1 (28 x 44 dots)\n"},
      {{"30", "50"},
       "Target: 240 x 400 dots\nMost Similar: none within 100 dots\nSimilar & Round: none within 100 dots\n"},
  };
  for (const Case& c : cases) {
    CliHarness cli;
    const auto run = cli.Run(With(With(kNoPrinter, {"find-font"}), c.args));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

}  // namespace
}  // namespace qm::cli
