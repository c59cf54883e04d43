// A print spooler whose queues live in memory; any queue can be made to fail.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "link/queue_diversion.h"

namespace qm::test {

class FakeSpooler : public Spooler {
 public:
  std::vector<PrintQueue> queues;
  std::map<std::string, SetResult> failures;
  std::vector<std::string> setCalls;
  std::string notice;  // said at the next TakeNotice, once

  std::vector<PrintQueue> LocalQueues() override { return queues; }
  SetResult SetQueuePort(const std::string& name, const std::string& port) override {
    setCalls.push_back(name + "=" + port);
    if (auto it = failures.find(name); it != failures.end()) return it->second;
    for (auto& q : queues) {
      if (q.name == name) q.port = port;
    }
    return SetResult::kDone;
  }
  std::string TakeNotice() override { return std::exchange(notice, {}); }
  std::string PortOf(const std::string& name) const {
    for (const auto& q : queues) {
      if (q.name == name) return q.port;
    }
    return "?";
  }
};

}  // namespace qm::test
