// The Ethernet link against a real loopback server: reconnects, pacing, reply limits.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/strings.h"
#include "fake_clock.h"
#include "link/printer_link.h"
#include "loopback_server.h"

namespace qm {
namespace {

using test::FakeClock;
using test::LoopbackServer;
using test::RecordingPrompter;

LinkTiming ShortTcpWaits() {
  LinkTiming t;
  t.tcpReadWaitMs = 50;
  t.tcpConnectWaitMs = 500;
  return t;
}

struct EthernetLink {
  explicit EthernetLink(uint16_t port, LinkTiming timing = ShortTcpWaits())
      : link(clock, prompter, EnglishStrings(), timing, DeviceMap{}) {
    link.SetPortName("ETHERNET");
    link.SetEthernetSettings("127.0.0.1", port);
    // As Connect does: the open chooses the kind, and later writes reconnect.
    opened = link.Open();
  }
  FakeClock clock;
  RecordingPrompter prompter;
  PrinterLink link;
  int opened = 0;
};

TEST(EthernetLink, ChunksLargeWritesAndPausesOnlyBetweenChunks) {
  struct Case {
    size_t bytes;
    std::vector<int> pauses;
  };
  const Case cases[] = {
      {1, {}}, {4095, {}}, {4096, {}}, {4097, {500}}, {8192, {500}}, {8193, {500, 500}}, {12289, {500, 500, 500}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    LoopbackServer server;
    EthernetLink e(server.port());
    std::string data(c.bytes, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    // At every pause exactly the full chunks so far have gone out, no more.
    std::vector<size_t> sentAtPause;
    e.clock.onSleep = [&](int) {
      const size_t expected = 4096 * (sentAtPause.size() + 1);
      server.WaitForTotal(expected);
      sentAtPause.push_back(server.totalReceived());
    };
    EXPECT_EQ(e.link.Write(data), static_cast<int>(c.bytes));
    ASSERT_TRUE(server.WaitForTotal(c.bytes));
    EXPECT_EQ(e.clock.sleeps, c.pauses);
    for (size_t i = 0; i < sentAtPause.size(); ++i) EXPECT_EQ(sentAtPause[i], 4096 * (i + 1));
    const auto conns = server.connections();
    ASSERT_EQ(conns.size(), 2u) << "the Connect, then the write's own connection";
    EXPECT_EQ(conns[0], "");
    EXPECT_EQ(conns[1], data);
  }
}

TEST(EthernetLink, EveryWriteMakesANewConnectionAndTheReplyComesFromTheLast) {
  LoopbackServer server([](size_t conn, const std::string&) { return "reply" + std::to_string(conn); });
  EthernetLink e(server.port());
  EXPECT_EQ(e.link.Write("^PI0"), 4);
  EXPECT_EQ(e.link.Write("^PI1"), 4);
  char buf[32] = {};
  const int n = e.link.Read(buf, 32);
  EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "reply2");
  EXPECT_EQ(e.link.Write(std::string("^MBR1,1")), 7);
  server.WaitForTotal(15);
  const auto conns = server.connections();
  ASSERT_EQ(conns.size(), 4u);
  EXPECT_EQ(conns[0], "") << "Connect's own connection carries nothing";
  EXPECT_EQ(conns[1], "^PI0");
  EXPECT_EQ(conns[2], "^PI1");
  EXPECT_EQ(conns[3], "^MBR1,1");
  EXPECT_EQ(e.link.GetInterfaceKind(), kEthernet);
  EXPECT_TRUE(e.prompter.messages.empty());
}

TEST(EthernetLink, ReadReturnsAtMost32BytesAndTheRestOnTheNextRead) {
  const std::string reply(64, 'x');
  LoopbackServer server([&](size_t, const std::string&) { return reply.substr(0, 40) + std::string(24, 'y'); });
  EthernetLink e(server.port());
  e.link.Write("^MXd,100,G\r");
  char buf[128];
  std::fill(std::begin(buf), std::end(buf), '#');
  EXPECT_EQ(e.link.Read(buf, 64), 32);
  EXPECT_EQ(buf[32], '#') << "nothing beyond the 32 bytes may be touched";
  EXPECT_EQ(e.link.Read(buf, 64), 32);
  EXPECT_EQ(std::string(buf, 32), std::string(8, 'x') + std::string(24, 'y'));
  EXPECT_EQ(e.link.Read(buf, 64), 0) << "no more data: silence";
}

TEST(EthernetLink, TraceHearsWritesAndReadsAsTheyHappen) {
  LoopbackServer server([](size_t, const std::string&) { return std::string("31\r\n"); });
  EthernetLink e(server.port());
  std::vector<std::string> seen;
  e.link.SetTrace([&](PrinterLink::Direction d, std::string_view bytes) {
    seen.push_back((d == PrinterLink::Direction::kWrite ? "W:" : "R:") + std::string(bytes));
  });
  e.link.Write("^PI4,0");
  char buf[32];
  e.link.Read(buf, 32);
  e.link.Read(buf, 32);
  EXPECT_EQ(seen, (std::vector<std::string>{"W:^PI4,0", "R:31\r\n", "R:"}));
}

TEST(EthernetLink, ReadNeverExceedsCount) {
  LoopbackServer server([](size_t, const std::string&) { return std::string("\x35\x36\x37", 3); });
  EthernetLink e(server.port());
  e.link.Write("^MBR2,2");
  char buf[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(e.link.Read(buf, 1), 1);
  EXPECT_EQ(buf[0], '\x35');
  EXPECT_EQ(buf[1], '#');
}

TEST(EthernetLink, ReplySplitInTransitIsOneReply) {
  LoopbackServer server([](size_t, const std::string&) { return std::string("LRX-500II\r\n"); });
  server.SplitReplies(3, 5);
  LinkTiming timing = ShortTcpWaits();
  timing.tcpSplitGapMs = 200;
  EthernetLink e(server.port(), timing);
  e.link.Write("^PI0");
  char buf[32];
  const int n = e.link.Read(buf, 32);
  EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "LRX-500II\r\n");
}

TEST(EthernetLink, ReplySplitAfterTheGapIsLeftForTheNextRead) {
  LoopbackServer server([](size_t, const std::string&) { return std::string("ABCDEF"); });
  server.SplitReplies(2, 150);
  LinkTiming timing = ShortTcpWaits();
  timing.tcpSplitGapMs = 2;
  timing.tcpLongGapMs = 2;
  timing.tcpReadWaitMs = 1000;
  EthernetLink e(server.port(), timing);
  e.link.Write("q");
  char buf[32];
  ASSERT_EQ(e.link.Read(buf, 32), 2);
  ASSERT_EQ(e.link.Read(buf, 32), 4);
  EXPECT_EQ(std::string(buf, 4), "CDEF");
}

TEST(EthernetSend, CountsOnlyWhatThePrinterTook) {
  struct Case {
    const char* name;
    size_t bytes, takes;
    bool closes;     // or stops reading
    int sendBuffer;  // the link socket's; 0 the system's
    std::string says;
  };
  const std::string broke = "the connection broke after ", stopped = "the printer stopped taking data after ";
  const Case cases[] = {
      {"reads 101,400 of 102,400 and closes", 102400, 101400, true, 0, broke},
      {"closes after 64 KiB", 1 << 20, 65536, true, 0, broke},
      {"stops reading after 64 KiB", 1 << 20, 65536, false, 0, stopped},
      {"stops reading at once, the send itself blocks", 1 << 20, 0, false, 4096, stopped},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackServer printer(c.takes, c.closes);
    LinkTiming timing = ShortTcpWaits();
    timing.serialDefaults.writeTotalConstantMs = 200;
    timing.tcpSendBufferBytes = c.sendBuffer;
    EthernetLink e(printer.port(), timing);
    const int n = e.link.Write(std::string(c.bytes, 'Q'));
    EXPECT_LT(n, static_cast<int>(c.bytes)) << "a send the printer gave up on is no success";
    // What the printer acknowledged: it may miss the last segment read but not yet
    // acknowledged, and never goes past what the printer's small window could hold.
    EXPECT_GT(n, static_cast<int>(c.takes) - 4096);
    EXPECT_LT(n, static_cast<int>(c.takes) + 4096);
    const std::string counted = c.says + std::to_string(n) + " of " + std::to_string(c.bytes) + " bytes";
    EXPECT_EQ(e.link.lastError().substr(0, counted.size()), counted);
    if (c.sendBuffer > 0) {
      EXPECT_LT(e.clock.sleeps.size(), 4u) << "seen while sending, not after";
    }
  }
}

TEST(EthernetSend, TheRaisedWriteTimeoutHoldsForEthernetToo) {
  LoopbackServer printer(0, false);
  LinkTiming timing = ShortTcpWaits();
  timing.serialDefaults.writeTotalConstantMs = 20;
  EthernetLink e(printer.port(), timing);
  SerialTimeouts raised = e.link.timeouts();
  raised.writeTotalConstantMs = 400;
  ASSERT_EQ(e.link.SetTimeouts(raised), 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_LT(e.link.Write(std::string(1 << 20, 'Q')), 1 << 20);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400))
      << "a printer may pause for the whole raised time-out";
  EXPECT_EQ(e.link.timeouts(), raised) << "reconnecting for the write keeps the record";
}

TEST(EthernetLink, SilenceAndClosedConnectionReadAsZero) {
  LoopbackServer silent;
  EthernetLink e(silent.port());
  e.link.Write("^PI0");
  char buf[32] = {'#'};
  EXPECT_EQ(e.link.Read(buf, 32), 0);
  EXPECT_EQ(buf[0], '#') << "a read that gets nothing leaves the buffer alone";
  EXPECT_TRUE(e.prompter.messages.empty());

  EthernetLink never(silent.port());
  never.link.Close();
  EXPECT_EQ(never.link.Read(buf, 32), 0) << "no connection to read from";
}

TEST(EthernetLink, RefusedConnectShowsConnectMessageAndSendsNothing) {
  EthernetLink e(test::ClosedLoopbackPort());
  EXPECT_EQ(e.opened, 0);
  EXPECT_EQ(e.prompter.ids(), std::vector<int>{sid::kConnectFailed});
  EXPECT_EQ(e.prompter.messages[0].icon, Icon::kExclamation);
  EXPECT_EQ(e.prompter.messages[0].text,
            "Error : Failed to connect. Please, \ncheck IP port configuration in printer control pannel");
  EXPECT_EQ(e.link.Write("^PI0"), 0);
  EXPECT_EQ(e.prompter.ids(), (std::vector<int>{sid::kConnectFailed, sid::kConnectFailed}));
  EXPECT_EQ(e.link.GetInterfaceKind(), kEthernet);
}

TEST(EthernetLink, CloseAndHoldOpenDropTheConnection) {
  LoopbackServer server([](size_t, const std::string&) { return std::string("ok"); });
  EthernetLink e(server.port());
  e.link.SetHoldOpen(true);
  EXPECT_TRUE(e.link.isOpen());
  e.link.SetHoldOpen(false);
  EXPECT_FALSE(e.link.isOpen());
  e.link.Write("A");
  e.link.Close();
  char buf[8];
  EXPECT_EQ(e.link.Read(buf, 8), 0);
  EXPECT_EQ(e.link.GetInterfaceKind(), kEthernet) << "the kind survives Close";
}

}  // namespace
}  // namespace qm
