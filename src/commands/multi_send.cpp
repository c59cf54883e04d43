#include "commands/multi_send.h"

#include <algorithm>

namespace qm {

MultiSendResult MultiSend(PrinterLink& link, const std::string& script, int count, Progress* progress) {
  MultiSendResult result;
  for (int i = 0; i < count; ++i) {
    if (progress && progress->Cancelled()) {
      result.cancelled = true;
      break;
    }
    // An Ethernet write reports how much went out; a script cut short is no success.
    const int written = link.Write(script);
    const bool whole = link.GetInterfaceKind() == kEthernet ? written == static_cast<int>(script.size())
                                                             : written != 0;
    if (!whole) {
      result.failed = true;
      break;
    }
    ++result.completed;
    if (progress) progress->Report(static_cast<uint64_t>(result.completed), static_cast<uint64_t>(count));
  }
  return result;
}

MultiSendResult MultiSend(PrinterLink& link, const std::string& script, int count, Progress& progress) {
  constexpr size_t kPiece = 2048;
  MultiSendResult result;
  const uint64_t size = script.size();
  const uint64_t total = size * static_cast<uint64_t>(count < 0 ? 0 : count);
  bool stopAsked = false;  // heard at the last piece of a send: that send still counts
  for (int i = 0; i < count; ++i) {
    const uint64_t before = size * static_cast<uint64_t>(i);
    const auto hear = [&](uint64_t doneOfThis) {
      progress.Report(before + doneOfThis, total);
      if (!progress.Cancelled()) return true;
      if (doneOfThis < size) result.cancelled = true;
      stopAsked = true;
      return false;
    };
    if (link.GetInterfaceKind() == kEthernet) {
      size_t at = 0;
      const auto next = [&](char* buffer, size_t max) {
        const size_t n = std::min(max, script.size() - at);
        std::copy_n(script.data() + at, n, buffer);
        at += n;
        return n;
      };
      const uint64_t taken = link.WriteStream(next, hear);
      if (taken != size && link.lastFailure() == LinkFailure::kCancelled) result.cancelled = true;
      if (result.cancelled) break;
      result.failed = taken != size;
    } else {
      for (size_t at = 0; at < script.size(); at += kPiece) {
        const size_t n = std::min(kPiece, script.size() - at);
        result.failed = link.Write(script.data() + at, static_cast<int>(n)) == 0;
        if (result.failed && link.lastFailure() == LinkFailure::kCancelled) {
          // Cancel during the piece: not a failure of the printer.
          result.failed = false;
          result.cancelled = true;
        }
        if (result.failed || result.cancelled || !hear(at + n)) break;
      }
      if (result.cancelled) break;
    }
    if (result.failed) break;
    ++result.completed;
    if (stopAsked && i + 1 < count) {
      result.cancelled = true;
      break;
    }
  }
  return result;
}

}  // namespace qm
