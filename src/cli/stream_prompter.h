// The command line's message sink: the link's and the settings' messages go to stderr as
// text lines, and are kept for --json.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/prompter.h"

namespace qm::cli {

class StreamPrompter : public Prompter {
 public:
  explicit StreamPrompter(std::ostream& err) : err_(err) {}
  // "quillmark-cli: <text>", the text as the message carries it, in UTF-8.
  void Show(const Message& message) override;
  // Every text shown so far, in order.
  const std::vector<std::string>& shown() const { return shown_; }

 private:
  std::ostream& err_;
  std::vector<std::string> shown_;
};

// Holds messages back, for a step whose messages only matter when it fails (the read
// before a write).
class HeldPrompter : public Prompter {
 public:
  void Show(const Message& message) override { held_.push_back(message); }
  // Shows what was held through `prompter`, in order, and forgets it.
  void ReleaseTo(Prompter& prompter);

 private:
  std::vector<Message> held_;
};

}  // namespace qm::cli
