// Every settings command against the virtual printer over TCP: what one run sets, the next
// run reads back, and the printer's stored state agrees.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "cli_harness.h"
#include "printer/virtual_printer.h"

namespace qm::cli {
namespace {

using test::CliHarness;

class SettingsAgainstVirtualPrinter : public ::testing::Test {
 protected:
  void Start(printer::PrinterOptions options = {}) {
    options.listen = "127.0.0.1:0";
    printer_ = std::make_unique<printer::VirtualPrinter>(options);
    std::string error;
    ASSERT_TRUE(printer_->Start(error)) << error;
    port_ = "tcp://127.0.0.1:" + std::to_string(printer_->tcpPort());
  }
  void TearDown() override {
    if (printer_) printer_->Stop();
  }

  test::CliRun Run(CliHarness& cli, std::vector<std::string> args) {
    args.insert(args.begin(), {"--port", port_});
    return cli.Run(args);
  }

  // The printer takes what it was sent on its own thread; a command that only writes may
  // return before it has.
  template <typename Check>
  bool StoredSoon(Check check) {
    for (int i = 0; i < 500; ++i) {
      if (check(printer_->stored())) return true;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return check(printer_->stored());
  }

  std::unique_ptr<printer::VirtualPrinter> printer_;
  std::string port_;
};

TEST_F(SettingsAgainstVirtualPrinter, WhatOneRunSetsTheNextReadsBack) {
  Start();
  struct Step {
    std::vector<std::string> set;
    std::vector<std::string> get;
    std::string shown;  // what the get prints
  };
  const Step steps[] = {
      {{"set", "paper-width", "600"}, {"get", "paper-width"}, "Paper Width: 600\n"},
      {{"set", "paper-length", "2000"}, {"get", "paper-length"}, "Paper Length: 2000\n"},
      {{"set", "gap-length", "30"}, {"get", "gap-length"}, "Gap Length: 30\n"},
      {{"set", "h-margin", "16"}, {"get", "h-margin"}, "Paper Horizontal Margin: 16\n"},
      {{"set", "v-margin", "8"}, {"get", "v-margin"}, "Paper Vertical Margin: 8\n"},
      {{"set", "density", "15"}, {"get", "density"}, "Print Density: 15\n"},
      {{"set", "offset", "-12"}, {"get", "offset"}, "Print Offset: -12\n"},
      {{"set", "tear-off", "45"}, {"get", "tear-off"}, "Tear-off/Cutting: 45\n"},
      {{"language", "set", "--codepage", "PC850 - Latin 1", "--ics", "Germany"}, {"language", "get"},
       "Default CodePage  : PC850 - Latin 1\nDefault International Character Set(ICS) : Germany\n"},
      // The ICS and the print speed share switch 3, the gap detect position and the strobe
      // switch 4: setting one keeps the other.
      {{"set", "speed", "8ips"}, {"switch", "read", "3"}, "Switch 3: 0xC3 (195)\n"},
      {{"language", "set", "--ics", "spain ii"}, {"get", "speed"}, "Print Speed: 8ips\n"},
      {{"set", "speed", "5ips"}, {"switch", "read", "3"}, "Switch 3: 0x6C (108)\n"},
      {{"set", "strobe", "3"}, {"get", "strobe"}, "Print Strobe: 3\n"},
      {{"set", "gap-detect", "upper"}, {"switch", "read", "4"}, "Switch 4: 0x60 (96)\n"},
      {{"set", "gap-detect", "lower"}, {"get", "strobe"}, "Print Strobe: 3\n"},
      {{"switch", "write", "2", "0x80"}, {"switch", "read", "2"}, "Switch 2: 0x80 (128)\n"},
      {{"serial", "set", "--handshake", "software", "--baud", "38400"}, {"serial", "get"},
       "Hand Shake : Software\nStop Bit : 1 Stop Bit\nData Length : 8\nParity Check : No Parity\n"
       "Parity Selection : Even\nBaudrate : 38400\n"},
      // Bit 7, which no setting names, survives both serial writes.
      {{"serial", "set", "--stop-bits", "2"}, {"switch", "read", "2"}, "Switch 2: 0xA3 (163)\n"},
      {{"hwinfo", "set", "id", "QM-7"}, {"hwinfo", "get", "id"}, "ID: QM-7\n"},
      {{"hwinfo", "set", "serial", "SN0001"}, {"hwinfo", "get", "serial"}, "Number: SN0001\n"},
      {{"hwinfo", "init", "serial"}, {"hwinfo", "get", "serial"}, "Number: QM20240117A0042\n"},
      {{"switch", "write", "4", "0x80"}, {"get", "strobe"}, "Print Strobe: 4\n"},
      {{"switch", "write", "--short", "3", "0xA0"}, {"get", "speed"}, "Print Speed: 7ips\n"},
  };
  for (const Step& step : steps) {
    CliHarness setter;
    const auto set = Run(setter, step.set);
    EXPECT_EQ(set.status, 0) << step.set[1] << ": " << set.err;
    CliHarness getter;
    const auto get = Run(getter, step.get);
    EXPECT_EQ(get.status, 0) << step.get[1] << ": " << get.err;
    EXPECT_EQ(get.out, step.shown) << step.set[0] << " " << step.set[1];
  }
  const printer::StoredState stored = printer_->stored();
  EXPECT_EQ(stored.media.paperWidth, 600);
  EXPECT_EQ(stored.media.offset, -12);
  EXPECT_EQ(stored.media.tearOff, 45);
  EXPECT_EQ(stored.switches, (std::array<uint8_t, 4>{0x02, 0xA3, 0xA0, 0x80}));
  EXPECT_EQ(stored.ident.printerId, "QM-7");
}

TEST_F(SettingsAgainstVirtualPrinter, InitUserSettingsAndCheckLabelLengthChangeTheStoredState) {
  Start();
  CliHarness cli;
  ASSERT_EQ(Run(cli, {"set", "paper-width", "300"}).status, 0);
  ASSERT_EQ(Run(cli, {"set", "offset", "-7"}).status, 0);
  ASSERT_TRUE(StoredSoon([](const printer::StoredState& s) { return s.media.offset == -7; }));

  const auto check = Run(cli, {"set", "check-label-length", "enable"});
  EXPECT_EQ(check.status, 0) << check.err;
  EXPECT_TRUE(StoredSoon([](const printer::StoredState& s) { return s.media.labelLengthCheck; }));

  const auto init = Run(cli, {"init-user-settings"});
  EXPECT_EQ(init.status, 0) << init.err;
  EXPECT_EQ(init.out, "");
  EXPECT_EQ(init.err, "quillmark-cli: Initialize all user setting data is successful\n");
  EXPECT_TRUE(StoredSoon([](const printer::StoredState& s) {
    return s.media == printer::FactoryState(s.modelIndex).media;
  }));
  EXPECT_EQ(Run(cli, {"get", "paper-width"}).out, "Paper Width: 812\n");
}

TEST_F(SettingsAgainstVirtualPrinter, InfoLooksLikeTheModel) {
  printer::PrinterOptions options;
  options.model = 2;
  Start(options);
  CliHarness cli;
  const auto run = Run(cli, {"info"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Model Name : LMX-C410\nModel Type : TT 203dpi\nFirmware Version : V1.39\nTPH Temperature : 31 Celsius\n");
  EXPECT_EQ(cli.clock.sleeps, (std::vector<int>{10, 10, 10, 10}));
}

TEST_F(SettingsAgainstVirtualPrinter, HardwareWritesWaitOnTheClockNotInRealTime) {
  Start();
  CliHarness cli;
  const auto started = std::chrono::steady_clock::now();
  const auto set = Run(cli, {"hwinfo", "set", "version", "B2.0"});
  const auto init = Run(cli, {"hwinfo", "init", "version"});
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(init.status, 0) << init.err;
  EXPECT_EQ(cli.clock.sleeps, (std::vector<int>{5700, 5700}));
  EXPECT_EQ(set.err, "quillmark-cli: Set hardware version is successful\n");
  EXPECT_EQ(init.err, "quillmark-cli: Initialize hardware version is successful\n");
  EXPECT_EQ(Run(cli, {"hwinfo", "get", "version"}).out, "Version: A1.2\n");
}

TEST_F(SettingsAgainstVirtualPrinter, RepliesInPiecesAreGatheredWhole) {
  printer::PrinterOptions options;
  options.split = true;
  options.splitPauseMs = 2;
  Start(options);
  struct Case {
    std::vector<std::string> args;
    std::string shown;
  };
  const Case cases[] = {
      {{"get", "paper-width"}, "Paper Width: 812\n"},
      {{"get", "tear-off"}, "Tear-off/Cutting: 0\n"},
      {{"hwinfo", "get", "serial"}, "Number: QM20240117A0042\n"},
  };
  for (const auto& c : cases) {
    CliHarness cli;
    // Generous, so a loaded machine cannot stretch the printer's pause past it.
    cli.env.timing.tcpSplitGapMs = 200;
    const auto run = Run(cli, c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.shown);
  }
}

TEST_F(SettingsAgainstVirtualPrinter, AValueSplitInTransitComesWholeOverTcpAndSerial) {
  for (int pauseMs : {25, 100}) {
    printer::PrinterOptions options;
    options.serial = true;
    options.split = true;
    options.splitPauseMs = pauseMs;
    Start(options);
    for (const std::string& port : {port_, printer_->serialPath()}) {
      SCOPED_TRACE(port + " pause " + std::to_string(pauseMs));
      CliHarness cli;
      // Deadlines a loaded machine cannot reach; a whole reply returns long before them.
      cli.env.timing.tcpReadWaitMs = 5000;
      cli.env.timing.serialDefaults.readTotalConstantMs = 5000;
      // A text reply may come without its line end, so a pause longer than the quiet gap
      // ends it: the gap here outlasts the printer's pause, and the pieces must be joined.
      cli.env.timing.tcpLongGapMs = 400;
      cli.env.timing.serialQuietGapMs = 400;
      const auto run = cli.Run({"--port", port, "get", "paper-width"});
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(run.out, "Paper Width: 812\n");
      const auto query = cli.Run({"--port", port, "query", "--until", "line", "^PI5,0\\r\\n"});
      EXPECT_EQ(query.out, "812\\r\\n\n") << query.err;
    }
    printer_->Stop();
  }
}

TEST_F(SettingsAgainstVirtualPrinter, AReplyTooLateIsNoReply) {
  printer::PrinterOptions options;
  options.delayMs = 60;
  Start(options);
  CliHarness cli;
  cli.env.timing.tcpReadWaitMs = 20;
  const auto run = Run(cli, {"--json", "get", "paper-width"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "quillmark-cli: Getting paper width is failed\nquillmark-cli: no reply\n");
  EXPECT_NE(run.out.find("\"ok\":false,\"exit\":1,\"error\":\"no reply\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"messages\":[\"Getting paper width is failed\"]}"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace qm::cli
