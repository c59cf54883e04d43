#include "printer/tcp_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <fstream>

#include "core/clock.h"

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

namespace {

// "127.0.0.1:40312" or "[::1]:40312" for the log.
std::string AddressText(const sockaddr_storage& a) {
  char text[INET6_ADDRSTRLEN] = "?";
  if (a.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(a);
    ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(v4.sin_port));
  }
  const auto& v6 = reinterpret_cast<const sockaddr_in6&>(a);
  ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
  return "[" + std::string(text) + "]:" + std::to_string(ntohs(v6.sin6_port));
}

std::string PeerText(int fd) {
  sockaddr_storage peer{};
  socklen_t len = sizeof peer;
  if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &len) != 0) return "a peer that has gone";
  return AddressText(peer);
}

// Fills the socket identity of one end: a v4-mapped IPv6 address counts as the IPv4 one,
// which is how the kernel files a socket that connected over IPv4.
bool SetEnd(const sockaddr_storage& a, uint8_t& family, __be16& port, __be32* address) {
  if (a.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(a);
    family = AF_INET;
    port = v4.sin_port;
    std::memcpy(address, &v4.sin_addr, 4);
    return true;
  }
  if (a.ss_family != AF_INET6) return false;
  const auto& v6 = reinterpret_cast<const sockaddr_in6&>(a);
  port = v6.sin6_port;
  if (IN6_IS_ADDR_V4MAPPED(&v6.sin6_addr)) {
    family = AF_INET;
    std::memcpy(address, v6.sin6_addr.s6_addr + 12, 4);
  } else {
    family = AF_INET6;
    std::memcpy(address, v6.sin6_addr.s6_addr, 16);
  }
  return true;
}

}  // namespace

std::optional<uid_t> PeerSocketOwner(int fd) {
  sockaddr_storage peer{};
  sockaddr_storage local{};
  socklen_t peerLen = sizeof peer;
  socklen_t localLen = sizeof local;
  if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLen) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLen) != 0) {
    return std::nullopt;
  }
  struct {
    nlmsghdr header;
    inet_diag_req_v2 request;
  } ask{};
  inet_diag_req_v2& r = ask.request;
  r.sdiag_protocol = IPPROTO_TCP;
  r.idiag_states = ~0u;
  r.id.idiag_cookie[0] = r.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;
  // The peer's socket, seen from its side: its source is the peer, its destination us.
  uint8_t localFamily = 0;
  if (!SetEnd(peer, r.sdiag_family, r.id.idiag_sport, r.id.idiag_src) ||
      !SetEnd(local, localFamily, r.id.idiag_dport, r.id.idiag_dst) || localFamily != r.sdiag_family) {
    return std::nullopt;
  }
  ask.header.nlmsg_len = sizeof ask;
  ask.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
  ask.header.nlmsg_flags = NLM_F_REQUEST;
  ask.header.nlmsg_seq = 1;

  const int nl = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
  if (nl == -1) return std::nullopt;
  // The kernel answers before sendto returns; the time-out only guards against a kernel
  // that never does.
  const timeval wait{0, 200000};
  ::setsockopt(nl, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  std::optional<uid_t> owner;
  alignas(nlmsghdr) char buf[8192];
  if (::sendto(nl, &ask, sizeof ask, 0, reinterpret_cast<sockaddr*>(&kernel), sizeof kernel) ==
      static_cast<ssize_t>(sizeof ask)) {
    ssize_t n = ::recv(nl, buf, sizeof buf, 0);
    for (auto* h = reinterpret_cast<nlmsghdr*>(buf); n > 0 && NLMSG_OK(h, static_cast<size_t>(n));
         h = NLMSG_NEXT(h, n)) {
      if (h->nlmsg_type != SOCK_DIAG_BY_FAMILY || h->nlmsg_len < NLMSG_LENGTH(sizeof(inet_diag_msg))) break;
      const auto* m = static_cast<const inet_diag_msg*>(NLMSG_DATA(h));
      if (m->id.idiag_sport == r.id.idiag_sport && m->id.idiag_dport == r.id.idiag_dport) {
        owner = m->idiag_uid;
        break;
      }
    }
  }
  ::close(nl);
  return owner;
}

size_t TcpServer::ConnectionBudget() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024 - kReservedDescriptors;
  const rlim_t soft = limit.rlim_cur == RLIM_INFINITY ? rlim_t{1} << 20 : limit.rlim_cur;
  if (soft <= 2 * kReservedDescriptors) return std::max<size_t>(static_cast<size_t>(soft / 2), 1);
  return static_cast<size_t>(std::min<rlim_t>(soft - kReservedDescriptors, rlim_t{1} << 20));
}

int TcpServer::SystemBacklog() {
  // The kernel cuts a larger request down to this; asking for it keeps a burst of
  // reconnects from waiting out a SYN retransmit.
  long value = 0;
  std::ifstream in("/proc/sys/net/core/somaxconn");
  if (!(in >> value) || value <= 0) value = SOMAXCONN;
  return static_cast<int>(std::clamp<long>(value, SOMAXCONN, INT_MAX));
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
  const int backlog = SystemBacklog();
  const int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int one = 1;
  if (fd != -1) ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (fd == -1 || ::bind(fd, found->ai_addr, found->ai_addrlen) != 0 || ::listen(fd, backlog) != 0) {
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
  backlog_ = backlog;
  maxConnections_ = limits_.maxConnections > 0 ? limits_.maxConnections : ConnectionBudget();
  acceptRestUntil_ = 0;
  return true;
}

std::string TcpServer::boundAddress() const {
  const bool v6 = host_.find(':') != std::string::npos;
  return (v6 ? "[" + host_ + "]" : host_) + ":" + std::to_string(port_);
}

void TcpServer::Close() {
  for (auto& [channel, c] : connections_) ::close(c.fd);
  connections_.clear();
  byFd_.clear();
  if (listener_ >= 0) ::close(listener_);
  listener_ = -1;
  nextIdleCheckMs_ = -1;
}

int64_t TcpServer::Now() const { return now_ ? now_() : MonotonicMs(); }

void TcpServer::Collect(std::vector<pollfd>& fds) {
  if (listener_ < 0) return;
  // A resting listener stays in its place, so that Service finds it first all the same.
  fds.push_back(pollfd{listener_, static_cast<short>(Now() < acceptRestUntil_ ? 0 : POLLIN), 0});
  for (const auto& [channel, c] : connections_) {
    fds.push_back(pollfd{c.fd, static_cast<short>(POLLIN | (c.queued.empty() ? 0 : POLLOUT)), 0});
  }
}

void TcpServer::Service(const pollfd* fds, size_t count, const Receiver& receive) {
  if (count == 0 || listener_ < 0) return;
  // Connections by descriptor, as collected; the list may change while they are served.
  // No descriptor is opened before the loop ends, so a closed one is not reused in it.
  const auto find = [this](int fd) -> Connection* {
    const auto at = byFd_.find(fd);
    return at == byFd_.end() ? nullptr : &connections_.at(at->second);
  };
  char buf[kReadChunk];
  for (size_t i = 1; i < count; ++i) {
    if (!fds[i].revents) continue;
    Connection* c = find(fds[i].fd);
    if (!c) continue;
    if (fds[i].revents & POLLOUT) {
      const size_t before = c->queued.size();
      if (!Flush(*c)) {
        Drop(c->origin.channel);
        continue;
      }
      if (c->queued.size() < before) c->lastActiveMs = Now();
    }
    if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    // Read on until the connection is empty, so that its end is seen in the same turn as
    // its last bytes: the link closes one connection before it opens the next, and an
    // image header left by its last write must be waiting when the next one's bytes come.
    // Bounded, so that one busy client does not starve the others.
    for (int reads = 0; reads < 16 && c; ++reads) {
      const ssize_t n = ::recv(c->fd, buf, sizeof buf, MSG_DONTWAIT);
      if (n > 0) {
        c->lastActiveMs = Now();
        // A copy: a reply that fails to send drops the connection while its bytes are parsed.
        const Origin origin = c->origin;
        receive(std::string_view(buf, static_cast<size_t>(n)), origin);
        c = find(fds[i].fd);
        continue;
      }
      if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) Drop(c->origin.channel);
      break;
    }
  }
  if (fds[0].revents & POLLIN) Accept();
}

void TcpServer::Accept() {
  // Until the queue is empty: a burst of reconnects must not wait a turn per connection.
  for (;;) {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd != -1) {
      Admit(fd);
      continue;
    }
    if (errno == EINTR || errno == ECONNABORTED || errno == EPROTO) continue;
    if (errno == EMFILE || errno == ENFILE) {
      if (MakeRoom()) continue;
      acceptRestUntil_ = Now() + kAcceptRestMs;
    }
    return;
  }
}

bool TcpServer::Admit(int fd) {
  if (limits_.ownerOnly) {
    const std::optional<uid_t> owner = PeerSocketOwner(fd);
    if (!owner || *owner != *limits_.ownerOnly) {
      LogRefusal(fd, owner ? "its socket belongs to user " + std::to_string(*owner) + ", not to this printer's"
                           : std::string("not a socket of a user of this machine"));
      ::close(fd);
      return false;
    }
  }
  if (connections_.size() >= maxConnections_ && !MakeRoom()) {
    LogRefusal(fd, "all " + std::to_string(maxConnections_) + " connections are in the middle of a command");
    ::close(fd);
    return false;
  }
  // Replies are a few bytes and must not wait for more to fill a segment.
  const int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  const uint64_t id = nextId_++;
  const int64_t now = Now();
  connections_.emplace(id, Connection{fd, Origin{kEthernet, id, "tcp#" + std::to_string(id)}, {}, now});
  byFd_[fd] = id;
  if (limits_.idleTimeoutMs > 0 && (nextIdleCheckMs_ < 0 || now + limits_.idleTimeoutMs < nextIdleCheckMs_)) {
    nextIdleCheckMs_ = now + limits_.idleTimeoutMs;
  }
  return true;
}

void TcpServer::LogRefusal(int fd, const std::string& why) {
  if (!log_) return;
  const int64_t now = Now();
  if (refusalLogged_ && now - lastRefusalLogMs_ < kRefusalLogMs) {
    ++refusalsUnlogged_;
    return;
  }
  std::string line = "tcp !! refused " + PeerText(fd) + ": " + why;
  if (refusalsUnlogged_ > 0) line += " (and " + std::to_string(refusalsUnlogged_) + " more since the last line)";
  log_(line);
  refusalLogged_ = true;
  lastRefusalLogMs_ = now;
  refusalsUnlogged_ = 0;
}

bool TcpServer::MakeRoom() {
  // The idlest connection that is between commands: one receiving a job or an image, or
  // still owed a reply, keeps its place.
  const Connection* idlest = nullptr;
  for (const auto& [channel, c] : connections_) {
    if (!c.queued.empty() || (busy_ && busy_(channel))) continue;
    if (!idlest || c.lastActiveMs < idlest->lastActiveMs) idlest = &c;
  }
  if (!idlest) return false;
  Drop(idlest->origin.channel);
  return true;
}

void TcpServer::Drop(uint64_t channel) {
  const auto at = connections_.find(channel);
  if (at == connections_.end()) return;
  const Origin origin = std::move(at->second.origin);
  ::close(at->second.fd);
  byFd_.erase(at->second.fd);
  connections_.erase(at);
  if (streamEnded_) streamEnded_(origin);
}

void TcpServer::Disconnect(uint64_t channel) { Drop(channel); }

void TcpServer::CloseIdle(int64_t now) {
  // Every turn of the loop asks; the connections are looked over only when one may be due.
  if (limits_.idleTimeoutMs <= 0 || nextIdleCheckMs_ < 0 || now < nextIdleCheckMs_) return;
  std::vector<uint64_t> idle;
  nextIdleCheckMs_ = -1;
  for (const auto& [channel, c] : connections_) {
    const int64_t due = c.lastActiveMs + limits_.idleTimeoutMs;
    if (due <= now) {
      idle.push_back(channel);
    } else if (nextIdleCheckMs_ < 0 || due < nextIdleCheckMs_) {
      nextIdleCheckMs_ = due;
    }
  }
  for (const uint64_t channel : idle) Drop(channel);
}

int TcpServer::WaitMs(int64_t now) const {
  int64_t due = -1;
  const auto consider = [&](int64_t at) {
    const int64_t left = std::max<int64_t>(at - now, 0);
    due = due < 0 ? left : std::min(due, left);
  };
  if (acceptRestUntil_ > now) consider(acceptRestUntil_);
  if (limits_.idleTimeoutMs > 0 && nextIdleCheckMs_ >= 0) consider(nextIdleCheckMs_);
  return due < 0 ? -1 : static_cast<int>(std::min<int64_t>(due, INT_MAX));
}

bool TcpServer::Send(uint64_t channel, std::string_view bytes, bool) {
  const auto at = connections_.find(channel);
  if (at == connections_.end()) return false;
  Connection& c = at->second;
  if (c.queued.size() + bytes.size() > kMaxQueuedBytes) return false;
  c.queued.append(bytes);
  if (!Flush(c)) {
    Drop(channel);
    return false;
  }
  c.lastActiveMs = Now();
  return true;
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
