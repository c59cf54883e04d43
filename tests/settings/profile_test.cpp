// Settings profiles: what a profile file may hold, and the exact bytes an apply sends.
#include "settings/profile.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "settings_fixture.h"
#include "table_test.h"

namespace qm {
namespace {

std::string Document(const std::string& settings, const std::string& head = R"("format": "quillmark-settings", "version": 1)",
                     const std::string& rest = "") {
  return "{" + head + R"(, "settings": {)" + settings + "}" + rest + "}";
}

struct Refusal {
  const char* name;
  std::string text;
  std::string error;  // the parse's message, which names the key
};

class ProfileRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(ProfileRefusals, NameTheKey) {
  const ProfileParse parsed = ParseProfile(GetParam().text);
  EXPECT_FALSE(parsed.profile);
  EXPECT_EQ(parsed.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Profile, ProfileRefusals,
    ::testing::Values(
        Refusal{"unknown setting", Document(R"("density": 10, "colour": "red")"), R"(unknown key "settings.colour")"},
        Refusal{"unknown top-level key", Document("", R"("format": "quillmark-settings", "version": 1, "extra": 1)"),
                R"(unknown key "extra")"},
        Refusal{"unknown identity key", Document("", R"("format": "quillmark-settings", "version": 1)",
                                                 R"(, "identity": {"owner": "me"})"),
                R"(unknown key "identity.owner")"},
        Refusal{"number given as text", Document(R"("density": "10")"), "settings.density: not a whole number"},
        Refusal{"fraction", Document(R"("offset": 1.5)"), "settings.offset: not a whole number"},
        Refusal{"list entry given as number", Document(R"("strobe": 3)"), "settings.strobe: not a string"},
        Refusal{"density over its range", Document(R"("density": 21)"), "settings.density: 21 is out of range 0..20"},
        Refusal{"offset under its range", Document(R"("offset": -101)"), "settings.offset: -101 is out of range -100..100"},
        Refusal{"RFID power 0", Document(R"("rfid-power": 0)"), "settings.rfid-power: 0 is out of range 1..31"},
        Refusal{"no such entry", Document(R"("gap-detect": "middle")"),
                R"(settings.gap-detect: "middle" is none of "Lower Position of Gap", "Upper Position of Gap")"},
        Refusal{"control byte in the position", Document(R"("rfid-position": "6\r0")"),
                "settings.rfid-position: only printable Latin-1 characters can be sent"},
        Refusal{"serial number too long", Document("", R"("format": "quillmark-settings", "version": 1)",
                                                   R"(, "identity": {"serial-number": "12345678901234567"})"),
                "identity.serial-number: longer than 16 characters"},
        Refusal{"other format", Document("", R"("format": "other-settings", "version": 1)"),
                "format: not a quillmark-settings document"},
        Refusal{"no format", Document("", R"("version": 1)"), "format: not a quillmark-settings document"},
        Refusal{"newer version", Document("", R"("format": "quillmark-settings", "version": 2)"),
                "version: 2 is newer than this program reads (1)"},
        Refusal{"settings not an object", R"({"format": "quillmark-settings", "version": 1, "settings": []})",
                "settings: not an object"},
        Refusal{"not JSON", R"({"format": "quillmark-settings",)", "not a JSON document"}),
    test::RowName());

TEST(Profile, WhatIsWrittenParsesBackTheSame) {
  SettingsProfile profile;
  profile.model = "LRX-500II";
  profile.firmware = "V1.52";
  profile.settings = {{"density", "12"},  {"offset", "-7"},        {"speed", "5ips"},
                      {"ics", "Germany"}, {"rfid-position", "6\xB0"}, {"rfid-power", "31"}};
  // Latin-1 bytes of the printer go out as UTF-8 and come back as the same bytes.
  profile.identity = {{"serial-number", "N\xE9" "42"}, {"printer-id", "P1"}};
  const std::string text = WriteProfile(profile);
  EXPECT_NE(text.find(R"("density": 12)"), std::string::npos) << text;
  EXPECT_NE(text.find("N\xC3\xA9" "42"), std::string::npos) << text;
  const ProfileParse parsed = ParseProfile(text);
  ASSERT_TRUE(parsed.profile) << parsed.error;
  EXPECT_EQ(*parsed.profile, profile);
}

// The scripted printer answers the same values throughout: a written item reads back as
// it was, which an apply must report as failed, not as changed.
struct WireRow {
  const char* name;
  std::string settings;
  std::string sent;
  std::vector<std::string> unchanged;
  std::vector<ProfileFailure> failed;
  bool dryRun = false;
  std::vector<ProfileChange> changed = {};
};

class ApplyWire : public ::testing::TestWithParam<WireRow> {};

TEST_P(ApplyWire, SendsOnlyTheDifferingSettings) {
  test::SettingsBench bench;
  bench.printer.Answer("^PI5,0\r\n", "812\r\n");
  bench.printer.Answer("^PI4,1\r\n", "10\r\n");
  bench.printer.Answer("^MBR3,1", "\x05");  // Default speed, ICS 5
  const ProfileParse parsed = ParseProfile(Document(GetParam().settings));
  ASSERT_TRUE(parsed.profile) << parsed.error;
  ApplyOptions options;
  options.dryRun = GetParam().dryRun;
  const ApplyResult result = ApplyProfile(bench.link, bench.clock, bench.prompter, *parsed.profile, options);
  EXPECT_EQ(bench.printer.received(), GetParam().sent);
  EXPECT_EQ(result.changed, GetParam().changed);
  EXPECT_EQ(result.unchanged, GetParam().unchanged);
  EXPECT_EQ(result.failed, GetParam().failed);
}

INSTANTIATE_TEST_SUITE_P(
    Profile, ApplyWire,
    ::testing::Values(
        WireRow{"all equal: reads only", R"("paper-width": 812, "density": 10, "speed": "Default")",
                "^PI5,0\r\n^PI4,1\r\n^MBR3,1", {"paper-width", "density", "speed"}, {}},
        WireRow{"density differs: its set and its read-back",
                R"("paper-width": 812, "density": 11, "speed": "Default")",
                "^PI5,0\r\n^PI4,1\r\n^MBR3,1^MBU1,11\r^PI4,1\r\n", {"paper-width", "speed"},
                {{"density", "read back \"10\""}}},
        WireRow{"dry run: nothing written", R"("paper-width": 800, "density": 11)", "^PI5,0\r\n^PI4,1\r\n", {}, {}, true,
                {{"paper-width", "812", "800"}, {"density", "10", "11"}}},
        WireRow{"speed differs: the switch is read, written keeping the ICS bits, read back",
                R"("speed": "4ips")", "^MBR3,1^MBR3,1^MBS3,E\r^MBA\x03\r^MBR3,1", {}, {{"speed", "read back \"Default\""}}}),
    test::RowName());


// An apply of a chosen few: only the kept items are read and written, whatever else the
// profile holds.
struct KeptRow {
  const char* name;
  std::set<std::string> kept;
  std::string sent;
  std::vector<std::string> unchanged;
  std::vector<ProfileFailure> failed;
};

class ApplyKept : public ::testing::TestWithParam<KeptRow> {};

TEST_P(ApplyKept, SendsOnlyTheKeptItems) {
  test::SettingsBench bench;
  bench.printer.Answer("^PI5,0\r\n", "812\r\n");
  bench.printer.Answer("^PI4,1\r\n", "10\r\n");
  const ProfileParse parsed = ParseProfile(Document(R"("paper-width": 800, "density": 11)", R"("format": "quillmark-settings", "version": 1)",
                                                    R"(, "identity": {"printer-id": "P9"})"));
  ASSERT_TRUE(parsed.profile) << parsed.error;
  const SettingsProfile kept = KeepOnly(*parsed.profile, GetParam().kept);
  ApplyOptions options;
  options.withIdentity = true;
  const ApplyResult result = ApplyProfile(bench.link, bench.clock, bench.prompter, kept, options);
  test::ExpectBytes(GetParam().name, bench.printer.received(), GetParam().sent);
  EXPECT_EQ(result.unchanged, GetParam().unchanged);
  EXPECT_EQ(result.failed, GetParam().failed);
  EXPECT_TRUE(result.changed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Profile, ApplyKept,
    ::testing::Values(
        KeptRow{"density alone", {"density"}, "^PI4,1\r\n^MBU1,11\r^PI4,1\r\n", {}, {{"density", "read back \"10\""}}},
        KeptRow{"paper width alone", {"paper-width"}, "^PI5,0\r\n^MBU0,800\r^PI5,0\r\n", {},
                {{"paper-width", "read back \"812\""}}},
        KeptRow{"nothing kept: nothing sent", {}, "", {}, {}},
        KeptRow{"a name the profile lacks is no item", {"gap-length"}, "", {}, {}}),
    test::RowName());

TEST(Profile, KeepOnlyKeepsThePrinterAndTheNamedIdentity) {
  SettingsProfile profile;
  profile.model = "LRX-500II";
  profile.firmware = "V1.52";
  profile.settings = {{"density", "12"}, {"speed", "5ips"}};
  profile.identity = {{"serial-number", "N42"}, {"printer-id", "P1"}};
  const SettingsProfile kept = KeepOnly(profile, {"speed", "printer-id"});
  EXPECT_EQ(kept.model, "LRX-500II");
  EXPECT_EQ(kept.firmware, "V1.52");
  EXPECT_EQ(kept.settings, (std::map<std::string, std::string>{{"speed", "5ips"}}));
  EXPECT_EQ(kept.identity, (std::map<std::string, std::string>{{"printer-id", "P1"}}));
  EXPECT_TRUE(IsIdentityItem("printer-id"));
  EXPECT_FALSE(IsIdentityItem("density"));
}

// Records every report and asks to stop once `stopAfter` reports have come.
class StoppingProgress : public Progress {
 public:
  explicit StoppingProgress(size_t stopAfter) : stopAfter_(stopAfter) {}
  void Report(uint64_t done, uint64_t total) override { reports.emplace_back(done, total); }
  bool Cancelled() const override { return reports.size() >= stopAfter_; }
  std::vector<std::pair<uint64_t, uint64_t>> reports;

 private:
  size_t stopAfter_;
};

struct ProgressRow {
  const char* name;
  size_t stopAfter;
  std::string sent;
  std::vector<std::pair<uint64_t, uint64_t>> reports;
  std::vector<ProfileFailure> failed;
};

class ApplyProgress : public ::testing::TestWithParam<ProgressRow> {};

TEST_P(ApplyProgress, CountsItemsAndStopsBeforeTheNextWrite) {
  test::SettingsBench bench;
  bench.printer.Answer("^PI5,0\r\n", "812\r\n");
  bench.printer.Answer("^PI4,1\r\n", "10\r\n");
  bench.printer.Answer("^PI5,3\r\n", "3\r\n");
  const ProfileParse parsed = ParseProfile(Document(R"("paper-width": 812, "density": 11, "h-margin": 4)"));
  ASSERT_TRUE(parsed.profile) << parsed.error;
  StoppingProgress progress(GetParam().stopAfter);
  ApplyOptions options;
  options.progress = &progress;
  const ApplyResult result = ApplyProfile(bench.link, bench.clock, bench.prompter, *parsed.profile, options);
  test::ExpectBytes(GetParam().name, bench.printer.received(), GetParam().sent);
  EXPECT_EQ(progress.reports, GetParam().reports);
  EXPECT_EQ(result.failed, GetParam().failed);
  EXPECT_EQ(result.unchanged, std::vector<std::string>{"paper-width"});
}

INSTANTIATE_TEST_SUITE_P(
    Profile, ApplyProgress,
    ::testing::Values(
        ProgressRow{"runs to the end",
                    100,
                    "^PI5,0\r\n^PI5,3\r\n^PI4,1\r\n^MBU3,4\r^PI5,3\r\n^MBU1,11\r^PI4,1\r\n",
                    {{1, 3}, {2, 3}, {3, 3}},
                    {{"h-margin", "read back \"3\""}, {"density", "read back \"10\""}}},
        ProgressRow{"stopped after the reads: nothing written",
                    1,
                    "^PI5,0\r\n^PI5,3\r\n^PI4,1\r\n",
                    {{1, 3}, {2, 3}, {3, 3}},
                    {{"h-margin", "not written: stopped"}, {"density", "not written: stopped"}}},
        ProgressRow{"stopped after the first write",
                    2,
                    "^PI5,0\r\n^PI5,3\r\n^PI4,1\r\n^MBU3,4\r^PI5,3\r\n",
                    {{1, 3}, {2, 3}, {3, 3}},
                    {{"h-margin", "read back \"3\""}, {"density", "not written: stopped"}}}),
    test::RowName());

struct ValuesRow {
  const char* name;
  std::map<std::string, std::string> settings;
  ProfileValues expected;
};

ProfileValues Values(const std::function<void(ProfileValues&)>& fill) {
  ProfileValues v;
  fill(v);
  return v;
}

bool operator==(const ProfileValues& a, const ProfileValues& b) {
  return a.numeric == b.numeric && a.signedItem == b.signedItem && a.strobe == b.strobe && a.speed == b.speed &&
         a.gapDetect == b.gapDetect && a.serial == b.serial && a.language == b.language && a.identity == b.identity;
}

class ProfileValuesOf : public ::testing::TestWithParam<ValuesRow> {};

TEST_P(ProfileValuesOf, PutEachItemWhereItsPageShowsIt) {
  SettingsProfile profile;
  profile.settings = GetParam().settings;
  profile.identity = {{"printer-id", "P7"}};
  ProfileValues expected = GetParam().expected;
  expected.identity[2] = "P7";
  EXPECT_TRUE(ValuesOf(profile) == expected);
}

INSTANTIATE_TEST_SUITE_P(
    Profile, ProfileValuesOf,
    ::testing::Values(
        ValuesRow{"numbers by item", {{"gap-length", "24"}, {"density", "0"}},
                  Values([](ProfileValues& v) {
                    v.numeric[2] = 24;
                    v.numeric[5] = 0;
                  })},
        ValuesRow{"a negative offset and the tear-off", {{"offset", "-12"}, {"tear-off", "7"}},
                  Values([](ProfileValues& v) {
                    v.signedItem[0] = -12;
                    v.signedItem[1] = 7;
                  })},
        ValuesRow{"list entries by index", {{"strobe", "4"}, {"speed", "Default"}, {"gap-detect", "Upper Position of Gap"}},
                  Values([](ProfileValues& v) {
                    v.strobe = 2;
                    v.speed = 0;
                    v.gapDetect = 1;
                  })},
        ValuesRow{"serial items alone; the others stay unnamed", {{"handshake", "Software"}, {"baud", "57600"}},
                  Values([](ProfileValues& v) {
                    v.serial.handShake = 1;
                    v.serial.baudRate = 2;
                  })},
        ValuesRow{"the ICS without the code page", {{"ics", "Germany"}},
                  Values([](ProfileValues& v) { v.language.ics = 3; })},
        ValuesRow{"the RFID items have no page here", {{"rfid-power", "18"}}, ProfileValues{}}),
    test::RowName());

}  // namespace
}  // namespace qm
