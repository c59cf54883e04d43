// Long work as every front end sees it: how far it got, and whether the operator asked to
// stop. One interface for every tool, so a transfer, Multi Send and a slow read are shown
// and stopped the same way in the GUI and on the command line.
#pragma once

#include <atomic>
#include <cstdint>

namespace qm {

// A request to stop that a descriptor wait can hear: an eventfd that becomes readable when
// raised. Raising only writes to the eventfd, so a signal handler may do it.
class CancelSignal {
 public:
  CancelSignal();
  ~CancelSignal();
  CancelSignal(const CancelSignal&) = delete;
  CancelSignal& operator=(const CancelSignal&) = delete;

  // Async-signal-safe.
  void Raise() noexcept;
  bool raised() const noexcept { return raised_.load(std::memory_order_acquire); }
  // Ready for the next piece of work: no longer raised.
  void Reset() noexcept;
  // Readable while raised; -1 when the system gave no eventfd (then waits are not cut short).
  int fd() const noexcept { return fd_; }

 private:
  int fd_ = -1;
  std::atomic<bool> raised_{false};
};

// What an operation reports while it works, and asks between two steps.
class Progress {
 public:
  virtual ~Progress() = default;
  // `done` of `total` units (bytes, labels, reads); total 0 when unknown.
  virtual void Report(uint64_t done, uint64_t total) = 0;
  // True once the operator asked to stop: nothing more is written.
  virtual bool Cancelled() const = 0;
};

// For callers with nobody to tell and no way to stop.
class NoProgress : public Progress {
 public:
  void Report(uint64_t, uint64_t) override {}
  bool Cancelled() const override { return false; }
};

// Progress that is cancelled with a signal and keeps the last report, for a front end to
// draw from another thread.
class SignalProgress : public Progress {
 public:
  explicit SignalProgress(const CancelSignal& cancel) : cancel_(cancel) {}
  void Report(uint64_t done, uint64_t total) override {
    total_.store(total, std::memory_order_relaxed);
    done_.store(done, std::memory_order_release);
  }
  bool Cancelled() const override { return cancel_.raised(); }
  uint64_t done() const { return done_.load(std::memory_order_acquire); }
  uint64_t total() const { return total_.load(std::memory_order_relaxed); }

 private:
  const CancelSignal& cancel_;
  std::atomic<uint64_t> done_{0};
  std::atomic<uint64_t> total_{0};
};

}  // namespace qm
