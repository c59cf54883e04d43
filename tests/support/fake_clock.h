// Test doubles for the link's clock and message sink.
#pragma once

#include <functional>
#include <vector>

#include "core/clock.h"
#include "core/prompter.h"

namespace qm::test {

// Records every deliberate pause instead of taking it. Descriptor waits stay real; tests
// keep them short through the link's timing record.
class FakeClock : public Clock {
 public:
  void Sleep(int ms) override {
    sleeps.push_back(ms);
    if (onSleep) onSleep(ms);
  }
  std::vector<int> sleeps;
  std::function<void(int)> onSleep;
};

class RecordingPrompter : public Prompter {
 public:
  void Show(const Message& message) override {
    messages.push_back(message);
    if (onShow) onShow(message);
  }
  // Hears each message as it is shown, to see what the window showed at that moment.
  std::function<void(const Message&)> onShow;
  std::vector<int> ids() const {
    std::vector<int> out;
    for (const auto& m : messages) out.push_back(m.stringId);
    return out;
  }
  std::vector<Message> messages;
};

}  // namespace qm::test
