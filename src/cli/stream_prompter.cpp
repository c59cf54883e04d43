#include "cli/stream_prompter.h"

#include "cli/outcome.h"

namespace qm::cli {

void StreamPrompter::Show(const Message& message) {
  err_ << kProgramName << ": ";
  err_ << message.text << '\n';
  err_.flush();
}

}  // namespace qm::cli
