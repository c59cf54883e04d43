// A printer that misbehaves on purpose: a loopback TCP server that plays the same script of
// steps on every connection it accepts (read so much, wait, answer, close, stop reading),
// so the link's failure paths can be driven end to end.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "loopback_listener.h"

namespace qm::test {

struct PeerStep {
  enum class Kind {
    kRead,       // read until the connection has brought `bytes` in all (or it ends)
    kReadUntil,  // read until what came ends with `text` (or the connection ends)
    kWait,       // do nothing for `ms`
    kSend,       // send `text`
    kClose,      // close the connection; unread bytes make it a reset
    kHold,       // never read again, keep the connection open until the peer goes
  };
  Kind kind;
  size_t bytes = 0;
  int ms = 0;
  std::string text;

  static PeerStep Read(size_t bytes) { return {Kind::kRead, bytes, 0, {}}; }
  static PeerStep ReadUntil(std::string text) { return {Kind::kReadUntil, 0, 0, std::move(text)}; }
  static PeerStep Wait(int ms) { return {Kind::kWait, 0, ms, {}}; }
  static PeerStep Send(std::string text) { return {Kind::kSend, 0, 0, std::move(text)}; }
  static PeerStep Close() { return {Kind::kClose, 0, 0, {}}; }
  static PeerStep Hold() { return {Kind::kHold, 0, 0, {}}; }
};

class HostilePeer {
 public:
  // `receiveBuffer` > 0 shrinks the receive window of every accepted connection, so a
  // peer that stops reading fills it after a few kilobytes.
  explicit HostilePeer(std::vector<PeerStep> script, int receiveBuffer = 0) : script_(std::move(script)) {
    listener_ = ListenOnLoopback(port_, receiveBuffer);
    acceptor_ = std::thread([this] { Accept(); });
  }
  ~HostilePeer() {
    stop_ = true;
    acceptor_.join();
    for (auto& t : connections_) t.join();
    for (int fd : held_) ::close(fd);
    ::close(listener_);
  }
  HostilePeer(const HostilePeer&) = delete;
  HostilePeer& operator=(const HostilePeer&) = delete;

  uint16_t port() const { return port_; }
  std::string url() const { return "tcp://127.0.0.1:" + std::to_string(port_); }

  // What each connection brought, in the order they were accepted.
  std::vector<std::string> received() const {
    std::lock_guard lock(mutex_);
    return received_;
  }
  size_t accepted() const {
    std::lock_guard lock(mutex_);
    return received_.size();
  }

 private:
  void Accept() {
    while (!stop_) {
      pollfd p{listener_, POLLIN, 0};
      if (::poll(&p, 1, 10) <= 0) continue;
      const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      size_t slot;
      {
        std::lock_guard lock(mutex_);
        slot = received_.size();
        received_.emplace_back();
      }
      connections_.emplace_back([this, fd, slot] { Play(fd, slot); });
    }
  }

  // Reads what is there within a short look; false once the connection has ended.
  bool ReadSome(int fd, size_t slot, size_t max) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10) <= 0) return true;
    char buf[65536];
    const ssize_t n = ::recv(fd, buf, std::min(max, sizeof buf), MSG_DONTWAIT);
    if (n == 0) return false;
    if (n < 0) return errno == EAGAIN || errno == EINTR;
    std::lock_guard lock(mutex_);
    received_[slot].append(buf, static_cast<size_t>(n));
    return true;
  }
  size_t Got(size_t slot) const {
    std::lock_guard lock(mutex_);
    return received_[slot].size();
  }
  bool EndsWith(size_t slot, const std::string& text) const {
    std::lock_guard lock(mutex_);
    const std::string& r = received_[slot];
    return r.size() >= text.size() && r.compare(r.size() - text.size(), text.size(), text) == 0;
  }

  void Play(int fd, size_t slot) {
    using Kind = PeerStep::Kind;
    for (const PeerStep& step : script_) {
      switch (step.kind) {
        case Kind::kRead:
          while (!stop_ && Got(slot) < step.bytes && ReadSome(fd, slot, step.bytes - Got(slot))) {
          }
          break;
        case Kind::kReadUntil:
          // One byte at a time, so nothing after the text is taken.
          while (!stop_ && !EndsWith(slot, step.text) && ReadSome(fd, slot, 1)) {
          }
          break;
        case Kind::kWait: {
          const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(step.ms);
          while (!stop_ && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
          }
          break;
        }
        case Kind::kSend:
          ::send(fd, step.text.data(), step.text.size(), MSG_NOSIGNAL);
          break;
        case Kind::kClose:
          ::close(fd);
          return;
        case Kind::kHold: {
          std::lock_guard lock(mutex_);
          held_.push_back(fd);
          return;
        }
      }
    }
    // The script ran out: take whatever else comes until the client lets go.
    while (!stop_ && ReadSome(fd, slot, 65536)) {
    }
    ::close(fd);
  }

  std::vector<PeerStep> script_;
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread acceptor_;
  std::vector<std::thread> connections_;  // touched by the acceptor alone until it is joined
  mutable std::mutex mutex_;
  std::vector<std::string> received_;
  std::vector<int> held_;
};

}  // namespace qm::test
