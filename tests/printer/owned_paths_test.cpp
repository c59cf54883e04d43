// Paths the printer keeps for itself and must never take from anyone else: its state file
// (with the temporary each save writes) and the link to its serial terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../link/failing_files.h"
#include "printer/pty_port.h"
#include "printer/state_file.h"
#include "printer/virtual_printer.h"

namespace qm::printer {
namespace {

namespace fs = std::filesystem;

class Folder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillmark-owned-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    state_ = dir_ + "/st.json";
  }
  void TearDown() override {
    ::chmod(dir_.c_str(), 0700);
    fs::remove_all(dir_);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static StoredState WithWidth(int width) {
    StoredState s = FactoryState(1);
    s.media.paperWidth = width;
    return s;
  }
  static int WidthIn(const std::string& path) {
    StoredState s = FactoryState(1);
    bool exists = false;
    std::string error;
    return LoadStateFile(path, s, exists, error) && exists ? s.media.paperWidth : -1;
  }
  std::string dir_, state_;
};

// Another user who can write the folder links the name older versions wrote through to a
// file of the printer's user: the save neither follows it nor renames it into place.
TEST_F(Folder, APlantedLinkAtTheOldTemporaryNameIsNotFollowed) {
  const std::string victim = dir_ + "/victim";
  std::ofstream(victim) << "precious";
  ASSERT_EQ(::symlink(victim.c_str(), (state_ + ".tmp").c_str()), 0);
  std::string error;
  ASSERT_TRUE(SaveStateFile(state_, WithWidth(300), error)) << error;
  EXPECT_EQ(Read(victim), "precious");
  EXPECT_FALSE(fs::is_symlink(state_));
  EXPECT_EQ(WidthIn(state_), 300);
  EXPECT_EQ(Names(), (std::vector<std::string>{"st.json", "st.json.tmp", "victim"}));
}

TEST_F(Folder, AFirstStateFileIsPrivateAndALaterSaveKeepsTheFilesMode) {
  std::string error;
  ASSERT_TRUE(SaveStateFile(state_, WithWidth(300), error)) << error;
  EXPECT_EQ(fs::status(state_).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(::chmod(state_.c_str(), 0640), 0);
  ASSERT_TRUE(SaveStateFile(state_, WithWidth(400), error)) << error;
  struct stat st {};
  ASSERT_EQ(::stat(state_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

class StateWriteFails : public Folder, public ::testing::WithParamInterface<test::FailingCall> {};

TEST_P(StateWriteFails, KeepsTheOldFileOrTheNewOneWholeAndLeavesNoTemporary) {
  std::string error;
  ASSERT_TRUE(SaveStateFile(state_, WithWidth(300), error)) << error;
  test::FailingFiles files;
  files.failing = GetParam().call;
  EXPECT_FALSE(SaveStateFile(state_, WithWidth(400), error, files));
  EXPECT_NE(error.find(std::strerror(EIO)), std::string::npos) << error;
  EXPECT_EQ(WidthIn(state_), GetParam().oldFileKept ? 300 : 400);
  EXPECT_EQ(Names(), std::vector<std::string>{"st.json"});
}

INSTANTIATE_TEST_SUITE_P(Folder, StateWriteFails, ::testing::ValuesIn(test::kFailingCalls),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Folder, ASaveIsSyncedBeforeItsRenameAndTheFolderAfter) {
  test::FailingFiles files;
  std::string error;
  ASSERT_TRUE(SaveStateFile(state_, WithWidth(300), error, files)) << error;
  EXPECT_EQ(files.calls, test::kWholeWrite);
}

// A state the printer could not keep is refused when it starts, naming the file, instead
// of being replaced by a writable copy or losing every change until exit.
struct ReadOnlyCase {
  const char* name;
  bool folder;  // the folder is read-only, not the file
  const char* said;
};

class ReadOnlyState : public Folder, public ::testing::WithParamInterface<ReadOnlyCase> {};

TEST_P(ReadOnlyState, IsRefusedAtStartNamingTheFile) {
  std::string error;
  ASSERT_TRUE(SaveStateFile(state_, WithWidth(300), error)) << error;
  const std::string made = GetParam().folder ? dir_ : state_;
  ASSERT_EQ(::chmod(made.c_str(), GetParam().folder ? 0555 : 0444), 0);
  EXPECT_FALSE(ClaimStateFile(state_, error));
  EXPECT_EQ(error.rfind(state_ + ": ", 0), 0u) << error;
  EXPECT_NE(error.find(GetParam().said), std::string::npos) << error;
  ::chmod(made.c_str(), GetParam().folder ? 0700 : 0600);
  EXPECT_EQ(Names(), std::vector<std::string>{"st.json"}) << "no lock file made";
}

INSTANTIATE_TEST_SUITE_P(Folder, ReadOnlyState,
                         ::testing::Values(ReadOnlyCase{"File", false, "read-only"},
                                           ReadOnlyCase{"Folder", true, "cannot be written"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Folder, ASecondPrinterOnTheSameStateFileIsRefusedUntilTheFirstEnds) {
  int ready[2], release[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(release), 0);
  const pid_t first = ::fork();
  ASSERT_GE(first, 0);
  if (first == 0) {
    std::string error;
    const char said = ClaimStateFile(state_, error) ? 'y' : 'n';
    [[maybe_unused]] ssize_t n = ::write(ready[1], &said, 1);
    char c;
    n = ::read(release[0], &c, 1);
    ::_exit(0);
  }
  char said = 0;
  ASSERT_EQ(::read(ready[0], &said, 1), 1);
  ASSERT_EQ(said, 'y');
  std::string error;
  EXPECT_FALSE(ClaimStateFile(state_, error));
  EXPECT_EQ(error, state_ + ": another printer is using this state file; give each printer a state file of its own");
  ASSERT_EQ(::write(release[1], "x", 1), 1);
  ::waitpid(first, nullptr, 0);
  EXPECT_TRUE(ClaimStateFile(state_, error)) << error;
  EXPECT_TRUE(ClaimStateFile(state_, error)) << "a printer started again in this process keeps it: " << error;
  for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
}

TEST_F(Folder, TheClaimRemovesWhatInterruptedSavesLeftAndNothingElse) {
  for (const char* name : {"st.json.tmp", "st.json.tmp-0123456789abcdef", "st.json.tmp-notours", "other.json.tmp"}) {
    std::ofstream(dir_ + "/" + name) << "x";
  }
  std::string error;
  ASSERT_TRUE(ClaimStateFile(state_, error)) << error;
  EXPECT_EQ(Names(), (std::vector<std::string>{"other.json.tmp", "st.json.lock", "st.json.tmp-notours"}));
}

TEST_F(Folder, ALinkPlantedAtTheLockFileIsNotFollowed) {
  const std::string victim = dir_ + "/victim";
  std::ofstream(victim) << "precious";
  ASSERT_EQ(::symlink(victim.c_str(), (state_ + ".lock").c_str()), 0);
  std::string error;
  EXPECT_FALSE(ClaimStateFile(state_, error));
  EXPECT_NE(error.find(state_ + ".lock"), std::string::npos) << error;
  EXPECT_EQ(Read(victim), "precious");
}

// What is at the serial link's path before the printer makes its link there.
struct LinkCase {
  const char* name;
  const char* before;  // "", "stale" (a link to a terminal that is gone), "live" or "file"
  const char* refusal;  // empty when the printer takes the path
};

class SerialLink : public Folder, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(SerialLink, IsTakenOnlyWhereNoRunningPrinterHasIt) {
  const std::string link = dir_ + "/COM1";
  const std::string before = GetParam().before;
  PtyPort other(kSerial, "serial");
  std::string error;
  if (before == "stale") {
    ASSERT_EQ(::symlink("/dev/pts/no-such-terminal", link.c_str()), 0);
  }
  if (before == "live") {
    ASSERT_TRUE(other.Open(link, error)) << error;
  }
  if (before == "file") std::ofstream(link) << "not a link";
  const std::string was = fs::is_symlink(link) ? fs::read_symlink(link).string() : "";

  PtyPort port(kSerial, "serial");
  const bool opened = port.Open(link, error);
  EXPECT_EQ(opened, *GetParam().refusal == '\0') << error;
  if (opened) {
    EXPECT_EQ(fs::read_symlink(link), port.devicePath());
    port.Close();
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    return;
  }
  EXPECT_EQ(error.rfind(link + ": ", 0), 0u) << error;
  EXPECT_NE(error.find(GetParam().refusal), std::string::npos) << error;
  port.Close();
  EXPECT_TRUE(fs::exists(fs::symlink_status(link))) << "a refused printer removes nothing";
  if (!was.empty()) {
    EXPECT_EQ(fs::read_symlink(link), was);
  }
}

INSTANTIATE_TEST_SUITE_P(Folder, SerialLink,
                         ::testing::Values(LinkCase{"Nothing", "", ""}, LinkCase{"StaleLink", "stale", ""},
                                           LinkCase{"RunningPrintersLink", "live", "already links to /dev/pts/"},
                                           LinkCase{"AFile", "file", "not a symbolic link"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Folder, APrinterEndingLeavesALinkThatIsNoLongerItsOwn) {
  const std::string link = dir_ + "/COM1";
  PtyPort port(kSerial, "serial");
  std::string error;
  ASSERT_TRUE(port.Open(link, error)) << error;
  ASSERT_EQ(::unlink(link.c_str()), 0);
  ASSERT_EQ(::symlink("/dev/pts/someone-elses", link.c_str()), 0);  // made anew by another
  port.Close();
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), "/dev/pts/someone-elses");
}

TEST_F(Folder, ASecondVirtualPrinterOnTheSameSerialLinkDoesNotStart) {
  PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.serial = true;
  options.serialLink = dir_ + "/COM1";
  VirtualPrinter first(options);
  std::string error;
  ASSERT_TRUE(first.Start(error)) << error;
  VirtualPrinter second(options);
  EXPECT_FALSE(second.Start(error));
  EXPECT_NE(error.find(options.serialLink + ": already links to " + first.serialPath()), std::string::npos) << error;
  second.Stop();
  EXPECT_EQ(fs::read_symlink(options.serialLink), first.serialPath());
  first.Stop();
  EXPECT_FALSE(fs::exists(fs::symlink_status(options.serialLink)));
}

}  // namespace
}  // namespace qm::printer
