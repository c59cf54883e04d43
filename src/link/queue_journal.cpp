#include "link/queue_journal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
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

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The process a journal's file name names, or 0 for a name that is not a process number.
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

std::string WriteJournal(const std::string& path, const QueueMap& map) {
  if (map.empty()) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return path + ": " + std::strerror(errno);
    return {};
  }
  std::error_code ec;
  const fs::path folder = fs::path(path).parent_path();
  fs::create_directories(folder, ec);
  if (ec) return folder.string() + ": " + ec.message();
  fs::permissions(folder, fs::perms::owner_all, ec);  // the queues' names are nobody else's business
  const std::string temp = path + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return temp + ": " + std::strerror(errno);
  const bool written = WriteAll(fd, FormatJournal(map)) && ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(written ? errno : error);
    ::unlink(temp.c_str());
    return path + ": " + reason;
  }
  return {};
}

JournaledSpooler::JournaledSpooler(Spooler& inner, std::string dir)
    : inner_(inner), dir_(std::move(dir)) {
  if (!dir_.empty()) path_ = dir_ + "/" + std::to_string(::getpid());
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
  const SetResult result = inner_.SetQueuePort(name, port);
  // Unreachable spooler: the queue is still away, and the next start tries again.
  if (result != SetResult::kFailed && journal_.erase(name) > 0) Save();
  return result;
}

std::string JournaledSpooler::TakeNotice() {
  std::string notice = inner_.TakeNotice();
  if (!problem_.empty()) {
    notice += (notice.empty() ? "" : " ") + ("The diverted queues could not be recorded: " + problem_);
    problem_.clear();
  }
  return notice;
}

void JournaledSpooler::Save() {
  const std::string error = path_.empty() ? "no state folder (set HOME or XDG_STATE_HOME)"
                                          : WriteJournal(path_, journal_);
  if (!error.empty() && problem_.empty()) problem_ = error;
}

std::vector<std::string> RestoreLeftoverQueues(const std::string& dir, Spooler& spooler) {
  std::vector<std::string> restored;
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(dir, ec)) return restored;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir, ec)) files.push_back(entry.path());
  for (const fs::path& file : files) {
    std::string name = file.filename().string();
    const bool temp = name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0;
    if (temp) name.resize(name.size() - 4);
    const pid_t owner = OwnerOf(name);
    if (owner == 0 || owner == ::getpid() || Running(owner)) continue;
    if (temp) {
      fs::remove(file, ec);  // a write cut short; the journal beside it is whole
      continue;
    }
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    QueueMap left;
    for (const auto& [queue, port] : ParseJournal(text)) {
      const Spooler::SetResult result = spooler.SetQueuePort(queue, port);
      if (result == Spooler::SetResult::kFailed) left.emplace(queue, port);
      if (result == Spooler::SetResult::kDone) restored.push_back(queue);
    }
    WriteJournal(file.string(), left);
  }
  return restored;
}

}  // namespace qm
