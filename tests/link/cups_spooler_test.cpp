// Print-queue diversion against a real CUPS server of the test's own: its own folder and
// socket, started and killed here; no system service is touched.
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include <cups/cups.h>

#include "link/cups/cups_spooler.h"
#include "link/cups/system_spooler.h"
#include "link/queue_journal.h"
#include "own_cupsd.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

using test::FindProgram;
using test::ShellOutput;
using test::Slurp;

// A `locked` server lets the user "admin" alone change a queue, as a system refuses a user
// who may not administer its printers.
std::string StartServer(const std::string& cupsd, const std::string& dir, bool locked, pid_t& pid) {
  // The server takes only device schemes it has a backend for; none of these ever runs.
  std::filesystem::create_directories(dir + "/bin/backend");
  for (const char* scheme : {"serial", "parallel"}) {
    const std::string backend = dir + "/bin/backend/" + scheme;
    std::ofstream(backend) << "#!/bin/sh\nexit 1\n";
    ::chmod(backend.c_str(), 0755);
  }
  test::CupsdConfig config;
  if (locked) config.policy = "  <Limit CUPS-Add-Modify-Printer>\n    AuthType None\n    Require user admin\n  </Limit>\n";
  config.files = "ServerBin " + dir + "/bin\n";
  return test::StartCupsd(cupsd, dir, config, pid);
}

class CupsServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string cupsd = FindProgram("cupsd");
    lpadmin_ = FindProgram("lpadmin");
    lpstat_ = FindProgram("lpstat");
    if (cupsd.empty() || lpadmin_.empty() || lpstat_.empty()) {
      skip_ = "cupsd, lpadmin or lpstat is not installed (Debian: cups-daemon, cups-client)";
      return;
    }
    char pattern[] = "/tmp/quillmark-cups-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    fs::create_directories(JournalDir());
    // libcups reads this once a thread, at its first use.
    ::setenv("CUPS_SERVER", (dir_ + "/main/cups.sock").c_str(), 1);
    skip_ = StartServer(cupsd, dir_ + "/main", false, servers_[0]);
    if (skip_.empty()) skip_ = StartServer(cupsd, dir_ + "/strict", true, servers_[1]);
  }

  static void TearDownTestSuite() {
    for (const pid_t server : servers_) {
      if (server <= 0) continue;
      ::kill(server, SIGTERM);
      ::waitpid(server, nullptr, 0);
    }
    if (!dir_.empty()) {
      std::error_code ec;
      fs::remove_all(dir_, ec);
    }
  }

  void SetUp() override {
    if (!skip_.empty()) GTEST_SKIP() << skip_;
    // Every test starts from the same three queues, whatever the one before left.
    for (const auto& [name, uri] : kQueues) AddQueue(name, uri);
    for (const auto& entry : fs::directory_iterator(JournalDir())) fs::remove(entry.path());
  }

  static void AddQueue(const std::string& name, const std::string& uri, const std::string& more = "") {
    int status = 0;
    const std::string out = ShellOutput(lpadmin_ + " -p " + name + " -v '" + uri + "' " + more, &status);
    ASSERT_EQ(status, 0) << out;
  }

  // The server's device URIs as lpstat prints them, for comparing byte for byte.
  static std::string Devices() { return ShellOutput(lpstat_ + " -v"); }

  static std::string UriOf(const std::string& name) {
    CupsSpooler spooler{DeviceMap{}};
    for (const PrintQueue& queue : spooler.LocalQueues()) {
      if (queue.name == name) return queue.port;
    }
    return "?";
  }

  static std::string JournalDir() { return dir_ + "/journal"; }
  static size_t JournalFiles() {
    return static_cast<size_t>(std::distance(fs::directory_iterator(JournalDir()), fs::directory_iterator()));
  }

  static constexpr std::pair<const char*, const char*> kQueues[] = {
      {"labels", "serial:/dev/ttyS0?baud=115200+bits=8+parity=none+flow=soft"},
      {"office", "parallel:/dev/lp0"},
      {"other", "serial:/dev/ttyS10"},  // COM11:, whose path begins with COM1:'s
  };

  static inline std::string dir_, lpadmin_, lpstat_, skip_;
  static inline pid_t servers_[2] = {-1, -1};
};

TEST_F(CupsServer, ConnectDivertsExactlyThePortsQueuesAndDisconnectGivesTheirUrisBack) {
  const std::string before = Devices();
  ASSERT_NE(before.find("device for other"), std::string::npos) << before;
  CupsSpooler cups{DeviceMap{}};
  JournaledSpooler spooler(cups, JournalDir());
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  DivertQueues("LPT1:", map, spooler);
  EXPECT_EQ(map, (QueueMap{{"labels", kQueues[0].second}, {"office", kQueues[1].second}}));
  EXPECT_EQ(UriOf("labels"), "file:///dev/null");
  EXPECT_EQ(UriOf("office"), "file:///dev/null");
  EXPECT_EQ(UriOf("other"), kQueues[2].second);
  EXPECT_EQ(ParseJournal(Slurp(spooler.path())), map);
  EXPECT_EQ(spooler.TakeNotice(), "");

  RestoreQueues(map, spooler);
  EXPECT_EQ(Devices(), before);
  EXPECT_EQ(JournalFiles(), 0u);
}

TEST_F(CupsServer, QueuesLeftDivertedByAKilledProgramComeBackAtTheNextStart) {
  const std::string before = Devices();
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    CupsSpooler cups{DeviceMap{}};
    JournaledSpooler spooler(cups, JournalDir());
    QueueMap map;
    DivertQueues("COM1:", map, spooler);
    DivertQueues("LPT1:", map, spooler);
    const char done = map.size() == 2 ? 'y' : 'n';
    [[maybe_unused]] const ssize_t n = ::write(ready[1], &done, 1);
    ::pause();  // holds the queues until it is killed
    ::_exit(0);
  }
  ::close(ready[1]);
  char done = 0;
  ASSERT_EQ(::read(ready[0], &done, 1), 1);
  ::close(ready[0]);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ASSERT_EQ(done, 'y');
  ASSERT_EQ(UriOf("labels"), "file:///dev/null");
  ASSERT_EQ(JournalFiles(), 1u);

  SystemSpooler next(DeviceMap{}, JournalDir(), 2000);
  ASSERT_TRUE(next.HasServer());
  EXPECT_EQ(Devices(), before);
  EXPECT_EQ(JournalFiles(), 0u);
  EXPECT_EQ(next.startNotice(),
            "Print queues left diverted by an earlier run have their ports back: labels, office.");
}

TEST_F(CupsServer, AServerThatWillNotChangeTheQueuesIsSaidOnceAndEveryQueueIsStillRecorded) {
  const std::string strict = dir_ + "/strict/cups.sock";
  for (const char* name : {"first", "second"}) {
    int status = 0;
    const std::string out = ShellOutput("CUPS_SERVER=" + strict + " " + lpadmin_ + " -U admin -p " + name + " -v serial:/dev/ttyS0", &status);
    ASSERT_EQ(status, 0) << out;
  }
  QueueMap map;
  size_t recorded = 0;
  std::string notice, again, journal, after;
  // libcups keeps its server a thread: this one talks to the strict server alone.
  std::thread([&] {
    cupsSetServer(strict.c_str());
    CupsSpooler cups{DeviceMap{}};
    JournaledSpooler spooler(cups, JournalDir());
    DivertQueues("COM1:", map, spooler);
    recorded = map.size();
    journal = Slurp(spooler.path());
    notice = spooler.TakeNotice();
    again = spooler.TakeNotice();
    RestoreQueues(map, spooler);
    after = ShellOutput("CUPS_SERVER=" + strict + " " + lpstat_ + " -v");
  }).join();
  EXPECT_EQ(recorded, 2u);  // recorded all the same, as the restore gives back what it recorded
  EXPECT_EQ(journal, "");   // nothing changed, so nothing to give back after a crash
  EXPECT_EQ(notice, "Print queues first, second could not be changed: not authorised to change print queues.");
  EXPECT_EQ(again, "");
  EXPECT_EQ(after, "device for first: serial:/dev/ttyS0\ndevice for second: serial:/dev/ttyS0\n");
  EXPECT_EQ(JournalFiles(), 0u);
}

TEST(CupsPortMatch, TheUriMustNameThePortsDevicePath) {
  DeviceMap devices;
  devices.Override("COM2", "/dev/ttyUSB0");
  const CupsSpooler spooler(devices);
  EXPECT_TRUE(spooler.UsesPort("serial:/dev/ttyUSB0?baud=9600", "COM2:"));
  EXPECT_FALSE(spooler.UsesPort("serial:/dev/ttyS1", "COM2:"));  // overridden away
  EXPECT_TRUE(spooler.UsesPort("serial:/dev/ttyS9", "COM10:"));
  EXPECT_FALSE(spooler.UsesPort("usb://Maker/Model", "USB"));  // no device path, nothing diverted
}

}  // namespace
}  // namespace qm
