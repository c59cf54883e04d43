// What every fuzz target shares: a check that stops the run with its reason, and a cheap
// deterministic generator that turns a few input bytes into cut points and choices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Unlike assert, stays on in every build: a broken invariant is the finding.
#define FUZZ_CHECK(cond)                                                                   \
  do {                                                                                     \
    if (!(cond)) {                                                                         \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond);    \
      std::abort();                                                                        \
    }                                                                                      \
  } while (0)

namespace qm::fuzz {

// xorshift32: the same seed gives the same cuts, so a reproducer replays exactly.
class Choices {
 public:
  explicit Choices(uint32_t seed) : state_(seed | 1u) {}

  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // 0 .. bound-1; 0 when bound is 0.
  size_t Below(size_t bound) { return bound == 0 ? 0 : Next() % bound; }
  // A piece of 1 .. maxPiece bytes, never more than what is left.
  size_t Piece(size_t left, size_t maxPiece) {
    const size_t n = 1 + Below(maxPiece);
    return n < left ? n : left;
  }

 private:
  uint32_t state_;
};

}  // namespace qm::fuzz
