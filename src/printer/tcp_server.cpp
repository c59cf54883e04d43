#include "printer/tcp_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace qm::printer {

bool SplitHostPort(const std::string& text, std::string& host, uint16_t& port, std::string& error) {
  const size_t colon = text.rfind(':');
  host = colon == std::string::npos ? std::string() : text.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  const std::string digits = colon == std::string::npos ? std::string() : text.substr(colon + 1);
  if (host.empty() || digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
    error = "\"" + text + "\": expected ADDRESS:PORT, e.g. 127.0.0.1:9100";
    return false;
  }
  // Any number of digits: one too large for the conversion is out of range all the same.
  unsigned long long value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || value > 65535) {
    error = "\"" + text + "\": port " + digits + " is out of range (0 to 65535)";
    return false;
  }
  port = static_cast<uint16_t>(value);
  return true;
}

TcpServer::~TcpServer() { Close(); }

bool TcpServer::Open(const std::string& addressAndPort, std::string& error) {
  Close();
  std::string host;
  uint16_t port = 0;
  if (!SplitHostPort(addressAndPort, host, port, error)) return false;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
    error = "\"" + host + "\": " + ::gai_strerror(rc) + " (give a numeric address)";
    return false;
  }
  const int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int one = 1;
  if (fd != -1) ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (fd == -1 || ::bind(fd, found->ai_addr, found->ai_addrlen) != 0 || ::listen(fd, 16) != 0) {
    error = addressAndPort + ": " + std::strerror(errno);
    if (fd != -1) ::close(fd);
    ::freeaddrinfo(found);
    return false;
  }
  ::freeaddrinfo(found);
  sockaddr_storage bound{};
  socklen_t len = sizeof bound;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &len);
  port_ = bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                                      : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  host_ = host;
  listener_ = fd;
  return true;
}

std::string TcpServer::boundAddress() const {
  const bool v6 = host_.find(':') != std::string::npos;
  return (v6 ? "[" + host_ + "]" : host_) + ":" + std::to_string(port_);
}

void TcpServer::Close() {
  for (Connection& c : connections_) ::close(c.fd);
  connections_.clear();
  if (listener_ >= 0) ::close(listener_);
  listener_ = -1;
}

void TcpServer::Collect(std::vector<pollfd>& fds) {
  if (listener_ < 0) return;
  fds.push_back(pollfd{listener_, POLLIN, 0});
  for (const Connection& c : connections_) {
    fds.push_back(pollfd{c.fd, static_cast<short>(POLLIN | (c.queued.empty() ? 0 : POLLOUT)), 0});
  }
}

void TcpServer::Service(const pollfd* fds, size_t count, const Receiver& receive) {
  if (count == 0 || listener_ < 0) return;
  // Connections by descriptor, as collected; the list may change while they are served.
  // No descriptor is opened before the loop ends, so a closed one is not reused in it.
  const auto find = [this](int fd) {
    size_t index = 0;
    while (index < connections_.size() && connections_[index].fd != fd) ++index;
    return index;
  };
  char buf[kReadChunk];
  for (size_t i = 1; i < count; ++i) {
    if (!fds[i].revents) continue;
    size_t index = find(fds[i].fd);
    if (index == connections_.size()) continue;
    if ((fds[i].revents & POLLOUT) && !Flush(connections_[index])) {
      Drop(index);
      continue;
    }
    if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    // Read on until the connection is empty, so that its end is seen in the same turn as
    // its last bytes: the link closes one connection before it opens the next, and an
    // image header left by its last write must be waiting when the next one's bytes come.
    // Bounded, so that one busy client does not starve the others.
    for (int reads = 0; reads < 16 && index < connections_.size(); ++reads) {
      const ssize_t n = ::recv(connections_[index].fd, buf, sizeof buf, MSG_DONTWAIT);
      if (n > 0) {
        // A copy: a reply that fails to send drops the connection while its bytes are parsed.
        const Origin origin = connections_[index].origin;
        receive(std::string_view(buf, static_cast<size_t>(n)), origin);
        index = find(fds[i].fd);
        continue;
      }
      if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) Drop(index);
      break;
    }
  }
  if (fds[0].revents & POLLIN) Accept();
}

void TcpServer::Accept() {
  for (;;) {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd == -1) return;
    // Replies are a few bytes and must not wait for more to fill a segment.
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (connections_.size() == kMaxConnections) Drop(0);
    const uint64_t id = nextId_++;
    connections_.push_back(Connection{fd, Origin{kEthernet, id, "tcp#" + std::to_string(id)}, {}});
  }
}

void TcpServer::Drop(size_t index) {
  const Origin origin = std::move(connections_[index].origin);
  ::close(connections_[index].fd);
  connections_.erase(connections_.begin() + static_cast<long>(index));
  if (streamEnded_) streamEnded_(origin);
}

bool TcpServer::Send(uint64_t channel, std::string_view bytes, bool) {
  for (size_t i = 0; i < connections_.size(); ++i) {
    Connection& c = connections_[i];
    if (c.origin.channel != channel) continue;
    if (c.queued.size() + bytes.size() > kMaxQueuedBytes) return false;
    c.queued.append(bytes);
    if (!Flush(c)) {
      Drop(i);
      return false;
    }
    return true;
  }
  return false;
}

bool TcpServer::Flush(Connection& c) {
  while (!c.queued.empty()) {
    const ssize_t n = ::send(c.fd, c.queued.data(), c.queued.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      c.queued.erase(0, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
  return true;
}

}  // namespace qm::printer
