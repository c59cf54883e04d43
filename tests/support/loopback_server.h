// A TCP printer on loopback for link tests: records every connection and answers through
// a callback.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "loopback_listener.h"

namespace qm::test {

class LoopbackServer {
 public:
  // Called for every piece received; what it returns is sent back on that connection.
  using Responder = std::function<std::string(size_t connection, const std::string& piece)>;

  explicit LoopbackServer(Responder respond = {}) : respond_(std::move(respond)) { Listen(); }

  // A printer that gives up part way: it reads `takes` bytes of each connection through
  // the smallest receive window the system allows, then closes it or (`close` false) just
  // stops reading. What it never read stays in the sender's queue.
  LoopbackServer(size_t takes, bool close) : takeOnly_(takes), closeWhenTaken_(close) {
    const int tiny = 1;  // set before listen, so every accepted connection inherits it
    Listen(tiny);
  }

  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    for (int fd : open_) ::close(fd);
    for (int fd : stopped_) ::close(fd);
    ::close(listener_);
  }

  uint16_t port() const { return port_; }

  // Sends every reply in two pieces: the first `at` bytes, a real pause, then the rest.
  void SplitReplies(size_t at, int pauseMs) {
    splitAt_ = at;
    splitPauseMs_ = pauseMs;
  }

  // Bytes received on each connection so far, in connection order.
  std::vector<std::string> connections() const {
    std::lock_guard lock(mutex_);
    return received_;
  }
  size_t totalReceived() const {
    std::lock_guard lock(mutex_);
    size_t n = 0;
    for (const auto& r : received_) n += r.size();
    return n;
  }
  // Waits (briefly, in real time) until `bytes` have arrived in all.
  bool WaitForTotal(size_t bytes, int waitMs = 2000) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (totalReceived() < bytes) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
  }

 private:
  void Listen(int receiveBuffer = 0) {
    listener_ = ListenOnLoopback(port_, receiveBuffer);
    thread_ = std::thread([this] { Run(); });
  }


  void Run() {
    std::vector<size_t> index;  // connection number of each open descriptor
    char buf[65536];
    while (!stop_) {
      std::vector<pollfd> fds{{listener_, POLLIN, 0}};
      for (int fd : open_) fds.push_back({fd, POLLIN, 0});
      if (::poll(fds.data(), fds.size(), 5) <= 0) continue;
      if (fds[0].revents & POLLIN) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
          std::lock_guard lock(mutex_);
          open_.push_back(fd);
          index.push_back(received_.size());
          received_.emplace_back();
        }
      }
      for (size_t i = 1; i < fds.size(); ++i) {
        if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        const size_t slot = i - 1;
        const size_t taken = received_[index[slot]].size();
        if (takeOnly_ && taken == *takeOnly_) {
          // Given up: closed, or left open and never read again.
          if (closeWhenTaken_) ::close(open_[slot]);
          else stopped_.push_back(open_[slot]);
          open_[slot] = -1;
          continue;
        }
        const size_t want = takeOnly_ ? std::min(sizeof buf, *takeOnly_ - taken) : sizeof buf;
        const ssize_t n = ::recv(fds[i].fd, buf, want, 0);
        if (n <= 0) {
          ::close(open_[slot]);
          open_[slot] = -1;
          continue;
        }
        const std::string piece(buf, static_cast<size_t>(n));
        {
          std::lock_guard lock(mutex_);
          received_[index[slot]] += piece;
        }
        if (respond_) {
          const std::string reply = respond_(index[slot], piece);
          if (splitAt_ > 0 && reply.size() > splitAt_) {
            ::send(fds[i].fd, reply.data(), splitAt_, MSG_NOSIGNAL);
            std::this_thread::sleep_for(std::chrono::milliseconds(splitPauseMs_));
            ::send(fds[i].fd, reply.data() + splitAt_, reply.size() - splitAt_, MSG_NOSIGNAL);
          } else if (!reply.empty()) {
            ::send(fds[i].fd, reply.data(), reply.size(), MSG_NOSIGNAL);
          }
        }
      }
      // Forget closed connections.
      for (size_t i = open_.size(); i-- > 0;) {
        if (open_[i] == -1) {
          std::lock_guard lock(mutex_);
          open_.erase(open_.begin() + static_cast<long>(i));
          index.erase(index.begin() + static_cast<long>(i));
        }
      }
    }
  }

  Responder respond_;
  std::optional<size_t> takeOnly_;
  bool closeWhenTaken_ = false;
  std::vector<int> stopped_;  // connections no longer read, still open
  std::atomic<size_t> splitAt_{0};
  std::atomic<int> splitPauseMs_{0};
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<int> open_;
  std::vector<std::string> received_;
};

// A loopback port on which nothing listens.
inline uint16_t ClosedLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

}  // namespace qm::test
