// The global options: what link set-up each combination plans, and what is refused.
#include <gtest/gtest.h>

#include <regex>

#include "cli/connection.h"
#include "cli/connection_plan.h"
#include "cli_harness.h"

namespace qm::cli {
namespace {

using test::CliHarness;

ConnectionRequest Port(std::string port) {
  ConnectionRequest r;
  r.port = std::move(port);
  return r;
}

TEST(PlanConnection, ChoosesTheLinkSetUpFromTheOptions) {
  struct Case {
    const char* label;
    ConnectionRequest request;
    std::string portName, deviceKey, devicePath, address;
    uint32_t tcpPort;
    int usbNode;
  };
  ConnectionRequest ethernet = Port("ETHERNET");
  ethernet.ip = "192.168.10.20";
  ConnectionRequest ethernetPort = ethernet;
  ethernetPort.tcpPort = 6101;
  ConnectionRequest ipAlone;
  ipAlone.ip = "10.0.0.7";
  ConnectionRequest urlAndTcpPort = Port("tcp://printer.local");
  urlAndTcpPort.tcpPort = 9200;
  const Case cases[] = {
      {"defaults", {}, "COM1:", "", "", "", 9100, -1},
      {"COM10:", Port("COM10:"), "COM10:", "", "", "", 9100, -1},
      {"LPT4:", Port("LPT4:"), "LPT4:", "", "", "", 9100, -1},
      {"USB", Port("USB"), "USB", "", "", "", 9100, -1},
      {"ETHERNET", ethernet, "ETHERNET", "", "", "192.168.10.20", 9100, -1},
      {"ETHERNET port", ethernetPort, "ETHERNET", "", "", "192.168.10.20", 6101, -1},
      {"--ip alone", ipAlone, "ETHERNET", "", "", "10.0.0.7", 9100, -1},
      {"url", Port("tcp://printer.local"), "ETHERNET", "", "", "printer.local", 9100, -1},
      {"url port", Port("tcp://10.1.2.3:6101/"), "ETHERNET", "", "", "10.1.2.3", 6101, -1},
      {"url v6", Port("tcp://[::1]:9101"), "ETHERNET", "", "", "::1", 9101, -1},
      {"url + --tcp-port", urlAndTcpPort, "ETHERNET", "", "", "printer.local", 9200, -1},
      {"tty", Port("/dev/ttyUSB0"), "COM1:", "COM1", "/dev/ttyUSB0", "", 9100, -1},
      {"pts", Port("/dev/pts/7"), "COM1:", "COM1", "/dev/pts/7", "", 9100, -1},
      {"lp", Port("/dev/lp1"), "LPT1:", "LPT1", "/dev/lp1", "", 9100, -1},
      {"usblp", Port("/dev/usb/lp2"), "USB", "", "/dev/usb/lp2", "", 9100, 2},
      {"untidy path", Port("/dev//usb/./lp12"), "USB", "", "/dev/usb/lp12", "", 9100, 12},
  };
  for (const auto& c : cases) {
    const PlanResult got = PlanConnection(c.request);
    ASSERT_TRUE(got.plan) << c.label << ": " << got.error;
    EXPECT_EQ(got.plan->portName, c.portName) << c.label;
    EXPECT_EQ(got.plan->deviceKey, c.deviceKey) << c.label;
    EXPECT_EQ(got.plan->devicePath, c.devicePath) << c.label;
    EXPECT_EQ(got.plan->address, c.address) << c.label;
    EXPECT_EQ(got.plan->tcpPort, c.tcpPort) << c.label;
    EXPECT_EQ(got.plan->usbNode, c.usbNode) << c.label;
    EXPECT_FALSE(got.plan->demo) << c.label;
  }
}

TEST(PlanConnection, SerialDefaultsAreTheMainWindowsAndEachOptionMapsToItsCode) {
  const PlanResult defaults = PlanConnection({});
  ASSERT_TRUE(defaults.plan);
  EXPECT_EQ(defaults.plan->serial.baudRate, 115200u);
  EXPECT_EQ(defaults.plan->serial.dataBits, 8);
  EXPECT_EQ(defaults.plan->serial.parity, kParityNone);
  EXPECT_EQ(defaults.plan->serial.stopBits, kStopBitsOne);

  struct Case {
    int64_t baud;
    const char* parity;
    int64_t dataBits;
    const char* stopBits;
    int32_t parityCode, stopCode;
  };
  const Case cases[] = {
      {9600, "odd", 7, "2", kParityOdd, kStopBitsTwo},
      {19200, "even", 8, "1", kParityEven, kStopBitsOne},
      {57600, "none", 7, "1", kParityNone, kStopBitsOne},
  };
  for (const auto& c : cases) {
    ConnectionRequest r = Port("/dev/ttyS1");
    r.baud = c.baud;
    r.parity = c.parity;
    r.dataBits = c.dataBits;
    r.stopBits = c.stopBits;
    const PlanResult got = PlanConnection(r);
    ASSERT_TRUE(got.plan) << got.error;
    EXPECT_EQ(got.plan->serial.baudRate, static_cast<uint32_t>(c.baud));
    EXPECT_EQ(got.plan->serial.parity, c.parityCode);
    EXPECT_EQ(got.plan->serial.dataBits, c.dataBits);
    EXPECT_EQ(got.plan->serial.stopBits, c.stopCode);
  }
}

TEST(PlanConnection, RefusesWhatCannotWorkWithAReason) {
  struct Case {
    const char* label;
    ConnectionRequest request;
    const char* mention;
  };
  auto with = [](ConnectionRequest r, auto&& change) {
    change(r);
    return r;
  };
  const Case cases[] = {
      {"lower case", Port("usb"), "did you mean \"USB\""},
      {"no colon", Port("COM3"), "did you mean \"COM3:\""},
      {"COM11:", Port("COM11:"), "unknown port \"COM11:\""},
      {"LPT5:", Port("LPT5:"), "unknown port"},
      {"no address", Port("ETHERNET"), "ETHERNET needs --ip"},
      {"bad ip", with(Port("ETHERNET"), [](auto& r) { r.ip = "300.1.1.1"; }), "not an IPv4 address"},
      {"name as ip", with(Port("ETHERNET"), [](auto& r) { r.ip = "printer"; }), "not an IPv4 address"},
      {"tcp port 0", with(Port("ETHERNET"), [](auto& r) { r.ip = "10.0.0.1", r.tcpPort = 0; }), "1..65535"},
      {"tcp port high", with(Port("ETHERNET"), [](auto& r) { r.ip = "10.0.0.1", r.tcpPort = 65536; }), "1..65535"},
      {"no host", Port("tcp://"), "no host"},
      {"bad url port", Port("tcp://h:x"), "1..65535"},
      {"url port 0", Port("tcp://h:0"), "1..65535"},
      {"bare v6", Port("tcp://::1:9100"), "brackets"},
      {"open bracket", Port("tcp://[::1"), "missing ]"},
      {"url + ip", with(Port("tcp://h"), [](auto& r) { r.ip = "10.0.0.1"; }), "already in"},
      {"two ports", with(Port("tcp://h:1"), [](auto& r) { r.tcpPort = 2; }), "already in"},
      {"baud on LPT", with(Port("LPT1:"), [](auto& r) { r.baud = 9600; }), "serial ports only"},
      {"parity on tcp", with(Port("tcp://h"), [](auto& r) { r.parity = "odd"; }), "serial ports only"},
      {"ip on COM", with(Port("COM2:"), [](auto& r) { r.ip = "10.0.0.1"; }), "ETHERNET only"},
      {"tcp port on USB", with(Port("USB"), [](auto& r) { r.tcpPort = 9100; }), "ETHERNET only"},
      {"1.5 stop bits", with({}, [](auto& r) { r.stopBits = "1.5"; }), "1.5 stop bits cannot be set"},
      {"3 stop bits", with({}, [](auto& r) { r.stopBits = "3"; }), "is not 1 or 2"},
      {"mark parity", with({}, [](auto& r) { r.parity = "mark"; }), "not none, odd or even"},
      {"6 data bits", with({}, [](auto& r) { r.dataBits = 6; }), "7 or 8"},
      {"odd rate", with({}, [](auto& r) { r.baud = 12345; }), "unsupported baud rate 12345"},
      {"zero rate", with({}, [](auto& r) { r.baud = 0; }), "--baud"},
      {"unknown device", Port("/dev/null"), "cannot tell the kind of port"},
      {"huge node number", Port("/dev/usb/lp99999999999"), "cannot tell the kind of port"},
      {"demo + COM2:", with(Port("COM2:"), [](auto& r) { r.demo = true; }), "--demo serves ETHERNET"},
      {"demo + LPT1:", with(Port("LPT1:"), [](auto& r) { r.demo = true; }), "--demo serves ETHERNET"},
      {"demo + device", with(Port("/dev/ttyUSB0"), [](auto& r) { r.demo = true; }), "--demo serves"},
      {"demo + baud", with({}, [](auto& r) { r.demo = true, r.baud = 9600; }), "--demo"},
      {"demo + ip", with(Port("ETHERNET"), [](auto& r) { r.demo = true, r.ip = "10.0.0.1"; }), "--demo"},
  };
  for (const auto& c : cases) {
    const PlanResult got = PlanConnection(c.request);
    EXPECT_FALSE(got.plan) << c.label;
    EXPECT_NE(got.error.find(c.mention), std::string::npos) << c.label << " -> " << got.error;
  }
}

TEST(PlanConnection, DemoIsEthernetOnLoopbackUnlessComOneOrUsbIsNamed) {
  ConnectionRequest r;
  r.demo = true;
  const PlanResult got = PlanConnection(r);
  ASSERT_TRUE(got.plan);
  EXPECT_TRUE(got.plan->demo);
  EXPECT_EQ(got.plan->portName, "ETHERNET");
  EXPECT_EQ(got.plan->address, "127.0.0.1");
  for (const std::string port : {"COM1:", "USB"}) {
    r.port = port;
    const PlanResult named = PlanConnection(r);
    ASSERT_TRUE(named.plan) << named.error;
    EXPECT_TRUE(named.plan->demo);
    EXPECT_EQ(named.plan->portName, port);
  }
}

// The command line as a whole: every usage error is status 2, with its reason on stderr,
// and nothing is opened.
TEST(CliUsage, BadCommandLinesEndWithStatusTwo) {
  struct Case {
    std::vector<std::string> args;
    const char* mention;
  };
  const Case cases[] = {
      {{}, "no command given; use one of send, query"},
      {{"print"}, "print"},
      {{"query"}, "TEXT is required"},
      {{"send"}, "FILE is required"},
      {{"--data-bits", "x", "query", "a"}, "--data-bits"},
      {{"--frobnicate", "query", "a"}, "--frobnicate"},
      {{"--port", "usb", "query", "a"}, "did you mean \"USB\""},
      {{"query", "--read", "0", "a"}, "--read: must be 1..65536"},
      {{"query", "--read", "-1", "a"}, "--read: must be 1..65536"},
      {{"query", "--read=70000", "a"}, "--read: must be 1..65536"},
      {{"query", "--wait", "-5", "a"}, "--wait: must be 0..60000"},
      {{"query", "--wait", "ten", "a"}, "--wait"},
      {{"query", "a\\xZ1"}, "TEXT: \\x needs two hex digits"},
      {{"query", ""}, "TEXT: empty"},
      {{"send", "--count", "0", "f"}, "--count: 0 sends nothing"},
      {{"send", "--count", "-2", "f"}, "--count: must be 1..10000"},
      {{"send", "--count", "10001", "f"}, "--count: must be 1..10000"},
      {{"--port", "ETHERNET", "query", "a"}, "ETHERNET needs --ip"},
      {{"query", "--stop-bits", "1.5", "a"}, "1.5 stop bits"},  // globals after the command
  };
  for (const auto& c : cases) {
    CliHarness cli;
    const auto run = cli.Run(c.args);
    const std::string label = c.args.empty() ? "(none)" : c.args.front() + " ... " + c.args.back();
    EXPECT_EQ(run.status, 2) << label;
    EXPECT_NE(run.err.find(c.mention), std::string::npos) << label << " -> " << run.err;
    EXPECT_EQ(run.out, "") << label;
    EXPECT_TRUE(cli.clock.sleeps.empty()) << label;
  }
}

TEST(CliUsage, JsonReportsAUsageErrorAsOneObject) {
  struct Case {
    std::vector<std::string> args;
    const char* json;
  };
  const Case cases[] = {
      {{"--json", "send", "--count", "0", "f"},
       R"j({"command":"send","ok":false,"exit":2,"error":"--count: 0 sends nothing; give 1..10000 (see --help)"})j"},
      // A parse error before --json is read still honours it.
      {{"--baud", "fast", "--json", "query", "a"}, R"("ok":false,"exit":2,"error":"Could not convert: --baud = fast)"},
      {{"query", "--json"}, R"({"command":"query","ok":false,"exit":2,"error":"TEXT is required)"},
  };
  for (const auto& c : cases) {
    CliHarness cli;
    const auto run = cli.Run(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find(c.json), std::string::npos) << run.out;
    EXPECT_EQ(test::Count(run.out, "\n"), 1u) << run.out;
  }
}

TEST(CliHelp, EveryCommandHasHelpOnStdoutWithStatusZero) {
  struct Case {
    std::vector<std::string> args;
    std::vector<const char*> mentions;
  };
  const Case cases[] = {
      {{"--help"}, {"Usage: quillmark-cli", "--demo", "Exit status"}},
      {{"send", "--help"}, {"Usage: quillmark-cli send", "--count"}},
      {{"--port", "COM2:", "query", "-h"}, {"Usage: quillmark-cli query", "--wait", "--read"}},
  };
  for (const auto& c : cases) {
    CliHarness cli;
    const auto run = cli.Run(c.args);
    EXPECT_EQ(run.status, 0) << c.args.front();
    EXPECT_EQ(run.err, "") << c.args.front();
    for (const char* mention : c.mentions) {
      EXPECT_NE(run.out.find(mention), std::string::npos) << c.args.front() << ": " << mention;
    }
  }
}

// The manual page is made from --version: one line on stdout, nothing sent anywhere.
TEST(CliVersion, PrintsTheNameAndVersionAloneWithStatusZero) {
  const std::vector<std::vector<std::string>> cases = {
      {"--version"},
      {"--port", "COM2:", "--version"},
      {"--version", "query", "x"},
  };
  for (const auto& args : cases) {
    CliHarness cli;
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 0) << args.front();
    EXPECT_EQ(run.err, "") << args.front();
    EXPECT_TRUE(std::regex_match(run.out, std::regex("quillmark-cli [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << run.out;
  }
}

}  // namespace
}  // namespace qm::cli
