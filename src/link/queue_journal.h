// Diverted queues kept on disk while they are diverted, so that a program which dies
// holding them does not leave them pointed away from their port for good.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/queue_diversion.h"

namespace qm {

// Where the journals live: $XDG_STATE_HOME/quillmark/diverted-queues, else
// ~/.local/state/quillmark/diverted-queues. The state folder outlives a crash and a
// reboot, where the runtime folder would be gone. Empty when neither can be found.
std::string DefaultJournalDir();

// A journal's text: one line a queue, name and port text apart by a tab, with backslash,
// tab and line feed escaped.
std::string FormatJournal(const QueueMap& map);
// The queues of a journal's text; a line without its tab is skipped.
QueueMap ParseJournal(std::string_view text);

// Writes `map` to `path` through a temporary file and a rename, so a crash leaves the
// old journal or the new one, whole; an empty map removes the file. An empty string on
// success, else what failed.
std::string WriteJournal(const std::string& path, const QueueMap& map);

// A spooler that writes each queue to this process's journal in `dir` before it points
// the queue away, and strikes it off once it has its port back. The journal is gone
// whenever nothing is diverted.
class JournaledSpooler : public Spooler {
 public:
  JournaledSpooler(Spooler& inner, std::string dir);

  std::vector<PrintQueue> LocalQueues() override;
  SetResult SetQueuePort(const std::string& name, const std::string& port) override;
  bool UsesPort(const std::string& port, const std::string& portName) const override {
    return inner_.UsesPort(port, portName);
  }
  std::string DivertedPort() const override { return inner_.DivertedPort(); }
  std::string TakeNotice() override;

  const std::string& path() const { return path_; }

 private:
  void Save();

  Spooler& inner_;
  std::string dir_;
  std::string path_;
  QueueMap listed_;   // each queue's port text when the spooler last listed it
  QueueMap journal_;  // what the file holds
  std::string problem_;
};

// Gives back the queues named in the journals in `dir` of programs that have ended, and
// removes those journals. A queue the spooler could not be reached for stays in its
// journal for the next start. Returns the names of the queues given back.
std::vector<std::string> RestoreLeftoverQueues(const std::string& dir, Spooler& spooler);

}  // namespace qm
