// The spooler a front end diverts through: CUPS when a server answers, nothing otherwise,
// with each diversion kept in a journal until it is undone.
#pragma once

#include <memory>
#include <string>

#include "link/cups/cups_spooler.h"
#include "link/queue_journal.h"

namespace qm {

class SystemSpooler {
 public:
  // How long the start waits for a CUPS server to take a connection.
  static constexpr int kProbeMs = 1500;

  // Looks for a CUPS server; with one, gives back the queues that programs which have
  // ended left diverted in `journalDir` (DefaultJournalDir() when empty), then journals
  // this program's diversions there.
  SystemSpooler(DeviceMap devices, std::string journalDir = {}, int probeMs = kProbeMs);
  SystemSpooler(const SystemSpooler&) = delete;
  SystemSpooler& operator=(const SystemSpooler&) = delete;

  Spooler& spooler() { return journaled_ ? static_cast<Spooler&>(*journaled_) : none_; }
  bool HasServer() const { return journaled_ != nullptr; }
  // What the start did or could not do, in one line; empty when there is nothing to say.
  const std::string& startNotice() const { return startNotice_; }

 private:
  NoSpooler none_;
  std::unique_ptr<CupsSpooler> cups_;
  std::unique_ptr<JournaledSpooler> journaled_;
  std::string startNotice_;
};

}  // namespace qm
