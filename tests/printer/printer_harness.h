// A printer without ports for tests: feed it bytes, get back what it answered.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "printer/printer_core.h"

namespace qm::printer::test {

class Harness {
 public:
  explicit Harness(StoredState stored = FactoryState(1)) : core_(std::move(stored), Hooks()) {}

  // Feeds `bytes` as arriving over `kind` on `channel` (a TCP connection, or 0 for a
  // port); returns everything answered meanwhile.
  std::string Send(std::string_view bytes, InterfaceKind kind = kEthernet, uint64_t channel = 1) {
    const size_t before = replies.size();
    core_.Feed(bytes, Origin{kind, channel, "test#" + std::to_string(channel)});
    std::string answer;
    for (size_t i = before; i < replies.size(); ++i) answer += replies[i];
    return answer;
  }
  // The connection `channel` closes.
  void End(uint64_t channel, InterfaceKind kind = kEthernet) {
    core_.EndStream(Origin{kind, channel, "test#" + std::to_string(channel)});
  }

  PrinterCore& core() { return core_; }
  PrinterModel& model() { return core_.model(); }
  const std::deque<PrintedLabel>& labels() const { return core_.labels(); }
  const StoredState& stored() { return core_.model().stored(); }

  std::vector<std::string> replies;
  std::vector<std::string> log;
  std::vector<PrintedLabel> printed;
  int storedChanges = 0;
  // The printer's monotonic clock, moved by hand.
  int64_t monotonicMs = 0;
  // Called after each reply is recorded, e.g. to close its connection as a failed send does.
  std::function<void(const Origin&)> afterReply;

 private:
  PrinterCore::Hooks Hooks() {
    PrinterCore::Hooks h;
    h.reply = [this](const Origin& origin, std::string bytes) {
      replies.push_back(std::move(bytes));
      if (afterReply) afterReply(origin);
    };
    h.log = [this](std::string line) { log.push_back(std::move(line)); };
    h.printed = [this](const PrintedLabel& label) { printed.push_back(label); };
    h.storedChanged = [this] { ++storedChanges; };
    h.now = [] { return int64_t{1700000000000}; };
    h.monotonicNow = [this] { return monotonicMs; };
    return h;
  }

  PrinterCore core_;
};

}  // namespace qm::printer::test
