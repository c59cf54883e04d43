#include "link/queue_journal.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace qm {

namespace fs = std::filesystem;

namespace {

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
  }
  return out;
}

// The process a journal's file name names, or 0 for a name that is not a process number:
// how journals were named before runs had ids of their own.
pid_t OwnerOf(const std::string& fileName) {
  if (fileName.empty() || fileName.size() > 9) return 0;
  pid_t pid = 0;
  for (const char c : fileName) {
    if (c < '0' || c > '9') return 0;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

bool Running(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

constexpr std::string_view kRunPrefix = "run-";

bool IsRunName(std::string_view name) {
  if (name.size() != kRunPrefix.size() + 32 || name.substr(0, kRunPrefix.size()) != kRunPrefix) return false;
  return name.find_first_not_of("0123456789abcdef", kRunPrefix.size()) == std::string_view::npos;
}

std::string Errno(const std::string& what) { return what + ": " + std::strerror(errno); }

// Journals are a few lines; anything much larger is not one of ours.
constexpr size_t kMaxJournalBytes = 1 << 20;

bool ReadFd(int fd, std::string& text) {
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    text.append(buf, static_cast<size_t>(n));
    if (text.size() > kMaxJournalBytes) return false;
  }
}

// Opens `path` and takes its lock if nobody holds it: -1 while its run lives (or it is
// gone). The lock is checked against the name afterwards, since a live run renames a new,
// locked file over the old one between our open and our lock.
int LockIfEnded(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat opened {}, named {};
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) ||
      ::lstat(path.c_str(), &named) != 0 || named.st_dev != opened.st_dev || named.st_ino != opened.st_ino) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Each queue's port text now, fetched the first time it is asked for.
class CurrentPorts {
 public:
  explicit CurrentPorts(Spooler& spooler) : spooler_(spooler) {}
  const std::string* Find(const std::string& name) {
    if (!listed_) {
      for (const PrintQueue& q : spooler_.LocalQueues()) ports_[q.name] = q.port;
      listed_ = true;
    }
    const auto it = ports_.find(name);
    return it == ports_.end() ? nullptr : &it->second;
  }

 private:
  Spooler& spooler_;
  bool listed_ = false;
  QueueMap ports_;
};

// Gives back a journal's queues; what is left to try at the next start comes back.
QueueMap RestoreJournal(const QueueMap& journal, Spooler& spooler, CurrentPorts& now,
                        std::vector<std::string>& restored, std::vector<std::string>* changed) {
  QueueMap left;
  const std::string diverted = spooler.DivertedPort();
  for (const auto& [queue, port] : journal) {
    // A queue missing from the list is tried all the same: the spooler decides.
    if (const std::string* current = now.Find(queue); current && *current != diverted) {
      if (*current != port && changed) changed->push_back(queue);
      continue;
    }
    const Spooler::SetResult result = spooler.SetQueuePort(queue, port);
    if (result == Spooler::SetResult::kFailed) left.emplace(queue, port);
    if (result == Spooler::SetResult::kDone) restored.push_back(queue);
  }
  return left;
}

}  // namespace

std::string DefaultJournalDir() {
  if (const char* state = Env("XDG_STATE_HOME")) return std::string(state) + "/quillmark/diverted-queues";
  if (const char* home = Env("HOME")) return std::string(home) + "/.local/state/quillmark/diverted-queues";
  return {};
}

std::string FormatJournal(const QueueMap& map) {
  std::string text;
  for (const auto& [name, port] : map) {
    AppendEscaped(text, name);
    text += '\t';
    AppendEscaped(text, port);
    text += '\n';
  }
  return text;
}

QueueMap ParseJournal(std::string_view text) {
  QueueMap map;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0) continue;
    map[Unescaped(line.substr(0, tab))] = Unescaped(line.substr(tab + 1));
  }
  return map;
}

int FileCalls::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileCalls::Write(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
int FileCalls::Fsync(int fd) { return ::fsync(fd); }
int FileCalls::Rename(const char* from, const char* to) { return ::rename(from, to); }

FileCalls& FileCalls::System() {
  static FileCalls calls;
  return calls;
}

std::string RandomId() {
  unsigned char bytes[16];
  if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
    std::random_device device;
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(device());
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string id;
  for (const unsigned char b : bytes) {
    id += kHex[b >> 4];
    id += kHex[b & 15];
  }
  return id;
}

std::string ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode, FileCalls& files,
                        int* keepLocked) {
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) mode = old.st_mode & 07777;
  // A name of our own, made here: whatever another user put beside the file (a link to a
  // file of ours, say) is neither followed nor written over.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 8; ++attempt) {
    temp = path + ".tmp-" + RandomId().substr(0, 16);
    fd = files.Open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return Errno(temp);
  const auto fail = [&](const std::string& what) {
    const std::string reason = Errno(what);
    ::close(fd);
    ::unlink(temp.c_str());
    return reason;
  };
  // Locked from the start, so a start cleaning up after ended runs leaves it alone.
  if (keepLocked && ::flock(fd, LOCK_EX) != 0) return fail(temp);
  if (::fchmod(fd, mode) != 0) return fail(temp);
  for (std::string_view rest = bytes; !rest.empty();) {
    const ssize_t n = files.Write(fd, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return fail(temp);
    }
    rest.remove_prefix(static_cast<size_t>(n));
  }
  if (files.Fsync(fd) != 0) return fail(temp);
  if (!keepLocked && ::close(fd) != 0) {
    fd = -1;
    const std::string reason = Errno(temp);
    ::unlink(temp.c_str());
    return reason;
  }
  if (files.Rename(temp.c_str(), path.c_str()) != 0) {
    const std::string reason = Errno(path);
    if (keepLocked) ::close(fd);
    ::unlink(temp.c_str());
    return reason;
  }
  if (keepLocked) *keepLocked = fd;
  // The rename is durable only once the folder's own entry is on disk.
  std::string folder = fs::path(path).parent_path().string();
  if (folder.empty()) folder = ".";
  const int dir = files.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (dir < 0) return Errno(folder);
  const bool synced = files.Fsync(dir) == 0;
  const std::string reason = synced ? std::string() : Errno(folder);
  ::close(dir);
  return reason;
}

std::string WriteJournal(const std::string& path, const QueueMap& map, FileCalls& files) {
  if (map.empty()) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return Errno(path);
    return {};
  }
  std::error_code ec;
  const fs::path folder = fs::path(path).parent_path();
  fs::create_directories(folder, ec);
  if (ec) return folder.string() + ": " + ec.message();
  fs::permissions(folder, fs::perms::owner_all, ec);  // the queues' names are nobody else's business
  return ReplaceFile(path, FormatJournal(map), 0600, files);
}

std::string KeptQueuesNotice(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return "Print queues changed while they were diverted keep their new ports: " + list + ".";
}

JournaledSpooler::JournaledSpooler(Spooler& inner, std::string dir, FileCalls& files)
    : inner_(inner), dir_(std::move(dir)), files_(files) {
  if (!dir_.empty()) path_ = dir_ + "/" + std::string(kRunPrefix) + RandomId();
}

JournaledSpooler::~JournaledSpooler() {
  // A journal still holding queues stays for the next start; closing lets it see we ended.
  if (lockedFd_ >= 0) ::close(lockedFd_);
}

std::vector<PrintQueue> JournaledSpooler::LocalQueues() {
  std::vector<PrintQueue> queues = inner_.LocalQueues();
  for (const PrintQueue& queue : queues) listed_[queue.name] = queue.port;
  return queues;
}

Spooler::SetResult JournaledSpooler::SetQueuePort(const std::string& name, const std::string& port) {
  if (port == inner_.DivertedPort()) {
    // On disk before the change: a crash in between leaves a journal that restores a
    // queue still on its port, which does no harm.
    const auto listed = listed_.find(name);
    const bool added = listed != listed_.end() && journal_.emplace(name, listed->second).second;
    if (added) Save();
    const SetResult result = inner_.SetQueuePort(name, port);
    // Refused: the queue is on its port as before, nothing to give back after a crash.
    if (added && result == SetResult::kNotOpened) {
      journal_.erase(name);
      Save();
    }
    return result;
  }
  if (journal_.count(name) > 0) {
    for (const PrintQueue& queue : inner_.LocalQueues()) {
      if (queue.name != name || queue.port == inner_.DivertedPort()) continue;
      // Pointed elsewhere by someone else while we held the port: theirs is the newer word.
      journal_.erase(name);
      Save();
      if (queue.port != port) kept_.push_back(name);
      return SetResult::kNotOpened;
    }
  }
  const SetResult result = inner_.SetQueuePort(name, port);
  // Unreachable spooler: the queue is still away, and the next start tries again.
  if (result != SetResult::kFailed && journal_.erase(name) > 0) Save();
  return result;
}

std::string JournaledSpooler::TakeNotice() {
  std::string notice = inner_.TakeNotice();
  if (!kept_.empty()) {
    notice += (notice.empty() ? "" : " ") + KeptQueuesNotice(kept_);
    kept_.clear();
  }
  if (!problem_.empty()) {
    notice += (notice.empty() ? "" : " ") + ("The diverted queues could not be recorded: " + problem_);
    problem_.clear();
  }
  return notice;
}

void JournaledSpooler::Save() {
  std::string error;
  if (path_.empty()) {
    error = "no state folder (set HOME or XDG_STATE_HOME)";
  } else if (journal_.empty()) {
    if (::unlink(path_.c_str()) != 0 && errno != ENOENT) error = Errno(path_);
    if (lockedFd_ >= 0) ::close(lockedFd_);
    lockedFd_ = -1;
  } else {
    std::error_code ec;
    fs::create_directories(dir_, ec);
    fs::permissions(dir_, fs::perms::owner_all, ec);  // the queues' names are nobody else's business
    // A name that is taken is some other run's, however unlikely: pick another.
    struct stat st {};
    while (lockedFd_ < 0 && ::lstat(path_.c_str(), &st) == 0) path_ = dir_ + "/" + std::string(kRunPrefix) + RandomId();
    int fresh = -1;
    error = ReplaceFile(path_, FormatJournal(journal_), 0600, files_, &fresh);
    if (fresh >= 0) {
      if (lockedFd_ >= 0) ::close(lockedFd_);
      lockedFd_ = fresh;
    }
  }
  if (!error.empty() && problem_.empty()) problem_ = error;
}

std::vector<std::string> RestoreLeftoverQueues(const std::string& dir, Spooler& spooler,
                                               std::vector<std::string>* changed) {
  std::vector<std::string> restored;
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(dir, ec)) return restored;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir, ec)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  CurrentPorts now(spooler);
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    const size_t tempAt = name.find(".tmp");
    const std::string base = name.substr(0, tempAt);
    const pid_t owner = OwnerOf(base);
    if (owner != 0) {
      // Named by a process number: ended unless that process runs. Our own number is
      // never a journal of ours (ours have ids), so it was a run before a restart.
      if (owner != ::getpid() && Running(owner)) continue;
      if (tempAt != std::string::npos) {
        fs::remove(file, ec);  // a write cut short; the journal beside it is whole
        continue;
      }
      std::ifstream in(file, std::ios::binary);
      const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      WriteJournal(file.string(), RestoreJournal(ParseJournal(text), spooler, now, restored, changed));
      continue;
    }
    if (!IsRunName(base)) continue;  // not a journal
    const int fd = LockIfEnded(file.string());
    if (fd < 0) continue;  // its run lives
    if (tempAt != std::string::npos) {
      ::unlink(file.c_str());
      ::close(fd);
      continue;
    }
    std::string text;
    if (ReadFd(fd, text)) {
      const QueueMap left = RestoreJournal(ParseJournal(text), spooler, now, restored, changed);
      if (left.empty()) {
        ::unlink(file.c_str());
      } else {
        // Still under our lock until the rest is on disk, then free for the next start.
        int fresh = -1;
        ReplaceFile(file.string(), FormatJournal(left), 0600, FileCalls::System(), &fresh);
        if (fresh >= 0) ::close(fresh);
      }
    }
    ::close(fd);
  }
  return restored;
}

}  // namespace qm
