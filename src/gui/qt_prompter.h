// Messages as message boxes: OK only, the program's name as caption.
#pragma once

#include "core/prompter.h"

namespace qm {

class QtPrompter : public Prompter {
 public:
  void Show(const Message& message) override;
};

}  // namespace qm
