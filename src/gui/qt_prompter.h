// Messages as message boxes: OK only, the program's name or the message's own caption.
#pragma once

#include "core/prompter.h"

namespace qm {

// Texts are shown by the rule of gui/qt_strings.h: numbered strings and the GUI's own
// messages translated, everything else as the Latin-1 bytes it is.
class QtPrompter : public Prompter {
 public:
  void Show(const Message& message) override;
};

}  // namespace qm
