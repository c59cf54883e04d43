// The virtual printer under load, as a program: crowds of TCP clients asking the printer
// one query after another, kept connected or reconnecting for every query, with labels
// printing beside them and with or without --out; and Multi Send of 1000 copies through
// the real CLI. Loopback only; every run is bounded and the program stops by itself.
//
//   quillmark-bench-printer-load [--seconds S] [--printer PATH] [--cli PATH] [--send-runs N]
//                                [--quick | --clients N]
//
// --printer runs another build of the printer (an older one, to compare).
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr char kQuery[] = "^PI0";
constexpr char kReply[] = "LRX-500II";
constexpr size_t kReplySize = sizeof kReply - 1;
// A label as a tool prints it, answered by a query so its client knows it was taken.
constexpr char kLabel[] =
    "SW812\rSL1219,24,G\rT20,20,3,1,1,0,0,N,N,'VORMAND Label Printer'\r"
    "B1100,100,0,2,7,100,0,1,'123456789'\rBD100,100,800,120,O\rP1\r^PI0";
// A reply later than this counts as an error.
constexpr int64_t kReplyTimeoutUs = 1000000;

double Micros(SteadyClock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// The printer as a child process on a port of its own choosing.
class PrinterProcess {
 public:
  PrinterProcess(const std::string& program, const std::vector<std::string>& extra) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args = {program, "--listen", "127.0.0.1:0"};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    // "listening on 127.0.0.1:PORT"
    std::string line;
    char c;
    pollfd p{out[0], POLLIN, 0};
    while (pid_ > 0 && line.find('\n') == std::string::npos && ::poll(&p, 1, 5000) == 1 && ::read(out[0], &c, 1) == 1) {
      line += c;
    }
    ::close(out[0]);
    const size_t colon = line.rfind(':');
    if (line.rfind("listening on ", 0) == 0 && colon != std::string::npos) port_ = std::atoi(line.c_str() + colon + 1);
  }
  ~PrinterProcess() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 500 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (::waitpid(pid_, &status, WNOHANG) == 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
    }
  }
  uint16_t port() const { return static_cast<uint16_t>(port_); }
  bool ok() const { return pid_ > 0 && port_ > 0; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(port);
  return addr;
}

// One client of the crowd, driven by the event loop below.
struct Client {
  int fd = -1;
  bool label = false;     // prints labels rather than asking
  bool connecting = false;
  size_t got = 0;          // reply bytes so far
  SteadyClock::time_point asked{};
  SteadyClock::time_point nextLabel{};
  SteadyClock::time_point nextAsk{};  // paced: when this client asks (or connects) next
};

struct Result {
  uint64_t queries = 0;
  uint64_t errors = 0;
  uint64_t labels = 0;
  std::vector<double> latencyUs;
  std::vector<double> probeUs;
  double seconds = 0;
};

class Crowd {
 public:
  // `perClient`: queries a second each client asks at most; 0: each asks again the moment
  // it has its reply, so the crowd finds the printer's ceiling.
  Crowd(uint16_t port, size_t clients, bool reconnect, double labelsPerSecond, double perClient)
      : port_(port),
        reconnect_(reconnect),
        labelGapUs_(labelsPerSecond > 0 ? 1e6 / labelsPerSecond : 0),
        askGapUs_(perClient > 0 ? 1e6 / perClient : 0) {
    ep_ = ::epoll_create1(EPOLL_CLOEXEC);
    clients_.resize(clients + (labelsPerSecond > 0 ? 1 : 0));
    if (labelsPerSecond > 0) clients_.back().label = true;
  }
  ~Crowd() {
    for (Client& c : clients_) Close(c);
    ::close(ep_);
  }

  Result Run(double seconds) {
    const auto start = SteadyClock::now();
    const auto end = start + std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(seconds));
    for (size_t i = 0; i < clients_.size(); ++i) {
      // Paced clients spread over the gap, not all at once.
      clients_[i].nextAsk = start + std::chrono::microseconds(static_cast<int64_t>(askGapUs_ * i / clients_.size()));
      Open(i);
    }
    std::vector<epoll_event> events(256);
    while (SteadyClock::now() < end) {
      const int n = ::epoll_wait(ep_, events.data(), static_cast<int>(events.size()), askGapUs_ > 0 ? 1 : 5);
      const auto now = SteadyClock::now();
      for (int e = 0; e < n; ++e) Handle(events[e].data.u64, events[e].events, now);
      for (size_t i = 0; i < clients_.size(); ++i) {
        Client& c = clients_[i];
        if (c.fd < 0) {
          if (c.label || now >= c.nextAsk) Open(i);
        } else if (askGapUs_ > 0 && !c.label && !c.connecting && c.asked == SteadyClock::time_point{} &&
                   now >= c.nextAsk) {
          Ask(i, now);
        } else if (c.asked != SteadyClock::time_point{} && Micros(now - c.asked) > kReplyTimeoutUs) {
          ++result_.errors;  // no reply in time
          Close(c);
          Open(i);
        } else if (c.label && c.asked == SteadyClock::time_point{} && !c.connecting && now >= c.nextLabel) {
          Ask(i, now);
        }
      }
    }
    result_.seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
    return std::move(result_);
  }

 private:
  void Open(size_t i) {
    Client& c = clients_[i];
    c.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(c.fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const sockaddr_in addr = Loopback(port_);
    c.got = 0;
    c.asked = {};
    c.connecting = true;
    c.asked = SteadyClock::now();  // a reconnecting client's wait starts at its connect
    if (::connect(c.fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 && errno != EINPROGRESS) {
      ++result_.errors;
      Close(c);
      return;
    }
    epoll_event ev{};
    ev.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP;
    ev.data.u64 = i;
    ::epoll_ctl(ep_, EPOLL_CTL_ADD, c.fd, &ev);
  }
  void Close(Client& c) {
    if (c.fd < 0) return;
    ::close(c.fd);
    c.fd = -1;
    c.connecting = false;
    c.asked = {};
  }
  void Ask(size_t i, SteadyClock::time_point now) {
    Client& c = clients_[i];
    const char* bytes = c.label ? kLabel : kQuery;
    const size_t size = c.label ? sizeof kLabel - 1 : sizeof kQuery - 1;
    if (!reconnect_ || c.label) c.asked = now;
    c.got = 0;
    if (::send(c.fd, bytes, size, MSG_NOSIGNAL) != static_cast<ssize_t>(size)) {
      ++result_.errors;
      Close(c);
    }
  }
  void Handle(uint64_t i, uint32_t events, SteadyClock::time_point now) {
    Client& c = clients_[i];
    if (c.fd < 0) return;
    if (c.connecting) {
      if (!(events & (EPOLLOUT | EPOLLERR | EPOLLHUP))) return;
      int soError = 0;
      socklen_t len = sizeof soError;
      ::getsockopt(c.fd, SOL_SOCKET, SO_ERROR, &soError, &len);
      if (soError != 0) {
        ++result_.errors;
        Close(c);
        return;
      }
      c.connecting = false;
      epoll_event ev{};
      ev.events = EPOLLIN | EPOLLRDHUP;
      ev.data.u64 = i;
      ::epoll_ctl(ep_, EPOLL_CTL_MOD, c.fd, &ev);
      if (c.label || (askGapUs_ > 0 && !reconnect_)) {
        c.asked = {};
        if (now >= (c.label ? c.nextLabel : c.nextAsk)) Ask(i, now);
      } else {
        Ask(i, now);
      }
      return;
    }
    char buf[64];
    const ssize_t n = ::recv(c.fd, buf, sizeof buf, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0 || c.asked == SteadyClock::time_point{} ||
        std::memcmp(buf, kReply + c.got, std::min(static_cast<size_t>(n), kReplySize - c.got)) != 0) {
      ++result_.errors;  // closed under it, reset, or a reply nobody asked for
      Close(c);
      return;
    }
    c.got += static_cast<size_t>(n);
    if (c.got < kReplySize) return;
    if (c.label) {
      ++result_.labels;
      c.nextLabel = c.asked + std::chrono::microseconds(static_cast<int64_t>(labelGapUs_));
      c.asked = {};
      return;
    }
    ++result_.queries;
    result_.latencyUs.push_back(Micros(now - c.asked));
    if (askGapUs_ > 0) c.nextAsk = std::max(now, c.asked + std::chrono::microseconds(static_cast<int64_t>(askGapUs_)));
    if (reconnect_) {
      Close(c);
    } else if (askGapUs_ > 0) {
      c.asked = {};
    } else {
      Ask(i, now);
    }
  }

  uint16_t port_;
  bool reconnect_;
  double labelGapUs_;
  double askGapUs_;
  int ep_ = -1;
  std::vector<Client> clients_;
  Result result_;
};

// A new client every 100 ms: connect, ask, read the reply; how long a newcomer waits.
void Probe(uint16_t port, std::atomic<bool>& stop, std::vector<double>& micros, uint64_t& errors) {
  while (!stop) {
    const auto start = SteadyClock::now();
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in addr = Loopback(port);
    std::string got;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0 &&
        ::send(fd, kQuery, sizeof kQuery - 1, MSG_NOSIGNAL) == sizeof kQuery - 1) {
      char buf[32];
      pollfd p{fd, POLLIN, 0};
      while (got.size() < kReplySize && ::poll(&p, 1, 1000) == 1) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        got.append(buf, static_cast<size_t>(n));
      }
    }
    ::close(fd);
    if (got == kReply) {
      micros.push_back(Micros(SteadyClock::now() - start));
    } else {
      ++errors;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

double Percentile(std::vector<double>& v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

struct Scenario {
  size_t clients;
  bool reconnect;
  bool out;
};

struct Measured {
  double qps = 0;        // saturated
  double p99Us = 0;      // paced
  uint64_t errors = 0;   // both, and the probes
};

// Queries a second each client asks in the paced run: 200 clients offer 4000 a second.
constexpr double kPacedRate = 20;

void Report(const char* name, const char* how, Result& r, uint64_t probeErrors) {
  const double p50 = Percentile(r.latencyUs, 0.5);
  const double p99 = Percentile(r.latencyUs, 0.99);
  const double max = r.latencyUs.empty() ? 0 : r.latencyUs.back();
  std::printf("%-26s %-9s %7.0f q/s  p50 %6.0f us  p99 %6.0f us  max %7.0f us  errors %4llu  labels %4llu\n",
              name, how, static_cast<double>(r.queries) / r.seconds, p50, p99, max,
              static_cast<unsigned long long>(r.errors + probeErrors), static_cast<unsigned long long>(r.labels));
}

Measured RunScenario(const std::string& printer, const Scenario& s, double seconds) {
  const std::string dir = "/tmp/quillmark-bench-load-" + std::to_string(::getpid());
  std::vector<std::string> extra;
  if (s.out) extra = {"--out", dir};
  Measured m;
  char name[64];
  std::snprintf(name, sizeof name, "%zu %s%s", s.clients, s.reconnect ? "reconnecting" : "persistent",
                s.out ? " --out" : "");
  {
    PrinterProcess p(printer, extra);
    if (!p.ok()) {
      std::printf("%-26s the printer did not start\n", name);
      m.errors = 1;
      return m;
    }
    std::atomic<bool> stop{false};
    std::vector<double> probe;
    uint64_t probeErrors = 0;
    std::thread prober([&] { Probe(p.port(), stop, probe, probeErrors); });
    // Labels at a steady 50 a second beside the queries: what --out has to draw.
    Result saturated = Crowd(p.port(), s.clients, s.reconnect, 50, 0).Run(seconds);
    Result paced = Crowd(p.port(), s.clients, s.reconnect, 50, kPacedRate).Run(seconds);
    stop = true;
    prober.join();
    m.qps = static_cast<double>(saturated.queries) / saturated.seconds;
    m.p99Us = Percentile(paced.latencyUs, 0.99);
    m.errors = saturated.errors + paced.errors + probeErrors;
    Report(name, "saturated", saturated, 0);
    Report("", "paced", paced, 0);
    const double probeP50 = Percentile(probe, 0.5);
    std::printf("%-26s %-9s %zu new clients: p50 %.2f ms, max %.2f ms, errors %llu\n", "", "probe", probe.size(),
                probeP50 / 1000, probe.empty() ? 0.0 : probe.back() / 1000,
                static_cast<unsigned long long>(probeErrors));
    std::fflush(stdout);
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return m;
}

// The queries 200 persistent clients get through, saturated, with labels printing; the
// best of `rounds` short runs taken in turn with and without --out, so that what other
// work on the machine takes falls on both alike.
double OutCost(const std::string& printer, int rounds, double seconds) {
  const std::string dir = "/tmp/quillmark-bench-load-cost-" + std::to_string(::getpid());
  double best[2] = {0, 0};
  for (int round = 0; round < rounds; ++round) {
    for (const bool out : {false, true}) {
      PrinterProcess p(printer, out ? std::vector<std::string>{"--out", dir} : std::vector<std::string>{});
      if (!p.ok()) return 1;
      const Result r = Crowd(p.port(), 200, false, 50, 0).Run(seconds);
      best[out] = std::max(best[out], static_cast<double>(r.queries) / r.seconds);
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  std::printf("200 persistent, saturated, best of %d: %.0f q/s, with --out %.0f q/s\n", rounds, best[0], best[1]);
  return best[0] > 0 ? 1 - best[1] / best[0] : 1;
}

// Multi Send of `count` copies through the real CLI; seconds, or -1 when it failed.
double TimeMultiSend(const std::string& printer, const std::string& cli, int count) {
  PrinterProcess p(printer, {});
  if (!p.ok()) return -1;
  const std::string file = "/tmp/quillmark-bench-label-" + std::to_string(::getpid()) + ".txt";
  std::ofstream(file, std::ios::binary) << "SL1219,24,G\rT20,20,3,1,1,0,0,N,N,'copy'\rP1\r";
  std::vector<std::string> args = {cli, "--port", "tcp://127.0.0.1:" + std::to_string(p.port()),
                                   "send", "--count", std::to_string(count), file};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = SteadyClock::now();
  pid_t pid = -1;
  int status = -1;
  const bool spawned = posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  // Bounded: a printer that loses connections makes this take a second per loss.
  for (int i = 0; spawned && i < 12000 && ::waitpid(pid, &status, WNOHANG) == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (spawned && ::waitpid(pid, &status, WNOHANG) == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
  const double seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
  std::remove(file.c_str());
  return spawned && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string printer = QUILLMARK_PRINTER_PATH;
  std::string cli = QUILLMARK_CLI_PATH;
  double seconds = 3;
  bool quick = false;
  int sendRuns = 3;
  size_t only = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--printer" && i + 1 < argc) {
      printer = argv[++i];
    } else if (a == "--cli" && i + 1 < argc) {
      cli = argv[++i];
    } else if (a == "--seconds" && i + 1 < argc) {
      seconds = std::clamp(std::atof(argv[++i]), 0.5, 60.0);
    } else if (a == "--send-runs" && i + 1 < argc) {
      sendRuns = std::clamp(std::atoi(argv[++i]), 1, 9);
    } else if (a == "--clients" && i + 1 < argc) {
      only = static_cast<size_t>(std::clamp(std::atoi(argv[++i]), 1, 5000));
    } else if (a == "--quick") {
      quick = true;
    } else {
      std::fprintf(stderr, "usage: %s [--seconds S] [--printer PATH] [--cli PATH] [--send-runs N] [--quick | --clients N]\n", argv[0]);
      return 2;
    }
  }
  ::signal(SIGPIPE, SIG_IGN);
  std::printf("printer %s\n%.1f s a run, saturated (each client asks again at once) then paced (%.0f queries/s\n"
              "a client), labels at 50/s beside the queries, a new client probing every 100 ms\n",
              printer.c_str(), seconds, kPacedRate);
  bool met = true;
  if (only > 0) {
    // One crowd size alone, to compare builds; the goals are not judged.
    for (const bool reconnect : {false, true}) {
      for (const bool out : {false, true}) RunScenario(printer, Scenario{only, reconnect, out}, seconds);
    }
    return 0;
  }
  for (const size_t clients : {size_t{50}, size_t{200}}) {
    for (const bool reconnect : {false, true}) {
      for (const bool out : {false, true}) {
        if (quick && clients == 50) continue;
        const Measured m = RunScenario(printer, Scenario{clients, reconnect, out}, seconds);
        if (clients == 200) met = met && m.errors == 0 && m.p99Us < 10000;
      }
    }
  }
  const double outCost = OutCost(printer, 3, std::min(seconds, 1.5));
  std::printf("--out costs %.0f %% of the queries of 200 persistent clients\n", outCost * 100);
  met = met && outCost < 0.20;
  std::vector<double> sends;
  for (int run = 0; run < sendRuns; ++run) sends.push_back(TimeMultiSend(printer, cli, 1000));
  std::sort(sends.begin(), sends.end());
  const double median = sends[sends.size() / 2];
  if (sends.front() < 0) {
    std::printf("send --count 1000 over TCP failed\n");
    met = false;
  } else {
    std::printf("send --count 1000 over TCP: %.3f s (median of %d; fastest %.3f s)\n", median, sendRuns, sends[0]);
    met = met && median < 1.0;
  }
  std::printf("goals (200 clients: 0 errors, p99 < 10 ms; --out < 20 %%; send --count 1000 < 1 s): %s\n",
              met ? "met" : "NOT met");
  return met ? 0 : 1;
}
