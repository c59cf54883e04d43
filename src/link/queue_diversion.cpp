#include "link/queue_diversion.h"

#include <cctype>

namespace qm {

namespace {

// Characters that can go on a device's name: after the path, one of these means a longer name.
bool ContinuesName(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '.' || c == '_' || c == '-';
}

}  // namespace

bool NamesDevice(std::string_view uri, std::string_view path) {
  if (path.empty()) return false;
  for (size_t at = uri.find(path); at != std::string_view::npos; at = uri.find(path, at + 1)) {
    const size_t end = at + path.size();
    if (end == uri.size() || !ContinuesName(uri[end])) return true;
  }
  return false;
}

void DivertQueues(const std::string& portName, QueueMap& map, Spooler& spooler) {
  bool goOn = true;
  const std::string diverted = spooler.DivertedPort();
  for (const PrintQueue& queue : spooler.LocalQueues()) {
    if (!spooler.UsesPort(queue.port, portName)) continue;
    // Recorded even when the change below fails, so Restore puts back what was there.
    map.emplace(queue.name, queue.port);
    if (!goOn) continue;
    if (spooler.SetQueuePort(queue.name, diverted) == Spooler::SetResult::kFailed) goOn = false;
  }
}

void RestoreQueues(QueueMap& map, Spooler& spooler) {
  for (const auto& [name, port] : map) spooler.SetQueuePort(name, port);
  map.clear();
}

}  // namespace qm
