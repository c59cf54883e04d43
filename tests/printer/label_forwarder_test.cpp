// Labels passed on to a print queue: at their true size, in order, never holding up the
// printer, with a bounded backlog and every refusal logged with its reason.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "loopback_exchange.h"
#include "printer/label_forwarder.h"
#include "printer/virtual_printer.h"
#include "table_test.h"
#include "temp_dir.h"

namespace qm::printer {
namespace {

struct TrueSize {
  const char* name;
  int width, height;
  std::string media;
};

class TrueSizeMedia : public ::testing::TestWithParam<TrueSize> {};

TEST_P(TrueSizeMedia, IsTheLabelsSizeInMillimetresUnscaled) {
  const auto options = TrueSizeOptions(GetParam().width, GetParam().height);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"media", GetParam().media}, {"print-scaling", "none"}, {"scaling", "100"}};
  EXPECT_EQ(options, expected);
}

INSTANTIATE_TEST_SUITE_P(LabelForwarder, TrueSizeMedia,
                         ::testing::Values(TrueSize{"whole millimetres", 400, 240, "Custom.50x30mm"},
                                           TrueSize{"a half", 400, 300, "Custom.50x37.5mm"},
                                           TrueSize{"one dot", 1, 1, "Custom.0.125x0.125mm"},
                                           TrueSize{"the factory paper", 812, 1219, "Custom.101.5x152.375mm"},
                                           TrueSize{"the widest head and longest label", 832, 2432,
                                                    "Custom.104x304mm"}),
                         test::RowName());

// A queue under the test's control: it records what it prints, fails the labels it is told
// to, and holds every label until let go when `gated`.
class FakeQueue {
 public:
  explicit FakeQueue(bool gated = false) : open_(!gated) {}

  PrintForwarded Printer() {
    return [this](const ForwardedLabel& label, std::string& error) {
      std::unique_lock lock(mutex_);
      entered_ = true;
      changed_.notify_all();
      changed_.wait(lock, [&] { return open_; });
      if (refuse_.count(label.sequence)) {
        error = "The printer or class does not exist.";
        return false;
      }
      printed_.push_back(label);
      return true;
    };
  }
  void Refuse(uint64_t sequence) {
    std::lock_guard lock(mutex_);
    refuse_.insert(sequence);
  }
  // Until the forwarding thread is inside the printer with its first label.
  void AwaitFirst() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return entered_; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  std::vector<ForwardedLabel> printed() {
    std::lock_guard lock(mutex_);
    return printed_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_;
  bool entered_ = false;
  std::set<uint64_t> refuse_;
  std::vector<ForwardedLabel> printed_;
};

struct Log {
  std::mutex mutex;
  std::vector<std::string> lines;
  std::function<void(const std::string&)> Sink() {
    return [this](const std::string& line) {
      std::lock_guard lock(mutex);
      lines.push_back(line);
    };
  }
};

ForwardedLabel Label(uint64_t sequence) {
  return {sequence, "\x89PNG label " + std::to_string(sequence), 400, 300};
}

std::vector<uint64_t> Sequences(const std::vector<ForwardedLabel>& labels) {
  std::vector<uint64_t> out;
  for (const ForwardedLabel& l : labels) out.push_back(l.sequence);
  return out;
}

TEST(LabelForwarder, PrintsEveryLabelInOrderWithItsOwnBytes) {
  FakeQueue queue;
  Log log;
  LabelForwarder forwarder("desk", queue.Printer(), log.Sink());
  for (uint64_t i = 1; i <= 3; ++i) EXPECT_TRUE(forwarder.Offer(Label(i)));
  forwarder.Stop();
  const auto printed = queue.printed();
  ASSERT_EQ(Sequences(printed), (std::vector<uint64_t>{1, 2, 3}));
  EXPECT_EQ(printed[1].png, "\x89PNG label 2");
  EXPECT_EQ(printed[1].widthDots, 400);
  EXPECT_EQ(printed[1].heightDots, 300);
  EXPECT_EQ(forwarder.printed(), 3u);
  EXPECT_TRUE(log.lines.empty());
}

TEST(LabelForwarder, AStuckQueueNeverHoldsTheCallerAndItsBacklogIsBounded) {
  FakeQueue queue(/*gated=*/true);
  Log log;
  LabelForwarder forwarder("desk", queue.Printer(), log.Sink(), 2);
  ASSERT_TRUE(forwarder.Offer(Label(1)));
  queue.AwaitFirst();  // label 1 is being printed and the queue holds it
  EXPECT_TRUE(forwarder.Offer(Label(2)));
  EXPECT_TRUE(forwarder.Offer(Label(3)));
  EXPECT_FALSE(forwarder.Offer(Label(4)));
  EXPECT_EQ(log.lines, std::vector<std::string>{"label 4 not sent to queue desk: 2 labels are already waiting for it"});
  queue.Open();
  forwarder.Stop();
  EXPECT_EQ(Sequences(queue.printed()), (std::vector<uint64_t>{1, 2, 3}));
  EXPECT_EQ(forwarder.dropped(), 1u);
}

TEST(LabelForwarder, ARefusalIsLoggedWithItsReasonAndTheNextLabelStillGoes) {
  FakeQueue queue;
  queue.Refuse(1);
  Log log;
  LabelForwarder forwarder("nosuch", queue.Printer(), log.Sink());
  forwarder.Offer(Label(1));
  forwarder.Offer(Label(2));
  forwarder.Missed(3, "too many labels were waiting to be drawn");
  forwarder.Stop();
  EXPECT_EQ(Sequences(queue.printed()), std::vector<uint64_t>{2});
  EXPECT_EQ(log.lines, (std::vector<std::string>{"label 3 not sent to queue nosuch: too many labels were waiting to be drawn",
                                                 "label 1 not printed on queue nosuch: The printer or class does not exist."}));
  EXPECT_EQ(forwarder.failed(), 1u);
  EXPECT_EQ(forwarder.printed(), 1u);
  EXPECT_EQ(forwarder.dropped(), 1u);
}

TEST(LabelForwarder, AtStopASlowQueueGetsItsGraceAndTheRestIsDroppedAndLogged) {
  FakeQueue queue(/*gated=*/true);
  Log log;
  std::atomic<int64_t> now{1000};
  LabelForwarder forwarder("desk", queue.Printer(), log.Sink(), 4, [&] { return now.load(); });
  forwarder.Offer(Label(1));
  queue.AwaitFirst();
  forwarder.Offer(Label(2));
  forwarder.Offer(Label(3));
  std::thread stopper([&] { forwarder.Stop(); });
  while (!forwarder.stopping()) std::this_thread::yield();
  // Label 1 takes longer than the grace the printer's exit gives the queue.
  now = 1000 + LabelForwarder::kStopGraceMs + 1;
  queue.Open();
  stopper.join();
  EXPECT_EQ(Sequences(queue.printed()), std::vector<uint64_t>{1});
  EXPECT_EQ(log.lines, (std::vector<std::string>{"label 2 not sent to queue desk: the printer stopped before the queue took it",
                                                 "label 3 not sent to queue desk: the printer stopped before the queue took it"}));
  EXPECT_EQ(forwarder.dropped(), 2u);
}

TEST(LabelForwarder, AtStopWithinTheGraceEveryWaitingLabelIsPrinted) {
  FakeQueue queue(/*gated=*/true);
  Log log;
  std::atomic<int64_t> now{1000};
  LabelForwarder forwarder("desk", queue.Printer(), log.Sink(), 4, [&] { return now.load(); });
  forwarder.Offer(Label(1));
  queue.AwaitFirst();
  forwarder.Offer(Label(2));
  std::thread stopper([&] { forwarder.Stop(); });
  while (!forwarder.stopping()) std::this_thread::yield();
  now = 1000 + LabelForwarder::kStopGraceMs;  // the last moment of the grace
  queue.Open();
  stopper.join();
  EXPECT_EQ(Sequences(queue.printed()), (std::vector<uint64_t>{1, 2}));
  EXPECT_TRUE(log.lines.empty());
}

TEST(LabelForwarder, NothingIsTakenAfterStop) {
  FakeQueue queue;
  Log log;
  LabelForwarder forwarder("desk", queue.Printer(), log.Sink());
  forwarder.Stop();
  EXPECT_FALSE(forwarder.Offer(Label(1)));
  EXPECT_TRUE(queue.printed().empty());
}

using qm::test::Slurp;

// The virtual printer hands the queue each label's picture, the same bytes --out writes.
const std::string kLabel = "SW400\rSL300,24\rBD50,60,150,100,O\rP1\r";

TEST(VirtualPrinterForward, EachDrawnLabelGoesToTheQueueAsTheOutFolderPicture) {
  test::TempDir dir;
  FakeQueue queue;
  PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.outDir = dir.path() + "/labels";
  options.forwardQueue = "desk";
  options.forwardPrint = queue.Printer();
  VirtualPrinter printer(options);
  std::string error;
  ASSERT_TRUE(printer.Start(error)) << error;
  EXPECT_EQ(test::ExchangeOnLoopback(printer.tcpPort(), kLabel + kLabel + "^PI5,0\r\n", 5), "400\r\n");
  printer.Stop();
  const auto printed = queue.printed();
  ASSERT_EQ(Sequences(printed), (std::vector<uint64_t>{1, 2}));
  EXPECT_EQ(printed[0].png, Slurp(options.outDir + "/label-000001.png"));
  EXPECT_EQ(printed[0].png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(printed[1].widthDots, 400);
  EXPECT_EQ(printed[1].heightDots, 300);
}

TEST(VirtualPrinterForward, WithoutAnOutFolderTheLabelsStillGoToTheQueue) {
  FakeQueue queue;
  PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.forwardQueue = "desk";
  options.forwardPrint = queue.Printer();
  VirtualPrinter printer(options);
  std::string error;
  ASSERT_TRUE(printer.Start(error)) << error;
  EXPECT_EQ(test::ExchangeOnLoopback(printer.tcpPort(), kLabel + "^PI5,0\r\n", 5), "400\r\n");
  printer.Stop();
  ASSERT_EQ(Sequences(queue.printed()), std::vector<uint64_t>{1});
}

TEST(VirtualPrinterForward, AQueueThatHangsLeavesThePrinterAnswering) {
  FakeQueue queue(/*gated=*/true);
  std::vector<std::string> log;
  std::mutex logMutex;
  std::condition_variable logged;
  PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.forwardQueue = "desk";
  options.forwardPrint = queue.Printer();
  options.forwardBacklog = 1;
  options.logSink = [&](const std::string& line) {
    std::lock_guard lock(logMutex);
    log.push_back(line);
    logged.notify_all();
  };
  VirtualPrinter printer(options);
  std::string error;
  ASSERT_TRUE(printer.Start(error)) << error;
  ASSERT_EQ(test::ExchangeOnLoopback(printer.tcpPort(), kLabel, 0), "");
  queue.AwaitFirst();
  // Label 1 is stuck in the queue; 2 waits; 3 and 4 are dropped; queries are answered throughout.
  EXPECT_EQ(test::ExchangeOnLoopback(printer.tcpPort(), kLabel + kLabel + kLabel + "^PI5,0\r\n", 5), "400\r\n");
  EXPECT_EQ(test::ExchangeOnLoopback(printer.tcpPort(), "^PI0", 9), "LRX-500II");
  {
    // The queue stays stuck until the label writer has offered all four (it works apart
    // from the replies); the bound only ends a broken run.
    std::unique_lock lock(logMutex);
    ASSERT_TRUE(logged.wait_for(lock, std::chrono::seconds(30), [&] { return log.size() == 2; })) << log.size();
  }
  queue.Open();
  printer.Stop();
  EXPECT_EQ(Sequences(queue.printed()), (std::vector<uint64_t>{1, 2}));
  std::lock_guard lock(logMutex);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].substr(24), "label 3 not sent to queue desk: 1 label is already waiting for it");
  EXPECT_EQ(log[1].substr(24), "label 4 not sent to queue desk: 1 label is already waiting for it");
}

TEST(VirtualPrinterForward, AQueueWithoutAPrinterIsRefusedAtStart) {
  PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.forwardQueue = "desk";
  VirtualPrinter printer(options);
  std::string error;
  EXPECT_FALSE(printer.Start(error));
  EXPECT_EQ(error, "queue desk: nothing to print labels with");
  EXPECT_FALSE(printer.running());
}

}  // namespace
}  // namespace qm::printer
