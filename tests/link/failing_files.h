// File calls that record what a crash-safe write does and fail the one a test names.
#pragma once

#include <fcntl.h>

#include <cerrno>
#include <ostream>
#include <string>
#include <vector>

#include "link/queue_journal.h"

namespace qm::test {

class FailingFiles : public FileCalls {
 public:
  // "open", "write", "fsync", "rename", "open folder" or "fsync folder"; empty fails none.
  std::string failing;
  std::vector<std::string> calls;

  int Open(const char* path, int flags, mode_t mode) override {
    const bool folder = (flags & O_DIRECTORY) != 0;
    if (Fails(folder ? "open folder" : "open")) return -1;
    const int fd = FileCalls::Open(path, flags, mode);
    if (folder) folder_ = fd;
    return fd;
  }
  ssize_t Write(int fd, const void* data, size_t size) override {
    return Fails("write") ? -1 : FileCalls::Write(fd, data, size);
  }
  int Fsync(int fd) override { return Fails(fd == folder_ ? "fsync folder" : "fsync") ? -1 : FileCalls::Fsync(fd); }
  int Rename(const char* from, const char* to) override { return Fails("rename") ? -1 : FileCalls::Rename(from, to); }

 private:
  bool Fails(const std::string& call) {
    calls.push_back(call);
    if (call != failing) return false;
    errno = EIO;
    return true;
  }
  int folder_ = -1;
};

// Each call a crash-safe write makes, in order, and whether the old file survives its failure.
struct FailingCall {
  const char* name;
  const char* call;
  bool oldFileKept;  // a failure after the rename has the new file in place
};
inline void PrintTo(const FailingCall& c, std::ostream* os) { *os << c.call; }
inline const FailingCall kFailingCalls[] = {
    {"Open", "open", true},          {"Write", "write", true},
    {"Fsync", "fsync", true},        {"Rename", "rename", true},
    {"OpenFolder", "open folder", false}, {"FsyncFolder", "fsync folder", false},
};
inline const std::vector<std::string> kWholeWrite = {"open", "write", "fsync", "rename", "open folder", "fsync folder"};

}  // namespace qm::test
