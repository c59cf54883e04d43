// A printer on virtual time: the link's clock jumps from one event to the next, so a read
// that would wait out its deadline costs milliseconds of the test's time yet still shows up
// as seconds on the clock. Replies travel over real descriptors (a pseudo-terminal for
// serial and USB, loopback TCP for Ethernet); only the waiting is simulated.
#pragma once

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/clock.h"
#include "link/printer_link.h"
#include "loopback_listener.h"

namespace qm::test {

class VirtualTimeClock : public Clock {
 public:
  void Sleep(int ms) override {
    const int64_t until = now_ + std::max(ms, 0);
    while (!events_.empty() && events_.begin()->first <= until) {
      now_ = std::max(now_, events_.begin()->first);
      RunDue();
    }
    now_ = until;
  }

  int Poll(pollfd* fds, nfds_t count, int timeoutMs) override {
    const int64_t until = now_ + std::max(timeoutMs, 0);
    for (;;) {
      const bool delivered = RunDue();
      // Bytes just handed to the other end are in the kernel at once, but a pseudo-
      // terminal passes them on a moment later: give them real time to show.
      const int ready = count ? ::poll(fds, count, delivered ? 200 : 1) : 0;
      if (ready != 0) return ready;
      if (now_ >= until) return 0;
      now_ = events_.empty() ? until : std::min(until, events_.begin()->first);
    }
  }

  int64_t NowMs() const override { return now_; }

  // Runs `fn` once the clock reaches `atMs`.
  void At(int64_t atMs, std::function<void()> fn) { events_.emplace(atMs, std::move(fn)); }

 private:
  bool RunDue() {
    bool ran = false;
    while (!events_.empty() && events_.begin()->first <= now_) {
      auto fn = std::move(events_.begin()->second);
      events_.erase(events_.begin());
      fn();
      ran = true;
    }
    return ran;
  }

  int64_t now_ = 1'000'000;
  std::multimap<int64_t, std::function<void()>> events_;
};

// The far end of a link on virtual time. It hears each write through the link's trace and
// answers a query it knows with its reply in pieces: the first 1 ms after the write, each
// further one `splitMs` after the last. `send` puts bytes on the wire to the link.
class VirtualPrinterEnd {
 public:
  using Sender = std::function<void(const std::string&)>;

  VirtualPrinterEnd(VirtualTimeClock& clock, PrinterLink& link, Sender send) : clock_(clock), send_(std::move(send)) {
    link.SetTrace([this](PrinterLink::Direction d, std::string_view bytes) {
      if (d == PrinterLink::Direction::kWrite) Heard(bytes);
    });
  }

  void Answer(std::string query, std::vector<std::string> pieces) { rules_[std::move(query)] = std::move(pieces); }
  void SetSplitMs(int ms) { splitMs_ = ms; }
  const std::string& heard() const { return heard_; }

 private:
  void Heard(std::string_view bytes) {
    heard_.append(bytes);
    for (const auto& [query, pieces] : rules_) {
      if (heard_.size() < query.size() || heard_.compare(heard_.size() - query.size(), query.size(), query) != 0) {
        continue;
      }
      int64_t at = clock_.NowMs() + 1;
      for (const std::string& piece : pieces) {
        clock_.At(at, [this, piece] { send_(piece); });
        at += splitMs_;
      }
    }
  }

  VirtualTimeClock& clock_;
  Sender send_;
  std::map<std::string, std::vector<std::string>> rules_;
  std::string heard_;
  int splitMs_ = 0;
};

// A loopback listener whose newest connection gets the replies: the link connects anew for
// every write and reads from the connection of its last one.
class LoopbackEnd {
 public:
  LoopbackEnd() : listener_(ListenOnLoopback(port_)) {
    ::fcntl(listener_, F_SETFL, ::fcntl(listener_, F_GETFL) | O_NONBLOCK);
  }
  ~LoopbackEnd() {
    if (current_ >= 0) ::close(current_);
    ::close(listener_);
  }
  LoopbackEnd(const LoopbackEnd&) = delete;
  LoopbackEnd& operator=(const LoopbackEnd&) = delete;

  uint16_t port() const { return port_; }

  void Send(const std::string& bytes) {
    for (int fd; (fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
      if (current_ >= 0) ::close(current_);
      current_ = fd;
    }
    if (current_ < 0) return;
    [[maybe_unused]] const ssize_t n = ::send(current_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  }

 private:
  uint16_t port_ = 0;
  int listener_ = -1;
  int current_ = -1;
};

}  // namespace qm::test
