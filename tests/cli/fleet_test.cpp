// Fleets: the line split from its fleet options, hosts files, the worst status, and commands
// run on several printers at once, each on its own link, one of them dead.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/fleet.h"
#include "cli_harness.h"
#include "fake_clock.h"
#include "printer/virtual_printer.h"
#include "scripted_printer.h"
#include "table_test.h"

namespace qm::cli {
namespace {

using test::CliHarness;
using test::CliRun;

struct SplitRow {
  const char* name;
  std::vector<std::string> args;
  std::vector<std::string> ports;
  std::string hosts, jobs;
  std::vector<std::string> rest;
  bool fleet;
};

class SplitLine : public ::testing::TestWithParam<SplitRow> {};

TEST_P(SplitLine, TakesOutTheFleetOptionsAndKeepsTheRestInOrder) {
  const FleetLine line = SplitFleetLine(GetParam().args);
  EXPECT_EQ(line.ports, GetParam().ports);
  EXPECT_EQ(line.hostsFile, GetParam().hosts);
  EXPECT_EQ(line.jobs, GetParam().jobs);
  EXPECT_EQ(line.rest, GetParam().rest);
  EXPECT_EQ(line.IsFleet(), GetParam().fleet);
}

INSTANTIATE_TEST_SUITE_P(
    Fleet, SplitLine,
    ::testing::Values(
        SplitRow{"one port is no fleet", {"--port", "USB", "info"}, {"USB"}, "", "", {"info"}, false},
        SplitRow{"two ports", {"--port", "a", "info", "--port=b", "--json"}, {"a", "b"}, "", "", {"info", "--json"}, true},
        SplitRow{"hosts and jobs", {"--hosts", "h.txt", "--jobs=4", "status", "cp"}, {}, "h.txt", "4", {"status", "cp"}, true},
        SplitRow{"after -- all is the command's", {"send", "--", "--port", "x"}, {}, "", "", {"send", "--", "--port", "x"}, false},
        SplitRow{"a last --port without value is left to the parser", {"info", "--port"}, {}, "", "", {"info", "--port"}, false},
        SplitRow{"a longer option is not --port", {"--portal", "x"}, {}, "", "", {"--portal", "x"}, false}),
    qm::test::RowName());

struct HostsRow {
  const char* name;
  std::string text;
  std::vector<std::string> printers;
  std::string error;
};

class HostsFile : public ::testing::TestWithParam<HostsRow> {};

TEST_P(HostsFile, NamesOnePrinterALineOrTheLineThatIsNotOne) {
  const HostsResult result = ParseHosts(GetParam().text, "h.txt");
  EXPECT_EQ(result.printers, GetParam().printers);
  EXPECT_EQ(result.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Fleet, HostsFile,
    ::testing::Values(
        HostsRow{"comments blanks and spaces",
                 "# packing line\n  tcp://10.0.0.7:9100  # left\n\n\tCOM2:\r\n/dev/usb/lp1\n", {"tcp://10.0.0.7:9100", "COM2:", "/dev/usb/lp1"}, ""},
        HostsRow{"a last line without newline", "tcp://10.0.0.8", {"tcp://10.0.0.8"}, ""},
        HostsRow{"a bad line is named", "tcp://10.0.0.7\nCOM99:\n", {},
                 "h.txt:2: unknown port \"COM99:\"; use COM1:..COM10:, LPT1:..LPT4:, USB, ETHERNET, tcp://HOST[:PORT] or a device path"},
        HostsRow{"only comments", "# none yet\n\n", {}, "h.txt: names no printer"}),
    qm::test::RowName());

struct StatusRow {
  const char* name;
  int a, b, worst;
};

class Worst : public ::testing::TestWithParam<StatusRow> {};

TEST_P(Worst, IsTheFleetsStatus) {
  EXPECT_EQ(WorseStatus(GetParam().a, GetParam().b), GetParam().worst);
  EXPECT_EQ(WorseStatus(GetParam().b, GetParam().a), GetParam().worst);
}

INSTANTIATE_TEST_SUITE_P(Fleet, Worst,
                         ::testing::Values(StatusRow{"done and done", 0, 0, 0}, StatusRow{"differs over done", 0, 4, 4},
                                           StatusRow{"fault over differs", 4, 3, 3}, StatusRow{"failed over fault", 3, 1, 1},
                                           StatusRow{"usage over failed", 1, 2, 2}, StatusRow{"sigint over all", 2, 130, 130}),
                         qm::test::RowName());

// A TCP port on loopback that nobody listens on any more.
std::string DeadPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return "tcp://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

class FleetOfPrinters : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 2; ++i) {
      printer::PrinterOptions options;
      options.listen = "127.0.0.1:0";
      if (i == 1) options.faults.paperEmpty = true;
      printers_.push_back(std::make_unique<printer::VirtualPrinter>(options));
      std::string error;
      ASSERT_TRUE(printers_.back()->Start(error)) << error;
      ports_.push_back("tcp://127.0.0.1:" + std::to_string(printers_.back()->tcpPort()));
    }
    dead_ = DeadPort();
    // Each printer waits on a clock of its own that takes no pause.
    cli_.env.makeClock = [] { return std::make_unique<qm::test::FakeClock>(); };
  }
  void TearDown() override {
    for (auto& printer : printers_) printer->Stop();
  }

  CliRun Run(std::vector<std::string> args) { return cli_.Run(args); }

  std::vector<std::unique_ptr<printer::VirtualPrinter>> printers_;
  std::vector<std::string> ports_;
  std::string dead_;
  CliHarness cli_;
  test::TempDir dir_;
};

TEST_F(FleetOfPrinters, PrefixesEveryLineInTheOrderNamedAndReportsTheWorstStatus) {
  const CliRun run = Run({"--port", ports_[0], "--port", dead_, "--port", ports_[1], "--jobs", "3", "status", "cp"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, ports_[0] + ": Status OK\n" + ports_[1] + ": Paper Empty\n");
  EXPECT_NE(run.err.find(dead_ + ": quillmark-cli: the port did not open: "), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(ports_[0] + ":"), std::string::npos) << run.err;
}

TEST_F(FleetOfPrinters, JsonHoldsOneEntryAPrinterWithItsOwnResult) {
  const CliRun run = Run({"--json", "--port", ports_[0], "--port", ports_[1], "--port", dead_, "status", "cp"});
  EXPECT_EQ(run.status, 1);
  const nlohmann::json all = nlohmann::json::parse(run.out);
  ASSERT_EQ(all["printers"].size(), 3u) << run.out;
  const std::vector<std::tuple<std::string, bool, int>> expected = {{ports_[0], true, 0}, {ports_[1], false, 3}, {dead_, false, 1}};
  for (size_t i = 0; i < expected.size(); ++i) {
    const auto& entry = all["printers"][i];
    EXPECT_EQ(entry["printer"], std::get<0>(expected[i]));
    EXPECT_EQ(entry["ok"], std::get<1>(expected[i]));
    EXPECT_EQ(entry["exit"], std::get<2>(expected[i]));
    EXPECT_EQ(entry["command"], "status");
  }
  EXPECT_EQ(all["printers"][1]["statuses"], nlohmann::json::array({"Paper Empty"}));
  EXPECT_TRUE(all["printers"][2].contains("error"));
  // Exactly one line: the object.
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
}

TEST_F(FleetOfPrinters, InventoryIsOneTableWithAPrinterColumnAndTheDeadOnesReason) {
  const std::string hosts = dir_.Write("hosts.txt", "# line 3\n" + ports_[0] + "\n" + dead_ + "  # gone\n" + ports_[1] + "\n");
  CliRun run = Run({"--hosts", hosts, "inventory", "--csv"});
  EXPECT_EQ(run.status, 1);
  std::istringstream lines(run.out);
  std::vector<std::string> rows;
  for (std::string row; std::getline(lines, row);) rows.push_back(row);
  ASSERT_EQ(rows.size(), 4u) << run.out;
  EXPECT_EQ(rows[0], "printer,model,model type,firmware,tph temperature,serial number,printer id,status");
  EXPECT_EQ(rows[1], ports_[0] + ",LRX-500II,RFID TT 203dpi,V1.52,31 Celsius,QM20240117A0042,PRN01,Status OK");
  EXPECT_EQ(rows[2].rfind(dead_ + ",,,,,,,failed: the port did not open: ", 0), 0u) << rows[2];
  EXPECT_EQ(rows[3], ports_[1] + ",LRX-500II,RFID TT 203dpi,V1.52,31 Celsius,QM20240117A0042,PRN01,Paper Empty");
  // The table lines its columns up.
  run = Run({"--port", ports_[0], "--port", ports_[1], "inventory"});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
            "PRINTER" + std::string(ports_[0].size() - 5, ' ') +
                "MODEL      TYPE            FIRMWARE  TPH         SERIAL           PRINTER ID  STATUS");
}

TEST_F(FleetOfPrinters, AMistakeInTheLineIsSaidOnceAndNothingRuns) {
  struct Row {
    std::vector<std::string> args;
    std::string err;
  };
  const std::string badHosts = dir_.Write("bad.txt", ports_[0] + "\nLPT9:\n");
  const std::vector<Row> rows = {
      {{"--port", ports_[0], "--port", ports_[1], "status", "zz"},
       "quillmark-cli: COMMAND: \"zz\" is not cp, cu, ee or cps (see --help)\n"},
      {{"--port", ports_[0], "--port", ports_[1], "--jobs", "0", "info"},
       "quillmark-cli: --jobs: \"0\" is not a whole number from 1 to 1024 (see --help)\n"},
      {{"--port", ports_[0], "--port", ports_[1], "--jobs", "many", "info"},
       "quillmark-cli: --jobs: \"many\" is not a whole number from 1 to 1024 (see --help)\n"},
      {{"--port", ports_[0], "--port", ports_[0], "info"},
       "quillmark-cli: printer \"" + ports_[0] + "\" is named twice (see --help)\n"},
      {{"--hosts", badHosts, "info"},
       "quillmark-cli: " + badHosts +
           ":2: unknown port \"LPT9:\"; use COM1:..COM10:, LPT1:..LPT4:, USB, ETHERNET, tcp://HOST[:PORT] or a "
           "device path (see --help)\n"},
      {{"--port", ports_[0], "--port", ports_[1], "settings", "export", "-o", dir_.path() + "/p.json"},
       "quillmark-cli: settings export -o: several printers would each write " + dir_.path() +
           "/p.json; leave -o off and take each printer's profile from --json (see --help)\n"},
      {{"--hosts", dir_.path() + "/none.txt", "info"},
       "quillmark-cli: --hosts: " + dir_.path() + "/none.txt cannot be read (see --help)\n"},
  };
  for (const Row& row : rows) {
    const size_t before = printers_[0]->received().size();
    const CliRun run = Run(row.args);
    EXPECT_EQ(run.status, 2) << row.err;
    EXPECT_EQ(run.err, row.err);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(printers_[0]->received().size(), before) << row.err;
  }
}

TEST(FleetWire, EveryPrinterGetsTheSameStandardInputExactly) {
  qm::test::ScriptedPrinter first, second;
  CliHarness cli;
  cli.env.makeClock = [] { return std::make_unique<qm::test::FakeClock>(); };
  const std::string script = std::string("^L\r\nAT,10,10,20,20,0,0,0,0,\xE9\xFFt\r\nE\r\n", 35);
  cli.in.str(script);
  const CliRun run = cli.Run({"--port", first.path(), "--port", second.path(), "send", "-"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(first.received(script.size()), script);
  EXPECT_EQ(second.received(script.size()), script);
}

TEST_F(FleetOfPrinters, SettingsApplyOnAFleetChangesOnlyThePrinterThatDrifted) {
  const std::string profile = dir_.path() + "/p.json";
  ASSERT_EQ(Run({"--port", ports_[0], "settings", "export", "-o", profile}).status, 0);
  ASSERT_EQ(Run({"--port", ports_[1], "set", "density", "14"}).status, 0);
  const CliRun run = Run({"--json", "--port", ports_[0], "--port", ports_[1], "settings", "apply", profile});
  EXPECT_EQ(run.status, 0) << run.err;
  const nlohmann::json all = nlohmann::json::parse(run.out);
  EXPECT_EQ(all["printers"][0]["changed"], nlohmann::json::array());
  ASSERT_EQ(all["printers"][1]["changed"].size(), 1u) << run.out;
  EXPECT_EQ(all["printers"][1]["changed"][0]["name"], "density");
  EXPECT_EQ(all["printers"][1]["changed"][0]["from"], "14");
  // Now alike: nothing differs anywhere.
  EXPECT_EQ(Run({"--port", ports_[0], "--port", ports_[1], "settings", "diff", profile}).status, 0);
}

TEST_F(FleetOfPrinters, SigintStartsNoPrinterMoreAndSaysWhichNeverRan) {
  // The first printer's first pause raises SIGINT, as a person at the terminal would.
  cli_.env.makeClock = [] {
    auto clock = std::make_unique<qm::test::FakeClock>();
    clock->onSleep = [](int) { std::raise(SIGINT); };
    return clock;
  };
  const CliRun run = Run({"--json", "--jobs", "1", "--port", ports_[0], "--port", ports_[1], "--port", dead_, "info"});
  EXPECT_EQ(run.status, 130) << run.err;
  const nlohmann::json all = nlohmann::json::parse(run.out);
  ASSERT_EQ(all["printers"].size(), 3u);
  EXPECT_EQ(all["printers"][1]["exit"], 130);
  EXPECT_EQ(all["printers"][1]["error"], "not started: interrupted");
  EXPECT_EQ(all["printers"][2]["error"], "not started: interrupted");
  EXPECT_EQ(printers_[1]->received().size(), 0u);
}

}  // namespace
}  // namespace qm::cli
