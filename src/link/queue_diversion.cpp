#include "link/queue_diversion.h"

namespace qm {

void DivertQueues(const std::string& portName, QueueMap& map, Spooler& spooler) {
  bool goOn = true;
  for (const PrintQueue& queue : spooler.LocalQueues()) {
    if (queue.port.find(portName) == std::string::npos) continue;
    // Recorded even when the change below fails, so Restore puts back what was there.
    map.emplace(queue.name, queue.port);
    if (!goOn) continue;
    if (spooler.SetQueuePort(queue.name, kDivertedPort) == Spooler::SetResult::kFailed) goOn = false;
  }
}

void RestoreQueues(QueueMap& map, Spooler& spooler) {
  for (const auto& [name, port] : map) spooler.SetQueuePort(name, port);
  map.clear();
}

}  // namespace qm
