// The built program against the virtual printer, as an operator would run it, and --demo.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "cli_harness.h"
#include "loopback_server.h"
#include "printer/virtual_printer.h"

extern char** environ;

namespace qm::cli {
namespace {

using test::CliHarness;
using test::CliRun;
using test::TempDir;

using qm::test::Slurp;

// Runs the real quillmark-cli with `stdinBytes` on its standard input.
CliRun RunBinary(const std::vector<std::string>& args, const std::string& stdinBytes = "") {
  TempDir io;
  const std::string in = io.Write("in", stdinBytes);
  const std::string out = io.path() + "/out";
  const std::string err = io.path() + "/err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> all{QUILLMARK_CLI_BINARY};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  CliRun run;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = Slurp(out);
  run.err = Slurp(err);
  return run;
}

class BinaryAgainstVirtualPrinter : public ::testing::Test {
 protected:
  void SetUp() override {
    printer::PrinterOptions options;
    options.listen = "127.0.0.1:0";
    printer_ = std::make_unique<printer::VirtualPrinter>(options);
    std::string error;
    ASSERT_TRUE(printer_->Start(error)) << error;
    port_ = "tcp://127.0.0.1:" + std::to_string(printer_->tcpPort());
  }
  void TearDown() override { printer_->Stop(); }

  // Labels arrive on the printer's own thread.
  size_t LabelsAfter(size_t expected) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (printer_->labels().size() < expected && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return printer_->labels().size();
  }

  std::unique_ptr<printer::VirtualPrinter> printer_;
  std::string port_;
};

TEST_F(BinaryAgainstVirtualPrinter, QueryShowsThePrintersReply) {
  const auto run = RunBinary({"--port", port_, "query", "^PI5,0\\r\\n"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, std::to_string(printer_->stored().media.paperWidth) + "\\r\\n\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(BinaryAgainstVirtualPrinter, SendPrintsTheScriptsLabelCountTimes) {
  TempDir dir;
  const std::string file = dir.Write("label.txt", "T20,20,0,1,1,0,0,N,N,'Quillmark'\r\nP1,1\r\n");
  const auto run = RunBinary({"--json", "--port", port_, "send", "--count", "3", file});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"ok\":true,\"exit\":0"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"count\":3,\"completed\":3}"), std::string::npos) << run.out;
  ASSERT_EQ(LabelsAfter(3), 3u);
  EXPECT_EQ(printer_->labels()[2].commands.size(), 1u);
}

TEST(Binary, ExitStatusesReachTheShell) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* errMention;
  };
  const Case cases[] = {
      {{"--help"}, 0, ""},
      {{"query", "--read", "0", "x"}, 2, "--read: must be 1..65536"},
      {{"send", "--count", "0", "-"}, 2, "--count: 0 sends nothing"},
      {{"--port", "tcp://127.0.0.1:" + std::to_string(qm::test::ClosedLoopbackPort()), "query", "x"},
       1, "Cannot open port! Please check printer and cable."},
  };
  for (const auto& c : cases) {
    const auto run = RunBinary(c.args);
    EXPECT_EQ(run.status, c.status) << c.args.front();
    EXPECT_NE(run.err.find(c.errMention), std::string::npos) << run.err;
  }
}

TEST(Binary, DemoAnswersAQueryAndTakesAScript) {
  const auto query = RunBinary({"--demo", "--json", "query", "^PI5,0\\r\\n"});
  EXPECT_EQ(query.status, 0) << query.err;
  EXPECT_NE(query.out.find("\"port\":\"the demo printer (ETHERNET 127.0.0.1:"), std::string::npos)
      << query.out;
  EXPECT_NE(query.out.find("\"reply\":\"812\\\\r\\\\n\""), std::string::npos) << query.out;
  const auto send = RunBinary({"--demo", "send", "--count", "2", "-"}, "P1,1\r\n");
  EXPECT_EQ(send.status, 0) << send.err;
  EXPECT_EQ(send.out, "sent 6 bytes 2 times\n");
}

TEST_F(BinaryAgainstVirtualPrinter, ASettingSentInOneRunIsReadInTheNext) {
  const auto set = RunBinary({"--port", port_, "send", "-"}, "^MBU0,600\r");
  EXPECT_EQ(set.status, 0) << set.err;
  const auto get = RunBinary({"--port", port_, "query", "^PI5,0\\r\\n"});
  EXPECT_EQ(get.status, 0) << get.err;
  EXPECT_EQ(get.out, "600\\r\\n\n");
}

TEST_F(BinaryAgainstVirtualPrinter, ANegativeSettingReachesThePrinterAndComesBack) {
  // "-12" is the value, not an option, even to the real program's parser.
  const auto set = RunBinary({"--port", port_, "set", "offset", "-12"});
  EXPECT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.out, "Print Offset: -12\n");
  EXPECT_EQ(set.err, "quillmark-cli: Setting offset is successful\n");
  const auto get = RunBinary({"--port", port_, "get", "offset", "--json"});
  EXPECT_EQ(get.status, 0) << get.err;
  EXPECT_NE(get.out.find("\"item\":\"offset\",\"value\":-12,"), std::string::npos) << get.out;
  EXPECT_EQ(printer_->stored().media.offset, -12);
  const auto refused = RunBinary({"--port", port_, "set", "tear-off", "-101"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "quillmark-cli: tear-off: -101 is out of range -100..100 (see --help)\n");
}

TEST(Demo, ServesEthernetComOneAndUsb) {
  struct Case {
    std::vector<std::string> port;
    std::string described;
  };
  const Case cases[] = {
      {{}, "the demo printer (ETHERNET 127.0.0.1:"},
      {{"--port", "COM1:"}, "the demo printer (COM1: (/dev/pts/"},
      {{"--port", "USB"}, "the demo printer (USB ("},
  };
  for (const auto& c : cases) {
    CliHarness cli;
    cli.env.timing.usbReadWaitMs = 3000;
    cli.env.timing.serialDefaults.readTotalConstantMs = 3000;
    std::vector<std::string> args{"--demo", "--json"};
    args.insert(args.end(), c.port.begin(), c.port.end());
    args.insert(args.end(), {"get", "paper-width"});
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 0) << c.described << ": " << run.err;
    EXPECT_NE(run.out.find("\"port\":\"" + c.described), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"value\":812,"), std::string::npos) << run.out;
  }
}

TEST(Demo, EachRunStartsAFreshPrinterInProcess) {
  CliHarness setter;
  setter.in.str("^MBU0,600\r");
  const auto set = setter.Run({"--demo", "send", "-"});
  EXPECT_EQ(set.status, 0) << set.err;
  CliHarness getter;
  const auto get = getter.Run({"--demo", "--json", "query", "^PI5,0\\r\\n"});
  EXPECT_EQ(get.status, 0) << get.err;
  // The demo keeps no state file: the width set by the run before is gone.
  EXPECT_NE(get.out.find("\"reply\":\"812\\\\r\\\\n\""), std::string::npos) << get.out;
  EXPECT_EQ(get.out.find("127.0.0.1:0)"), std::string::npos) << get.out;
  EXPECT_EQ(getter.clock.sleeps, std::vector<int>{10});
}

}  // namespace
}  // namespace qm::cli
