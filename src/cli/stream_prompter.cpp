#include "cli/stream_prompter.h"

#include "cli/outcome.h"
#include "cli/setting_text.h"

namespace qm::cli {

void StreamPrompter::Show(const Message& message) {
  // A message may carry the printer's own text, one byte a character.
  std::string text = Latin1ToUtf8(message.text);
  err_ << kProgramName << ": " << text << '\n';
  err_.flush();
  shown_.push_back(std::move(text));
}

void HeldPrompter::ReleaseTo(Prompter& prompter) {
  for (const Message& message : held_) prompter.Show(message);
  held_.clear();
}

}  // namespace qm::cli
