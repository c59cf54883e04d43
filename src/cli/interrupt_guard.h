// SIGINT as a request to stop a long print or transfer between two pieces, instead of the
// end of the program.
#pragma once

#include <signal.h>

#include <csignal>

namespace qm::cli {

inline volatile std::sig_atomic_t interruptRequested = 0;

inline void OnInterrupt(int) { interruptRequested = 1; }

// SIGINT asks for a stop while it lives; the handler before it comes back afterwards.
class InterruptGuard {
 public:
  InterruptGuard() {
    interruptRequested = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptGuard() { ::sigaction(SIGINT, &previous_, nullptr); }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

  bool requested() const { return interruptRequested != 0; }

 private:
  struct sigaction previous_ {};
};

}  // namespace qm::cli
