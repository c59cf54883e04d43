// Time as the link sees it: deliberate pauses and waits on descriptors.
#pragma once

#include <poll.h>

#include <cstdint>

namespace qm {

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
};

// The real clock: Sleep blocks the calling thread.
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
