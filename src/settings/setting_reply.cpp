#include "settings/setting_reply.h"

#include <algorithm>

#include "link/printer_link.h"

namespace qm {

std::string QueryText(PrinterLink& link, Clock& clock, std::string_view query, int delayMs, int count) {
  link.Write(query);
  clock.Sleep(delayMs);
  char buffer[32] = {};
  const int got = link.Read(buffer, std::min(count, static_cast<int>(sizeof buffer)));
  return std::string(buffer, static_cast<size_t>(std::max(got, 0)));
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

}  // namespace qm
