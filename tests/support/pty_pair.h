// A pseudo-terminal pair standing in for a printer on a serial, parallel or USB port.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace qm::test {

class PtyPair {
 public:
  PtyPair() {
    int slave = -1;
    char name[128] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) == -1) throw std::runtime_error("openpty");
    termios t{};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave, TCSANOW, &t);
    // Keep the slave open so the line never hangs up while the link reopens it.
    slave_ = slave;
    path_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~PtyPair() {
    CloseMaster();
    if (slave_ >= 0) ::close(slave_);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& path() const { return path_; }
  int master() const { return master_; }
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  // What the printer side says.
  void Send(const std::string& bytes) const {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
      if (n > 0) done += static_cast<size_t>(n);
    }
  }

  // What the printer side has received, waiting up to `waitMs` for `atLeast` bytes.
  std::string Receive(size_t atLeast, int waitMs = 1000) const {
    std::string got;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    char buf[4096];
    while (std::chrono::steady_clock::now() < until) {
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0) {
        got.append(buf, static_cast<size_t>(n));
        if (got.size() >= atLeast) {
          // Anything still in flight belongs to the same write.
          pollfd p{master_, POLLIN, 0};
          if (::poll(&p, 1, 5) <= 0) break;
        }
        continue;
      }
      pollfd p{master_, POLLIN, 0};
      ::poll(&p, 1, 5);
    }
    return got;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

}  // namespace qm::test
