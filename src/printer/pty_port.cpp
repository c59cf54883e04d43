#include "printer/pty_port.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qm::printer {

namespace {

// Where the symbolic link `path` points, or "" when it is not one.
std::string LinkTarget(const std::string& path) {
  char buf[4096];
  const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf);
  return n > 0 && static_cast<size_t>(n) < sizeof buf ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// Makes `linkPath` a link to `target`. Anything there that is not a link is refused; a link
// is replaced, unless `keepLive` and what it points at still exists.
bool PlaceSymlink(const std::string& target, const std::string& linkPath, bool keepLive, std::string& error) {
  struct stat st {};
  if (::lstat(linkPath.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      error = linkPath + ": exists and is not a symbolic link; not replaced";
      return false;
    }
    // A link whose terminal is gone was left by a printer that ended without removing it.
    struct stat pointed {};
    if (keepLive && (::stat(linkPath.c_str(), &pointed) == 0 || errno != ENOENT)) {
      error = linkPath + ": already links to " + LinkTarget(linkPath) +
              ", which is in use (another printer?); not replaced";
      return false;
    }
    ::unlink(linkPath.c_str());
  }
  // Fails rather than replaces if another printer made its link in the meantime.
  if (::symlink(target.c_str(), linkPath.c_str()) != 0) {
    error = linkPath + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool ReplaceSymlink(const std::string& target, const std::string& linkPath, std::string& error) {
  return PlaceSymlink(target, linkPath, false, error);
}

bool ClaimSymlink(const std::string& target, const std::string& linkPath, std::string& error) {
  return PlaceSymlink(target, linkPath, true, error);
}

void RemoveSymlinkTo(const std::string& target, const std::string& linkPath) {
  if (!target.empty() && LinkTarget(linkPath) == target) ::unlink(linkPath.c_str());
}

PtyPort::~PtyPort() { Close(); }

bool PtyPort::Open(const std::string& linkPath, std::string& error) {
  Close();
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  char name[128] = {};
  if (master_ == -1 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
      ::ptsname_r(master_, name, sizeof name) != 0) {
    error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    Close();
    return false;
  }
  devicePath_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  termios t{};
  if (slave_ == -1 || ::tcgetattr(slave_, &t) != 0) {
    error = devicePath_ + ": " + std::strerror(errno);
    Close();
    return false;
  }
  // Raw from the start: no echo of replies back into the command stream, no CR to LF.
  ::cfmakeraw(&t);
  ::tcsetattr(slave_, TCSANOW, &t);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  if (!linkPath.empty()) {
    if (!ClaimSymlink(devicePath_, linkPath, error)) {
      Close();
      return false;
    }
    linkPath_ = linkPath;
  }
  origin_ = Origin{kind_, 0, name_};
  return true;
}

void PtyPort::Close() {
  // Another printer may have put its own link there since: that one is not ours to remove.
  if (!linkPath_.empty()) RemoveSymlinkTo(devicePath_, linkPath_);
  linkPath_.clear();
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = master_ = -1;
  queued_.clear();
}

void PtyPort::Collect(std::vector<pollfd>& fds) {
  if (master_ < 0) return;
  const short events = static_cast<short>(POLLIN | (queued_.empty() ? 0 : POLLOUT));
  fds.push_back(pollfd{master_, events, 0});
}

void PtyPort::Service(const pollfd* fds, size_t count, const Receiver& receive) {
  if (count == 0 || master_ < 0) return;
  if (fds[0].revents & POLLOUT) Flush();
  if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) return;
  // A terminal hands over a few kilobytes per read; take what is there before polling
  // again, up to a bound that keeps the other ports served.
  char buf[kReadChunk];
  for (int reads = 0; reads < 16 && master_ >= 0; ++reads) {
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) return;
    receive(std::string_view(buf, static_cast<size_t>(n)), origin_);
  }
}

bool PtyPort::Send(uint64_t, std::string_view bytes, bool startsReply) {
  if (master_ < 0) return false;
  if (startsReply) {
    // Whatever the link left unread of the last reply is never read: a new query has come.
    ::tcflush(slave_, TCIFLUSH);
    queued_.clear();
  }
  if (queued_.size() + bytes.size() > kMaxQueuedBytes) return false;
  queued_.append(bytes);
  Flush();
  return true;
}

void PtyPort::Flush() {
  while (!queued_.empty()) {
    const ssize_t n = ::write(master_, queued_.data(), queued_.size());
    if (n > 0) {
      queued_.erase(0, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return;  // full for now; poll says when it takes more
  }
}

}  // namespace qm::printer
