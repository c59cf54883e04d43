// `charset-test` and `codepage-test`: every write on the wire, what the virtual printer
// prints from them, progress, and SIGINT stopping cleanly between two pieces.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "cli/piece_writer.h"
#include "cli_harness.h"
#include "core/strings.h"
#include "loopback_server.h"
#include "printer/virtual_printer.h"
#include "scripted_printer.h"

namespace qm::cli {
namespace {

using test::CliHarness;

std::string Tcp(const qm::test::LoopbackServer& server) {
  return "tcp://127.0.0.1:" + std::to_string(server.port());
}

// Every write of a run over TCP, in order: each is a connection of its own, and Connect's
// own connection carries nothing. Only for a few writes: this printer takes one connection
// at a time.
std::vector<std::string> Writes(const qm::test::LoopbackServer& printer, size_t bytes) {
  EXPECT_TRUE(printer.WaitForTotal(bytes));
  std::vector<std::string> writes;
  for (const std::string& connection : printer.connections()) {
    if (!connection.empty()) writes.push_back(connection);
  }
  return writes;
}

// A run against a printer on a serial line, for prints of many writes: one stream.
struct SerialRun {
  qm::test::ScriptedPrinter printer;
  CliHarness cli;
  SerialRun() {
    cli.env.devices = qm::test::ScriptedPrinterDevices(printer.path());
    cli.env.timing = qm::test::ScriptedPrinterTiming();
  }
  test::CliRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--port", "COM1:"});
    return cli.Run(args);
  }
};

size_t Total(const std::vector<std::string>& pieces) {
  size_t n = 0;
  for (const auto& piece : pieces) n += piece.size();
  return n;
}

std::string Row(std::string prefix, int lead, int firstTrail, int lastTrail) {
  for (int trail = firstTrail; trail <= lastTrail; ++trail) {
    prefix += static_cast<char>(lead);
    prefix += static_cast<char>(trail);
  }
  return prefix + "'\rP1\r";
}

TEST(CharsetTest, InternationalSendsSixteenSetsThenP1) {
  SerialRun serial;
  const auto run = serial.Run({"charset-test", "international", "--table", "PC1250"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "International with PC1250: 17 writes sent\n");
  std::string expected;
  for (int n = 0; n < 16; ++n) {
    expected += "CS" + std::to_string(n) + ",10\rT30," + std::to_string(50 + 70 * n) +
                ",3,1,1,10,0,N,N,'#$@[\\\\]^`{|}~'\r";
  }
  expected += "P1\r";
  EXPECT_EQ(serial.printer.received(expected.size()), expected);
}

TEST(CharsetTest, Under80WithTheVectorFontIsOneLabelThenTheWidthBack) {
  qm::test::LoopbackServer printer;
  CliHarness cli;
  const auto run = cli.Run({"--port", Tcp(printer), "charset-test", "under80", "--font", "vector", "--size2", "50",
                            "--ics", "Germany", "--table", "7", "--x", "40.9"});
  EXPECT_EQ(run.status, 0) << run.err;
  std::string characters;
  for (int c = 0x20; c <= 0x7F; ++c) {
    if (c == '\'' || c == '\\') characters += '\\';
    characters += static_cast<char>(c);
  }
  const std::vector<std::string> expected = {
      "SW780\rCS2,7\rV40,20,U,50,35,+1,N,N,N,0,L,0,'" + characters + "'\rP1\r", "SW830\r"};
  EXPECT_EQ(Writes(printer, Total(expected)), expected);
}

TEST(CodepageTest, RowsOnTheWire) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> rows;
  };
  const std::string bitmapD = "T20,20,d,1,1,0,0,N,N,'";
  const Case cases[] = {
      // Lower-case hexadecimal is the same block.
      {{"KS5601", "--start", "b0", "--end", "B0"}, {Row(bitmapD, 0xB0, 0xA1, 0xFE)}},
      {{"gb2312", "--start", "A1", "--end", "A2", "--vector", "40", "30"},
       {Row("V20,20,G,30,40,1,N,N,N,0,L,0,'", 0xA1, 0xA1, 0xFE), Row("V20,20,G,30,40,1,N,N,N,0,L,0,'", 0xA2, 0xA1, 0xFE)}},
      {{"KS5601", "--start", "C0", "--end", "B0"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[2]);
    qm::test::LoopbackServer printer;
    CliHarness cli;
    std::vector<std::string> args = {"--port", Tcp(printer), "codepage-test"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Writes(printer, Total(c.rows)), c.rows);
  }
}

TEST(CodepageTest, AllJisBlocksRunWithoutAGap) {
  SerialRun serial;
  const auto run = serial.Run({"--json", "codepage-test", "JIS", "--all"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"blocks\":\"81..FC\",\"sent\":124,\"total\":124"), std::string::npos) << run.out;
  std::string expected;
  for (int lead = 0x81; lead <= 0xFC; ++lead) expected += Row("T20,20,j,1,1,0,0,N,N,'", lead, 0x3F, 0xFE);
  EXPECT_EQ(serial.printer.received(expected.size()), expected);
}

// Stands in for a person pressing Ctrl-C: SIGINT the moment the log shows write number `at`.
class InterruptingLog : public std::stringbuf {
 public:
  explicit InterruptingLog(int at) : at_(at) {}

 protected:
  int sync() override {
    const std::string logged = str();
    for (; seen_ < static_cast<int>(test::Count(logged, "write ")); ++seen_) {
      if (seen_ + 1 == at_) ::raise(SIGINT);
    }
    return 0;
  }

 private:
  int at_;
  int seen_ = 0;
};

TEST(LongPrint, SigintStopsBeforeTheNextPieceAndSaysHowManyWent) {
  qm::test::LoopbackServer printer;
  CliHarness cli;
  InterruptingLog log(3);
  std::ostream err(&log);
  std::ostringstream out;
  const int status =
      RunCli({"--port", Tcp(printer), "--log", "codepage-test", "BIG5", "--all"}, out, err, cli.env);
  EXPECT_EQ(status, 130);
  EXPECT_NE(log.str().find("quillmark-cli: interrupted after 3 of 72 rows were sent"), std::string::npos)
      << log.str();
  // The row being written when SIGINT came still went out whole; nothing after it did.
  const size_t row = 22 + 382 + 5;
  EXPECT_EQ(Writes(printer, 3 * row).size(), 3u);
  // Ctrl-C ends the program again once the print is over.
  struct sigaction after {};
  ::sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(after.sa_handler, SIG_DFL);
}

// Ctrl-C during a long Multi Send: the send under way goes out whole, no other starts.
TEST(LongPrint, SigintEndsALongSendBetweenTwoSends) {
  qm::test::LoopbackServer printer;
  CliHarness cli;
  test::TempDir dir;
  const std::string script = "T10,10,0,1,1,1,0,'A'\r\nP1\r\n";
  const std::string file = dir.Write("script.txt", script);
  InterruptingLog log(3);
  std::ostream err(&log);
  std::ostringstream out;
  const int status = RunCli({"--port", Tcp(printer), "--log", "send", "--count", "1000", file}, out, err, cli.env);
  EXPECT_EQ(status, 130);
  EXPECT_NE(log.str().find("quillmark-cli: interrupted after 3 of 1000 sends were sent"), std::string::npos)
      << log.str();
  EXPECT_EQ(Writes(printer, 3 * script.size()), (std::vector<std::string>(3, script)));
  struct sigaction after {};
  ::sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(after.sa_handler, SIG_DFL);
}

TEST(LongPrint, ProgressRedrawsOneLineAfterEveryPiece) {
  qm::test::ScriptedPrinter device;
  qm::test::FakeClock clock;
  qm::test::RecordingPrompter prompter;
  const LinkTiming timing = qm::test::ScriptedPrinterTiming();
  PrinterLink link(clock, prompter, EnglishStrings(), timing, qm::test::ScriptedPrinterDevices(device.path()));
  link.SetPortName("COM1:");
  ASSERT_EQ(link.Open(), 1);
  std::ostringstream progress;
  Session session{link, clock, timing, prompter, &progress};
  const PiecesWritten written = WritePieces(session, {"SW780\r", "P1\r"}, "Over 80H", "writes");
  EXPECT_EQ(written.sent, 2);
  EXPECT_FALSE(written.failed || written.interrupted);
  EXPECT_EQ(progress.str(), "\rOver 80H: 0 of 2 writes sent\rOver 80H: 1 of 2 writes sent"
                            "\rOver 80H: 2 of 2 writes sent\n");
  EXPECT_EQ(device.received(9), "SW780\rP1\r");
}

// The virtual printer prints what the builders sent: the command, and the two-byte row
// byte for byte.
TEST(LongPrint, TheVirtualPrinterPrintsWhatWasSent) {
  printer::PrinterOptions options;
  options.listen = "127.0.0.1:0";
  printer::VirtualPrinter printer(options);
  std::string error;
  ASSERT_TRUE(printer.Start(error)) << error;
  const std::string port = "tcp://127.0.0.1:" + std::to_string(printer.tcpPort());
  CliHarness cli;
  ASSERT_EQ(cli.Run({"--port", port, "line", "barcode", "--test-print", "--data", "QM-42"}).status, 0);
  ASSERT_EQ(cli.Run({"--port", port, "codepage-test", "BIG5", "--start", "A4", "--end", "A4"}).status, 0);
  std::vector<printer::PrintedLabel> labels;
  for (int i = 0; i < 2000 && labels.size() < 2; ++i) {
    labels = printer.labels();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  printer.Stop();
  ASSERT_EQ(labels.size(), 2u);
  ASSERT_EQ(labels[0].commands.size(), 1u);
  EXPECT_EQ(labels[0].commands[0].raw(), "B1100,100,0,2,7,100,0,1,'QM-42'");
  ASSERT_EQ(labels[1].commands.size(), 1u);
  const std::string row = Row("T20,20,n,1,1,0,0,N,N,'", 0xA4, 0x40, 0xFE);
  EXPECT_EQ(labels[1].commands[0].raw(), row.substr(0, row.size() - 4));  // up to its closing quote
}

}  // namespace
}  // namespace qm::cli
