// State files written by earlier versions of the printer load to the state they were
// written from, and save again to a file that loads the same.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "printer/state_file.h"
#include "table_test.h"
#include "temp_dir.h"

namespace qm::printer {
namespace {

// Factory model 3, as `--model 3 --state FILE` wrote it on its first start.
StoredState Factory3() { return FactoryState(3); }

// Model 6 after `settings apply --with-identity` of profile-changed-model6.json.
StoredState Changed6() {
  StoredState s = FactoryState(6);
  s.switches = {0, 27, 131, 96};
  s.media.paperWidth = 600;
  s.media.paperLength = 800;
  s.media.gapLength = 30;
  s.media.horizontalMargin = 8;
  s.media.verticalMargin = 4;
  s.media.density = 14;
  s.media.offset = -12;
  s.media.tearOff = 20;
  s.ident.serialNumber = "SN-Z\xFCrich-7";  // one byte a character, as on the wire
  s.ident.printerId = "LIN\xC9" "7";
  s.rfid.power = 25;
  s.rfid.position = 700;
  s.rfid.retries = 5;
  s.rfid.labels = 1;
  return s;
}

// Model 0 with control bytes, a quote and a backslash in its identification and the
// largest counts.
StoredState RawBytes0() {
  StoredState s = FactoryState(0);
  s.media.media = MediaType::kBlackMark;
  s.media.topFirst = false;
  s.media.labelLengthCheck = true;
  s.switches = {7, 0x35, 0x60, 0x80};
  s.ident.hardwareVersion = "\xff\"\\B";
  s.ident.serialNumber = "SN\x01\t\x7f" "1";
  s.ident.printerId = "";
  s.sensor.threshold = 96;
  s.sensor.calibrated = true;
  s.sensor.calibratedFor = MediaType::kContinuous;
  s.rfid.tagType = 2;
  s.rfid.validCount = 4000000000u;
  s.rfid.voidCount = 17;
  s.rfid.calibrated = true;
  return s;
}

struct KeptFile {
  const char* name;
  const char* file;  // under tests/printer/data
  StoredState (*expected)();
};

class EarlierStateFiles : public ::testing::TestWithParam<KeptFile> {};

TEST_P(EarlierStateFiles, LoadToTheStateTheyWereWrittenFrom) {
  const std::string path = std::string(QUILLMARK_PRINTER_TEST_DATA) + "/" + GetParam().file;
  // Loaded over a state that differs everywhere, so a member read wrongly or not at all shows.
  StoredState s = FactoryState(7);
  s.media.paperWidth = 1;
  s.ident.serialNumber = "X";
  s.rfid.validCount = 9;
  bool exists = false;
  std::string error;
  ASSERT_TRUE(LoadStateFile(path, s, exists, error)) << error;
  EXPECT_TRUE(exists);
  EXPECT_EQ(s, GetParam().expected());
}

TEST_P(EarlierStateFiles, SaveAgainToAFileThatLoadsTheSame) {
  const std::string path = std::string(QUILLMARK_PRINTER_TEST_DATA) + "/" + GetParam().file;
  StoredState loaded;
  bool exists = false;
  std::string error;
  ASSERT_TRUE(LoadStateFile(path, loaded, exists, error)) << error;
  test::TempDir dir;
  const std::string again = dir.path() + "/state.json";
  ASSERT_TRUE(SaveStateFile(again, loaded, error)) << error;
  StoredState reloaded = FactoryState(2);
  ASSERT_TRUE(LoadStateFile(again, reloaded, exists, error)) << error;
  EXPECT_EQ(reloaded, GetParam().expected());
}

INSTANTIATE_TEST_SUITE_P(PrinterStateFile, EarlierStateFiles,
                         ::testing::Values(KeptFile{"factory model 3", "state-factory-model3.json", Factory3},
                                           KeptFile{"changed model 6", "state-changed-model6.json", Changed6},
                                           KeptFile{"raw bytes model 0", "state-raw-bytes-model0.json", RawBytes0}),
                         test::RowName());

}  // namespace
}  // namespace qm::printer
