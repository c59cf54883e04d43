#include "printer/label_forwarder.h"

#include <chrono>
#include <cstdio>

namespace qm::printer {

namespace {

// Dots at 8 a millimetre as millimetres, with no more digits than it needs: 400 is "50",
// 300 is "37.5", 1 is "0.125".
std::string Millimetres(int dots) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", dots / 8.0);
  std::string out = text;
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> TrueSizeOptions(int widthDots, int heightDots) {
  return {
      {"media", "Custom." + Millimetres(widthDots) + "x" + Millimetres(heightDots) + "mm"},
      {"print-scaling", "none"},
      {"scaling", "100"},
  };
}

LabelForwarder::LabelForwarder(std::string queue, PrintForwarded print, std::function<void(const std::string&)> log,
                               size_t backlog, std::function<int64_t()> nowMs)
    : queue_(std::move(queue)),
      print_(std::move(print)),
      log_(std::move(log)),
      backlog_(backlog),
      nowMs_(nowMs ? std::move(nowMs) : [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
      }) {
  thread_ = std::thread([this] { Run(); });
}

LabelForwarder::~LabelForwarder() { Stop(); }

bool LabelForwarder::Offer(ForwardedLabel label) {
  {
    std::lock_guard lock(mutex_);
    if (!stop_ && waiting_.size() < backlog_) {
      waiting_.push_back(std::move(label));
      ready_.notify_one();
      return true;
    }
    ++dropped_;
  }
  log_("label " + std::to_string(label.sequence) + " not sent to queue " + queue_ + ": " +
       (backlog_ == 1 ? std::string("1 label is") : std::to_string(backlog_) + " labels are") +
       " already waiting for it");
  return false;
}

void LabelForwarder::Missed(uint64_t sequence, const std::string& why) {
  {
    std::lock_guard lock(mutex_);
    ++dropped_;
  }
  log_("label " + std::to_string(sequence) + " not sent to queue " + queue_ + ": " + why);
}

void LabelForwarder::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (!stop_) stopDeadlineMs_ = nowMs_() + kStopGraceMs;
    stop_ = true;
  }
  ready_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void LabelForwarder::Run() {
  for (;;) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return stop_ || !waiting_.empty(); });
    if (waiting_.empty()) return;
    if (stop_ && nowMs_() > stopDeadlineMs_) {
      std::deque<ForwardedLabel> left = std::move(waiting_);
      waiting_.clear();
      dropped_ += left.size();
      lock.unlock();
      for (const ForwardedLabel& l : left) {
        log_("label " + std::to_string(l.sequence) + " not sent to queue " + queue_ +
             ": the printer stopped before the queue took it");
      }
      return;
    }
    ForwardedLabel label = std::move(waiting_.front());
    waiting_.pop_front();
    lock.unlock();
    std::string error;
    const bool ok = print_(label, error);
    lock.lock();
    ++(ok ? printed_ : failed_);
    lock.unlock();
    if (!ok) log_("label " + std::to_string(label.sequence) + " not printed on queue " + queue_ + ": " + error);
  }
}

bool LabelForwarder::stopping() const {
  std::lock_guard lock(mutex_);
  return stop_;
}

uint64_t LabelForwarder::printed() const {
  std::lock_guard lock(mutex_);
  return printed_;
}

uint64_t LabelForwarder::failed() const {
  std::lock_guard lock(mutex_);
  return failed_;
}

uint64_t LabelForwarder::dropped() const {
  std::lock_guard lock(mutex_);
  return dropped_;
}

}  // namespace qm::printer
