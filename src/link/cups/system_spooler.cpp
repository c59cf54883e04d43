#include "link/cups/system_spooler.h"

namespace qm {

SystemSpooler::SystemSpooler(DeviceMap devices, std::string journalDir, int probeMs) {
  if (!CupsSpooler::ServerAnswers(probeMs)) return;
  if (journalDir.empty()) journalDir = DefaultJournalDir();
  cups_ = std::make_unique<CupsSpooler>(std::move(devices));
  std::vector<std::string> changed;
  const std::vector<std::string> restored = RestoreLeftoverQueues(journalDir, *cups_, &changed);
  if (!restored.empty()) {
    std::string names;
    for (const std::string& name : restored) names += (names.empty() ? "" : ", ") + name;
    startNotice_ = "Print queues left diverted by an earlier run have their ports back: " + names + ".";
  }
  if (!changed.empty()) startNotice_ += (startNotice_.empty() ? "" : " ") + KeptQueuesNotice(changed);
  if (std::string problem = cups_->TakeNotice(); !problem.empty()) {
    startNotice_ += (startNotice_.empty() ? "" : " ") + problem;
  }
  journaled_ = std::make_unique<JournaledSpooler>(*cups_, journalDir);
}

}  // namespace qm
