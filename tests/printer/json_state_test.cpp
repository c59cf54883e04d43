// The state file: what it keeps, and what it does with a file that is not what it seems.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "printer/state_file.h"
#include "table_test.h"

namespace qm::printer {
namespace {

StoredState ChangedState() {
  StoredState s = FactoryState(6);
  s.media.paperWidth = 400;
  s.media.offset = -12;
  s.media.tearOff = 45;
  s.media.media = MediaType::kBlackMark;
  s.media.topFirst = false;
  s.media.labelLengthCheck = true;
  s.switches = {7, 0x35, 0x60, 0x80};
  s.ident.hardwareVersion = "B\x01\xff\"";  // bytes from the wire, quote included
  s.ident.serialNumber = "SN\\0001";
  s.ident.printerId = "";
  s.sensor.threshold = 96;
  s.sensor.calibrated = true;
  s.rfid.tagType = 2;
  s.rfid.validCount = 4000000000u;
  return s;
}

std::string Document(const std::string& members) {
  return "{\"format\": \"quillmark-printer-state\", \"version\": 1" + members + "}";
}

TEST(PrinterStateFile, EverythingStoredSurvivesTheRoundTrip) {
  const StoredState original = ChangedState();
  StoredState loaded;
  std::string error;
  ASSERT_TRUE(StateFromJson(StateToJson(original), loaded, error)) << error;
  EXPECT_EQ(loaded, original);
}

TEST(PrinterStateFile, BytesAboveAsciiAreWrittenAsEscapes) {
  // Raw UTF-8 would read back as two bytes a letter in versions that take raw bytes as they are.
  const std::string text = StateToJson(ChangedState());
  EXPECT_NE(text.find(R"("hardwareVersion": "B\u0001\u00ff\"")"), std::string::npos) << text;
  for (const char c : text) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << text;
}

TEST(PrinterStateFile, MissingMembersKeepTheirValues) {
  StoredState s = FactoryState(1);
  std::string error;
  ASSERT_TRUE(StateFromJson(Document(", \"media\": {\"paperWidth\": 600}, \"extra\": [1, {}]"), s, error)) << error;
  StoredState expected = FactoryState(1);
  expected.media.paperWidth = 600;
  EXPECT_EQ(s, expected);
}

struct BadState {
  const char* name;
  std::string text;
  std::string error;  // the message, whole; a parse error from its place to the first " - "
};

std::string Parse(const std::string& place) { return place + ": syntax error while parsing "; }

// The first half of a state file the printer wrote.
std::string HalfAFile() {
  const std::string whole = StateToJson(ChangedState());
  return whole.substr(0, whole.size() / 2);
}

class MalformedStateFiles : public ::testing::TestWithParam<BadState> {};

TEST_P(MalformedStateFiles, AreRefusedWithTheirPlaceAndChangeNothing) {
  StoredState s = ChangedState();
  std::string error;
  EXPECT_FALSE(StateFromJson(GetParam().text, s, error));
  const std::string& want = GetParam().error;
  if (want.rfind("line ", 0) == 0) {
    EXPECT_EQ(error.substr(0, want.size()), want) << "got: " << error;
  } else {
    EXPECT_EQ(error, want);
  }
  EXPECT_EQ(s, ChangedState()) << "a refused file changes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    PrinterStateFile, MalformedStateFiles,
    ::testing::Values(
        // A number no double holds is refused, not thrown past the loader.
        BadState{"number beyond a double", Document(",\"media\":{\"gapLength\":1e930}"), "number overflow parsing '1e930'"},
        // Cut short.
        BadState{"empty", "", Parse("line 1, column 1") + "value - unexpected end of input"},
        BadState{"open brace", "{", Parse("line 1, column 2") + "object key - unexpected end of input"},
        BadState{"no value", "{\"format\":", Parse("line 1, column 11") + "value - unexpected end of input"},
        BadState{"open list", "[1,2", Parse("line 1, column 5") + "array - unexpected end of input"},
        BadState{"half a saved file", HalfAFile(), "line 27, column 6: syntax error while parsing object key - invalid string: missing closing quote"},
        BadState{"open string", "{\"a\":\"open", Parse("line 1, column 11") + "value - invalid string: missing closing quote"},
        // Not JSON.
        BadState{"trailing comma", "{\"a\":1,}", Parse("line 1, column 8") + "object key - unexpected '}'"},
        BadState{"bad escape", "{\"a\":\"\\x\"}", Parse("line 1, column 8") + "value - invalid string: forbidden character after backslash"},
        BadState{"short u escape", "{\"a\":\"\\u12\"}", Parse("line 1, column 11") + "value - invalid string: '\\u' must be followed by 4 hex digits"},
        BadState{"raw tab", "{\"a\":\"tab\there\"}", Parse("line 1, column 10") + "value - invalid string: control character U+0009"},
        BadState{"text after the document", "{\"a\":1}\n  x", Parse("line 2, column 3") + "value - invalid literal"},
        BadState{"unknown word", "{\"a\":tru}", Parse("line 1, column 9") + "value - invalid literal"},
        BadState{"deep nesting", std::string(100000, '['), Parse("line 1, column 100001") + "value - unexpected end of input"},
        BadState{"lone surrogate", Document(",\"identification\":{\"printerId\":\"\\ud800\"}"), "line 1, column 89: syntax error while parsing value - invalid string: surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF"},
        // Another document.
        BadState{"a list", "[]", "the document is not a JSON object"},
        BadState{"other format", "{\"format\":\"other\",\"version\":1}", "not a printer state file (\"format\" is not \"quillmark-printer-state\")"},
        BadState{"no format", "{\"version\":1}", "not a printer state file (\"format\" is not \"quillmark-printer-state\")"},
        BadState{"newer version", "{\"format\":\"quillmark-printer-state\",\"version\":2}", "unsupported state file version"},
        BadState{"version as text", "{\"format\":\"quillmark-printer-state\",\"version\":\"1\"}", "unsupported state file version"},
        BadState{"version as real", "{\"format\":\"quillmark-printer-state\",\"version\":1.0}", "unsupported state file version"},
        // Wrong types.
        BadState{"width as text", Document(",\"media\":{\"paperWidth\":\"wide\"}"), "\"media.paperWidth\" must be a whole number from 0 to 832"},
        BadState{"density as real", Document(",\"media\":{\"density\":1.5}"), "\"media.density\" must be a whole number from 0 to 20"},
        BadState{"width as true", Document(",\"media\":{\"paperWidth\":true}"), "\"media.paperWidth\" must be a whole number from 0 to 832"},
        BadState{"media as list", Document(",\"media\":[]"), "\"media\" is not an object"},
        BadState{"unknown media", Document(",\"media\":{\"media\":\"X\"}"), "\"media.media\" must be \"G\", \"C\" or \"B\""},
        BadState{"three switches", Document(",\"switches\":[1,2,3]"), "\"switches\" must be a list of four bytes (0 to 255)"},
        BadState{"switch as text", Document(",\"switches\":[1,2,3,\"4\"]"), "\"switches\" must be a list of four bytes (0 to 255)"},
        BadState{"calibrated as 1", Document(",\"sensor\":{\"calibrated\":1}"), "\"sensor.calibrated\" must be true or false"},
        BadState{"serial as number", Document(",\"identification\":{\"serialNumber\":5}"), "\"identification.serialNumber\" must be a text of at most 16 characters"},
        BadState{"count as text", Document(",\"rfid\":{\"validCount\":\"4\"}"), "\"rfid.validCount\" must be a count from 0 to 4294967295"},
        // Out of range.
        BadState{"width too large", Document(",\"media\":{\"paperWidth\":99999}"), "\"media.paperWidth\" must be a whole number from 0 to 832"},
        BadState{"width beyond 64 bits", Document(",\"media\":{\"paperWidth\":99999999999999999999}"), "\"media.paperWidth\" must be a whole number from 0 to 832"},
        BadState{"offset below", Document(",\"media\":{\"offset\":-101}"), "\"media.offset\" must be a whole number from -100 to 100"},
        BadState{"offset far below", Document(",\"media\":{\"offset\":-9223372036854775809}"), "\"media.offset\" must be a whole number from -100 to 100"},
        BadState{"switch 256", Document(",\"switches\":[1,2,3,256]"), "\"switches\" must be a list of four bytes (0 to 255)"},
        BadState{"switch -1", Document(",\"switches\":[-1,2,3,4]"), "\"switches\" must be a list of four bytes (0 to 255)"},
        BadState{"model 8", Document(",\"model\":8"), "\"model\" must be a whole number from 0 to 7"},
        BadState{"printer id too long", Document(",\"identification\":{\"printerId\":\"TOOLONGID\"}"), "\"identification.printerId\" must be a text of at most 7 characters"},
        BadState{"printer id of 8 Latin-1 letters", Document(",\"identification\":{\"printerId\":\"\\u00c9\\u00c9\\u00c9\\u00c9\\u00c9\\u00c9\\u00c9\\u00c9\"}"), "\"identification.printerId\" must be a text of at most 7 characters"},
        BadState{"count -1", Document(",\"rfid\":{\"validCount\":-1}"), "\"rfid.validCount\" must be a count from 0 to 4294967295"},
        BadState{"count 2 to the 32", Document(",\"rfid\":{\"voidCount\":4294967296}"), "\"rfid.voidCount\" must be a count from 0 to 4294967295"},
        BadState{"gap count below", Document(",\"sensor\":{\"gapCount\":3}"), "\"sensor.gapCount\" must be a whole number from 4 to 10"}),
    qm::test::RowName());

struct KeptState {
  const char* name;
  std::string members;  // after "format" and "version"
  void (*change)(StoredState&);  // what the members change in factory model 1
};

class TolerableStateFiles : public ::testing::TestWithParam<KeptState> {};

TEST_P(TolerableStateFiles, ReadWhatTheyKnowAndIgnoreTheRest) {
  StoredState s = FactoryState(1);
  std::string error;
  ASSERT_TRUE(StateFromJson(Document(GetParam().members), s, error)) << error;
  StoredState expected = FactoryState(1);
  GetParam().change(expected);
  EXPECT_EQ(s, expected);
}

INSTANTIATE_TEST_SUITE_P(
    PrinterStateFile, TolerableStateFiles,
    ::testing::Values(
        KeptState{"unknown key at the top", ",\"colour\":\"red\",\"model\":4", [](StoredState& s) { s.modelIndex = 4; }},
        KeptState{"unknown key in a group", ",\"media\":{\"darkness\":3,\"density\":12}", [](StoredState& s) { s.media.density = 12; }},
        KeptState{"unknown group", ",\"future\":{\"a\":[1,{}]},\"sensor\":{\"threshold\":0}", [](StoredState& s) { s.sensor.threshold = 0; }},
        KeptState{"raw UTF-8 Latin-1 letter", ",\"identification\":{\"printerId\":\"LIN\xc3\x89" "7\"}", [](StoredState& s) { s.ident.printerId = "LIN\xc9" "7"; }},
        // A byte that is no part of a UTF-8 sequence reads as itself, as it always did.
        KeptState{"stray byte FF", ",\"identification\":{\"printerId\":\"P\xff\"}", [](StoredState& s) { s.ident.printerId = "P\xff"; }},
        KeptState{"lone lead byte", ",\"identification\":{\"printerId\":\"P\xc3\"}", [](StoredState& s) { s.ident.printerId = "P\xc3"; }},
        KeptState{"overlong slash", ",\"identification\":{\"printerId\":\"\xc0\xaf\"}", [](StoredState& s) { s.ident.printerId = "\xc0\xaf"; }},
        KeptState{"stray byte beside a UTF-8 letter", ",\"identification\":{\"printerId\":\"\xc3\x89\xe9\"}", [](StoredState& s) { s.ident.printerId = "\xc9\xe9"; }},
        KeptState{"minus zero", ",\"media\":{\"offset\":-0}", [](StoredState& s) { s.media.offset = 0; }},
        KeptState{"largest count", ",\"rfid\":{\"validCount\":4294967295}", [](StoredState& s) { s.rfid.validCount = 4294967295u; }}),
    qm::test::RowName());

TEST(PrinterStateFile, EscapesReadBackAsTheBytesTheyStandFor) {
  StoredState s = FactoryState(1);
  std::string error;
  ASSERT_TRUE(StateFromJson(Document(",\"identification\":{\"serialNumber\":\"\\u0041\\u00ff\\u00e9\\u20ac\\n\\/\"}"), s,
                            error))
      << error;
  EXPECT_EQ(s.ident.serialNumber, "A\xff\xe9\xe2\x82\xac\n/");
}

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/quillmark-state-XXXXXX";
    dir_ = ::mkdtemp(tmpl);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string dir_;
};

using PrinterStateFileOnDisk = TempDir;

TEST_F(PrinterStateFileOnDisk, SavedFileLoadsBackAndLeavesNoTemporary) {
  const std::string path = dir_ + "/state.json";
  std::string error;
  ASSERT_TRUE(SaveStateFile(path, ChangedState(), error)) << error;
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  StoredState s;
  bool exists = false;
  ASSERT_TRUE(LoadStateFile(path, s, exists, error)) << error;
  EXPECT_TRUE(exists);
  EXPECT_EQ(s, ChangedState());
}

TEST_F(PrinterStateFileOnDisk, MissingFileIsNotAnErrorButABrokenOneIs) {
  StoredState s = FactoryState(3);
  bool exists = true;
  std::string error;
  ASSERT_TRUE(LoadStateFile(dir_ + "/none.json", s, exists, error));
  EXPECT_FALSE(exists);
  EXPECT_EQ(s, FactoryState(3));

  const std::string broken = dir_ + "/broken.json";
  std::ofstream(broken) << "{\"format\": \"quillmark-printer-state\", \"version\": 1,";
  EXPECT_FALSE(LoadStateFile(broken, s, exists, error));
  EXPECT_EQ(error.rfind(broken + ": line 1", 0), 0u) << error;

  const std::string huge = dir_ + "/huge.json";
  std::ofstream(huge) << std::string(kMaxStateFileBytes + 1, ' ');
  EXPECT_FALSE(LoadStateFile(huge, s, exists, error));
  EXPECT_NE(error.find("larger than a state file"), std::string::npos) << error;
  EXPECT_FALSE(LoadStateFile(dir_, s, exists, error)) << "a folder is no file";
  EXPECT_EQ(s, FactoryState(3));
}

TEST_F(PrinterStateFileOnDisk, SaveIntoAMissingFolderFailsCleanly) {
  std::string error;
  EXPECT_FALSE(SaveStateFile(dir_ + "/no/such/state.json", FactoryState(1), error));
  EXPECT_NE(error.find("state.json.tmp"), std::string::npos) << error;
}

}  // namespace
}  // namespace qm::printer
