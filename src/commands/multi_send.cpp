#include "commands/multi_send.h"

namespace qm {

MultiSendResult MultiSend(PrinterLink& link, const std::string& script, int count,
                          const std::function<void(int)>& progress) {
  MultiSendResult result;
  for (int i = 0; i < count; ++i) {
    if (link.Write(script) == 0) {
      result.failed = true;
      break;
    }
    ++result.completed;
    if (progress) progress(result.completed);
  }
  return result;
}

}  // namespace qm
