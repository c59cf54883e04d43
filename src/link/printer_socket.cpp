#include "link/printer_socket.h"

#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string_view>

namespace qm {

namespace {

using AddrList = std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)>;

// Longest single wait while a send is stuck; the stall rule is checked between waits.
constexpr int kLongestPollMs = 1000;
// Longest pause between two looks at what the printer has acknowledged; long enough for
// a window's clock to repaint during it.
constexpr int kDrainStepMaxMs = 50;

int SocketError(int fd) {
  int err = 0;
  socklen_t len = sizeof err;
  ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
  return err;
}

}  // namespace

PrinterSocket::ConnectResult PrinterSocket::Connect(int waitMs, std::string& error) {
  Close();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int rc = ::getaddrinfo(address.c_str(), service.c_str(), &hints, &found); rc != 0) {
    error = address + ": " + ::gai_strerror(rc);
    return ConnectResult::kFailed;
  }
  AddrList list(found, &::freeaddrinfo);
  const Deadline deadline(clock_, waitMs);
  for (const addrinfo* a = list.get(); a; a = a->ai_next) {
    const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd == -1) {
      error = std::string("cannot create socket: ") + std::strerror(errno);
      return ConnectResult::kNoSocket;
    }
    if (sendBufferBytes > 0) {
      ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &sendBufferBytes, sizeof sendBufferBytes);
    }
    int rc = ::connect(fd, a->ai_addr, a->ai_addrlen);
    if (rc == -1 && errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      int ready;
      do {
        ready = clock_.Poll(&p, 1, deadline.RemainingMs());
      } while (ready == -1 && errno == EINTR);
      int soError = ETIMEDOUT;
      if (ready > 0) {
        socklen_t len = sizeof soError;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len);
      }
      errno = soError;
      rc = soError == 0 ? 0 : -1;
    }
    if (rc == 0) {
      const int one = 1;
      ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      fd_ = fd;
      handed_ = 0;
      taken_ = 0;
      lastTakenMs_ = clock_.NowMs();
      error_.clear();
      return ConnectResult::kConnected;
    }
    error = address + ":" + service + ": " + std::strerror(errno);
    ::close(fd);
    if (deadline.Passed()) break;
  }
  return ConnectResult::kFailed;
}

void PrinterSocket::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void PrinterSocket::Observe() {
  if (fd_ < 0) return;
  int queued = 0;
  // Without the count the kernel offers no better word than the send's own.
  if (::ioctl(fd_, SIOCOUTQ, &queued) == -1 || queued < 0) queued = 0;
  const size_t waiting = std::min(handed_, static_cast<size_t>(queued));
  const size_t taken = handed_ - waiting;
  if (taken > taken_ || waiting == 0) lastTakenMs_ = clock_.NowMs();
  taken_ = std::max(taken_, taken);
}

bool PrinterSocket::Stalled(int stallMs) const {
  return taken_ < handed_ && clock_.NowMs() - lastTakenMs_ >= stallMs;
}

int PrinterSocket::StallLeftMs(int stallMs) const {
  const int64_t left = lastTakenMs_ + stallMs - clock_.NowMs();
  return static_cast<int>(std::clamp<int64_t>(left, 0, kLongestPollMs));
}

PrinterSocket::SendResult PrinterSocket::Broken(int err) {
  // The count of unacknowledged bytes outlives a reset, so what the printer took is known.
  Observe();
  error_ = err ? std::strerror(err) : "the connection was lost";
  return SendResult::kFailed;
}

PrinterSocket::SendResult PrinterSocket::Send(const char* data, size_t count, int stallMs) {
  if (fd_ < 0) {
    error_ = "not connected";
    return SendResult::kFailed;
  }
  Observe();
  if (Stalled(stallMs)) return SendResult::kStalled;
  size_t sent = 0;
  while (sent < count) {
    const ssize_t n = ::send(fd_, data + sent, count - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      handed_ += static_cast<size_t>(n);
      continue;
    }
    if (n == -1 && errno == EINTR) continue;
    if (n == -1 && errno != EAGAIN && errno != EWOULDBLOCK) return Broken(errno);
    Observe();
    if (Stalled(stallMs)) return SendResult::kStalled;
    pollfd p{fd_, POLLOUT, 0};
    const int ready = clock_.Poll(&p, 1, StallLeftMs(stallMs));
    if (ready < 0 && errno != EINTR) return Broken(errno);
    if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return Broken(SocketError(fd_));
  }
  return SendResult::kDone;
}

PrinterSocket::SendResult PrinterSocket::Drain(int stallMs) {
  if (fd_ < 0) {
    error_ = "not connected";
    return SendResult::kFailed;
  }
  int stepMs = 1;
  for (;;) {
    Observe();
    if (taken_ >= handed_) return SendResult::kDone;
    if (Stalled(stallMs)) return SendResult::kStalled;
    // Acknowledgements raise no event: look again after a short, growing pause, waking
    // early only for a broken connection.
    pollfd p{fd_, 0, 0};
    const int ready = clock_.Poll(&p, 1, std::min(stepMs, StallLeftMs(stallMs)));
    if (ready < 0 && errno != EINTR) return Broken(errno);
    if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return Broken(SocketError(fd_));
    stepMs = std::min(stepMs * 2, kDrainStepMaxMs);
  }
}

size_t PrinterSocket::Receive(char* buffer, size_t count, const ReplyPlan& plan) {
  if (fd_ < 0 || count == 0) return 0;
  size_t got = 0;
  const Deadline deadline(clock_, plan.waitMs);
  int64_t quietSince = 0;
  for (;;) {
    const std::string_view have(buffer, got);
    if (got > 0 && plan.Whole(have, count)) return got;
    int waitMs;
    if (got == 0 || plan.WaitsForShape()) {
      waitMs = deadline.RemainingMs();
    } else {
      const int64_t left = quietSince + plan.QuietGapMs(have) - clock_.NowMs();
      waitMs = left > 0 ? static_cast<int>(left) : 0;
    }
    pollfd p{fd_, POLLIN, 0};
    const int ready = clock_.Poll(&p, 1, waitMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return got;
    const ssize_t n = ::recv(fd_, buffer + got, count - got, MSG_DONTWAIT);
    if (n == -1 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) return got;
    got += static_cast<size_t>(n);
    quietSince = clock_.NowMs();
  }
}

}  // namespace qm
