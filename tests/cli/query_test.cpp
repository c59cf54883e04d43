// `query` against printers on every kind of port: the bytes on the wire, the reply shown,
// and replies that are empty, long or cut short.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>

#include "cli_harness.h"
#include "core/strings.h"
#include "fake_usb_tree.h"
#include "loopback_server.h"
#include "pty_pair.h"

namespace qm::cli {
namespace {

using test::CliHarness;
using test::Count;
using test::TempDir;

std::string Tcp(const qm::test::LoopbackServer& server) {
  return "tcp://127.0.0.1:" + std::to_string(server.port());
}

std::string English(int id) { return std::string(EnglishText(id)); }

TEST(QueryTcp, WritesTheUnescapedTextWaitsAndPrintsTheReplyEscaped) {
  qm::test::LoopbackServer server([](size_t, const std::string& piece) {
    return piece == "^PI5,0\r\n" ? std::string("203\r\n") : std::string();
  });
  CliHarness cli;
  const auto run = cli.Run({"--port", Tcp(server), "query", "^PI5,0\\r\\n"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "203\\r\\n\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(cli.clock.sleeps, std::vector<int>{10});
  // Connect's open is one connection, the write's reconnect the other; only the write
  // carries bytes.
  const auto connections = server.connections();
  ASSERT_EQ(connections.size(), 2u);
  EXPECT_EQ(connections[0], "");
  EXPECT_EQ(connections[1], "^PI5,0\r\n");
}

TEST(QueryTcp, ReadsUpToTheCountAcrossTheLinksThirtyTwoBytePieces) {
  struct Case {
    size_t replyBytes;
    std::vector<std::string> args;
    size_t shown;
  };
  const Case cases[] = {
      {10, {"--read", "5"}, 5},     // a short read takes the first bytes only
      {40, {}, 32},                 // the default is one piece
      {40, {"--read", "64"}, 40},   // a second piece, cut short: the reply has ended
      {64, {"--read", "64"}, 64},
      {32, {"--read", "64"}, 32},   // a full piece with nothing behind it
      {100, {"--read", "70"}, 70},
  };
  for (const auto& c : cases) {
    std::string reply;
    for (size_t i = 0; i < c.replyBytes; ++i) reply.push_back(static_cast<char>('A' + i % 26));
    qm::test::LoopbackServer server([&](size_t, const std::string&) { return reply; });
    CliHarness cli;
    std::vector<std::string> args{"--port", Tcp(server), "--json", "query"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back("?");
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 0) << c.replyBytes << run.err;
    EXPECT_NE(run.out.find("\"reply\":\"" + reply.substr(0, c.shown) + "\""), std::string::npos)
        << c.replyBytes << " -> " << run.out;
    EXPECT_NE(run.out.find("\"replyBytes\":" + std::to_string(c.shown) + "}"), std::string::npos)
        << run.out;
  }
}

TEST(QueryTcp, RawBytesGoOutExactlyAndComeBackEscaped) {
  const std::string reply("\x00\x1B\xFF\\ok\r", 7);
  qm::test::LoopbackServer server([&](size_t, const std::string&) { return reply; });
  CliHarness cli;
  const auto run = cli.Run({"--port", Tcp(server), "query", "--wait", "250", "^MBY\\x00\\x0D\\xff\\\\"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "\\x00\\x1B\\xFF\\\\ok\\r\n");
  EXPECT_EQ(cli.clock.sleeps, std::vector<int>{250});
  ASSERT_TRUE(server.WaitForTotal(8));
  EXPECT_EQ(server.connections().back(), std::string("^MBY\x00\x0D\xFF\\", 8));
}

TEST(QueryTcp, SilenceIsAPrinterFailure) {
  qm::test::LoopbackServer server;
  CliHarness cli;
  // --json after the command works as well as before it.
  const auto run = cli.Run({"--port", Tcp(server), "query", "--wait", "0", "^PI0", "--json"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "quillmark-cli: no reply\n");
  EXPECT_EQ(run.out, "{\"command\":\"query\",\"ok\":false,\"exit\":1,\"error\":\"no reply\",\"port\":"
                     "\"ETHERNET 127.0.0.1:" + std::to_string(server.port()) +
                     "\",\"sent\":\"^PI0\",\"reply\":\"\",\"replyBytes\":0}\n");
}

TEST(QueryTcp, LogShowsEveryWriteAndReadEscapedOnStderr) {
  qm::test::LoopbackServer server([](size_t, const std::string&) { return std::string("OK\r\n"); });
  CliHarness cli;
  const auto run = cli.Run({"--log", "--port", Tcp(server), "query", "--read", "64", "^PI0\\r"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "write 5: ^PI0\\r\nread 4: OK\\r\\n\n");
  EXPECT_EQ(run.out, "OK\\r\\n\n");
}

TEST(QueryTcp, NobodyListeningShowsTheLinksMessagesThenFails) {
  CliHarness cli;
  const auto run = cli.Run({"--ip", "127.0.0.1", "--tcp-port",
                            std::to_string(qm::test::ClosedLoopbackPort()), "query", "^PI0"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  const size_t connectFailed = run.err.find(English(sid::kConnectFailed));
  const size_t cannotOpen = run.err.find(English(sid::kCannotOpenPort));
  ASSERT_NE(connectFailed, std::string::npos) << run.err;
  ASSERT_NE(cannotOpen, std::string::npos) << run.err;
  EXPECT_LT(connectFailed, cannotOpen);
  EXPECT_NE(run.err.find("the port did not open: 127.0.0.1:"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Connection refused"), std::string::npos) << run.err;
  EXPECT_TRUE(cli.clock.sleeps.empty());  // no wait for a reply that cannot come
}

// The printer's side of a pseudo-terminal answers when the command line pauses after its
// write, as a printer would while the tool sleeps.
void AnswerDuringThePause(CliHarness& cli, const qm::test::PtyPair& pty, std::string reply,
                          std::string* heard) {
  cli.clock.onSleep = [&pty, reply, heard](int) {
    *heard = pty.Receive(1, 200);
    pty.Send(reply);
  };
}

TEST(QuerySerial, DevicePathOpensAsComOneWithTheLineSettingsGiven) {
  qm::test::PtyPair pty;
  CliHarness cli;
  std::string heard;
  termios line{};
  cli.clock.onSleep = [&](int) {
    heard = pty.Receive(1, 200);
    // The line as the link set it, while the port is held.
    const int fd = ::open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ::tcgetattr(fd, &line);
    ::close(fd);
    pty.Send("ID:LMX-C410\r\n");
  };
  const auto run = cli.Run({"--port", pty.path(), "--baud", "9600", "--parity", "odd",
                            "--data-bits", "7", "--stop-bits", "2", "query", "~!T\\r"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(heard, "~!T\r");
  EXPECT_EQ(run.out, "ID:LMX-C410\\r\\n\n");
  // A pseudo-terminal forces 8 bits and clears the parity enable, but keeps the rest.
  EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B9600));
  EXPECT_EQ(line.c_cflag & PARODD, static_cast<tcflag_t>(PARODD));
  EXPECT_EQ(line.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
}

TEST(QuerySerial, ComNameReachesTheDeviceTheEnvironmentMapsItTo) {
  qm::test::PtyPair pty;
  CliHarness cli;
  cli.env.devices->Override("COM3", pty.path());
  std::string heard;
  AnswerDuringThePause(cli, pty, "1\r\n", &heard);
  const auto run = cli.Run({"--port", "COM3:", "query", "^PI0\\r\\n"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(heard, "^PI0\r\n");
  EXPECT_EQ(run.out, "1\\r\\n\n");
}

TEST(QuerySerial, SilenceIsAPrinterFailure) {
  qm::test::PtyPair pty;
  CliHarness cli;
  const auto run = cli.Run({"--port", pty.path(), "query", "^PI0"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "quillmark-cli: no reply\n");
}

TEST(QuerySerial, AWriteThePrinterNeverTakesFailsWithoutWaitingForAReply) {
  qm::test::PtyPair pty;  // nobody reads the printer's side, so the line's buffer fills
  CliHarness cli;
  const auto run = cli.Run({"--port", pty.path(), "query", std::string(512 * 1024, 'A')});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(English(sid::kPortWriteError)), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("the write failed: write incomplete"), std::string::npos) << run.err;
  // Only the link's retry pauses: no pause for a reply, and no read.
  EXPECT_EQ(cli.clock.sleeps, std::vector<int>(3, 10));
}

TEST(QuerySerial, AMissingDeviceIsAPortThatDidNotOpen) {
  CliHarness cli;
  const auto run = cli.Run({"--port", "/dev/ttyQM-missing", "--json", "query", "^PI0"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(English(sid::kCannotOpenPort)), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("/dev/ttyQM-missing"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("\"port\":\"COM1: (/dev/ttyQM-missing)\""), std::string::npos) << run.out;
}

TEST(QueryParallel, AnLpNamedDeviceOpensAsLptOne) {
  qm::test::PtyPair pty;
  TempDir dir;
  const std::string lp = dir.path() + "/lp0";
  std::filesystem::create_symlink(pty.path(), lp);
  CliHarness cli;
  std::string heard;
  AnswerDuringThePause(cli, pty, "\x06", &heard);
  const auto run = cli.Run({"--port", lp, "--json", "query", "~S\\r"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(heard, "~S\r");
  EXPECT_NE(run.out.find("\"port\":\"LPT1: (" + lp + ")\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"reply\":\"\\\\x06\""), std::string::npos) << run.out;
}

// /dev/usb/lpN selects that node even when discovery would find another printer first.
class QueryUsb : public ::testing::Test {
 protected:
  void SetUp() override {
    // Private trees go to a folder of this test, so we can see that none is left behind.
    oldTmp_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", tmp_.path().c_str(), 1);
    cli_.env.devices->usb = UsbRoots{tree_.sysfs(), tree_.dev()};
  }
  void TearDown() override {
    if (oldTmp_.empty()) {
      ::unsetenv("TMPDIR");
    } else {
      ::setenv("TMPDIR", oldTmp_.c_str(), 1);
    }
    EXPECT_TRUE(std::filesystem::is_empty(tmp_.path())) << "a private USB tree was left behind";
  }
  qm::test::FakeUsbTree tree_;
  TempDir tmp_;
  CliHarness cli_;
  std::string oldTmp_;
};

TEST_F(QueryUsb, ThePathChoosesThePrinter) {
  qm::test::PtyPair& first = tree_.AddNode(0, "2961", "0101");
  qm::test::PtyPair& second = tree_.AddNode(1, "2961", "0102");
  std::string heard;
  AnswerDuringThePause(cli_, second, "READY\r\n", &heard);
  const auto run = cli_.Run({"--port", tree_.NodePath(1), "query", "~!I\\r"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(heard, "~!I\r");
  EXPECT_EQ(run.out, "READY\\r\\n\n");
  EXPECT_EQ(first.Receive(1, 20), "");
}

TEST_F(QueryUsb, ANodeThatIsNoSupportedPrinterDoesNotOpen) {
  struct Case {
    int node;
    const char* mention;
  };
  tree_.AddNode(0, "2961", "0101");
  tree_.AddNode(3, "1a86", "7523");
  const Case cases[] = {
      {3, "vid_1a86&pid_7523 is not a supported printer model"},
      {5, "no USB device entry for lp5"},
  };
  for (const auto& c : cases) {
    const auto run = cli_.Run({"--port", tree_.NodePath(c.node), "query", "~!I\\r"});
    EXPECT_EQ(run.status, 1) << c.node;
    EXPECT_NE(run.err.find(English(sid::kCannotOpenPort)), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.mention), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace qm::cli
