// The printer's network port: a TCP listener and its connections.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "printer/transport.h"

namespace qm::printer {

class TcpServer : public Transport {
 public:
  // The link opens a new connection for every command and leaves the old one to close;
  // beyond this many, the oldest is let go.
  static constexpr size_t kMaxConnections = 64;

  TcpServer() = default;
  ~TcpServer() override;
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  // Listens on "ADDR:PORT" (IPv4, or [IPv6]:PORT); port 0 takes a free one.
  bool Open(const std::string& addressAndPort, std::string& error);
  // Stops listening and closes every connection; their streams end with the port, and
  // the stream-ended handler is not told one by one.
  void Close();

  uint16_t port() const { return port_; }
  // "127.0.0.1:9100" as actually bound.
  std::string boundAddress() const;
  size_t connectionCount() const { return connections_.size(); }

  InterfaceKind kind() const override { return kEthernet; }
  void Collect(std::vector<pollfd>& fds) override;
  void Service(const pollfd* fds, size_t count, const Receiver& receive) override;
  bool Send(uint64_t channel, std::string_view bytes, bool startsReply) override;

 private:
  struct Connection {
    int fd = -1;
    Origin origin;
    std::string queued;
  };
  void Accept();
  void Drop(size_t index);
  static bool Flush(Connection& c);

  int listener_ = -1;
  std::string host_;
  uint16_t port_ = 0;
  uint64_t nextId_ = 1;
  std::vector<Connection> connections_;
};

// Splits "ADDR:PORT" or "[ADDR]:PORT"; false with the reason when it is not of that shape
// or the port is beyond 65535.
bool SplitHostPort(const std::string& text, std::string& host, uint16_t& port, std::string& error);

}  // namespace qm::printer
