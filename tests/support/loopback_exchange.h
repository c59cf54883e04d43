// One exchange with a printer on a loopback TCP port, on a connection of its own.
#pragma once

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>

namespace qm::test {

// Sends `bytes` and reads until `want` bytes came back or the printer has been quiet for
// the deadline (it answers at once; the deadline only bounds a broken run). A port that
// takes no connection gives "(no connection)", which no reply is.
inline std::string ExchangeOnLoopback(uint16_t port, const std::string& bytes, size_t want) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (fd >= 0) ::close(fd);
    return "(no connection)";
  }
  std::string reply;
  if (::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size())) {
    pollfd p{fd, POLLIN, 0};
    char buffer[256];
    while (reply.size() < want && ::poll(&p, 1, 10000) == 1) {
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      reply.append(buffer, static_cast<size_t>(n));
    }
  }
  ::close(fd);
  return reply;
}

}  // namespace qm::test
