#include "printer/reply_scheduler.h"

#include <algorithm>

namespace qm::printer {

bool ReplyScheduler::Add(int64_t now, const Origin& origin, std::string bytes, int delayMs, bool split,
                         int splitPauseMs) {
  const size_t pieces = split && bytes.size() >= 2 ? 2 : 1;
  if (pending_.size() + pieces > kMaxPending) return false;
  const int64_t due = now + std::max(delayMs, 0);
  if (!split || bytes.size() < 2) {
    pending_.emplace(due, ReplyPiece{origin, std::move(bytes), true});
    return true;
  }
  const size_t half = bytes.size() / 2;
  pending_.emplace(due, ReplyPiece{origin, bytes.substr(0, half), true});
  pending_.emplace(due + std::max(splitPauseMs, 0), ReplyPiece{origin, bytes.substr(half), false});
  return true;
}

std::vector<ReplyPiece> ReplyScheduler::TakeDue(int64_t now) {
  std::vector<ReplyPiece> due;
  auto it = pending_.begin();
  while (it != pending_.end() && it->first <= now) {
    due.push_back(std::move(it->second));
    it = pending_.erase(it);
  }
  return due;
}

int ReplyScheduler::WaitMs(int64_t now) const {
  if (pending_.empty()) return -1;
  const int64_t wait = pending_.begin()->first - now;
  return static_cast<int>(std::clamp<int64_t>(wait, 0, 60000));
}

}  // namespace qm::printer
