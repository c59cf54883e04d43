// `rfid`: the exact bytes of each form on a serial line, refusals that send nothing, and
// tag data written, locked, unlocked and killed on the virtual printer over every interface.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "cli_harness.h"
#include "printer/virtual_printer.h"
#include "scripted_printer.h"

namespace qm::cli {
namespace {

using test::CliHarness;

TEST(RfidCli, EachFormOnTheWire) {
  struct Case {
    std::vector<std::string> args;
    std::string sent;
  };
  const std::vector<Case> cases = {
      {{"write", "0a0b"}, ">RFW,H,4,2,'0A0B'\rP1\r"},
      {{"write", "--metal", "--user", "--ascii", "--start", "16", "abc"}, ">RFw,U,16,3,'abc'\r"},
      {{"write", "--unlock", "--lock-boxes", "mask-kill-left,action-kill-left", "0102"},
       ">RFUL\r>RFW,H,4,2,'0102'\r>RFLP,L,'80,20,00'\rP1\r"},
      {{"write", "--metal", "--lock", "FFFFF0"}, ">RFLP,L,'FF,FF,F0'\r"},
      {{"read", "--print", "--ascii", "--start", "10", "--bytes", "2"}, ">RFR,A,10,2,P\r"},
      {{"password", "11.22.33.44", "a1b2c3d4"}, ">RFZ,'5E2A7C13,5E2A7C13,11223344,a1b2c3d4'\r"},
      // Any 8 characters go out, as the dialog sends them; a typed é is the code page's E9.
      {{"password", "12345678", "GHIJKLM\xC3\xA9"}, ">RFZ,'5E2A7C13,5E2A7C13,12345678,GHIJKLM\xE9'\r"},
      // Print hands over any range: no "passes block 67" refusal.
      {{"read", "--print", "--start", "16", "--bytes", "64"}, ">RFR,H,16,64,P\r"},
      // Every setting given: nothing is read first.
      {{"config", "set", "--tag", "gen2", "--power", "8", "--position", "450", "--retries", "2", "--labels", "1"},
       ">RFS,5,2,1,8\r>RFTP,450\r"},
      {{"lock"}, ">RFLK\r"},
      {{"unlock"}, ">RFUL\r"},
      {{"kill"}, ">RFKL\r"},
      {{"config", "reset-counters"}, ">RFVR\r"},
      {{"config", "calibrate"}, ">RFCP\r"},
  };
  for (const Case& c : cases) {
    qm::test::ScriptedPrinter printer;
    CliHarness cli;
    std::vector<std::string> args{"--port", printer.path(), "rfid"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 0) << c.args[0] << ": " << run.err;
    EXPECT_EQ(printer.received(c.sent.size()), c.sent) << c.args[0];
  }
}

TEST(RfidCli, ValuesOutOfRangeAreRefusedBeforeAnythingIsSent) {
  const std::vector<std::vector<std::string>> cases = {
      {"config", "set", "--power", "0"},   {"config", "set", "--power", "32"},
      {"config", "set", "--retries", "11"}, {"config", "set", "--labels", "6"},
      {"config", "set", "--tag", "iso"},   {"write", "ABC"},
      {"write", "AB"},                     {"write", std::string(130, 'A')},
      {"write", "--start", "17", "ABCD"},  {"write", "--start", "16", std::string(108, 'A')},
      {"write", "XY12"},                   {"write", "--lock", "80,20,01"},
      {"write", "--lock-boxes", "mask-foo-left"}, {"write"},
      {"read", "--start", "16", "--bytes", "64"}, {"read", "--bytes", "1"},
      {"password", "1234567", "12345678"}, {"password", "12345678", "GHIJ\nLMN"},
      {"password", "12345678", "GHIJKLM\xE3\x81\x82"},
  };
  for (const auto& c : cases) {
    qm::test::ScriptedPrinter printer;
    CliHarness cli;
    std::vector<std::string> args{"--port", printer.path(), "rfid"};
    args.insert(args.end(), c.begin(), c.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 2) << c[0] << " " << c.back() << ": " << run.err;
    EXPECT_EQ(printer.received(), "") << c[0] << " " << c.back();
  }
}

TEST(RfidCli, GetShowsTheSettingsAndSetKeepsWhatIsNotGiven) {
  qm::test::ScriptedPrinter printer;
  const char* replies[] = {"ISO-B\r\n", "8\r\n", "450\r\n", "4\r\n", "32\r\n", "12\r", "3\r\n"};
  for (int n = 1; n <= 7; ++n) printer.Answer(">RFI," + std::to_string(n) + "\r", replies[n - 1]);
  CliHarness get;
  const auto shown = get.Run({"--port", printer.path(), "--json", "rfid", "config", "get"});
  EXPECT_EQ(shown.status, 0) << shown.err;
  EXPECT_NE(shown.out.find("\"tag\":\"ISO-B\",\"power\":8,\"position\":\"450\",\"retries\":4,\"labels\":\"none\","
                           "\"valid\":\"12\\r\",\"void\":\"3\\r\\n\""),
            std::string::npos)
      << shown.out;
  printer.Forget();
  CliHarness set;
  const auto run = set.Run({"--port", printer.path(), "rfid", "config", "set", "--power", "20", "--labels", "1"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(printer.received(), ">RFI,1\r>RFI,2\r>RFI,3\r>RFI,4\r>RFI,5\r>RFI,6\r>RFI,7\r>RFS,2,4,1,20\r>RFTP,450\r");
}

// One printer, three ways in: what a run writes the next reads back, until a lock, an
// unlock, a kill or a missing tag says otherwise.
TEST(RfidCli, TagLifeOnTheVirtualPrinterOverEveryInterface) {
  const std::string tmp = std::filesystem::temp_directory_path() / ("quillmark-rfid-cli-" + std::to_string(::getpid()));
  printer::PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.serial = true;
  options.usbDir = tmp;
  printer::VirtualPrinter vp(options);
  std::string error;
  ASSERT_TRUE(vp.Start(error)) << error;
  struct Step {
    std::vector<std::string> args;
    int status;
    std::string out;
  };
  const std::vector<Step> steps = {
      {{"write", "--metal", "0A0B0C0D"}, 0, ""},
      {{"read", "--metal", "--bytes", "4"}, 0, "0A0B0C0D\n"},
      {{"write", "--metal", "--ascii", "--start", "12", "hi!"}, 0, ""},
      {{"read", "--metal", "--ascii", "--start", "12", "--bytes", "3", "--json"}, 0, "\"start\":12,\"bytes\":3,\"data\":\"hi!\""},
      {{"write", "--metal", "--user", "--ascii", "--start", "8", "hello"}, 0, ""},
      {{"read", "--metal", "--user", "--start", "8", "--bytes", "5"}, 0, "68656C6C6F\n"},
      {{"password", "11223344", "55667788"}, 0, ""},
      {{"lock"}, 0, ""},
      {{"write", "--metal", "EEEE"}, 0, ""},  // the command goes out; the tag refuses it
      {{"read", "--metal", "--bytes", "2"}, 0, "0A0B\n"},
      {{"unlock"}, 0, ""},
      {{"write", "--metal", "EEEE"}, 0, ""},
      {{"read", "--metal", "--bytes", "4"}, 0, "EEEE0C0D\n"},
      {{"write", "--metal", "--lock", "0C,03,00"}, 0, ""},  // EPC memory locked for good
      {{"unlock"}, 0, ""},
      {{"write", "--metal", "1111"}, 0, ""},
      {{"read", "--metal", "--bytes", "2"}, 0, "EEEE\n"},
      {{"kill"}, 0, ""},
      {{"read", "--metal", "--bytes", "2"}, 1, ""},
  };
  for (const std::string port : {"ETHERNET", "COM1:", "USB"}) {
    // A fresh tag for each interface: a printed label brings one.
    vp.SetFaults({});
    // The printer takes each port's bytes on its own thread: wait for that label, so the
    // next port's commands reach the fresh tag.
    const uint64_t printed = vp.labelsPrinted();
    CliHarness clear;
    clear.in.str("P1\r");
    ASSERT_EQ(clear.Run({"--port", "tcp://127.0.0.1:" + std::to_string(vp.tcpPort()), "send", "-"}).status, 0);
    for (int i = 0; i < 2000 && vp.labelsPrinted() == printed; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_GT(vp.labelsPrinted(), printed);
    for (const Step& s : steps) {
      CliHarness cli;
      cli.env.devices->Override("COM1", vp.serialPath());
      cli.env.devices->usb = UsbRoots{vp.usbSysfsRoot(), vp.usbDevRoot()};
      const std::string where = port == "ETHERNET" ? "tcp://127.0.0.1:" + std::to_string(vp.tcpPort()) : port;
      std::vector<std::string> args{"--port", where, "rfid"};
      args.insert(args.end(), s.args.begin(), s.args.end());
      const auto run = cli.Run(args);
      const std::string what = port + " " + s.args[0] + " " + s.args.back();
      EXPECT_EQ(run.status, s.status) << what << ": " << run.err;
      if (!s.out.empty()) {
        EXPECT_NE(run.out.find(s.out), std::string::npos) << what << ": " << run.out;
      }
    }
    EXPECT_TRUE(vp.tag().killed()) << port;
    EXPECT_EQ(vp.tag().accessPassword(), "11223344") << port;
  }
  // No tag in reach: a read fails, and a write voids its label.
  printer::Faults noTag;
  noTag.tagAbsent = true;
  vp.SetFaults(noTag);
  const std::string tcp = "tcp://127.0.0.1:" + std::to_string(vp.tcpPort());
  CliHarness read;
  const auto failed = read.Run({"--port", tcp, "rfid", "read"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("Reading data is faied"), std::string::npos) << failed.err;
  const uint32_t voided = vp.stored().rfid.voidCount;
  CliHarness write;
  EXPECT_EQ(write.Run({"--port", tcp, "rfid", "write", "0102"}).status, 0);
  for (int i = 0; i < 500 && vp.stored().rfid.voidCount == voided; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(vp.stored().rfid.voidCount, voided + 1);
  vp.Stop();
  std::filesystem::remove_all(tmp);
}

}  // namespace
}  // namespace qm::cli
