// Round trip of one query as every tool makes it: write, the caller's 10 ms wait, read of
// up to 32 bytes. The reply must be in hand soon after the wait, not after a time-out,
// whether or not the caller says that it is a line.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/clock.h"
#include "fake_clock.h"
#include "link/printer_link.h"
#include "loopback_server.h"
#include "pty_pair.h"

namespace {

constexpr int kCallerWaitMs = 10;
const std::string kQuery = "^PI5,0\r\n";
const std::string kReply = "832\r\n";

void RoundTrips(benchmark::State& state, qm::PrinterLink& link, qm::Clock& clock, qm::ReplyEnd end) {
  char buf[32];
  for (auto _ : state) {
    link.Write(kQuery);
    clock.Sleep(kCallerWaitMs);
    const int n = link.Read(buf, 32, end);
    if (n != static_cast<int>(kReply.size())) {
      state.SkipWithError("short or missing reply");
      break;
    }
  }
}

void BM_QueryRoundTripTcp(benchmark::State& state, qm::ReplyEnd end) {
  qm::test::LoopbackServer printer([](size_t, const std::string& piece) {
    return piece == kQuery ? kReply : std::string();
  });
  qm::SystemClock clock;
  qm::SilentPrompter prompter;
  qm::PrinterLink link(clock, prompter, qm::EnglishStrings(), qm::LinkTiming{}, qm::DeviceMap{});
  link.SetPortName("ETHERNET");
  link.SetEthernetSettings("127.0.0.1", printer.port());
  link.Open();
  RoundTrips(state, link, clock, end);
}

void BM_QueryRoundTripPty(benchmark::State& state, qm::ReplyEnd end) {
  qm::test::PtyPair pty;
  std::atomic<bool> stop{false};
  // The printer answers as soon as the whole query is in.
  std::thread printer([&] {
    std::string got;
    char buf[256];
    while (!stop) {
      pollfd p{pty.master(), POLLIN, 0};
      if (::poll(&p, 1, 5) <= 0) continue;
      const ssize_t n = ::read(pty.master(), buf, sizeof buf);
      if (n <= 0) continue;
      got.append(buf, static_cast<size_t>(n));
      if (got.size() >= kQuery.size()) {
        got.clear();
        pty.Send(kReply);
      }
    }
  });
  qm::SystemClock clock;
  qm::SilentPrompter prompter;
  qm::DeviceMap devices;
  devices.Override("COM1", pty.path());
  qm::PrinterLink link(clock, prompter, qm::EnglishStrings(), qm::LinkTiming{}, devices);
  link.SetPortName("COM1:");
  if (link.Open() != 1) {
    state.SkipWithError("cannot open the pseudo-terminal");
  } else {
    RoundTrips(state, link, clock, end);
  }
  stop = true;
  printer.join();
}

BENCHMARK_CAPTURE(BM_QueryRoundTripTcp, unknown, qm::ReplyEnd::kUnknown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_QueryRoundTripTcp, line, qm::ReplyEnd::kLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_QueryRoundTripPty, unknown, qm::ReplyEnd::kUnknown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_QueryRoundTripPty, line, qm::ReplyEnd::kLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
