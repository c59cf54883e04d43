// Command streams: each TCP connection starts afresh, a port runs on across reads, and an
// image whose bytes stop coming is dropped, so no client can wedge the printer for the next.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "printer/escape.h"
#include "printer_harness.h"

namespace qm::printer {
namespace {

using test::Harness;

// What a connection leaves unfinished, while it stays open, is no part of the next one's
// stream (closed connections are tried end to end, over the ports).
TEST(PrinterStreams, AConnectionStillOpenLeavesNothingForTheNext) {
  const std::vector<std::string> leftovers = {"IS1000,'pic'xx", "T 10,10,0,1,1,1,0,N,'abc",
                                              "T20,20,3,1,1,0,0,N,N,'" + std::string(70000, 'a'), "^PI5,"};
  for (const std::string& leftover : leftovers) {
    SCOPED_TRACE(leftover.substr(0, 24));
    Harness h;
    h.Send(leftover, kEthernet, 1);
    EXPECT_EQ(h.Send("0\r\n^MBS2,\r^MBA\x02\r^MBR2,2", kEthernet, 2), "\r");
    h.End(1);
    EXPECT_EQ(h.Send("^ee\r", kEthernet, 3), "01\r\n") << "connection 2's own noise, and nothing more";
    EXPECT_EQ(h.Send("^ee\r", kEthernet, 3), "00\r\n") << "connection 1 left no error behind";
  }
}

TEST(PrinterStreams, AnImageHeaderAloneIsContinuedByTheNextConnectionInTime) {
  // The link reconnects for every write: header, image bytes and recall come over three
  // connections in turn.
  Harness h;
  h.Send("IS3,'pic'", kEthernet, 1);
  h.End(1);
  h.monotonicMs += PrinterCore::kImageStallMs;
  h.Send("a\rc", kEthernet, 2);
  h.End(2);
  h.Send("\r\rIR100,100,'pic'\rP1\r", kEthernet, 3);
  ASSERT_EQ(h.model().Images().count("pic"), 1u);
  EXPECT_EQ(*h.model().Image("pic"), "a\rc");
  ASSERT_EQ(h.printed.size(), 1u);
  EXPECT_EQ(h.core().streamCount(), 1u) << "closed connections are forgotten";

  // Too late, it is dropped and the next bytes are commands.
  h.Send("IS3,'late'", kEthernet, 4);
  h.End(4);
  h.monotonicMs += PrinterCore::kImageStallMs + 1;
  EXPECT_EQ(h.Send("^PI0", kEthernet, 5), "LRX-500II");
  EXPECT_EQ(h.model().Images().size(), 1u);
}

// Serial, parallel and USB have no connections: one stream across reads, where only an
// image whose bytes stop coming for too long is given up.
TEST(PrinterStreams, APortIsOneStreamAndAStalledImageIsDropped) {
  struct Case {
    const char* name;
    std::vector<std::string> reads;
    int64_t pauseMs;  // before the last read
    std::string reply;
    size_t images;
  };
  const int64_t limit = PrinterCore::kImageStallMs;
  const std::vector<Case> cases = {
      {"query across reads", {"^PI5,", "0\r\n"}, limit + 1, "812\r\n", 0},
      {"image across reads", {"IS3,'pic'ab", "c^PI0"}, limit, "LRX-500II", 1},
      {"image stalled", {"IS1000,'pic'" + std::string(10, 'x'), "^PI0"}, limit + 1, "LRX-500II", 0},
      {"header stalled", {"IS3,'pic'", "^PI0"}, limit + 1, "LRX-500II", 0},
  };
  for (const InterfaceKind kind : {kSerial, kParallel, kUsb}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(kind) + ": " + c.name);
      Harness h;
      std::string replies;
      for (size_t i = 0; i < c.reads.size(); ++i) {
        if (i + 1 == c.reads.size()) h.monotonicMs += c.pauseMs;
        replies += h.Send(c.reads[i], kind, 0);
      }
      EXPECT_EQ(Escape(replies), Escape(c.reply));
      EXPECT_EQ(h.model().Images().size(), c.images);
      EXPECT_EQ(h.Send("^ee\r", kind, 0), "00\r\n") << "a stall is no command error";
    }
  }
}

TEST(PrinterStreams, UnfinishedImagesHeldTogetherAreBounded) {
  Harness h;
  const size_t size = CommandParser::kMaxImageBytes;
  const std::string part(size * 3 / 4, 'x');
  for (uint64_t channel = 1; channel <= 3; ++channel) {
    h.Send("IS" + std::to_string(size) + ",'i" + std::to_string(channel) + "'" + part, kEthernet, channel);
    ++h.monotonicMs;
  }
  // Three quarters of three images are more than may be held: the quietest goes.
  const std::string rest(size - part.size(), 'x');
  h.Send(rest, kEthernet, 2);
  h.Send(rest, kEthernet, 3);
  EXPECT_EQ(h.Send("^PI0", kEthernet, 1), "LRX-500II") << "connection 1 reads commands again";
  EXPECT_EQ(h.model().Images(), (std::map<std::string, size_t>{{"i2", size}, {"i3", size}}));
}

TEST(PrinterStreams, AConnectionClosedWhileItsRepliesGoOutFinishesItsBytes) {
  // A reply that cannot be sent drops its connection from inside the parse of its bytes.
  Harness h;
  h.afterReply = [&](const Origin& origin) { h.core().EndStream(origin); };
  EXPECT_EQ(h.Send("^PI0^PI1IS5,'pic'", kEthernet, 1), "LRX-500IIRFID TT 203dpi");
  EXPECT_EQ(h.core().streamCount(), 0u);
  h.afterReply = nullptr;
  h.Send("12345", kEthernet, 2);
  EXPECT_EQ(h.model().Images().count("pic"), 1u) << "its header alone waits for the next connection";
}

}  // namespace
}  // namespace qm::printer
