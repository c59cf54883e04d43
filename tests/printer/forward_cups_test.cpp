// quillmark-printer --forward against a CUPS server of the test's own (its own folder,
// socket, spool and filter; no system service is touched): a label reaches the queue's
// file: device as the PNG the printer drew, and a queue or server that refuses is logged
// while the printer goes on answering.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <cups/cups.h>

#include "loopback_exchange.h"
#include "own_cupsd.h"
#include "table_test.h"

namespace qm::printer {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using test::FindProgram;
using test::ShellOutput;
using test::Slurp;

// Processes start and jobs pass through another process: polled until `done`, for a bounded
// time. Not a test of speed; the bound only ends a broken run.
bool Eventually(const std::function<bool()>& done, int seconds = 20) {
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// A page description with one filter: the document as it came, so the file: device gets
// the job's bytes unchanged. The filter also keeps the job's options beside the output.
constexpr const char* kPpd =
    "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n*PCFileName: \"LABEL.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(Label)\"\n"
    "*ModelName: \"Label queue\"\n*ShortNickName: \"Label queue\"\n*NickName: \"Label queue\"\n"
    "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n"
    "*FileSystem: False\n*Throughput: \"1\"\n*cupsFilter: \"image/png 0 passthrough\"\n"
    "*OpenUI *PageSize: PickOne\n*DefaultPageSize: Label\n*PageSize Label: \"<</PageSize[144 108]>>setpagedevice\"\n"
    "*CloseUI: *PageSize\n*DefaultImageableArea: Label\n*ImageableArea Label: \"0 0 144 108\"\n"
    "*DefaultPaperDimension: Label\n*PaperDimension Label: \"144 108\"\n";

// Starts cupsd in `dir` with a file: device allowed and the pass-through filter; an empty
// string when it answers, else why not.
std::string StartServer(const std::string& cupsd, const std::string& dir, pid_t& pid) {
  for (const char* sub : {"out", "bin/filter"}) fs::create_directories(dir + "/" + sub);
  ::chmod((dir + "/out").c_str(), 0777);  // filters run as the server's own user
  fs::create_directory_symlink("/usr/lib/cups/daemon", dir + "/bin/daemon");
  const std::string filter = dir + "/bin/filter/passthrough";
  std::ofstream(filter) << "#!/bin/sh\nprintf '%s\\n' \"$5\" > " << dir << "/out/options\n"
                        << "if [ -n \"$6\" ]; then exec cat \"$6\"; else exec cat; fi\n";
  ::chmod(filter.c_str(), 0755);
  std::ofstream(dir + "/label.ppd") << kPpd;
  test::CupsdConfig config;
  config.files = "ServerBin " + dir + "/bin\nFileDevice Yes\n";
  return test::StartCupsd(cupsd, dir, config, pid);
}

// The real program, with CUPS_SERVER pointing where the row says.
class PrinterProcess {
 public:
  PrinterProcess(const std::vector<std::string>& args, const std::string& server, const std::string& errPath) {
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setenv("CUPS_SERVER", server.c_str(), 1);
      ::dup2(out[1], 1);
      const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(err, 2);
      std::vector<char*> argv{const_cast<char*>(QUILLMARK_PRINTER_BINARY)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    // "listening on 127.0.0.1:PORT"
    std::string text;
    pollfd p{out[0], POLLIN, 0};
    char buffer[256];
    while (text.find('\n') == std::string::npos && ::poll(&p, 1, 15000) == 1) {
      const ssize_t n = ::read(out[0], buffer, sizeof buffer);
      if (n <= 0) break;
      text.append(buffer, static_cast<size_t>(n));
    }
    ::close(out[0]);
    const std::string prefix = "listening on 127.0.0.1:";
    if (text.rfind(prefix, 0) == 0) port_ = static_cast<uint16_t>(std::atoi(text.c_str() + prefix.size()));
  }
  ~PrinterProcess() { Stop(); }

  uint16_t port() const { return port_; }
  // SIGTERM, as a service manager stops it; the exit status.
  int Stop() {
    if (pid_ <= 0) return status_;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return status_;
  }

 private:
  pid_t pid_ = -1;
  uint16_t port_ = 0;
  int status_ = -1;
};

uint32_t BigEndian(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes.at(at + i));
  return v;
}

// 50 x 37.5 mm at 8 dots per mm.
const std::string kLabel = "SW400\rSL300,24\rBD50,60,150,100,O\rP1\r";
const std::string kWidthQuery = "^PI5,0\r\n";

class OwnCupsServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string cupsd = FindProgram("cupsd");
    lpadmin_ = FindProgram("lpadmin");
    if (cupsd.empty() || lpadmin_.empty()) {
      skip_ = "cupsd or lpadmin is not installed (Debian: cups-daemon, cups-client)";
      return;
    }
    if (!fs::exists("/usr/lib/cups/daemon/cups-exec")) {
      skip_ = "cupsd cannot run filters here: /usr/lib/cups/daemon/cups-exec is missing";
      return;
    }
    char pattern[] = "/tmp/quillmark-forward-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    ::chmod(dir_.c_str(), 0755);
    skip_ = StartServer(cupsd, dir_ + "/cups", server_);
    if (!skip_.empty()) return;
    ::setenv("CUPS_SERVER", Socket().c_str(), 1);  // for lpadmin and cupsreject
    int status = 0;
    const std::string added =
        ShellOutput(lpadmin_ + " -p labels -E -v file://" + Out() + "/label.out -P " + dir_ + "/cups/label.ppd", &status);
    if (status != 0) skip_ = "lpadmin could not add the test's queue: " + added;
  }

  static void TearDownTestSuite() {
    if (server_ > 0) {
      ::kill(server_, SIGTERM);
      ::waitpid(server_, nullptr, 0);
    }
    if (!dir_.empty()) {
      std::error_code ec;
      fs::remove_all(dir_, ec);
    }
  }

  void SetUp() override {
    if (!skip_.empty()) GTEST_SKIP() << skip_;
  }

  static std::string Socket() { return dir_ + "/cups/cups.sock"; }
  static std::string Out() { return dir_ + "/cups/out"; }

  static inline std::string dir_, lpadmin_, skip_;
  static inline pid_t server_ = -1;
};

TEST_F(OwnCupsServer, ALabelReachesTheFileDeviceAsThePngThePrinterDrewAtItsTrueSize) {
  const std::string labels = dir_ + "/labels";
  PrinterProcess printer({"--listen", "127.0.0.1:0", "--forward", "labels", "--out", labels}, Socket(),
                         dir_ + "/printer.err");
  ASSERT_NE(printer.port(), 0) << Slurp(dir_ + "/printer.err");
  EXPECT_EQ(test::ExchangeOnLoopback(printer.port(), kLabel + kWidthQuery, 5), "400\r\n");
  EXPECT_EQ(printer.Stop(), 0);
  EXPECT_EQ(Slurp(dir_ + "/printer.err"), "") << "nothing refused";

  const std::string drawn = Slurp(labels + "/label-000001.png");
  ASSERT_GT(drawn.size(), 33u);
  const std::string device = Out() + "/label.out";
  ASSERT_TRUE(Eventually([&] { return fs::exists(device) && fs::file_size(device) == drawn.size(); }))
      << "the job never reached the file: device; server log:\n" << Slurp(dir_ + "/cups/log/error_log");
  const std::string printed = Slurp(device);
  EXPECT_EQ(printed, drawn);
  EXPECT_EQ(printed.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(printed.substr(12, 4), "IHDR");
  EXPECT_EQ(BigEndian(printed, 16), 400u);
  EXPECT_EQ(BigEndian(printed, 20), 300u);
  // 8000 dots a metre both ways: the picture itself says its size.
  const size_t phys = printed.find("pHYs");
  ASSERT_NE(phys, std::string::npos);
  EXPECT_EQ(BigEndian(printed, phys + 4), 8000u);
  EXPECT_EQ(BigEndian(printed, phys + 8), 8000u);
  const std::string options = Slurp(Out() + "/options");
  EXPECT_NE(options.find("media=Custom.50x37.5mm"), std::string::npos) << options;
  EXPECT_NE(options.find("print-scaling=none"), std::string::npos) << options;
  EXPECT_NE(options.find("scaling=100"), std::string::npos) << options;
}

struct Refusal {
  const char* name;
  std::string queue;
  bool ownServer;      // else a socket nobody listens on
  std::string reason;  // what follows "label 1 not printed on queue QUEUE: the print server SERVER"
};

class RefusingQueues : public OwnCupsServer, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusingQueues, AreLoggedWithTheReasonAndThePrinterGoesOnAnswering) {
  const Refusal& row = GetParam();
  if (row.queue == "closed") {
    int status = 0;
    const std::string out = ShellOutput(lpadmin_ + " -p closed -E -v file:///dev/null -P " + dir_ + "/cups/label.ppd && " +
                                      FindProgram("cupsreject") + " -r 'closed for the test' closed",
                                  &status);
    ASSERT_EQ(status, 0) << out;
  }
  const std::string server = row.ownServer ? Socket() : dir_ + "/nobody.sock";
  const std::string err = dir_ + "/" + test::RowIdentifier(row.name) + ".err";
  PrinterProcess printer({"--listen", "127.0.0.1:0", "--forward", row.queue}, server, err);
  ASSERT_NE(printer.port(), 0) << Slurp(err);
  EXPECT_EQ(test::ExchangeOnLoopback(printer.port(), kLabel, 0), "");
  const std::string line = "label 1 not printed on queue " + row.queue + ": ";
  ASSERT_TRUE(Eventually([&] { return Slurp(err).find(line) != std::string::npos; })) << Slurp(err);
  // Refused, and still the printer answers.
  EXPECT_EQ(test::ExchangeOnLoopback(printer.port(), kWidthQuery, 5), "400\r\n");
  EXPECT_EQ(test::ExchangeOnLoopback(printer.port(), "^PI0", 9), "LRX-500II");
  EXPECT_EQ(printer.Stop(), 0);
  const std::string logged = Slurp(err);
  // "2026-12-08 03:47:40.123 label 1 not printed ...\n"
  ASSERT_GT(logged.size(), 24u);
  const std::string expected = line + "the print server " + server + row.reason;
  if (row.ownServer) {
    EXPECT_EQ(logged.substr(24), expected + "\n");
  } else {
    // The rest is the system's word for a socket nobody listens on.
    EXPECT_EQ(logged.substr(24, expected.size()), expected);
    EXPECT_GT(logged.size(), 24 + expected.size() + 1) << logged;
    EXPECT_EQ(logged.back(), '\n');
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forward, RefusingQueues,
    ::testing::Values(Refusal{"no such queue", "nosuch", true, " has no such queue"},
                      Refusal{"a queue not accepting jobs", "closed", true, " refused the job: Destination \"closed\" is not accepting jobs."},
                      Refusal{"no server", "labels", false, " cannot be reached: "}),
    test::RowName());

}  // namespace
}  // namespace qm::printer
