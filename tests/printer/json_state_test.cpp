// The state file: what it keeps, and what it does with a file that is not what it seems.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "printer/json.h"
#include "printer/state_file.h"

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

TEST(PrinterStateFile, MissingMembersKeepTheirValues) {
  StoredState s = FactoryState(1);
  std::string error;
  ASSERT_TRUE(StateFromJson(Document(", \"media\": {\"paperWidth\": 600}, \"extra\": [1, {}]"), s, error)) << error;
  StoredState expected = FactoryState(1);
  expected.media.paperWidth = 600;
  EXPECT_EQ(s, expected);
}

TEST(PrinterStateFile, MalformedDocumentsAreRefusedWithTheirPlace) {
  struct Case {
    std::string text;
    std::string error;  // a part of the message
  };
  const std::vector<Case> cases = {
      {"", "line 1, column 1: unexpected end"},
      {"{", "expected a member name"},
      {"{\"format\":", "unexpected end"},
      {"[1,2", "expected ',' or ']'"},
      {"{\"a\":1,}", "expected a member name"},
      {"{\"a\":\"\\x\"}", "bad escape"},
      {"{\"a\":\"\\u12\"}", "bad \\u escape"},
      {"{\"a\":\"tab\there\"}", "control character"},
      {"{\"a\":\"open", "unterminated string"},
      {"{\"a\":1}\n  x", "line 2, column 3: unexpected text after the document"},
      {"{\"a\":99999999999999999999}", "too large number"},
      {"{\"a\":tru}", "unknown word"},
      {std::string(100000, '['), "nested too deeply"},
      {"[]", "not a JSON object"},
      {"{\"format\":\"other\",\"version\":1}", "not a printer state file"},
      {"{\"format\":\"quillmark-printer-state\",\"version\":2}", "unsupported state file version"},
      {Document(",\"media\":{\"paperWidth\":\"wide\"}"), "\"media.paperWidth\" must be a whole number from 0 to 832"},
      {Document(",\"media\":{\"paperWidth\":99999}"), "\"media.paperWidth\""},
      {Document(",\"media\":{\"density\":1.5}"), "\"media.density\""},
      {Document(",\"media\":[]"), "\"media\" is not an object"},
      {Document(",\"media\":{\"media\":\"X\"}"), "\"media.media\" must be \"G\", \"C\" or \"B\""},
      {Document(",\"switches\":[1,2,3]"), "\"switches\" must be a list of four bytes"},
      {Document(",\"switches\":[1,2,3,256]"), "\"switches\""},
      {Document(",\"model\":8"), "\"model\""},
      {Document(",\"identification\":{\"printerId\":\"TOOLONGID\"}"), "\"identification.printerId\" must be a text of at most 7"},
      {Document(",\"rfid\":{\"validCount\":-1}"), "\"rfid.validCount\""},
      {Document(",\"sensor\":{\"calibrated\":1}"), "\"sensor.calibrated\" must be true or false"},
  };
  for (const Case& c : cases) {
    StoredState s = ChangedState();
    std::string error;
    EXPECT_FALSE(StateFromJson(c.text, s, error)) << c.text.substr(0, 80);
    EXPECT_NE(error.find(c.error), std::string::npos) << "got: " << error;
    EXPECT_EQ(s, ChangedState()) << "a refused file changes nothing";
  }
}

TEST(PrinterStateFile, EscapesReadBackAsTheBytesTheyStandFor) {
  JsonValue v;
  std::string error;
  ASSERT_TRUE(ParseJson("[\"\\u0041\\u00ff\\u00e9\\u20ac\\n\\/\"]", v, error)) << error;
  EXPECT_EQ(v.items().at(0).string(), "A\xff\xe9\xe2\x82\xac\n/");
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
