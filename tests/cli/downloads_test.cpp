// `download` and `pcx`: the bytes on the wire, the virtual printer receiving them whole,
// refusals, --pace, SIGINT and the progress line.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "cli/transfer_progress.h"
#include "cli_harness.h"
#include "loopback_server.h"
#include "printer/virtual_printer.h"
#include "scripted_printer.h"

namespace qm::cli {
namespace {

using test::CliHarness;
using test::TempDir;

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 13 + i / 256) & 0xFF);
  return s;
}

uint64_t Fnv1a(const std::string& bytes) {
  uint64_t h = 0xcbf29ce484222325u;
  for (const char c : bytes) h = (h ^ static_cast<uint8_t>(c)) * 0x100000001b3u;
  return h;
}

std::string Tcp(uint16_t port) { return "tcp://127.0.0.1:" + std::to_string(port); }

// The virtual printer on TCP and a serial pseudo-terminal.
struct VirtualRun {
  VirtualRun() {
    printer::PrinterOptions options;
    options.listen = "127.0.0.1:0";
    options.serial = true;
    printer = std::make_unique<printer::VirtualPrinter>(options);
    std::string error;
    EXPECT_TRUE(printer->Start(error)) << error;
    cli.env.devices = qm::test::ScriptedPrinterDevices(printer->serialPath());
  }
  ~VirtualRun() { printer->Stop(); }
  // The tally whose byte count reaches `bytes`, once the printer has them.
  std::optional<printer::ReceivedTally> TallyOf(size_t bytes) {
    for (int i = 0; i < 3000; ++i) {
      for (const auto& t : printer->received()) {
        if (t.bytes >= bytes && t.bytes > 0) return t;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return std::nullopt;
  }
  std::unique_ptr<printer::VirtualPrinter> printer;
  CliHarness cli;
};

TEST(Download, AnyBytesLandWholeOnEveryPort) {
  TempDir dir;
  for (const std::string port : {"tcp", "COM1:"}) {
    for (const size_t size : {size_t{1}, size_t{5000}, size_t{70000}}) {
      SCOPED_TRACE(port + " " + std::to_string(size));
      VirtualRun v;
      const std::string data = Pattern(size);
      const std::string file = dir.Write("data.bin", data);
      const auto run = v.cli.Run({"--port", port == "tcp" ? Tcp(v.printer->tcpPort()) : port, "--json", "download", file});
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_NE(run.out.find("\"sent\":" + std::to_string(size)), std::string::npos) << run.out;
      const auto tally = v.TallyOf(size);
      ASSERT_TRUE(tally.has_value());
      EXPECT_EQ(tally->bytes, size);
      EXPECT_EQ(tally->fnv1a, Fnv1a(data));
    }
  }
}

TEST(Download, StandardInputAndPace) {
  qm::test::LoopbackServer printer;
  struct Case {
    std::vector<std::string> pace;
    std::vector<int> sleeps;
  };
  // Unpaced, the 9000 bytes go as one piece: nothing to pause between.
  for (const Case& c : {Case{{}, {500, 500}}, Case{{"--pace", "0"}, {}}, Case{{"--pace", "20"}, {20, 20}}}) {
    CliHarness cli;
    cli.in.str(Pattern(9000));
    std::vector<std::string> args{"--port", Tcp(printer.port()), "download", "-"};
    args.insert(args.end(), c.pace.begin(), c.pace.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "sent 9000 bytes\n");
    EXPECT_EQ(cli.clock.sleeps, c.sleeps);
  }
  EXPECT_TRUE(printer.WaitForTotal(3 * 9000));
  for (const auto& connection : printer.connections()) {
    if (!connection.empty()) {
      EXPECT_EQ(connection, Pattern(9000));
    }
  }
}

TEST(Pcx, StoreEndToEndThroughTheVirtualPrinter) {
  TempDir dir;
  const std::string image = Pattern(1234);
  const std::string file = dir.Write("LOGO.pcx", image);
  for (const std::string port : {"tcp", "COM1:"}) {
    SCOPED_TRACE(port);
    VirtualRun v;
    const std::string at = port == "tcp" ? Tcp(v.printer->tcpPort()) : port;
    const auto run = v.cli.Run({"--port", at, "pcx", "store", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "stored 1234 bytes as 'LOGO'\n");
    std::vector<printer::PrintedLabel> labels;
    for (int i = 0; i < 3000 && labels.empty(); ++i) {
      labels = v.printer->labels();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(labels.size(), 1u);
    ASSERT_EQ(labels[0].commands.size(), 1u);
    EXPECT_EQ(labels[0].commands[0].raw(), "IR100,100,'LOGO'");
    ASSERT_TRUE(labels[0].commands[0].image);
    EXPECT_EQ(*labels[0].commands[0].image, image);
    EXPECT_EQ(v.printer->images(), (std::map<std::string, size_t>{{"LOGO", 1234}}));
    // Then deleted again, by name and all at once.
    EXPECT_EQ(v.cli.Run({"--port", at, "pcx", "delete", "LOGO"}).status, 0);
    for (int i = 0; i < 3000 && !v.printer->images().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(v.printer->images().empty());
  }
}

TEST(Pcx, ExactBytesOfEachAction) {
  TempDir dir;
  const std::string file = dir.Write("Sign.PCX", "abc");
  const struct {
    std::vector<std::string> args;
    std::string wire;
  } cases[] = {
      {{"store", file}, "IS3,'Sign'abc\r\rIR100,100,'Sign'\rP1\r"},
      {{"store", file, "--name", "Other"}, "IS3,'Other'abc\r\rIR100,100,'Other'\rP1\r"},
      {{"recall", "LOGO"}, "IR0,0,'LOGO'\rP1\r"},
      {{"recall", "LOGO", "--x", "12", "--y", "34"}, "IR12,34,'LOGO'\rP1\r"},
      {{"delete", "LOGO"}, "ID'LOGO'II"},
      {{"delete", "--all"}, "ID*II"},
      {{"info"}, "II"},
  };
  for (const auto& c : cases) {
    qm::test::ScriptedPrinter device;
    CliHarness cli;
    cli.env.devices = qm::test::ScriptedPrinterDevices(device.path());
    cli.env.timing = qm::test::ScriptedPrinterTiming();
    std::vector<std::string> args{"--port", "COM1:", "pcx"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(device.received(c.wire.size()), c.wire) << c.args[0];
  }
}

TEST(Downloads, UsageErrorsSendNothing) {
  TempDir dir;
  const std::string bad = dir.path() + "/missing.pcx";
  const std::string blank = dir.Write(".pcx", "x");
  const std::vector<std::vector<std::string>> cases = {
      {"download", bad},         {"download", dir.path()},          {"pcx", "store", bad},
      {"pcx", "store", blank},   {"pcx", "delete"},                 {"pcx", "delete", "A", "--all"},
      {"pcx", "recall", ""},     {"download", "-", "--pace", "-1"}, {"pcx"},
  };
  qm::test::LoopbackServer printer;
  for (const auto& c : cases) {
    CliHarness cli;
    std::vector<std::string> args{"--port", Tcp(printer.port())};
    args.insert(args.end(), c.begin(), c.end());
    EXPECT_EQ(cli.Run(args).status, 2) << c.back();
  }
  EXPECT_EQ(printer.totalReceived(), 0u);
}

// Stops at SIGINT after the second piece of the log, as Ctrl-C does.
class InterruptingLog : public std::stringbuf {
 protected:
  int sync() override {
    if (!raised_ && test::Count(str(), "write 2048") == 2) {
      raised_ = true;
      ::raise(SIGINT);
    }
    return 0;
  }

 private:
  bool raised_ = false;
};

TEST(Download, SigintStopsBeforeTheNextPieceAndSaysHowManyWent) {
  qm::test::ScriptedPrinter device;
  CliHarness cli;
  cli.env.devices = qm::test::ScriptedPrinterDevices(device.path());
  cli.env.timing = qm::test::ScriptedPrinterTiming();
  TempDir dir;
  const std::string file = dir.Write("data.bin", Pattern(10000));
  InterruptingLog log;
  std::ostream err(&log);
  std::ostringstream out;
  const int status = RunCli({"--port", "COM1:", "--log", "--json", "download", file}, out, err, cli.env);
  EXPECT_EQ(status, 1);
  EXPECT_NE(log.str().find("interrupted after 4096 of 10000 bytes were sent"), std::string::npos) << log.str();
  EXPECT_NE(out.str().find("\"sent\":4096"), std::string::npos) << out.str();
  EXPECT_EQ(device.received(4096), Pattern(4096));
  struct sigaction after {};
  ::sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(after.sa_handler, SIG_DFL);
}

TEST(Download, ProgressLineEndsWithTheTotal) {
  qm::test::ScriptedPrinter device;
  qm::test::FakeClock clock;
  qm::test::RecordingPrompter prompter;
  const LinkTiming timing = qm::test::ScriptedPrinterTiming();
  PrinterLink link(clock, prompter, EnglishStrings(), timing, qm::test::ScriptedPrinterDevices(device.path()));
  link.SetPortName("COM1:");
  ASSERT_EQ(link.Open(), 1);
  std::ostringstream progress;
  Session session{link, clock, timing, prompter, &progress};
  TempDir dir;
  const std::string file = dir.Write("data.bin", Pattern(5000));
  auto source = FileSource::Open(file);
  ASSERT_TRUE(source);
  const TransferRun run = RunTransfer(session, "download", -1, [&](const TransferOptions& options) {
    return TransferSource(link, *source, options);
  });
  EXPECT_TRUE(run.result.done());
  const std::string shown = progress.str();
  // The first piece is drawn at once and the last one always; every redraw starts a line over.
  EXPECT_EQ(shown.rfind("\rdownload: 2048 of 5000 bytes", 0), 0u) << shown;
  const size_t last = shown.rfind('\r');
  EXPECT_EQ(shown.compare(last, 29, "\rdownload: 5000 of 5000 bytes"), 0) << shown;
  EXPECT_EQ(shown.back(), '\n');
}

}  // namespace
}  // namespace qm::cli
