// Holds an operation's messages until the page has shown what the operation read.
#pragma once

#include <vector>

#include "core/prompter.h"

namespace qm {

// The settings operations report before they return; a page passes them one of these so
// that its fields, lists and enabled states are up to date when the message box appears.
class HeldMessages : public Prompter {
 public:
  explicit HeldMessages(Prompter& target) : target_(target) {}
  ~HeldMessages() override { Release(); }
  HeldMessages(const HeldMessages&) = delete;
  HeldMessages& operator=(const HeldMessages&) = delete;

  void Show(const Message& message) override { held_.push_back(message); }
  // Shows every held message, in order.
  void Release() {
    std::vector<Message> out;
    out.swap(held_);
    for (const Message& m : out) target_.Show(m);
  }

 private:
  Prompter& target_;
  std::vector<Message> held_;
};

}  // namespace qm
