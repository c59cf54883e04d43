// A printer without ports for tests: feed it bytes, get back what it answered.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "printer/printer_core.h"

namespace qm::printer::test {

class Harness {
 public:
  explicit Harness(StoredState stored = FactoryState(1)) : core_(std::move(stored), Hooks()) {}

  // Feeds `bytes` as arriving over `kind`; returns everything answered meanwhile.
  std::string Send(std::string_view bytes, InterfaceKind kind = kEthernet) {
    const size_t before = replies.size();
    core_.Feed(bytes, Origin{kind, 1, "test"});
    std::string answer;
    for (size_t i = before; i < replies.size(); ++i) answer += replies[i];
    return answer;
  }

  PrinterModel& model() { return core_.model(); }
  const std::deque<PrintedLabel>& labels() const { return core_.labels(); }
  const StoredState& stored() { return core_.model().stored(); }

  std::vector<std::string> replies;
  std::vector<std::string> log;
  std::vector<PrintedLabel> printed;
  int storedChanges = 0;

 private:
  PrinterCore::Hooks Hooks() {
    PrinterCore::Hooks h;
    h.reply = [this](const Origin&, std::string bytes) { replies.push_back(std::move(bytes)); };
    h.log = [this](std::string line) { log.push_back(std::move(line)); };
    h.printed = [this](const PrintedLabel& label) { printed.push_back(label); };
    h.storedChanged = [this] { ++storedChanges; };
    h.now = [] { return int64_t{1700000000000}; };
    return h;
  }

  PrinterCore core_;
};

}  // namespace qm::printer::test
