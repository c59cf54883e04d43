#include "core/clock.h"

#include <cerrno>
#include <vector>

#include "core/progress.h"
#include <ctime>
#include <limits>

namespace qm {

int Clock::Poll(pollfd* fds, nfds_t count, int timeoutMs) { return PollCancellable(fds, count, timeoutMs); }

bool Clock::Cancelled() const {
  const CancelSignal* c = cancel();
  return c && c->raised();
}

int Clock::PollCancellable(pollfd* fds, nfds_t count, int timeoutMs) const {
  const CancelSignal* c = cancel();
  if (!c) return ::poll(fds, count, timeoutMs);
  if (c->raised()) {
    errno = ECANCELED;
    return -1;
  }
  if (c->fd() < 0) return ::poll(fds, count, timeoutMs);
  // The caller's descriptors first, the stop request last: one more slot, same wait.
  std::vector<pollfd> all(fds, fds + count);
  all.push_back(pollfd{c->fd(), POLLIN, 0});
  const int ready = ::poll(all.data(), static_cast<nfds_t>(all.size()), timeoutMs);
  if (ready > 0 && (all.back().revents != 0 || c->raised())) {
    errno = ECANCELED;
    return -1;
  }
  for (nfds_t i = 0; i < count; ++i) fds[i].revents = all[i].revents;
  return ready;
}

int64_t Clock::NowMs() const { return MonotonicMs(); }

void SystemClock::Sleep(int ms) {
  if (ms <= 0) return;
  if (const CancelSignal* c = cancel(); c && c->fd() >= 0) {
    // A wait on nothing but the stop request: over at its time or the moment it is raised.
    const Deadline deadline(ms);
    while (!c->raised() && !deadline.Passed()) {
      if (PollCancellable(nullptr, 0, deadline.RemainingMs()) == -1 && errno != EINTR) return;
    }
    return;
  }
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
