// Progress for tests: each report handed to a function that says whether to go on.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "core/progress.h"

namespace qm::test {

class GoOnProgress : public Progress {
 public:
  explicit GoOnProgress(std::function<bool(uint64_t done, uint64_t total)> goOn) : goOn_(std::move(goOn)) {}
  void Report(uint64_t done, uint64_t total) override {
    if (!goOn_(done, total)) cancelled_ = true;
  }
  bool Cancelled() const override { return cancelled_; }

 private:
  std::function<bool(uint64_t, uint64_t)> goOn_;
  bool cancelled_ = false;
};

}  // namespace qm::test
