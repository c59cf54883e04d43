// SIGINT as a request to stop a long print or transfer between two pieces, instead of the
// end of the program.
#pragma once

#include <signal.h>

#include <atomic>

#include "core/clock.h"
#include "core/progress.h"

namespace qm::cli {

// The stop request SIGINT raises while a guard lives; raising it is async-signal-safe.
inline std::atomic<CancelSignal*> interruptSignal{nullptr};

inline void OnInterrupt(int) {
  if (CancelSignal* signal = interruptSignal.load()) signal->Raise();
}

// SIGINT asks for a stop while it lives, and the wait under way on `clock` (a pause, a read
// deadline) ends at once; the handler and the clock's request before it come back afterwards.
// Under a fleet the handler is the fleet's: a guard then only puts the fleet's stop request
// in force on its clock, and touches nothing process-wide, so printers on other threads may
// hold guards of their own meanwhile.
class InterruptGuard {
 public:
  explicit InterruptGuard(Clock* clock = nullptr, CancelSignal* shared = nullptr)
      : clock_(clock), shared_(shared) {
    if (clock_) {
      previousCancel_ = clock_->cancel();
      clock_->SetCancel(&signal());
    }
    if (shared_) return;
    previousSignal_ = interruptSignal.exchange(&signal_);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptGuard() {
    if (clock_) clock_->SetCancel(previousCancel_);
    if (shared_) return;
    ::sigaction(SIGINT, &previous_, nullptr);
    interruptSignal.store(previousSignal_);
  }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

  bool requested() const { return signal().raised(); }
  CancelSignal& signal() { return shared_ ? *shared_ : signal_; }
  const CancelSignal& signal() const { return shared_ ? *shared_ : signal_; }

 private:
  CancelSignal signal_;
  Clock* clock_;
  CancelSignal* shared_;
  CancelSignal* previousCancel_ = nullptr;
  CancelSignal* previousSignal_ = nullptr;
  struct sigaction previous_ {};
};

}  // namespace qm::cli
