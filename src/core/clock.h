// Time as the link sees it: deliberate pauses and waits on descriptors.
#pragma once

#include <poll.h>

#include <atomic>
#include <cstdint>

namespace qm {

class CancelSignal;

// Every deliberate pause of the link and the tools goes through a Clock, so tests can
// run them on virtual time and a window can keep painting while it waits.
class Clock {
 public:
  virtual ~Clock() = default;
  // Pauses for `ms` milliseconds (a retry pause, the wait for a reply).
  virtual void Sleep(int ms) = 0;
  // Waits on descriptors like poll(2); `timeoutMs` is at most a few seconds.
  virtual int Poll(pollfd* fds, nfds_t count, int timeoutMs);
  // Milliseconds on this clock's monotonic time line: read deadlines and quiet gaps are
  // measured with it, so a test clock can run them on virtual time.
  virtual int64_t NowMs() const;

  // The stop request that the real clocks' waits hear while it is in force: a Sleep ends
  // early and a Poll fails with ECANCELED the moment it is raised, so Cancel never waits
  // out a read deadline. nullptr: none.
  void SetCancel(CancelSignal* cancel) { cancel_.store(cancel, std::memory_order_release); }
  CancelSignal* cancel() const { return cancel_.load(std::memory_order_acquire); }
  // True while the stop request in force is raised.
  bool Cancelled() const;

 protected:
  // poll(2) over `fds` and the stop request in force; -1 with ECANCELED once it is raised.
  int PollCancellable(pollfd* fds, nfds_t count, int timeoutMs) const;

 private:
  std::atomic<CancelSignal*> cancel_{nullptr};
};

// The real clock: Sleep blocks the calling thread until its time or the stop request.
class SystemClock : public Clock {
 public:
  void Sleep(int ms) override;
};

// Milliseconds on the monotonic clock; I/O deadlines are measured with it.
int64_t MonotonicMs();

// A point on the monotonic clock by which an I/O wait must end.
class Deadline {
 public:
  explicit Deadline(int64_t fromNowMs) : at_(MonotonicMs() + fromNowMs) {}
  // The same, measured on `clock`'s time line.
  Deadline(const Clock& clock, int64_t fromNowMs) : clock_(&clock), at_(clock.NowMs() + fromNowMs) {}
  // Milliseconds left, never negative, capped to what poll(2) takes.
  int RemainingMs() const;
  bool Passed() const { return RemainingMs() == 0; }

 private:
  const Clock* clock_ = nullptr;
  int64_t at_;
};

}  // namespace qm
