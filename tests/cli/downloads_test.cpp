// `download` and `pcx`: the bytes on the wire, the virtual printer receiving them whole,
// refusals, --pace, SIGINT and the progress line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A one-bit PCX, `width` by `height`, every dot dark.
std::string DarkPcx(int width, int height) {
  std::string h(128, '\0');
  const int bytesPerLine = ((width + 7) / 8 + 1) / 2 * 2;
  h[0] = 0x0A;
  h[1] = 5;
  h[2] = 1;
  h[3] = 1;
  h[8] = static_cast<char>(width - 1);
  h[9] = static_cast<char>((width - 1) >> 8);
  h[10] = static_cast<char>(height - 1);
  h[11] = static_cast<char>((height - 1) >> 8);
  h[16 + 3] = h[16 + 4] = h[16 + 5] = static_cast<char>(0xFF);  // colour 1 white, 0 black
  h[65] = 1;
  h[66] = static_cast<char>(bytesPerLine);
  return h + std::string(static_cast<size_t>(bytesPerLine) * height, '\0');
}

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
  const std::string image = DarkPcx(40, 27);
  const std::string file = dir.Write("LOGO.pcx", image);
  for (const std::string port : {"tcp", "COM1:"}) {
    SCOPED_TRACE(port);
    VirtualRun v;
    const std::string at = port == "tcp" ? Tcp(v.printer->tcpPort()) : port;
    const auto run = v.cli.Run({"--port", at, "pcx", "store", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "stored " + std::to_string(image.size()) + " bytes as 'LOGO'\n");
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
    EXPECT_EQ(v.printer->images(), (std::map<std::string, size_t>{{"LOGO", image.size()}}));
    // Then deleted again, by name and all at once.
    EXPECT_EQ(v.cli.Run({"--port", at, "pcx", "delete", "LOGO"}).status, 0);
    for (int i = 0; i < 3000 && !v.printer->images().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(v.printer->images().empty());
  }
}

TEST(Pcx, ExactBytesOfEachAction) {
  TempDir dir;
  const std::string pcx = DarkPcx(8, 2);
  const std::string file = dir.Write("Sign.PCX", pcx);
  // The image takes the file's name less its last four characters, whatever they are.
  const std::string other = dir.Write("photo.bmp", pcx);
  const std::string count = std::to_string(pcx.size());
  // A serial printer is asked, between the image and its check print, whether it kept it.
  const struct {
    std::vector<std::string> args;
    std::string wire;
  } cases[] = {
      {{"store", file}, "IS" + count + ",'Sign'" + pcx + "^ee\r\r\rIR100,100,'Sign'\rP1\r"},
      {{"store", file, "--name", "Other"}, "IS" + count + ",'Other'" + pcx + "^ee\r\r\rIR100,100,'Other'\rP1\r"},
      {{"store", other}, "IS" + count + ",'photo'" + pcx + "^ee\r\r\rIR100,100,'photo'\rP1\r"},
      {{"recall", "LOGO"}, "IR0,0,'LOGO'\rP1\r"},
      {{"recall", "LOGO", "--x", "12", "--y", "34"}, "IR12,34,'LOGO'\rP1\r"},
      {{"delete", "LOGO"}, "ID'LOGO'II"},
      {{"delete", "--all"}, "ID*II"},
      {{"info"}, "II"},
  };
  for (const auto& c : cases) {
    qm::test::ScriptedPrinter device;
    device.Answer("^ee\r", "00\r\n");
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
  const std::string blank = dir.Write(".pcx", DarkPcx(8, 1));  // a good image, but no name
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

// Opens the FIFO's writing end after a while and closes it again, so that a reader stuck
// waiting for a writer sees the end of the file and the test ends (failing on its time).
class FifoRelease {
 public:
  explicit FifoRelease(std::string path)
      : thread_([this, path = std::move(path)] {
          for (int i = 0; i < 300 && !done_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
          if (done_) return;
          const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
          if (fd >= 0) ::close(fd);
        }) {}
  ~FifoRelease() {
    done_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

struct InputCase {
  std::string name;
  std::vector<std::string> args;  // after --port; "@" names the scratch folder
  std::string says;               // the end of the message on stderr
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

class UnusableInput : public testing::TestWithParam<InputCase> {};

// Inputs that are not a file to send (a FIFO nobody writes, a device that never ends, a
// picture that is no PCX) are refused at once, as usage errors, before a port is opened.
TEST_P(UnusableInput, IsRefusedAtOnceAndSendsNothing) {
  const InputCase& c = GetParam();
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir.path() + "/fifo").c_str(), 0600), 0);
  dir.Write("empty.pcx", "");
  dir.Write("text.pcx", std::string(300, 'x'));
  // A PCX header whose bytes per line is negative.
  std::string badHeader = DarkPcx(16, 4);
  badHeader[66] = '\x00';
  badHeader[67] = '\x80';
  dir.Write("negative.pcx", badHeader);
  // Over the limit; sparse, so it costs nothing to make.
  const std::string huge = dir.Write("huge.pcx", DarkPcx(16, 4));
  ASSERT_EQ(::truncate(huge.c_str(), (off_t{16} << 20) + 1), 0);
  FifoRelease release(dir.path() + "/fifo");
  // A printer that gives up after 64 KiB, so a device read for ever fails instead of hanging.
  qm::test::LoopbackServer printer(65536, true);
  CliHarness cli;
  std::vector<std::string> args{"--port", Tcp(printer.port())};
  for (const std::string& a : c.args) args.push_back(a[0] == '@' ? dir.path() + a.substr(1) : a);
  const auto started = std::chrono::steady_clock::now();
  const auto run = cli.Run(args);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  EXPECT_EQ(run.status, 2) << run.err;
  const std::string input = args[args.size() - (c.args[0] == "render" ? 3 : 1)];
  EXPECT_EQ(run.err, "quillmark-cli: " + input + ": " + c.says + " (see --help)\n");
  EXPECT_EQ(run.out, "");
  EXPECT_LT(ms.count(), 1000);
  EXPECT_EQ(printer.totalReceived(), 0u);
  EXPECT_TRUE(printer.connections().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Downloads, UnusableInput,
    testing::Values(
        InputCase{"DownloadFifo", {"download", "@/fifo"}, "not a regular file"},
        InputCase{"DownloadDevZero", {"download", "--pace", "0", "/dev/zero"}, "not a regular file"},
        InputCase{"DownloadFolder", {"download", "@"}, "not a regular file"},
        InputCase{"SendFifo", {"send", "@/fifo"}, "not a regular file"},
        InputCase{"RenderFifo", {"render", "@/fifo", "-o", "@"}, "not a regular file"},
        InputCase{"RenderDevZero", {"render", "/dev/zero", "-o", "@"}, "not a regular file"},
        InputCase{"PcxStoreFifo", {"pcx", "store", "@/fifo"}, "not a regular file"},
        InputCase{"PcxStoreDevZero", {"pcx", "store", "/dev/zero"}, "not a regular file"},
        InputCase{"PcxStoreEmpty", {"pcx", "store", "@/empty.pcx"}, "not a PCX file"},
        InputCase{"PcxStoreText", {"pcx", "store", "@/text.pcx"}, "not a PCX file"},
        InputCase{"PcxStoreNegativeLine", {"pcx", "store", "@/negative.pcx"}, "not a PCX file"},
        InputCase{"PcxStoreOverTheLimit", {"pcx", "store", "@/huge.pcx"}, "larger than 16 MiB"},
        InputCase{"PcxStoreMissing", {"pcx", "store", "@/none.pcx"}, "No such file or directory"}),
    [](const testing::TestParamInfo<InputCase>& info) { return info.param.name; });

// Standard input is no file and has no length: `download -` still reads it to its end.
TEST(Download, StandardInputNeedsNoRegularFile) {
  qm::test::LoopbackServer printer;
  CliHarness cli;
  cli.in.str(Pattern(3000));
  const auto run = cli.Run({"--port", Tcp(printer.port()), "download", "--pace", "0", "-"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "sent 3000 bytes\n");
}

struct StoredCase {
  std::string name;
  std::string answer;  // to "^ee\r"; empty: none
  int status;
  std::string err;
  bool checkPrint;
};

void PrintTo(const StoredCase& c, std::ostream* os) { *os << c.name; }

class ImageKept : public testing::TestWithParam<StoredCase> {};

// A serial printer that says it ran out of memory after the image did not store it: the
// store fails naming the image, and no check label is printed for an image that is not there.
// Any other answer, or none, is no reason to think it was refused.
TEST_P(ImageKept, TheSerialPrintersAnswerDecides) {
  const StoredCase& c = GetParam();
  TempDir dir;
  const std::string pcx = DarkPcx(16, 3);
  const std::string file = dir.Write("LOGO.pcx", pcx);
  qm::test::ScriptedPrinter device;
  if (!c.answer.empty()) device.Answer("^ee\r", c.answer);
  CliHarness cli;
  cli.env.devices = qm::test::ScriptedPrinterDevices(device.path());
  cli.env.timing = qm::test::ScriptedPrinterTiming();
  const auto run = cli.Run({"--port", "COM1:", "pcx", "store", file});
  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(run.err, c.err);
  const std::string image = "IS" + std::to_string(pcx.size()) + ",'LOGO'" + pcx;
  const std::string check = "\r\rIR100,100,'LOGO'\rP1\r";
  const std::string asked = "^ee\r";
  const std::string wire = device.received(image.size() + asked.size() + (c.checkPrint ? check.size() : 0));
  EXPECT_EQ(wire, image + asked + (c.checkPrint ? check : ""));
}

INSTANTIATE_TEST_SUITE_P(
    Pcx, ImageKept,
    testing::Values(
        StoredCase{"InsufficientMemory", "04\r\n", 1,
                   "quillmark-cli: the printer did not store the image 'LOGO': Insufficant Mem\n", false},
        StoredCase{"MemoryError", "05\r\n", 1,
                   "quillmark-cli: the printer did not store the image 'LOGO': Memory Error\n", false},
        StoredCase{"NoError", "00\r\n", 0, "", true},
        StoredCase{"AnEarlierSyntaxError", "01\r\n", 0, "", true},
        StoredCase{"NoAnswer", "", 0, "", true}),
    [](const testing::TestParamInfo<StoredCase>& info) { return info.param.name; });

}  // namespace
}  // namespace qm::cli
