// `send`: the script's exact bytes, N times; files and standard input with their limits;
// a printer that stops taking bytes part way.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "cli_harness.h"
#include "commands/script_file.h"
#include "core/strings.h"
#include "loopback_server.h"
#include "pty_pair.h"

namespace qm::cli {
namespace {

using test::CliHarness;
using test::TempDir;

std::string Tcp(const qm::test::LoopbackServer& server) {
  return "tcp://127.0.0.1:" + std::to_string(server.port());
}

// Line ends of every kind and bytes above 0x7F, as scripts carry them.
std::string Script() {
  std::string s = "SS3\r\nT10,10,0,3,1,1,N,'caf\xE9'\rSOT\n";
  for (int b = 0x80; b <= 0xFF; ++b) s.push_back(static_cast<char>(b));
  return s + "P1,1\r\n";
}

TEST(SendTcp, WritesTheFilesBytesUnchangedCountTimes) {
  qm::test::LoopbackServer server;
  TempDir dir;
  const std::string file = dir.Write("label.txt", Script());
  CliHarness cli;
  const auto run = cli.Run({"--port", Tcp(server), "send", "--count", "3", file});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "sent " + std::to_string(Script().size()) + " bytes 3 times\n");
  ASSERT_TRUE(server.WaitForTotal(3 * Script().size()));
  // Connect's open, then one connection per write: the printer sees each copy whole.
  const auto connections = server.connections();
  ASSERT_EQ(connections.size(), 4u);
  EXPECT_EQ(connections[0], "");
  for (size_t i = 1; i < 4; ++i) EXPECT_EQ(connections[i], Script()) << i;
}

TEST(SendTcp, TheScriptEndsAtItsFirstZeroByte) {
  qm::test::LoopbackServer server;
  TempDir dir;
  const std::string file = dir.Write("zero.txt", std::string("SS3\r\n\0P1,1\r\n", 12));
  CliHarness cli;
  const auto run = cli.Run({"--port", Tcp(server), "--json", "send", file});
  EXPECT_EQ(run.status, 0) << run.err;
  ASSERT_TRUE(server.WaitForTotal(5));
  EXPECT_EQ(server.connections().back(), "SS3\r\n");
  EXPECT_EQ(run.out, "{\"command\":\"send\",\"ok\":true,\"exit\":0,\"port\":\"ETHERNET 127.0.0.1:" +
                         std::to_string(server.port()) + "\",\"file\":\"" + file +
                         "\",\"bytes\":5,\"count\":1,\"completed\":1}\n");
}

TEST(SendTcp, DashReadsTheScriptFromStandardInput) {
  qm::test::LoopbackServer server;
  CliHarness cli;
  cli.in.str(Script() + std::string("\0ignored", 8));
  const auto run = cli.Run({"--port", Tcp(server), "send", "--count", "2", "-"});
  EXPECT_EQ(run.status, 0) << run.err;
  ASSERT_TRUE(server.WaitForTotal(2 * Script().size()));
  const auto connections = server.connections();
  ASSERT_EQ(connections.size(), 3u);
  EXPECT_EQ(connections[1], Script());
  EXPECT_EQ(connections[2], Script());
}

TEST(SendTcp, InputThatCannotBeSentIsAUsageErrorAndTouchesNoPrinter) {
  TempDir dir;
  const std::string missing = dir.path() + "/missing.txt";
  const std::string empty = dir.Write("empty.txt", "");
  const std::string zeroFirst = dir.Write("zero-first.bin", std::string("\0SS3\r\n", 6));
  const std::string unreadable = dir.Write("locked.txt", "SS3\r\n");
  ::chmod(unreadable.c_str(), 0);
  const bool rootReadsAnyway = ::access(unreadable.c_str(), R_OK) == 0;
  struct Case {
    std::string file;
    std::string stdinBytes;
    std::string mention;
  };
  std::vector<Case> cases = {
      {missing, "", missing + ": No such file or directory"},
      {dir.path(), "", dir.path() + ": not a regular file"},
      {empty, "", empty + ": nothing to send"},
      {zeroFirst, "", "nothing to send"},
      {"-", "", "standard input: nothing to send"},
      {"-", std::string(kMaxScriptBytes + 1, 'A'), "standard input: larger than 16 MiB"},
  };
  if (!rootReadsAnyway) cases.push_back({unreadable, "", unreadable + ": Permission denied"});
  for (const auto& c : cases) {
    qm::test::LoopbackServer server;
    CliHarness cli;
    cli.in.str(c.stdinBytes);
    const auto run = cli.Run({"--port", Tcp(server), "send", c.file});
    EXPECT_EQ(run.status, 2) << c.file;
    EXPECT_NE(run.err.find(c.mention), std::string::npos) << c.file << " -> " << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(server.connections().empty()) << c.file;
  }
}

TEST(SendTcp, StandardInputOfExactlyTheLimitIsSent) {
  qm::test::LoopbackServer server;
  CliHarness cli;
  cli.env.timing.tcpChunkBytes = size_t{1} << 20;  // keep the paced chunks few
  // The printer's thread must keep reading 16 MiB; a loaded machine may hold it up.
  cli.env.timing.serialDefaults.writeTotalConstantMs = 2000;
  cli.in.str(std::string(kMaxScriptBytes, 'A'));
  const auto run = cli.Run({"--port", Tcp(server), "--json", "send", "-"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"bytes\":16777216,\"count\":1,\"completed\":1"), std::string::npos) << run.out;
  ASSERT_TRUE(server.WaitForTotal(kMaxScriptBytes, 5000));
  // The pause after every full chunk that more data follows, on the injected clock.
  EXPECT_EQ(cli.clock.sleeps, std::vector<int>(15, 500));
}

TEST(SendTcp, APrinterThatGivesUpPartWayFailsTheSendWithWhatItTook) {
  struct Case {
    size_t bytes, takes;
    bool closes;  // or stops reading
    std::string says;
  };
  const Case cases[] = {
      {102400, 101400, true, "the connection broke after "},
      {1 << 20, 65536, false, "the printer stopped taking data after "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    qm::test::LoopbackServer printer(c.takes, c.closes);
    TempDir dir;
    const std::string file = dir.Write("big.txt", std::string(c.bytes, 'X'));
    CliHarness cli;
    cli.env.timing.serialDefaults.writeTotalConstantMs = 200;
    const auto run = cli.Run({"--port", Tcp(printer), "send", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("the write failed after 0 of 1 sends: " + c.says), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" of " + std::to_string(c.bytes) + " bytes"), std::string::npos) << run.err;
  }
}

TEST(SendDevice, AFileInPlaceOfThePortIsRefusedAndLeftAlone) {
  TempDir dir;
  const std::string script = dir.Write("label.txt", Script());
  for (const char* name : {"lp0", "ttyS0"}) {
    SCOPED_TRACE(name);
    const std::string port = dir.Write(name, "old contents\n");
    CliHarness cli;
    const auto run = cli.Run({"--port", port, "send", script});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(port + ": not a character device"), std::string::npos) << run.err;
    std::ifstream in(port);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old contents\n");
  }
}

TEST(SendTcp, NobodyListeningSendsNothingAndFails) {
  TempDir dir;
  const std::string file = dir.Write("label.txt", Script());
  CliHarness cli;
  const auto run = cli.Run({"--json", "--port",
                            "tcp://127.0.0.1:" + std::to_string(qm::test::ClosedLoopbackPort()),
                            "send", "--count", "2", file});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(std::string(EnglishText(sid::kCannotOpenPort))), std::string::npos);
  EXPECT_NE(run.out.find("\"ok\":false,\"exit\":1,\"error\":\"the port did not open: "), std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("completed"), std::string::npos) << run.out;
}

TEST(SendSerial, APrinterThatStopsTakingBytesStopsTheSendingAndSaysHowFarItGot) {
  // Nobody reads the printer's side: once the line's buffer is full, a write cannot finish.
  qm::test::PtyPair pty;
  CliHarness cli;
  TempDir dir;
  const std::string script(4096, 'X');
  const std::string file = dir.Write("big.txt", script);
  const auto run = cli.Run({"--port", pty.path(), "--json", "send", "--count", "1000", file});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(std::string(EnglishText(sid::kPortWriteError))), std::string::npos) << run.err;
  const size_t at = run.out.find("\"completed\":");
  ASSERT_NE(at, std::string::npos) << run.out;
  const int completed = std::stoi(run.out.substr(at + 12));
  EXPECT_LT(completed, 1000);
  EXPECT_NE(run.err.find("the write failed after " + std::to_string(completed) + " of 1000 sends"),
            std::string::npos)
      << run.err;
  // The link's three retries, each after its pause.
  EXPECT_EQ(cli.clock.sleeps, std::vector<int>(3, 10));
  // Every completed copy did reach the line.
  EXPECT_GE(pty.Receive(static_cast<size_t>(completed) * script.size(), 1000).size(),
            static_cast<size_t>(completed) * script.size());
}

}  // namespace
}  // namespace qm::cli
