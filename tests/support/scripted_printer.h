// A printer on a pseudo-terminal that answers scripted queries and records every byte it
// receives, for exact-bytes tests of the tools' operations.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "link/device_map.h"
#include "link/link_types.h"
#include "pty_pair.h"

namespace qm::test {

class ScriptedPrinter {
 public:
  ScriptedPrinter() : thread_([this] { Run(); }) {}
  ~ScriptedPrinter() {
    stop_ = true;
    thread_.join();
  }

  const std::string& path() const { return pty_.path(); }

  // Whenever what arrived ends with `query`, `reply` goes back.
  void Answer(std::string query, std::string reply) {
    std::lock_guard lock(mutex_);
    rules_.emplace_back(std::move(query), std::move(reply));
  }

  // Everything received so far: once `atLeast` bytes are in (or two seconds passed), and
  // the line has then been quiet for 10 ms.
  std::string received(size_t atLeast = 0) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (Size() < atLeast && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    size_t last = Size();
    for (int quiet = 0; quiet < 5 && std::chrono::steady_clock::now() < until;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      const size_t now = Size();
      quiet = now == last ? quiet + 1 : 0;
      last = now;
    }
    std::lock_guard lock(mutex_);
    return received_;
  }
  void Forget() {
    std::lock_guard lock(mutex_);
    received_.clear();
  }

 private:
  size_t Size() {
    std::lock_guard lock(mutex_);
    return received_.size();
  }
  void Run() {
    char buf[4096];
    while (!stop_) {
      pollfd p{pty_.master(), POLLIN, 0};
      if (::poll(&p, 1, 2) <= 0) continue;
      const ssize_t n = ::read(pty_.master(), buf, sizeof buf);
      if (n <= 0) continue;
      std::string reply;
      {
        std::lock_guard lock(mutex_);
        for (ssize_t i = 0; i < n; ++i) {
          received_.push_back(buf[i]);
          for (const auto& [query, answer] : rules_) {
            if (received_.size() >= query.size() &&
                received_.compare(received_.size() - query.size(), query.size(), query) == 0) {
              reply += answer;
            }
          }
        }
      }
      if (!reply.empty()) pty_.Send(reply);
    }
  }

  PtyPair pty_;
  std::mutex mutex_;
  std::vector<std::pair<std::string, std::string>> rules_;
  std::string received_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Link waits for talking to a scripted printer: long enough for a loaded machine, short
// enough that silence costs milliseconds.
inline LinkTiming ScriptedPrinterTiming() {
  LinkTiming t;
  t.serialDefaults.readTotalConstantMs = 40;
  t.serialDefaults.readTotalMultiplierMs = 0;
  t.serialDefaults.writeTotalConstantMs = 5;
  t.serialQuietGapMs = 20;
  return t;
}

// `base` with COM1 pointed at the scripted printer at `path`.
inline DeviceMap ScriptedPrinterDevices(const std::string& path, DeviceMap base = {}) {
  base.Override("COM1", path);
  return base;
}

}  // namespace qm::test
