// `settings export`, `diff` and `apply`: a broken profile writes nothing, and an exported
// profile, changed and applied, is what the printer then exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "cli_harness.h"
#include "printer/virtual_printer.h"
#include "scripted_printer.h"
#include "table_test.h"

namespace qm::cli {
namespace {

using test::CliHarness;

using qm::test::Slurp;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

struct BadProfile {
  const char* name;
  std::string text;
  std::string err;
};

class BadProfiles : public ::testing::TestWithParam<BadProfile> {};

TEST_P(BadProfiles, AreRefusedBeforeAnythingIsSent) {
  qm::test::ScriptedPrinter printer;
  printer.Answer("^PI4,1\r\n", "10\r\n");
  test::TempDir dir;
  const std::string file = dir.Write("p.json", GetParam().text);
  CliHarness cli;
  const auto run = cli.Run({"--port", printer.path(), "settings", "apply", file});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "quillmark-cli: " + file + ": " + GetParam().err + " (see --help)\n");
  EXPECT_EQ(printer.received(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Settings, BadProfiles,
    ::testing::Values(
        BadProfile{"unknown key", R"({"format":"quillmark-settings","version":1,"settings":{"density":11,"darkness":3}})",
                   R"(unknown key "settings.darkness")"},
        BadProfile{"wrong type", R"({"format":"quillmark-settings","version":1,"settings":{"density":11,"speed":4}})",
                   "settings.speed: not a string"},
        BadProfile{"out of range", R"({"format":"quillmark-settings","version":1,"settings":{"density":11,"paper-length":-1}})",
                   "settings.paper-length: -1 is out of range 0..2432"},
        BadProfile{"other format", R"({"format":"label-settings","version":1,"settings":{"density":11}})",
                   "format: not a quillmark-settings document"},
        BadProfile{"newer version", R"({"format":"quillmark-settings","version":7,"settings":{"density":11}})",
                   "version: 7 is newer than this program reads (1)"}),
    qm::test::RowName());

class ProfileAgainstVirtualPrinter : public ::testing::Test {
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

  test::CliRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--port", port_});
    CliHarness cli;
    return cli.Run(args);
  }

  std::unique_ptr<printer::VirtualPrinter> printer_;
  std::string port_;
  test::TempDir dir_;
};

TEST_F(ProfileAgainstVirtualPrinter, ExportApplyExportRoundTripsAndASecondApplyWritesNothing) {
  const std::string exported = dir_.path() + "/a.json";
  auto run = Run({"settings", "export", "-o", exported});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string before = Slurp(exported);
  // One item of each kind: a number, a signed number, a switch shared with another item,
  // the serial switch, the language switches and the RFID encoder's settings.
  std::string wanted = Replaced(before, R"("density": 10)", R"("density": 14)");
  wanted = Replaced(wanted, R"("offset": 0)", R"("offset": -12)");
  wanted = Replaced(wanted, R"("speed": "Default")", R"("speed": "6ips")");
  wanted = Replaced(wanted, R"("handshake": "Hardware")", R"("handshake": "Software")");
  wanted = Replaced(wanted, R"("ics": "Factory Default ICS")", R"("ics": "Germany")");
  wanted = Replaced(wanted, R"("rfid-power": 18)", R"("rfid-power": 25)");
  const std::string file = dir_.Write("b.json", wanted);

  run = Run({"settings", "diff", file});
  EXPECT_EQ(run.status, 4) << run.err;
  EXPECT_EQ(run.out,
            "density: 10 -> 14\nspeed: Default -> 6ips\noffset: 0 -> -12\nhandshake: Hardware -> Software\n"
            "ics: Factory Default ICS -> Germany\nrfid-power: 18 -> 25\n");

  run = Run({"settings", "apply", file});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "changed density: 10 -> 14\nchanged speed: Default -> 6ips\nchanged offset: 0 -> -12\n"
            "changed handshake: Hardware -> Software\nchanged ics: Factory Default ICS -> Germany\n"
            "changed rfid-power: 18 -> 25\n6 changed, 18 unchanged, 0 failed\n");
  EXPECT_EQ(run.err, "");

  const std::string again = dir_.path() + "/c.json";
  run = Run({"settings", "export", "-o", again});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Slurp(again), wanted);

  run = Run({"--json", "settings", "apply", file});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(R"("changed":[],"unchanged":["paper-width",)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(R"("failed":[]})"), std::string::npos) << run.out;

  run = Run({"settings", "diff", file});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
}

TEST_F(ProfileAgainstVirtualPrinter, AnExportThatCannotBeWrittenSaysSoAndLeavesNoFile) {
  const std::string missing = dir_.path() + "/no-such-folder/a.json";
  const auto run = Run({"settings", "export", "-o", missing});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind("quillmark-cli: " + missing + ": cannot be written: ", 0), 0u) << run.err;
  EXPECT_FALSE(std::ifstream(missing).good());
  // Over an older profile, the new one replaces it whole.
  const std::string file = dir_.Write("old.json", "{\"old\": true}");
  ASSERT_EQ(Run({"settings", "export", "-o", file}).status, 0);
  EXPECT_EQ(Slurp(file).rfind("{\n  \"format\": \"quillmark-settings\"", 0), 0u) << Slurp(file);
}

TEST_F(ProfileAgainstVirtualPrinter, DryRunListsTheChangesAndWritesNone) {
  const std::string exported = dir_.path() + "/a.json";
  ASSERT_EQ(Run({"settings", "export", "-o", exported}).status, 0);
  const std::string file = dir_.Write("b.json", Replaced(Slurp(exported), R"("gap-length": 24)", R"("gap-length": 30)"));
  auto run = Run({"--json", "settings", "apply", "--dry-run", file});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(R"("changed":[{"name":"gap-length","from":"24","to":"30"}])"), std::string::npos) << run.out;
  run = Run({"settings", "diff", file});
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.out, "gap-length: 24 -> 30\n");
}

TEST_F(ProfileAgainstVirtualPrinter, IdentityIsWrittenOnlyWhenAsked) {
  const std::string exported = dir_.path() + "/a.json";
  ASSERT_EQ(Run({"settings", "export", "-o", exported}).status, 0);
  const std::string file =
      dir_.Write("b.json", Replaced(Slurp(exported), R"("printer-id": "PRN01")", R"("printer-id": "LINE7")"));
  auto run = Run({"settings", "apply", file});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "0 changed, 24 unchanged, 0 failed\n");
  run = Run({"settings", "apply", "--with-identity", file});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "changed printer-id: PRN01 -> LINE7\n1 changed, 26 unchanged, 0 failed\n");
  const std::string again = dir_.path() + "/c.json";
  ASSERT_EQ(Run({"settings", "export", "-o", again}).status, 0);
  EXPECT_NE(Slurp(again).find(R"("printer-id": "LINE7")"), std::string::npos);
}

TEST_F(ProfileAgainstVirtualPrinter, ExportWithJsonIsOneLine) {
  const auto run = Run({"--json", "settings", "export"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
  EXPECT_NE(run.out.find(R"("profile":{"format":"quillmark-settings","version":1,)"), std::string::npos) << run.out;
}

// Every setting a profile carries lives in the printer's state file: applied, then the
// printer stopped and started again on the same file, the export is the profile applied.
TEST(ProfileAcrossARestart, EverySettingAndTheIdentityComeBackFromTheStateFile) {
  test::TempDir dir;
  const std::string state = dir.path() + "/state.json";
  const std::string profile = std::string(QUILLMARK_PRINTER_TEST_DATA) + "/profile-changed-model6.json";
  printer::PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.stateFile = state;
  options.model = 6;
  const auto run = [](printer::VirtualPrinter& p, std::vector<std::string> args) {
    args.insert(args.begin(), {"--port", "tcp://127.0.0.1:" + std::to_string(p.tcpPort())});
    CliHarness cli;
    return cli.Run(args);
  };
  std::string error;
  {
    printer::VirtualPrinter first(options);
    ASSERT_TRUE(first.Start(error)) << error;
    const auto applied = run(first, {"settings", "apply", "--with-identity", profile});
    ASSERT_EQ(applied.status, 0) << applied.out << applied.err;
    // Every setting and all but the hardware version differ from the factory's.
    EXPECT_NE(applied.out.find("22 changed, 5 unchanged, 0 failed"), std::string::npos) << applied.out;
    first.Stop();
  }
  options.model = -1;  // the model too comes from the file
  printer::VirtualPrinter second(options);
  ASSERT_TRUE(second.Start(error)) << error;
  const std::string exported = dir.path() + "/again.json";
  const auto again = run(second, {"settings", "export", "-o", exported});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(Slurp(exported), Slurp(profile));
  second.Stop();
}

TEST(SettingsProfileSilentPrinter, EveryItemFailsAndNothingIsWritten) {
  qm::test::ScriptedPrinter printer;  // answers nothing
  test::TempDir dir;
  const std::string file = dir.Write(
      "p.json", R"({"format":"quillmark-settings","version":1,"settings":{"density":11,"handshake":"Software"}})");
  CliHarness cli;
  const auto run = cli.Run({"--port", printer.path(), "settings", "apply", file});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "failed density: the printer's value could not be read\n"
            "failed handshake: the printer's value could not be read\n0 changed, 0 unchanged, 2 failed\n");
  // Only the two reads went out.
  EXPECT_EQ(printer.received(), "^PI4,1\r\n^MBR2,1");
}

}  // namespace
}  // namespace qm::cli
