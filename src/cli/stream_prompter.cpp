#include "cli/stream_prompter.h"

#include "cli/outcome.h"

namespace qm::cli {

void StreamPrompter::Show(const Message& message) {
  err_ << kProgramName << ": ";
  err_ << message.text << '\n';
  err_.flush();
  shown_.push_back(message.text);
}

void HeldPrompter::ReleaseTo(Prompter& prompter) {
  for (const Message& message : held_) prompter.Show(message);
  held_.clear();
}

}  // namespace qm::cli
