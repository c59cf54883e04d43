// Downloads at full speed: the file transfer over a pseudo-terminal against cat of the
// same file to the same terminal, and over TCP without pacing against a plain socket copy.
// The peak memory counter shows that a larger file costs no more memory.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "downloads/file_transfer.h"
#include "link/printer_link.h"
#include "pty_pair.h"

extern char** environ;

namespace {

// A file of `bytes` bytes, made once per size and removed at exit.
std::string FileOf(int64_t bytes) {
  const std::string path = "/tmp/quillmark-bench-download-" + std::to_string(::getpid()) + "-" + std::to_string(bytes);
  if (::access(path.c_str(), F_OK) != 0) {
    std::string block(65536, '\0');
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7);
    FILE* f = std::fopen(path.c_str(), "wb");
    for (int64_t left = bytes; left > 0; left -= static_cast<int64_t>(block.size())) {
      std::fwrite(block.data(), 1, static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(block.size()))), f);
    }
    std::fclose(f);
    static std::vector<std::string> made;
    if (made.empty()) std::atexit([] {
      for (const auto& p : made) ::unlink(p.c_str());
    });
    made.push_back(path);
  }
  return path;
}

void PeakMemory(benchmark::State& state) {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_kib"] = static_cast<double>(usage.ru_maxrss);
}

// Drains the printer's side of a pseudo-terminal as fast as it can.
struct PtyDrain {
  qm::test::PtyPair pty;
  std::atomic<bool> stop{false};
  std::thread reader{[this] {
    char buf[65536];
    while (!stop) {
      pollfd p{pty.master(), POLLIN, 0};
      if (::poll(&p, 1, 5) > 0) (void)!::read(pty.master(), buf, sizeof buf);
    }
  }};
  ~PtyDrain() {
    stop = true;
    reader.join();
  }
};

// A TCP printer that takes everything and keeps nothing.
struct TcpDrain {
  int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  uint16_t port = 0;
  std::atomic<bool> stop{false};
  std::thread thread;
  TcpDrain() {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listener, 8);
    socklen_t len = sizeof a;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    thread = std::thread([this] {
      std::vector<int> open;
      char buf[65536];
      while (!stop) {
        std::vector<pollfd> fds{{listener, POLLIN, 0}};
        for (int fd : open) fds.push_back({fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), 5) <= 0) continue;
        if (fds[0].revents) open.push_back(::accept(listener, nullptr, nullptr));
        for (size_t i = 1; i < fds.size(); ++i) {
          if (fds[i].revents && ::read(fds[i].fd, buf, sizeof buf) <= 0) {
            ::close(fds[i].fd);
            open.erase(std::find(open.begin(), open.end(), fds[i].fd));
          }
        }
      }
      for (int fd : open) ::close(fd);
    });
  }
  ~TcpDrain() {
    stop = true;
    thread.join();
    ::close(listener);
  }
};

void Transfer(benchmark::State& state, qm::PrinterLink& link, const std::string& file) {
  qm::SilentPrompter prompter;
  qm::TransferOptions options;
  options.pauseMs = 0;
  for (auto _ : state) {
    if (!qm::TransferFile(link, prompter, qm::EnglishStrings(), file, options).done()) {
      state.SkipWithError("transfer failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  PeakMemory(state);
}

void BM_TransferPty(benchmark::State& state) {
  PtyDrain drain;
  qm::SystemClock clock;
  qm::SilentPrompter prompter;
  qm::DeviceMap devices;
  devices.Override("COM1", drain.pty.path());
  qm::PrinterLink link(clock, prompter, qm::EnglishStrings(), qm::LinkTiming{}, devices);
  link.SetPortName("COM1:");
  link.Open();
  Transfer(state, link, FileOf(state.range(0)));
}

void BM_CatPty(benchmark::State& state) {
  PtyDrain drain;
  const std::string file = FileOf(state.range(0));
  for (auto _ : state) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, drain.pty.path().c_str(), O_WRONLY | O_NOCTTY, 0);
    char cat[] = "cat";
    char* argv[] = {cat, const_cast<char*>(file.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "cat", &actions, nullptr, argv, environ) != 0) {
      state.SkipWithError("cannot run cat");
      break;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_TransferTcpUnpaced(benchmark::State& state) {
  TcpDrain printer;
  qm::SystemClock clock;
  qm::SilentPrompter prompter;
  qm::PrinterLink link(clock, prompter, qm::EnglishStrings(), qm::LinkTiming{}, qm::DeviceMap{});
  link.SetPortName("ETHERNET");
  link.SetEthernetSettings("127.0.0.1", printer.port);
  link.Open();
  Transfer(state, link, FileOf(state.range(0)));
}

void BM_SocketCopy(benchmark::State& state) {
  TcpDrain printer;
  const std::string file = FileOf(state.range(0));
  std::string buf(65536, '\0');
  for (auto _ : state) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(printer.port);
    ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    for (ssize_t n; (n = ::read(fd, buf.data(), buf.size())) > 0;) {
      for (ssize_t done = 0; done < n;) {
        const ssize_t w = ::send(s, buf.data() + done, static_cast<size_t>(n - done), MSG_NOSIGNAL);
        if (w <= 0) break;
        done += w;
      }
    }
    // Done when the printer has every byte, as a download is: nothing left in the queue.
    for (int queued = 1; ::ioctl(s, SIOCOUTQ, &queued) == 0 && queued > 0;) ::usleep(100);
    ::close(s);
    ::close(fd);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

constexpr int64_t kMiB = 1 << 20;

}  // namespace

BENCHMARK(BM_TransferPty)->Arg(kMiB)->Arg(10 * kMiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CatPty)->Arg(kMiB)->Arg(10 * kMiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TransferTcpUnpaced)->Arg(kMiB)->Arg(10 * kMiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SocketCopy)->Arg(kMiB)->Arg(10 * kMiB)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
