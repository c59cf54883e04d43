// Replies split in transit, on every kind of port: a read that knows the reply's shape
// waits for all of it, and none waits once the reply is whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/strings.h"
#include "fake_clock.h"
#include "fake_usb_tree.h"
#include "link/printer_link.h"
#include "loopback_server.h"
#include "pty_pair.h"
#include "table_test.h"

namespace qm {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

const char* const kPortNames[] = {"COM1:", "LPT1:", "USB", "ETHERNET"};

// A link on `kind` that has just written a query to a printer answering with `reply` cut
// after `at` bytes, the rest `pauseMs` later: from a pseudo-terminal for serial, parallel
// and USB, from a loopback server for Ethernet.
struct SplitReply {
  SplitReply(InterfaceKind kind, const std::string& reply, size_t at, int pauseMs, LinkTiming timing = {})
      : kind(kind),
        server([reply](size_t, const std::string&) { return reply; }),
        link(clock, prompter, EnglishStrings(), timing, Devices()) {
    server.SplitReplies(at, pauseMs);
    link.SetPortName(kPortNames[kind]);
    link.SetEthernetSettings("127.0.0.1", server.port());
    opened = link.Open() == 1;
    if (kind == kUsb) link.Close();
    link.Write("^PI5,0\r\n");
    if (kind == kEthernet) return;
    const test::PtyPair& pty = kind == kUsb ? *usbPty : linePty;
    sender = std::thread([&pty, reply, at, pauseMs] {
      pty.Send(reply.substr(0, at));
      std::this_thread::sleep_for(milliseconds(pauseMs));
      pty.Send(reply.substr(at));
    });
  }
  ~SplitReply() {
    if (sender.joinable()) sender.join();
  }
  DeviceMap Devices() {
    DeviceMap map;
    map.Override("COM1", linePty.path());
    map.Override("LPT1", linePty.path());
    if (kind == kUsb) usbPty = &usb.AddNode(0, "2961", "0101");
    map.usb = UsbRoots{usb.sysfs(), usb.dev()};
    return map;
  }
  // Reads as a tool does: once, or on Ethernet again after every full piece of 32.
  std::string Read(int count, ReplyEnd end) {
    std::string got, buf(static_cast<size_t>(count), '#');
    for (;;) {
      const int want = count - static_cast<int>(got.size());
      const int n = link.Read(buf.data(), want, end);
      if (n > 0) got.append(buf, 0, static_cast<size_t>(n));
      if (kind != kEthernet || n < std::min(want, 32) || n == want) return got;
    }
  }

  InterfaceKind kind;
  test::PtyPair linePty;
  test::FakeUsbTree usb;
  test::PtyPair* usbPty = nullptr;
  test::LoopbackServer server;
  test::FakeClock clock;
  test::RecordingPrompter prompter;
  PrinterLink link;
  bool opened = false;
  std::thread sender;
};

std::string Distribution() {
  std::string d;
  for (int i = 0; i < 64; ++i) d.push_back(static_cast<char>(i * 5));
  return d;
}

struct SplitCase {
  std::string name;
  InterfaceKind kind;
  int pauseMs;
  std::string reply;
  size_t at;
  int count;
  ReplyEnd end;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

// Every known shape on every port, its second piece 25 or 100 ms behind the first.
std::vector<SplitCase> SplitCases() {
  const struct {
    const char* name;
    std::string reply;
    size_t at;
    int count;
    ReplyEnd end;
  } shapes[] = {
      {"paper_width", "812\r\n", 2, 32, ReplyEnd::kLine},
      {"cr_and_lf_apart", "LRX-500II\r\n", 10, 32, ReplyEnd::kLine},
      {"two_status_bytes", std::string("\0\x41", 2), 1, 2, ReplyEnd::kCount},
      {"sensing_distribution", Distribution(), 20, 64, ReplyEnd::kCount},
  };
  static const char* const kKinds[] = {"serial", "parallel", "usb", "ethernet"};
  std::vector<SplitCase> out;
  for (const InterfaceKind kind : {kSerial, kParallel, kUsb, kEthernet}) {
    for (const int pauseMs : {25, 100}) {
      for (const auto& s : shapes) {
        out.push_back({std::string(s.name) + "_" + kKinds[kind] + "_" + std::to_string(pauseMs) + "ms", kind, pauseMs,
                       s.reply, s.at, s.count, s.end});
      }
    }
  }
  return out;
}

class SplitInTransit : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitInTransit, ComesOutWhole) {
  const SplitCase& c = GetParam();
  SplitReply r(c.kind, c.reply, c.at, c.pauseMs);
  ASSERT_TRUE(r.opened) << r.link.lastError();
  EXPECT_EQ(r.Read(c.count, c.end), c.reply);
}

INSTANTIATE_TEST_SUITE_P(ReplyShape, SplitInTransit, testing::ValuesIn(SplitCases()), test::RowName());

TEST(ReplyShape, AnUnknownShapeWaitsTheLongGapUnlessItEndsInALine) {
  LinkTiming timing;
  timing.tcpLongGapMs = 2000;
  timing.usbLongGapMs = 2000;
  for (const InterfaceKind kind : {kUsb, kEthernet}) {
    for (const size_t at : {size_t{3}, size_t{0}}) {
      SCOPED_TRACE(std::string(kPortNames[kind]) + (at ? ", split" : ", whole"));
      SplitReply r(kind, "LRX-500II\r\n", at, 25, timing);
      const auto start = steady_clock::now();
      EXPECT_EQ(r.Read(32, ReplyEnd::kUnknown), "LRX-500II\r\n");
      EXPECT_LT(steady_clock::now() - start, milliseconds(1000)) << "CR LF: the short gap ends it";
    }
  }
}

TEST(ReplyShape, AKnownShapeReturnsWhatCameAtTheDeadline) {
  LinkTiming timing;
  timing.tcpReadWaitMs = timing.usbReadWaitMs = 150;
  timing.serialDefaults.readTotalConstantMs = 150;
  timing.serialDefaults.readTotalMultiplierMs = 0;
  for (const InterfaceKind kind : {kSerial, kParallel, kUsb, kEthernet}) {
    SCOPED_TRACE(kPortNames[kind]);
    SplitReply r(kind, "81", 2, 0, timing);  // the rest never comes
    const auto start = steady_clock::now();
    EXPECT_EQ(r.Read(32, ReplyEnd::kLine), "81");
    // The deadline counts whole milliseconds: allow for its rounding, not for a gap.
    EXPECT_GE(steady_clock::now() - start, milliseconds(140)) << "not cut at a quiet gap";
  }
}

TEST(ReplyShape, AnEthernetLineReadStillStopsAt32Bytes) {
  SplitReply r(kEthernet, std::string(40, 'x') + "\r\n", 0, 0);
  char buf[64];
  const auto start = steady_clock::now();
  ASSERT_EQ(r.link.Read(buf, 64, ReplyEnd::kLine), 32);
  EXPECT_LT(steady_clock::now() - start, milliseconds(2500)) << "32 bytes are whole for one read";
  ASSERT_EQ(r.link.Read(buf, 64, ReplyEnd::kLine), 10);
  EXPECT_EQ(std::string(buf, 10), std::string(8, 'x') + "\r\n");
}

}  // namespace
}  // namespace qm
