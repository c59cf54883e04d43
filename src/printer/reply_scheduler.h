// Replies held back on demand: delayed, or sent in two pieces with a pause between.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "printer/printer_core.h"

namespace qm::printer {

struct ReplyPiece {
  Origin origin;
  std::string bytes;
  bool startsReply = true;
};

// Times are milliseconds on any monotonic scale the caller chooses; nothing here reads a
// clock, so tests drive it with made-up times.
class ReplyScheduler {
 public:
  // Replies waiting at most; a flood of queries to a slow printer loses the excess.
  static constexpr size_t kMaxPending = 4096;

  // Queues `bytes` for `origin`: due `delayMs` after `now`; with `split`, the first half
  // then and the rest `splitPauseMs` later (a one-byte reply cannot be split). False when
  // too many replies wait already.
  bool Add(int64_t now, const Origin& origin, std::string bytes, int delayMs, bool split, int splitPauseMs);
  // The pieces due at `now`, in the order they fall due.
  std::vector<ReplyPiece> TakeDue(int64_t now);
  // Milliseconds from `now` until the next piece is due, 0 if one is overdue, -1 for none.
  int WaitMs(int64_t now) const;
  bool empty() const { return pending_.empty(); }

 private:
  // Equal due times keep their order of arrival.
  std::multimap<int64_t, ReplyPiece> pending_;
};

}  // namespace qm::printer
