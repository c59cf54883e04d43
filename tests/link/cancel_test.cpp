// The stop request: a Sleep or a Poll of the real clock ends the moment it is raised, waits
// are otherwise what they were, and the link writes nothing once it is raised.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "core/clock.h"
#include "core/progress.h"
#include "fake_clock.h"
#include "link/printer_link.h"
#include "loopback_listener.h"

namespace qm {
namespace {

struct Pair {
  Pair() { EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0); }
  ~Pair() {
    ::close(fds[0]);
    ::close(fds[1]);
  }
  int fds[2];
};

enum class Wait { kSleep, kPollNothing, kPollSocket };
struct WaitCase {
  const char* name;
  Wait wait;
};

// Runs the wait for 5 s on `clock`; returns how long it took and the Poll result.
std::pair<int64_t, int> RunWait(Clock& clock, Wait wait, int fd) {
  const int64_t start = MonotonicMs();
  int result = 0;
  pollfd p{fd, POLLIN, 0};
  switch (wait) {
    case Wait::kSleep:
      clock.Sleep(5000);
      break;
    case Wait::kPollNothing:
      result = clock.Poll(nullptr, 0, 5000);
      break;
    case Wait::kPollSocket:
      result = clock.Poll(&p, 1, 5000);
      break;
  }
  return {MonotonicMs() - start, result};
}

class CancelWait : public testing::TestWithParam<WaitCase> {};

TEST_P(CancelWait, EndsTheMomentItIsRaised) {
  SystemClock clock;
  CancelSignal cancel;
  clock.SetCancel(&cancel);
  Pair pair;
  std::thread raiser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    cancel.Raise();
  });
  errno = 0;
  const auto [took, result] = RunWait(clock, GetParam().wait, pair.fds[0]);
  const int error = errno;
  raiser.join();
  EXPECT_LT(took, 1000);
  EXPECT_GE(took, 15) << "it waited until raised";
  if (GetParam().wait != Wait::kSleep) {
    EXPECT_EQ(result, -1);
    EXPECT_EQ(error, ECANCELED);
  }
  EXPECT_TRUE(clock.Cancelled());
}

TEST_P(CancelWait, RaisedBeforeTheWaitEndsItAtOnce) {
  SystemClock clock;
  CancelSignal cancel;
  cancel.Raise();
  clock.SetCancel(&cancel);
  Pair pair;
  EXPECT_LT(RunWait(clock, GetParam().wait, pair.fds[0]).first, 100);
}

INSTANTIATE_TEST_SUITE_P(Waits, CancelWait,
                         testing::Values(WaitCase{"Sleep", Wait::kSleep}, WaitCase{"PollNothing", Wait::kPollNothing},
                                         WaitCase{"PollSocket", Wait::kPollSocket}),
                         [](const auto& info) { return std::string(info.param.name); });

// With a request in force but not raised, the waits are what they were.
TEST(CancelSignal, UnraisedLeavesTheWaitsAlone) {
  SystemClock clock;
  CancelSignal cancel;
  clock.SetCancel(&cancel);
  int64_t start = MonotonicMs();
  clock.Sleep(40);
  EXPECT_GE(MonotonicMs() - start, 38);
  Pair pair;
  pollfd p{pair.fds[0], POLLIN, 0};
  start = MonotonicMs();
  EXPECT_EQ(clock.Poll(&p, 1, 40), 0);
  EXPECT_GE(MonotonicMs() - start, 38);
  ASSERT_EQ(::write(pair.fds[1], "x", 1), 1);
  EXPECT_EQ(clock.Poll(&p, 1, 2000), 1);
  EXPECT_TRUE(p.revents & POLLIN) << "the caller's descriptor reports as before";
}

TEST(CancelSignal, ResetMakesItReadyForTheNextWork) {
  SystemClock clock;
  CancelSignal cancel;
  clock.SetCancel(&cancel);
  cancel.Raise();
  cancel.Raise();
  EXPECT_TRUE(cancel.raised());
  cancel.Reset();
  EXPECT_FALSE(cancel.raised());
  const int64_t start = MonotonicMs();
  clock.Sleep(30);
  EXPECT_GE(MonotonicMs() - start, 28) << "no raise left over in the eventfd";
}

// After Cancel the link writes nothing, says nothing, and names the reason.
TEST(CancelSignal, TheLinkWritesNothingOnceRaised) {
  test::FakeClock clock;
  test::RecordingPrompter prompter;
  LinkTiming timing;
  timing.tcpConnectWaitMs = 200;
  PrinterLink link(clock, prompter, EnglishStrings(), timing);
  uint16_t port = 0;
  const int listener = test::ListenOnLoopback(port);
  link.SetPortName("ETHERNET");
  link.SetEthernetSettings("127.0.0.1", port);
  int writes = 0;
  link.SetTrace([&](PrinterLink::Direction d, std::string_view) { writes += d == PrinterLink::Direction::kWrite; });
  CancelSignal cancel;
  clock.SetCancel(&cancel);
  cancel.Raise();
  EXPECT_EQ(link.Write("^PI0"), 0);
  EXPECT_EQ(link.lastFailure(), LinkFailure::kCancelled);
  char buffer[8];
  EXPECT_EQ(link.Read(buffer, sizeof buffer), 0);
  EXPECT_EQ(writes, 0);
  EXPECT_TRUE(prompter.messages.empty()) << "a stop is no failure to report";
  ::close(listener);
}

}  // namespace
}  // namespace qm
