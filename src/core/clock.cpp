#include "core/clock.h"

#include <cerrno>
#include <ctime>
#include <limits>

namespace qm {

int Clock::Poll(pollfd* fds, nfds_t count, int timeoutMs) {
  return ::poll(fds, count, timeoutMs);
}

int64_t Clock::NowMs() const { return MonotonicMs(); }

void SystemClock::Sleep(int ms) {
  if (ms <= 0) return;
  timespec ts{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
  while (::nanosleep(&ts, &ts) == -1 && errno == EINTR) {
  }
}

int64_t MonotonicMs() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int Deadline::RemainingMs() const {
  const int64_t left = at_ - (clock_ ? clock_->NowMs() : MonotonicMs());
  if (left <= 0) return 0;
  if (left > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(left);
}

}  // namespace qm
