#include "link/printer_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace qm {

namespace {

using AddrList = std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)>;

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
  const Deadline deadline(waitMs);
  for (const addrinfo* a = list.get(); a; a = a->ai_next) {
    const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd == -1) {
      error = std::string("cannot create socket: ") + std::strerror(errno);
      return ConnectResult::kNoSocket;
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

bool PrinterSocket::SendAll(const char* data, size_t count, int waitMs) {
  if (fd_ < 0) return false;
  size_t sent = 0;
  while (sent < count) {
    const ssize_t n = ::send(fd_, data + sent, count - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n == -1 && errno == EINTR) continue;
    if (n == -1 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    pollfd p{fd_, POLLOUT, 0};
    const int ready = clock_.Poll(&p, 1, waitMs);
    if (ready == 0) return false;
    if (ready < 0 && errno != EINTR) return false;
    if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return false;
  }
  return true;
}

size_t PrinterSocket::Receive(char* buffer, size_t count, int waitMs, int gapMs) {
  if (fd_ < 0 || count == 0) return 0;
  size_t got = 0;
  const Deadline first(waitMs);
  for (;;) {
    pollfd p{fd_, POLLIN, 0};
    const int ready = clock_.Poll(&p, 1, got == 0 ? first.RemainingMs() : gapMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return got;
    const ssize_t n = ::recv(fd_, buffer + got, count - got, MSG_DONTWAIT);
    if (n == -1 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) return got;
    got += static_cast<size_t>(n);
    if (got == count) return got;
  }
}

}  // namespace qm
