// Passes each drawn label on to a print queue, on a thread of its own: the printer never
// waits for a print server, and a server that falls behind costs labels, not memory.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qm::printer {

// One label as it goes to the queue: its PNG at 8 dots per mm and its size in dots.
struct ForwardedLabel {
  uint64_t sequence = 0;
  std::string png;
  int widthDots = 0;
  int heightDots = 0;
};

// Prints one label; false with `error` saying why the queue or its server refused it.
using PrintForwarded = std::function<bool(const ForwardedLabel& label, std::string& error)>;

// The job options that print a label at its true size: a page of the label's own size in
// millimetres and no scaling to fit.
std::vector<std::pair<std::string, std::string>> TrueSizeOptions(int widthDots, int heightDots);

class LabelForwarder {
 public:
  // Labels waiting beyond the one being printed; one more is dropped and logged. A server
  // takes a job in some 20 ms, so a burst of copies fits; at most some 64 MiB of pictures
  // (a label is at most 832 x 2432 dots, 250 KiB unpacked).
  static constexpr size_t kDefaultBacklog = 256;
  // After Stop, labels still waiting this long are dropped, so a server that takes each
  // job slowly does not hold the printer's exit for its whole backlog.
  static constexpr int64_t kStopGraceMs = 10000;

  // `queue` names the destination in the log lines; `log` is called from the forwarding
  // thread and from Offer's caller.
  // `nowMs` is a monotonic clock in milliseconds; unset: the steady clock.
  LabelForwarder(std::string queue, PrintForwarded print, std::function<void(const std::string&)> log,
                 size_t backlog = kDefaultBacklog, std::function<int64_t()> nowMs = {});
  ~LabelForwarder();
  LabelForwarder(const LabelForwarder&) = delete;
  LabelForwarder& operator=(const LabelForwarder&) = delete;

  // Queues `label` and returns at once; false when the backlog is full and it was dropped.
  bool Offer(ForwardedLabel label);
  // Says why `sequence` was not drawn and so never reaches the queue.
  void Missed(uint64_t sequence, const std::string& why);
  // Prints what is queued (for up to kStopGraceMs), then ends the thread.
  void Stop();
  bool stopping() const;

  uint64_t printed() const;
  uint64_t failed() const;
  uint64_t dropped() const;

 private:
  void Run();

  const std::string queue_;
  const PrintForwarded print_;
  const std::function<void(const std::string&)> log_;
  const size_t backlog_;
  const std::function<int64_t()> nowMs_;
  mutable std::mutex mutex_;  // guards the fields below
  std::condition_variable ready_;
  std::deque<ForwardedLabel> waiting_;
  bool stop_ = false;
  int64_t stopDeadlineMs_ = 0;
  uint64_t printed_ = 0;
  uint64_t failed_ = 0;
  uint64_t dropped_ = 0;
  std::thread thread_;
};

}  // namespace qm::printer
