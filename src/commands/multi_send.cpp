#include "commands/multi_send.h"

namespace qm {

MultiSendResult MultiSend(PrinterLink& link, const std::string& script, int count,
                          const std::function<void(int)>& progress) {
  MultiSendResult result;
  for (int i = 0; i < count; ++i) {
    // An Ethernet write reports how much went out; a script cut short is no success.
    const int written = link.Write(script);
    const bool whole = link.GetInterfaceKind() == kEthernet ? written == static_cast<int>(script.size())
                                                             : written != 0;
    if (!whole) {
      result.failed = true;
      break;
    }
    ++result.completed;
    if (progress) progress(result.completed);
  }
  return result;
}

}  // namespace qm
