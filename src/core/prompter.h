// The one sink for the messages the operator must see.
#pragma once

#include <string>
#include <vector>

namespace qm {

enum class Icon { kNone, kInformation, kExclamation };

struct Message {
  std::string text;
  Icon icon = Icon::kNone;
  // Empty: the front end shows the program's own name.
  std::string caption;
  // The numbered string the text came from, 0 for a literal text.
  int stringId = 0;
  // What fills %1, %2, ... of a GUI message once its text is translated: a field's name as
  // the dialog shows it, or typed characters Latin-1 has no byte for, hence UTF-16.
  std::vector<std::u16string> args = {};
};

// The GUI shows a message box, the CLI prints, tests record.
class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void Show(const Message& message) = 0;
};

// Drops every message; for callers that report through results alone.
class SilentPrompter : public Prompter {
 public:
  void Show(const Message&) override {}
};

}  // namespace qm
