// `calibrate` and `status`: the bytes on the wire, the chart and the proposal, the exit
// statuses, a watch that prints changes only, and every status bit of the virtual printer.
#include <gtest/gtest.h>

#include <csignal>
#include <map>

#include "cli_harness.h"
#include "printer/sensing.h"
#include "printer/virtual_printer.h"
#include "scripted_printer.h"

namespace qm::cli {
namespace {

using test::CliHarness;

std::string Distribution(const std::map<int, int>& set) {
  std::string out(64, '\0');
  for (const auto& [k, count] : set) {
    out[static_cast<size_t>(2 * k)] = static_cast<char>(count & 0xFF);
    out[static_cast<size_t>(2 * k + 1)] = static_cast<char>(count >> 8);
  }
  return out;
}

const std::map<int, int> kWorked = {{3, 50}, {4, 400}, {5, 900}, {6, 300}, {20, 200}, {21, 500}, {22, 100}};

// The lines of `text` that contain `needle`.
std::vector<std::string> LinesWith(const std::string& text, const std::string& needle) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    if (line.find(needle) != std::string::npos) out.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

TEST(CalibrateCli, WireBytesAndWhatEachPrints) {
  struct Row {
    const char* label;
    std::vector<std::string> args;
    std::string reply;  // to the distribution request, if any
    std::string sent;
    int status;
    std::vector<std::string> outLines;  // lines that must be among stdout's
  };
  const Row rows[] = {
      {"check proposes and saves", {"calibrate", "check", "--save", "--count", "9"}, Distribution(kWorked),
       "^MXd,1200,G\r^MXs,144,9\r", 0,
       {"048 : 0900 |######################################## peak", "Peaks: 048 (0900) and 176 (0500)",
        "Levels offered: 112 to 168", "Proposed middle gap value: 144", "Stored middle gap value 144 with gap count 9"}},
      {"black mark, no save", {"calibrate", "check", "--type", "black", "--length", "50"}, Distribution(kWorked),
       "^MXd,400,B\r", 0, {"Levels offered: 056 to 112", "Proposed middle gap value: 80"}},
      {"close clusters take the fifth finer level", {"calibrate", "check"},
       Distribution({{10, 900}, {11, 100}, {12, 800}}), "^MXd,1200,G\r", 0,
       {"Clusters 2 level(s) apart; finer levels: 094 093 092 091 090 089 088 087", "Proposed middle gap value: 90"}},
      {"a cluster at the top alone saves nothing", {"calibrate", "check", "--save"}, Distribution({{31, 500}}),
       "^MXd,1200,G\r", 1, {"No level between the clusters: check the media and the length"}},
      {"silent printer", {"calibrate", "check", "--length", "1", "--save"}, "", "^MXd,8,G\r", 1, {}},
      {"save", {"calibrate", "save", "136", "4"}, "", "^MXs,136,4\r", 0,
       {"Stored middle gap value 136 with gap count 4"}},
      {"cancel", {"calibrate", "cancel"}, "", "^MXc\r", 0, {"Sensing calibration cancelled"}},
      {"manual defaults", {"calibrate", "manual"}, "", "^MA8,16,1500\r", 0,
       {"Manual calibration started: 8 detections, margin 16, label length 1500"}},
      {"manual chosen", {"calibrate", "manual", "--detect", "5", "--margin", "20", "--length", "800"}, "",
       "^MA5,20,800\r", 0, {}},
      {"manual cancel", {"calibrate", "manual-cancel"}, "", "^MAC\r", 0, {"Manual calibration cancelled"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    qm::test::ScriptedPrinter printer;
    if (!r.reply.empty()) printer.Answer(r.sent.substr(0, r.sent.find('\r') + 1), r.reply);
    CliHarness cli;
    std::vector<std::string> args{"--port", printer.path()};
    args.insert(args.end(), r.args.begin(), r.args.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, r.status) << run.err;
    EXPECT_EQ(printer.received(r.sent.size()), r.sent);
    for (const std::string& line : r.outLines) EXPECT_EQ(LinesWith(run.out, line), std::vector<std::string>{line});
    if (r.reply.empty() && r.args[1] == "check") {
      EXPECT_EQ(run.out, "");
      EXPECT_NE(run.err.find("Sensing Data Read Fail!"), std::string::npos) << run.err;
    }
  }
}

TEST(CalibrateCli, JsonRefusalsAndEthernet) {
  qm::test::ScriptedPrinter printer;
  printer.Answer("^MXd,1200,G\r", Distribution(kWorked));
  CliHarness cli;
  const auto run = cli.Run({"--json", "--port", printer.path(), "calibrate", "check"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find(R"("counts":["0","0","0","50","400","900","300",)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(R"("lower_peak":48,"upper_peak":176,"proposed":144)"), std::string::npos) << run.out;

  const std::vector<std::vector<std::string>> refused = {
      {"calibrate", "check", "--type", "mark"}, {"calibrate", "check", "--count", "11"},
      {"calibrate", "save", "144", "3"},        {"calibrate", "manual", "--margin", "17"},
      {"calibrate", "manual", "--length", "1.5"}};
  for (const auto& args : refused) {
    std::vector<std::string> full{"--port", printer.path()};
    full.insert(full.end(), args.begin(), args.end());
    EXPECT_EQ(cli.Run(full).status, 2) << args.back();
  }
  printer.Forget();

  printer::PrinterOptions options;
  options.listen = "127.0.0.1:0";
  printer::VirtualPrinter vp(options);
  std::string error;
  ASSERT_TRUE(vp.Start(error)) << error;
  const auto tcp = cli.Run({"--port", "tcp://127.0.0.1:" + std::to_string(vp.tcpPort()), "calibrate", "cancel"});
  EXPECT_EQ(tcp.status, 1);
  EXPECT_EQ(tcp.err, "quillmark-cli: Calibration is not supported on Ethernet connection.\n");
  vp.Stop();
}

// Every status bit the virtual printer can be told to show, through all four commands.
TEST(StatusCli, FaultsSetOnThePrinterArePrinted) {
  struct Row {
    const char* faults;
    const char* command;
    std::string out;
    int status;
  };
  const Row rows[] = {
      {"", "cp", "Status OK\n", 0},
      {"paper-empty,cover-open,cutter-jam,head-overheat,gap-error,ribbon-end,building,printing,paused", "cp",
       "Paper Empty\nCover Open\nCutter jammed\nThermal Head overheat\nGap Detection Error\nRibbon End Error\n"
       "On Building label\nOn Printing label\nIssued label is pasued\n",
       3},
      {"", "cu", "Status OK\n", 0},
      {"cover-open,ribbon-end", "cu", "Cover Open\nRibbon End Error\n", 3},
      {"", "cps", "Status OK\n", 0},
      {"cover-open,paper-empty,paper-jam,head-overheat,cps=F0", "cps",
       "Cover Open\nPaper Empty\nPaper Jam\nTPH overheat\nNot defined\nNot defined\nNot defined\nNot defined\n", 3},
      {"", "ee", "No Error\n", 0},
      {"paused", "ee", "Pause Mode\n", 3},
      {"ee=09", "ee", "Name Not Found\n", 3},
      {"ee=56", "ee", "Error code 56\n", 3},
  };
  printer::PrinterOptions options;
  options.listen.reset();
  options.serial = true;
  printer::VirtualPrinter vp(options);
  std::string error;
  ASSERT_TRUE(vp.Start(error)) << error;
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.command) + " with " + r.faults);
    printer::Faults faults;
    ASSERT_TRUE(printer::ParseFaults(r.faults, faults, error)) << error;
    vp.SetFaults(faults);
    CliHarness cli;
    const auto run = cli.Run({"--port", vp.serialPath(), "status", r.command});
    EXPECT_EQ(run.out, r.out);
    EXPECT_EQ(run.status, r.status) << run.err;
  }
  vp.Stop();
}

TEST(StatusCli, NoStatusIsExitOneAndEeOffSerialIsRefused) {
  qm::test::ScriptedPrinter printer;
  printer.Answer("^cp\r", std::string(1, '\0'));  // one byte of two, then nothing
  CliHarness cli;
  const auto run = cli.Run({"--json", "--port", printer.path(), "status", "cp"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find(R"("ok":false,"exit":1,"error":"The status could not be read")"), std::string::npos)
      << run.out;
  EXPECT_EQ(printer.received(4), "^cp\r");

  printer::PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.faults.coverOpen = true;
  printer::VirtualPrinter vp(options);
  std::string error;
  ASSERT_TRUE(vp.Start(error)) << error;
  const std::string port = "tcp://127.0.0.1:" + std::to_string(vp.tcpPort());
  const auto ee = cli.Run({"--port", port, "status", "ee"});
  EXPECT_EQ(ee.status, 1);
  EXPECT_NE(ee.err.find("This Command is applied in Serial Interface only!"), std::string::npos) << ee.err;
  const auto cu = cli.Run({"--json", "--port", port, "status", "cu"});
  EXPECT_EQ(cu.status, 3);
  EXPECT_NE(cu.out.find(R"("statuses":["Cover Open"],"reply":"40")"), std::string::npos) << cu.out;
  EXPECT_EQ(cli.Run({"--port", port, "status", "xx"}).status, 2);
  vp.Stop();
}

// A watch prints the first reading and then only changes, each with its time, and ends at
// SIGINT with the last reading's exit status.
TEST(StatusCli, WatchPrintsChangesUntilInterrupted) {
  printer::PrinterOptions options;
  options.listen = "127.0.0.1:0";
  printer::VirtualPrinter vp(options);
  std::string error;
  ASSERT_TRUE(vp.Start(error)) << error;
  CliHarness cli;
  // Printer states, one per two-second wait: 10 slices of 200 ms each.
  const std::vector<const char*> states = {"", "paper-empty", "paper-empty", "", "cover-open"};
  int slices = 0;
  cli.clock.onSleep = [&](int ms) {
    if (ms != 200) return;  // the status command's own pause before its read
    ++slices;
    if (slices % 10 != 0) return;
    const size_t at = static_cast<size_t>(slices / 10);
    if (at >= states.size()) {
      std::raise(SIGINT);
      return;
    }
    printer::Faults faults;
    std::string parseError;
    printer::ParseFaults(states[at], faults, parseError);
    vp.SetFaults(faults);
  };
  const auto run =
      cli.Run({"--port", "tcp://127.0.0.1:" + std::to_string(vp.tcpPort()), "status", "cu", "--watch", "2"});
  EXPECT_EQ(run.status, 3) << run.err;
  std::vector<std::string> lines;
  for (const std::string& line : LinesWith(run.out, " ")) {
    ASSERT_EQ(line[2], ':') << line;  // "12:00:01 ..."
    lines.push_back(line.substr(9));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"Status OK", "Paper Empty", "Status OK", "Cover Open"}));
  EXPECT_EQ(slices, 50);
  vp.Stop();
}

}  // namespace
}  // namespace qm::cli
