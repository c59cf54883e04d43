// The command line's message sink: the link's messages go to stderr as text lines.
#pragma once

#include <ostream>

#include "core/prompter.h"

namespace qm::cli {

class StreamPrompter : public Prompter {
 public:
  explicit StreamPrompter(std::ostream& err) : err_(err) {}
  // "quillmark-cli: <text>", the text exactly as the message carries it.
  void Show(const Message& message) override;

 private:
  std::ostream& err_;
};

}  // namespace qm::cli
