// The printer's network port: a TCP listener and its connections.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "printer/transport.h"

namespace qm::printer {

class TcpServer : public Transport {
 public:
  // Descriptors kept back from the connection budget for the ports, files and pipes the
  // printer opens besides its connections.
  static constexpr size_t kReservedDescriptors = 64;
  // A connection that neither sends nor takes a byte for this long is closed.
  static constexpr int64_t kDefaultIdleTimeoutMs = 60000;
  // After accept(2) ran out of descriptors with nothing to let go, the listener rests
  // this long instead of waking the loop at once again.
  static constexpr int64_t kAcceptRestMs = 50;
  // Refusals are logged at most once in this long, each line counting those in between:
  // a peer that connects in a loop must not fill the log.
  static constexpr int64_t kRefusalLogMs = 1000;

  struct Limits {
    // Connections held at once; 0: what the descriptor limit allows (see ConnectionBudget).
    size_t maxConnections = 0;
    // 0: connections never time out.
    int64_t idleTimeoutMs = kDefaultIdleTimeoutMs;
    // Set: only connections from this machine whose socket belongs to this user are kept.
    std::optional<uid_t> ownerOnly;
  };

  TcpServer() = default;
  ~TcpServer() override;
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  // Listens on "ADDR:PORT" (IPv4, or [IPv6]:PORT); port 0 takes a free one.
  bool Open(const std::string& addressAndPort, std::string& error);
  // Stops listening and closes every connection; their streams end with the port, and
  // the stream-ended handler is not told one by one.
  void Close();

  // Set before Open.
  void SetLimits(const Limits& limits) { limits_ = limits; }
  // Milliseconds on a monotonic scale, for idle time-outs; unset: the system's.
  void SetClock(std::function<int64_t()> now) { now_ = std::move(now); }
  // Whether the stream of `channel` is in the middle of a command or an image: such a
  // connection is never the one let go to make room.
  void SetBusyCheck(std::function<bool(uint64_t channel)> busy) { busy_ = std::move(busy); }
  // Where refusals are told; unset: nowhere.
  void SetLog(std::function<void(const std::string& line)> log) { log_ = std::move(log); }

  uint16_t port() const { return port_; }
  // "127.0.0.1:9100" as actually bound.
  std::string boundAddress() const;
  size_t connectionCount() const { return connections_.size(); }
  // The most connections held at once, as settled by Open.
  size_t maxConnections() const { return maxConnections_; }
  // The accept queue asked of listen(2).
  int backlog() const { return backlog_; }

  InterfaceKind kind() const override { return kEthernet; }
  void Collect(std::vector<pollfd>& fds) override;
  void Service(const pollfd* fds, size_t count, const Receiver& receive) override;
  bool Send(uint64_t channel, std::string_view bytes, bool startsReply) override;

  // Closes the connection of `channel`, its stream ending as if the peer had closed it.
  void Disconnect(uint64_t channel);
  // Closes the connections idle beyond the time-out.
  void CloseIdle(int64_t now);
  // Milliseconds until the next idle time-out or the listener's rest ends; -1: none due.
  int WaitMs(int64_t now) const;

  // The connections the descriptor limit leaves room for.
  static size_t ConnectionBudget();
  // The queue length the system grants listen(2) at most.
  static int SystemBacklog();

 private:
  struct Connection {
    int fd = -1;
    Origin origin;
    std::string queued;
    int64_t lastActiveMs = 0;
  };
  void Accept();
  bool Admit(int fd);
  bool MakeRoom();
  void LogRefusal(int fd, const std::string& why);
  void Drop(uint64_t channel);
  static bool Flush(Connection& c);
  int64_t Now() const;

  int listener_ = -1;
  std::string host_;
  uint16_t port_ = 0;
  uint64_t nextId_ = 1;
  Limits limits_;
  size_t maxConnections_ = 0;
  int backlog_ = 0;
  int64_t acceptRestUntil_ = 0;
  // No connection times out before this (-1: none open); a scan moves it on, and
  // activity only ever moves a connection's own time-out later.
  int64_t nextIdleCheckMs_ = -1;
  int64_t lastRefusalLogMs_ = 0;
  uint64_t refusalsUnlogged_ = 0;
  bool refusalLogged_ = false;
  // By channel, so the oldest comes first; and the channel of each descriptor.
  std::map<uint64_t, Connection> connections_;
  std::unordered_map<int, uint64_t> byFd_;
  std::function<int64_t()> now_;
  std::function<bool(uint64_t)> busy_;
  std::function<void(const std::string&)> log_;
};

// Splits "ADDR:PORT" or "[ADDR]:PORT"; false with the reason when it is not of that shape
// or the port is beyond 65535.
bool SplitHostPort(const std::string& text, std::string& host, uint16_t& port, std::string& error);

// The user owning the socket at the far end of the TCP connection `fd`, found through
// the kernel's socket diagnostics; nullopt when the peer is not a socket of this machine
// or the lookup fails.
std::optional<uid_t> PeerSocketOwner(int fd);

}  // namespace qm::printer
