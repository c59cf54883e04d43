#include "link/query.h"

#include <algorithm>

#include "link/printer_link.h"

namespace qm {

std::string ReadReply(PrinterLink& link, int count, ReplyEnd end) {
  char buffer[32] = {};
  const int got = link.Read(buffer, std::min(count, static_cast<int>(sizeof buffer)), end);
  return std::string(buffer, static_cast<size_t>(std::max(got, 0)));
}

bool ReadFailed(const PrinterLink& link) {
  // A silent printer is no failure of the port. On Ethernet a read has no cause of its own:
  // a printer gone fails the next reconnect.
  const LinkFailure failure = link.lastFailure();
  return link.GetInterfaceKind() != kEthernet && failure != LinkFailure::kNone && failure != LinkFailure::kNoReply;
}

std::string QueryText(PrinterLink& link, Clock& clock, std::string_view query, int delayMs, int count,
                      ReplyEnd end) {
  link.Write(query);
  clock.Sleep(delayMs);
  return ReadReply(link, count, end);
}

std::string StripLineEnds(std::string text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  return text;
}

void Tell(Prompter& prompter, std::string text, Icon icon) {
  prompter.Show(Message{std::move(text), icon, {}, 0});
}

bool Report(Prompter& prompter, bool ok, const std::string& what) {
  Tell(prompter, what + (ok ? " is successful" : " is failed"), ok ? Icon::kInformation : Icon::kExclamation);
  return ok;
}

bool Report(Prompter& prompter, bool ok, std::string_view success, std::string_view failure) {
  Tell(prompter, std::string(ok ? success : failure), ok ? Icon::kInformation : Icon::kExclamation);
  return ok;
}

void TellOthersCleared(Prompter& prompter, int number, std::string_view others) {
  Tell(prompter,
       "Memory switch " + std::to_string(number) + " could not be read first, so " + std::string(others) +
           " was cleared.",
       Icon::kExclamation);
}

}  // namespace qm
