// The virtual printer's speed: how soon a reply leaves after its query's last byte, and
// how fast it takes in a stream of commands and image bytes, over TCP and a
// pseudo-terminal.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "printer/command_parser.h"
#include "printer/printer_core.h"
#include "printer/virtual_printer.h"

namespace {

using Clock = std::chrono::steady_clock;
using qm::printer::PrinterOptions;
using qm::printer::VirtualPrinter;

// One end of a conversation with the printer, as raw descriptor I/O.
class Peer {
 public:
  static Peer Tcp(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) std::perror("connect");
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return Peer(fd);
  }
  static Peer Terminal(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd, TCSANOW, &t);
    return Peer(fd);
  }
  Peer(Peer&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  ~Peer() {
    if (fd_ >= 0) ::close(fd_);
  }

  bool WriteAll(const char* data, size_t size) const {
    size_t done = 0;
    while (done < size) {
      const ssize_t n = ::write(fd_, data + done, size - done);
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }
  // Reads until `count` bytes are in, or a second has gone by.
  std::string ReadExactly(size_t count) const {
    std::string got;
    char buf[256];
    while (got.size() < count) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 1000) <= 0) break;
      const ssize_t n = ::read(fd_, buf, std::min(sizeof buf, count - got.size()));
      if (n <= 0) break;
      got.append(buf, static_cast<size_t>(n));
    }
    return got;
  }

 private:
  explicit Peer(int fd) : fd_(fd) {}
  int fd_;
};

std::unique_ptr<VirtualPrinter> StartPrinter(bool serial) {
  PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.serial = serial;
  auto printer = std::make_unique<VirtualPrinter>(options);
  std::string error;
  if (!printer->Start(error)) std::fprintf(stderr, "printer: %s\n", error.c_str());
  return printer;
}

// From the query's last byte to the reply's last byte. The slowest exchange is reported
// too: the bound holds for every reply, not on average.
void ReplyLatency(benchmark::State& state, bool serial, const std::string& query, size_t replySize) {
  auto printer = StartPrinter(serial);
  Peer peer = serial ? Peer::Terminal(printer->serialPath()) : Peer::Tcp(printer->tcpPort());
  std::vector<double> micros;
  for (auto _ : state) {
    const auto start = Clock::now();
    peer.WriteAll(query.data(), query.size());
    const std::string reply = peer.ReadExactly(replySize);
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    if (reply.size() != replySize) {
      state.SkipWithError("short reply");
      break;
    }
    micros.push_back(us);
    state.SetIterationTime(us / 1e6);
  }
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  state.counters["p50_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
  state.counters["max_us"] = micros.back();
}

void BM_ReplyLatencyTcp_PaperWidth(benchmark::State& s) { ReplyLatency(s, false, "^PI5,0\r\n", 5); }
void BM_ReplyLatencyTcp_SwitchRead(benchmark::State& s) { ReplyLatency(s, false, "^MBR2,2", 1); }
void BM_ReplyLatencyTcp_Distribution(benchmark::State& s) { ReplyLatency(s, false, "^MXd,1200,G\r", 64); }
void BM_ReplyLatencyPty_PaperWidth(benchmark::State& s) { ReplyLatency(s, true, "^PI5,0\r\n", 5); }
void BM_ReplyLatencyPty_SwitchRead(benchmark::State& s) { ReplyLatency(s, true, "^MBR2,1", 1); }
BENCHMARK(BM_ReplyLatencyTcp_PaperWidth)->UseManualTime()->Iterations(5000);
BENCHMARK(BM_ReplyLatencyTcp_SwitchRead)->UseManualTime()->Iterations(5000);
BENCHMARK(BM_ReplyLatencyTcp_Distribution)->UseManualTime()->Iterations(5000);
BENCHMARK(BM_ReplyLatencyPty_PaperWidth)->UseManualTime()->Iterations(5000);
BENCHMARK(BM_ReplyLatencyPty_SwitchRead)->UseManualTime()->Iterations(5000);

// A stream a busy operator sends: label lines with a print now and then.
std::string LabelStream(size_t bytes) {
  const std::string label =
      "SW812\rSL1219,24,G\rT20,20,3,1,1,0,0,N,N,'VORMAND Label Printer'\r"
      "V20,60,U,35,35,1,N,N,N,0,L,0,'VORMAND Label Printer'\rB1100,100,0,2,7,100,0,1,'123456789'\r"
      "BD100,100,800,120,O\rP1\r";
  std::string s;
  s.reserve(bytes + label.size());
  while (s.size() < bytes) s += label;
  return s;
}

// An image store of `bytes` raw bytes, CR and quotes included.
std::string ImageStream(size_t bytes) {
  std::string s = "IS" + std::to_string(bytes) + ",'PHOTO'";
  for (size_t i = 0; i < bytes; ++i) s.push_back(static_cast<char>(i * 131 + 7));
  return s + "\r\rIR100,100,'PHOTO'\rP1\r";
}

// Sends `stream` and then a query; the reply proves every byte before it was taken in.
void Ingest(benchmark::State& state, bool serial, const std::string& stream) {
  auto printer = StartPrinter(serial);
  Peer peer = serial ? Peer::Terminal(printer->serialPath()) : Peer::Tcp(printer->tcpPort());
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!peer.WriteAll(stream.data(), stream.size()) || !peer.WriteAll("^PI0", 4) ||
        peer.ReadExactly(9) != "LRX-500II") {
      state.SkipWithError("the printer did not answer after the stream");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}

const std::string& Labels() {
  static const std::string s = LabelStream(16u << 20);
  return s;
}
const std::string& Image() {
  static const std::string s = ImageStream(16u << 20);
  return s;
}

void BM_IngestTcp_Labels(benchmark::State& s) { Ingest(s, false, Labels()); }
void BM_IngestTcp_Image(benchmark::State& s) { Ingest(s, false, Image()); }
void BM_IngestPty_Labels(benchmark::State& s) { Ingest(s, true, Labels()); }
void BM_IngestPty_Image(benchmark::State& s) { Ingest(s, true, Image()); }
BENCHMARK(BM_IngestTcp_Labels)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_IngestTcp_Image)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_IngestPty_Labels)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_IngestPty_Image)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The parser and printer alone, without any port: the ceiling the ports work under.
void BM_CoreOnly_Labels(benchmark::State& state) {
  qm::printer::PrinterCore core(qm::printer::FactoryState(1), {});
  const qm::printer::Origin origin{qm::kEthernet, 1, "bench"};
  const std::string& stream = Labels();
  for (auto _ : state) {
    for (size_t at = 0; at < stream.size(); at += 65536) {
      core.Feed(std::string_view(stream).substr(at, 65536), origin);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_CoreOnly_Labels)->Unit(benchmark::kMillisecond);

}  // namespace
