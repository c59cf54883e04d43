// Diverted queues kept on disk while they are diverted, so that a program which dies
// holding them does not leave them pointed away from their port for good.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

#include "link/queue_diversion.h"

namespace qm {

// The file calls a crash-safe replacement makes, one seam for the journal and the virtual
// printer's state file, so a test can make any of them fail.
class FileCalls {
 public:
  virtual ~FileCalls() = default;
  virtual int Open(const char* path, int flags, mode_t mode);
  virtual ssize_t Write(int fd, const void* data, size_t size);
  virtual int Fsync(int fd);
  virtual int Rename(const char* from, const char* to);
  // The system's own calls.
  static FileCalls& System();
};

// Replaces `path` with `bytes` so that a crash leaves the old file or the new one, whole:
// written to a temporary beside it that this call creates (never one already there, never
// through a link), synced, renamed over `path`, and the folder synced. The new file has the
// old one's permissions, else `mode`. A failure before the rename leaves the old file as it
// was and no temporary. With `keepLocked`, the new file is locked (flock) before it takes the
// name and its descriptor is handed back open, so the name never shows an unlocked file. An
// empty string on success, else what failed.
std::string ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode,
                        FileCalls& files = FileCalls::System(), int* keepLocked = nullptr);
// Sixteen random bytes as 32 hexadecimal digits: a name no other run will pick.
std::string RandomId();

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
std::string WriteJournal(const std::string& path, const QueueMap& map, FileCalls& files = FileCalls::System());

// What is said of queues that someone changed while they were diverted, and that keep the
// change instead of getting their old port back.
std::string KeptQueuesNotice(const std::vector<std::string>& names);

// A spooler that writes each queue to this run's journal in `dir` before it points the
// queue away, and strikes it off once it has its port back. The journal is gone whenever
// nothing is diverted. Its name is random, so no other run's journal is ever written over,
// not even by a run with the same process number (a container's first process is 1 on
// every run); the run holds a lock on it while it lives, which is how a later start knows
// it has ended. A queue is given back only while it still points where we sent it: one an
// administrator changed meanwhile keeps the change, and the notice says so.
class JournaledSpooler : public Spooler {
 public:
  JournaledSpooler(Spooler& inner, std::string dir, FileCalls& files = FileCalls::System());
  ~JournaledSpooler() override;
  JournaledSpooler(const JournaledSpooler&) = delete;
  JournaledSpooler& operator=(const JournaledSpooler&) = delete;

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
  FileCalls& files_;
  std::string path_;
  int lockedFd_ = -1;  // the journal on disk, locked while this run lives
  QueueMap listed_;    // each queue's port text when the spooler last listed it
  QueueMap journal_;   // what the file holds
  std::vector<std::string> kept_;  // changed by someone else while diverted
  std::string problem_;
};

// Gives back the queues named in the journals in `dir` of runs that have ended, and removes
// those journals; journals named by a bare process number, as older versions wrote them,
// are read too. A queue the spooler could not be reached for stays in its journal for the
// next start. A queue that no longer points where the run sent it keeps its port and is
// named in `changed`. Returns the names of the queues given back.
std::vector<std::string> RestoreLeftoverQueues(const std::string& dir, Spooler& spooler,
                                               std::vector<std::string>* changed = nullptr);

}  // namespace qm
