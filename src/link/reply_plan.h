// When one read has a whole reply, and how long it may wait for one: the same rules for
// every backend, so a reply split in transit is neither cut nor waited out once whole.
#pragma once

#include <cstddef>
#include <string_view>

#include "link/link_types.h"

namespace qm {

struct ReplyPlan {
  ReplyEnd end = ReplyEnd::kUnknown;
  int waitMs = 0;     // the read deadline: for the first byte, and for a known shape to be whole
  int gapMs = 0;      // unknown shape: the silence that ends bytes ending in CR LF
  int longGapMs = 0;  // unknown shape: the silence that ends bytes that may be cut short

  // True when `got`, read for at most `count` bytes, is whole by the reply's shape.
  bool Whole(std::string_view got, size_t count) const {
    if (got.size() >= count) return true;
    const bool endsAtLine = end == ReplyEnd::kLine || end == ReplyEnd::kText;
    return endsAtLine && got.find("\r\n") != std::string_view::npos;
  }

  // Unknown shape: how long the line must stay quiet after `got` for the reply to be over.
  // A reply that ends in CR LF is almost surely complete; anything else may be the first
  // piece of one that the network split.
  int QuietGapMs(std::string_view got) const {
    const bool endsInLine = got.size() >= 2 && got.substr(got.size() - 2) == "\r\n";
    return endsInLine ? gapMs : (longGapMs > gapMs ? longGapMs : gapMs);
  }

  // Known shapes wait for the whole reply up to the deadline; an unknown one ends at a gap.
  // A text reply without its CR LF is ended by the gap, as an unknown one is.
  bool WaitsForShape() const { return end == ReplyEnd::kLine || end == ReplyEnd::kCount; }
};

}  // namespace qm
