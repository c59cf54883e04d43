#include "link/fd_port.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace qm {

namespace {

// How long to wait before asking again a device that reports ready but gives nothing
// (a parallel port without poll support, a terminal reading zero bytes).
constexpr int kIdleStepMs = 5;
// With DSR flow, the most bytes written between two DSR checks.
constexpr size_t kDsrChunk = 64;

}  // namespace

FdPort::FdPort(int fd, Clock& clock) : fd_(fd), clock_(clock), isTerminal_(::isatty(fd) == 1) {}

FdPort::~FdPort() {
  if (fd_ < 0) return;
  // A terminal keeps its exclusive flag after the last close; left set, it would refuse
  // our own next open (USB reopens for every call) to anyone but root.
  if (isTerminal_) ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
}

bool FdPort::WaitForDsr(const Deadline& deadline) {
  for (;;) {
    int lines = 0;
    // A device that cannot report its lines gives no flow control to honour.
    if (::ioctl(fd_, TIOCMGET, &lines) == -1) return true;
    if (lines & TIOCM_DSR) return true;
    if (deadline.Passed() || clock_.Cancelled()) return false;
    clock_.Poll(nullptr, 0, std::min(kIdleStepMs, deadline.RemainingMs()));
  }
}

WriteOutcome FdPort::Write(const char* data, size_t count, int waitMs) {
  WriteOutcome out;
  const Deadline deadline(clock_, waitMs);
  bool saidWritable = false;  // the last wait ended with the port writable
  while (out.written < count) {
    if (dsrFlow_ && !WaitForDsr(deadline)) break;
    size_t piece = count - out.written;
    if (dsrFlow_) piece = std::min(piece, kDsrChunk);
    const ssize_t n = ::write(fd_, data + out.written, piece);
    if (n > 0) {
      out.written += static_cast<size_t>(n);
      saidWritable = false;
      continue;
    }
    if (n == -1 && errno == EINTR) continue;
    if (n == -1 && errno != EAGAIN && errno != EWOULDBLOCK) {
      out.failed = true;
      break;
    }
    if (deadline.Passed()) break;
    // Writable but refused all the same (a printer port without poll support): do not spin.
    // A full buffer that drained is written to at once: pausing there would cap the rate.
    if (saidWritable) clock_.Poll(nullptr, 0, std::min(kIdleStepMs, deadline.RemainingMs()));
    pollfd p{fd_, POLLOUT, 0};
    const int ready = clock_.Poll(&p, 1, std::min(deadline.RemainingMs(), 1000));
    // Stopped by the operator: the rest of the write is not waited for.
    if (ready < 0 && errno == ECANCELED) break;
    if (ready > 0 && (p.revents & (POLLERR | POLLNVAL))) {
      out.failed = true;
      break;
    }
    saidWritable = ready > 0;
  }
  return out;
}

ReadOutcome FdPort::Read(char* buffer, size_t count, const ReplyPlan& plan) {
  ReadOutcome out;
  if (count == 0) return out;
  const Deadline deadline(clock_, plan.waitMs);
  int64_t quietSince = 0;
  for (;;) {
    const std::string_view got(buffer, out.got);
    if (out.got > 0 && plan.Whole(got, count)) return out;
    int waitMs;
    if (out.got == 0 || plan.WaitsForShape()) {
      // At the deadline this is one last look without waiting.
      waitMs = deadline.RemainingMs();
    } else {
      const int64_t left = quietSince + plan.QuietGapMs(got) - clock_.NowMs();
      waitMs = left > 0 ? static_cast<int>(left) : 0;
    }
    pollfd p{fd_, POLLIN, 0};
    const int ready = clock_.Poll(&p, 1, waitMs);
    if (ready < 0) {
      if (errno == EINTR) continue;
      out.failed = out.got == 0;
      return out;
    }
    if (ready > 0) {
      const ssize_t n = ::read(fd_, buffer + out.got, count - out.got);
      if (n > 0) {
        out.got += static_cast<size_t>(n);
        quietSince = clock_.NowMs();
        continue;
      }
      if (n == -1 && errno == EINTR) continue;
      const bool hungUp = n == 0 && (p.revents & (POLLHUP | POLLERR));
      if (hungUp || (n == -1 && errno != EAGAIN && errno != EWOULDBLOCK)) {
        out.failed = out.got == 0;
        return out;
      }
      // Readable yet empty: give the device a moment rather than spin.
      if (waitMs == 0) return out;
      clock_.Poll(nullptr, 0, std::min(kIdleStepMs, waitMs));
      continue;
    }
    if (waitMs == 0) return out;
  }
}

void FdPort::Purge() {
  if (isTerminal_) ::tcflush(fd_, TCIOFLUSH);
}

void FdPort::PurgeInput() {
  if (isTerminal_) ::tcflush(fd_, TCIFLUSH);
}

int OpenDevice(const std::string& path, bool exclusive, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd == -1) {
    error = path + ": " + std::strerror(errno);
    return -1;
  }
  // A printer port is a device node. Written to, an ordinary file would be overwritten and
  // its own bytes read back as the printer's reply.
  struct stat st {};
  if (::fstat(fd, &st) == -1 || !S_ISCHR(st.st_mode)) {
    error = path + ": not a character device, so not a printer port";
    ::close(fd);
    return -1;
  }
  // A shared lock only tests that nobody holds the device exclusively.
  if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == -1) {
    error = path + ": in use by another program";
    ::close(fd);
    return -1;
  }
  if (exclusive && ::isatty(fd) == 1) ::ioctl(fd, TIOCEXCL);
  return fd;
}

bool MakeRaw(int fd) {
  termios t{};
  if (::tcgetattr(fd, &t) == -1) return false;
  ::cfmakeraw(&t);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

}  // namespace qm
