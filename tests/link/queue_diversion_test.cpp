// Keeping print queues off the port: what is recorded, changed and given back, how a URI
// names a port's device, and the journal that outlives a crash.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include "failing_files.h"
#include "fake_spooler.h"
#include "link/queue_diversion.h"
#include "link/queue_journal.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::FakeSpooler;

TEST(QueueDiversion, TwoPortQueueIsDivertedWholeAndRestoredWhole) {
  FakeSpooler spooler;
  spooler.queues = {{"Labels", "LPT1:,COM1:"}, {"Office", "LPT2:"}};
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  EXPECT_EQ(spooler.PortOf("Labels"), "FILE:");
  EXPECT_EQ(spooler.PortOf("Office"), "LPT2:");
  EXPECT_EQ(map, (QueueMap{{"Labels", "LPT1:,COM1:"}}));
  RestoreQueues(map, spooler);
  EXPECT_EQ(spooler.PortOf("Labels"), "LPT1:,COM1:");
  EXPECT_TRUE(map.empty());
}

TEST(QueueDiversion, MatchIsAPlainCaseSensitiveSubstring) {
  struct Case {
    const char* choice;
    const char* queuePort;
    bool diverted;
  };
  const Case cases[] = {
      {"COM1:", "COM10:", false},   // "COM1:" is not inside "COM10:"
      {"COM1:", "COM1:", true},
      {"COM1:", "USB001,COM1:", true},
      {"COM10:", "COM10:", true},
      {"COM1:", "com1:", false},
      {"LPT1:", "LPT1:", true},
  };
  for (const Case& c : cases) {
    FakeSpooler spooler;
    spooler.queues = {{"Q", c.queuePort}};
    QueueMap map;
    DivertQueues(c.choice, map, spooler);
    EXPECT_EQ(map.size(), c.diverted ? 1u : 0u) << c.choice << " vs " << c.queuePort;
    EXPECT_EQ(spooler.PortOf("Q"), c.diverted ? "FILE:" : c.queuePort);
  }
}

TEST(QueueDiversion, NothingOnThePortMeansNothingRecordedOrRestored) {
  FakeSpooler spooler;
  spooler.queues = {{"A", "LPT1:"}};
  QueueMap map;
  DivertQueues("COM2:", map, spooler);
  EXPECT_TRUE(map.empty());
  RestoreQueues(map, spooler);
  EXPECT_TRUE(spooler.setCalls.empty());
}

TEST(QueueDiversion, AQueueThatCannotBeOpenedIsRecordedAndTheOthersStillChange) {
  FakeSpooler spooler;
  spooler.queues = {{"A", "COM1:"}, {"B", "COM1:"}};
  spooler.failures["A"] = Spooler::SetResult::kNotOpened;
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  EXPECT_EQ(map, (QueueMap{{"A", "COM1:"}, {"B", "COM1:"}}));
  EXPECT_EQ(spooler.PortOf("A"), "COM1:");
  EXPECT_EQ(spooler.PortOf("B"), "FILE:");
}

TEST(QueueDiversion, ASpoolerFailureStopsLaterChangesButNotTheRecord) {
  FakeSpooler spooler;
  spooler.queues = {{"A", "COM1:"}, {"B", "COM1:"}, {"C", "COM1:"}};
  spooler.failures["A"] = Spooler::SetResult::kFailed;
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  EXPECT_EQ(map.size(), 3u);
  EXPECT_EQ(spooler.setCalls, std::vector<std::string>{"A=FILE:"});
  EXPECT_EQ(spooler.PortOf("B"), "COM1:");
}

TEST(QueueDiversion, SecondDiversionKeepsTheFirstRecordedPort) {
  FakeSpooler spooler;
  spooler.queues = {{"A", "COM1:"}};
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  spooler.queues[0].port = "COM1:,COM2:";  // changed behind our back meanwhile
  DivertQueues("COM1:", map, spooler);
  EXPECT_EQ(map.at("A"), "COM1:");
}

TEST(QueueDiversion, RestoreGoesOnPastAFailingQueueAndEmptiesTheMap) {
  FakeSpooler spooler;
  spooler.queues = {{"A", "FILE:"}, {"B", "FILE:"}};
  spooler.failures["A"] = Spooler::SetResult::kNotOpened;
  QueueMap map{{"A", "COM1:"}, {"B", "LPT1:"}};
  RestoreQueues(map, spooler);
  EXPECT_EQ(spooler.PortOf("B"), "LPT1:");
  EXPECT_EQ(spooler.setCalls, (std::vector<std::string>{"A=COM1:", "B=LPT1:"}));
  EXPECT_TRUE(map.empty());
}

TEST(QueueDiversion, WithoutASpoolerNothingHappens) {
  NoSpooler spooler;
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  EXPECT_TRUE(map.empty());
}


TEST(NamesDevice, ThePathMustNotRunOnIntoALongerName) {
  struct Case {
    const char* uri;
    const char* path;
    bool names;
  };
  const Case cases[] = {
      {"serial:/dev/ttyS1", "/dev/ttyS1", true},
      {"serial:/dev/ttyS10", "/dev/ttyS1", false},
      {"serial:/dev/ttyS1?baud=9600", "/dev/ttyS1", true},
      {"serial:/dev/ttyS10?baud=9600+x=/dev/ttyS1", "/dev/ttyS1", true},  // a later whole match
      {"serial:/dev/ttyS1#frag", "/dev/ttyS1", true},
      {"serial:/dev/ttyS1/", "/dev/ttyS1", false},
      {"serial:/dev/ttyS1.old", "/dev/ttyS1", false},
      {"parallel:/dev/lp0", "/dev/lp0", true},
      {"file:///dev/null", "/dev/lp0", false},
      {"serial:/dev/ttyS1", "", false},  // a port with no device names nothing
  };
  for (const Case& c : cases) EXPECT_EQ(NamesDevice(c.uri, c.path), c.names) << c.uri << " / " << c.path;
}

TEST(QueueJournal, NamesAndPortsSurviveTheRoundTripWithTheirOddCharacters) {
  const QueueMap map{{"Plain", "serial:/dev/ttyS0?baud=9600"},
                     {"Tab\there", "LPT1:,COM1:"},
                     {"Back\\slash\nline", "a\\tb"}};
  const std::string text = FormatJournal(map);
  EXPECT_EQ(text,
            "Back\\\\slash\\nline\ta\\\\tb\n"
            "Plain\tserial:/dev/ttyS0?baud=9600\n"
            "Tab\\there\tLPT1:,COM1:\n");
  EXPECT_EQ(ParseJournal(text), map);
  // A line cut short, one without a name and a last line without its line feed.
  EXPECT_EQ(ParseJournal("half\n\tnoname\nA\tCOM1:"), (QueueMap{{"A", "COM1:"}}));
}

class JournalDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillmark-journal-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    dir_ += "/queues";  // not there yet: the first diversion makes it
  }
  void TearDown() override { fs::remove_all(fs::path(dir_).parent_path()); }
  std::string Read(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // The number of a process that has ended.
  static pid_t EndedPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
  }
  std::string dir_;
};

// Reads the journal at the moment a queue is pointed away.
class PeekingSpooler : public FakeSpooler {
 public:
  std::string journal;
  std::vector<std::string> seen;
  SetResult SetQueuePort(const std::string& name, const std::string& port) override {
    std::ifstream in(journal);
    seen.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return FakeSpooler::SetQueuePort(name, port);
  }
};

TEST_F(JournalDir, EachQueueIsOnDiskBeforeItIsPointedAwayAndTheFileGoesWithTheLast) {
  PeekingSpooler fake;
  fake.queues = {{"A", "COM1:"}, {"B", "LPT1:"}, {"C", "COM1:"}, {"D", "COM1:"}};
  fake.failures["C"] = Spooler::SetResult::kNotOpened;  // refused: still on its port
  JournaledSpooler spooler(fake, dir_);
  fake.journal = spooler.path();
  // A name of this run's own, not the process number another run may have had.
  EXPECT_EQ(fs::path(spooler.path()).parent_path(), dir_);
  EXPECT_EQ(fs::path(spooler.path()).filename().string().rfind("run-", 0), 0u) << spooler.path();
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  EXPECT_EQ(fake.seen, (std::vector<std::string>{"A\tCOM1:\n", "A\tCOM1:\nC\tCOM1:\n",
                                                 "A\tCOM1:\nD\tCOM1:\n"}));
  EXPECT_EQ(fs::status(dir_).permissions() & fs::perms::all, fs::perms::owner_all);
  RestoreQueues(map, spooler);
  EXPECT_FALSE(fs::exists(spooler.path()));
  EXPECT_FALSE(fs::exists(dir_) && !fs::is_empty(dir_)) << "no temporary left beside it";
}

TEST_F(JournalDir, AQueueTheSpoolerCouldNotBeReachedForStaysInTheJournal) {
  FakeSpooler fake;
  fake.queues = {{"A", "COM1:"}, {"B", "COM1:"}};
  JournaledSpooler spooler(fake, dir_);
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  fake.failures["A"] = Spooler::SetResult::kFailed;     // server gone: still away
  fake.failures["B"] = Spooler::SetResult::kNotOpened;  // refused: retrying will not help
  RestoreQueues(map, spooler);
  EXPECT_EQ(Read(spooler.path()), "A\tCOM1:\n");
}

TEST_F(JournalDir, AJournalThatCannotBeWrittenIsSaidOnceAndTheQueuesStillGo) {
  std::ofstream(fs::path(dir_).parent_path() / "file") << "x";
  FakeSpooler fake;
  fake.queues = {{"A", "COM1:"}, {"B", "COM1:"}};
  JournaledSpooler spooler(fake, (fs::path(dir_).parent_path() / "file").string());  // not a folder
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  EXPECT_EQ(fake.PortOf("B"), "FILE:");
  const std::string notice = spooler.TakeNotice();
  EXPECT_EQ(notice.rfind("The diverted queues could not be recorded: ", 0), 0u) << notice;
  EXPECT_EQ(spooler.TakeNotice(), "");
}

TEST_F(JournalDir, TheNextStartRestoresOnlyWhatEndedProgramsLeft) {
  const pid_t ended = EndedPid();
  const std::string dead = dir_ + "/" + std::to_string(ended);
  const std::string live = dir_ + "/" + std::to_string(::getppid());
  ASSERT_EQ(WriteJournal(dead, {{"A", "COM1:"}, {"B", "LPT1:"}, {"Gone", "COM2:"}}), "");
  ASSERT_EQ(WriteJournal(live, {{"Held", "COM3:"}}), "");
  std::ofstream(dead + ".tmp") << "half a wri";
  std::ofstream(dir_ + "/notes") << "Stray\tCOM1:\n";
  FakeSpooler fake;
  fake.queues = {{"A", "FILE:"}, {"B", "FILE:"}, {"Gone", "FILE:"}, {"Held", "FILE:"}, {"Stray", "FILE:"}};
  fake.failures["Gone"] = Spooler::SetResult::kFailed;

  EXPECT_EQ(RestoreLeftoverQueues(dir_, fake), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(fake.PortOf("A"), "COM1:");
  EXPECT_EQ(fake.PortOf("B"), "LPT1:");
  EXPECT_EQ(fake.PortOf("Held"), "FILE:");   // its program still runs
  EXPECT_EQ(fake.PortOf("Stray"), "FILE:");  // not a journal
  EXPECT_EQ(Read(dead), "Gone\tCOM2:\n");    // tried again next time
  EXPECT_EQ(Read(live), "Held\tCOM3:\n");
  EXPECT_FALSE(fs::exists(dead + ".tmp"));

  fake.failures.clear();
  EXPECT_EQ(RestoreLeftoverQueues(dir_, fake), (std::vector<std::string>{"Gone"}));
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(RestoreLeftoverQueues(dir_ + "/none", fake).empty());
}

// The files in the journal folder.
std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A container's first process is 1 on every run: a run that ended holding a queue and the
// next one, with the same process number, each keep their own journal.
TEST_F(JournalDir, ARunWithTheSameProcessNumberNeitherSkipsNorOverwritesAnEndedRunsJournal) {
  FakeSpooler fake;
  fake.queues = {{"First", "serial:/dev/ttyS0"}, {"Second", "serial:/dev/ttyS0"}, {"Other", "parallel:/dev/lp0"}};
  std::string firstJournal;
  {
    JournaledSpooler ended(fake, dir_);
    QueueMap map;
    fake.queues[1].port = "LPT1:";  // not on the port in the first run
    DivertQueues("ttyS0", map, ended);
    firstJournal = ended.path();
  }  // ended while holding First: its journal stays, unlocked
  fake.queues[1].port = "serial:/dev/ttyS0";
  JournaledSpooler next(fake, dir_);
  EXPECT_NE(next.path(), firstJournal);
  QueueMap map;
  DivertQueues("ttyS0", map, next);  // Second now; First is still away from the earlier run
  EXPECT_EQ(Read(firstJournal), "First\tserial:/dev/ttyS0\n") << "the ended run's journal is not written over";
  EXPECT_EQ(Read(next.path()), "Second\tserial:/dev/ttyS0\n");

  // The start after: the ended run's queue comes back, the live run's journal is left alone.
  EXPECT_EQ(RestoreLeftoverQueues(dir_, fake), std::vector<std::string>{"First"});
  EXPECT_EQ(fake.PortOf("First"), "serial:/dev/ttyS0");
  EXPECT_EQ(fake.PortOf("Second"), "FILE:");
  EXPECT_FALSE(fs::exists(firstJournal));
  EXPECT_TRUE(fs::exists(next.path()));
  RestoreQueues(map, next);
  EXPECT_EQ(fake.PortOf("Second"), "serial:/dev/ttyS0");
  EXPECT_EQ(Names(dir_), std::vector<std::string>{});
}

TEST_F(JournalDir, AnOldJournalNamedByOurOwnProcessNumberIsAnEarlierRunsAndIsRestored) {
  ASSERT_EQ(WriteJournal(dir_ + "/" + std::to_string(::getpid()), {{"A", "COM1:"}}), "");
  FakeSpooler fake;
  fake.queues = {{"A", "FILE:"}};
  EXPECT_EQ(RestoreLeftoverQueues(dir_, fake), std::vector<std::string>{"A"});
  EXPECT_EQ(fake.PortOf("A"), "COM1:");
  EXPECT_EQ(Names(dir_), std::vector<std::string>{});
}

TEST_F(JournalDir, AJournalOfARunInAnotherProcessIsLeftWhileThatRunLives) {
  int ready[2], release[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(release), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    FakeSpooler fake;
    fake.queues = {{"A", "COM1:"}};
    JournaledSpooler spooler(fake, dir_);
    QueueMap map;
    DivertQueues("COM1:", map, spooler);
    [[maybe_unused]] ssize_t n = ::write(ready[1], "y", 1);
    char c;
    n = ::read(release[0], &c, 1);
    ::_exit(0);  // ends holding A, as a killed run would
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  FakeSpooler fake;
  fake.queues = {{"A", "FILE:"}};
  EXPECT_TRUE(RestoreLeftoverQueues(dir_, fake).empty()) << "its run still holds the port";
  EXPECT_EQ(Names(dir_).size(), 1u);
  ASSERT_EQ(::write(release[1], "x", 1), 1);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(RestoreLeftoverQueues(dir_, fake), std::vector<std::string>{"A"});
  EXPECT_EQ(Names(dir_), std::vector<std::string>{});
  for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
}

// Someone points a diverted queue elsewhere while it is away: the change stays, whether
// this run gives the queues back or a later start does, and the notice names the queue.
struct ChangedQueueCase {
  const char* name;
  bool leftover;  // given back by the next start rather than by the run itself
};

class ChangedQueue : public JournalDir, public ::testing::WithParamInterface<ChangedQueueCase> {};

TEST_P(ChangedQueue, KeepsTheAdministratorsPortAndIsReported) {
  FakeSpooler fake;
  fake.queues = {{"A", "COM1:"}, {"B", "COM1:"}, {"C", "COM1:"}};
  auto spooler = std::make_unique<JournaledSpooler>(fake, dir_);
  QueueMap map;
  DivertQueues("COM1:", map, *spooler);
  fake.queues[0].port = "socket://10.0.0.9";  // an administrator's new device for A
  fake.queues[2].port = "COM1:";              // C put back by hand: nothing to say
  fake.setCalls.clear();
  std::vector<std::string> changed;
  std::string notice;
  if (GetParam().leftover) {
    spooler.reset();
    EXPECT_EQ(RestoreLeftoverQueues(dir_, fake, &changed), std::vector<std::string>{"B"});
    notice = KeptQueuesNotice(changed);
  } else {
    RestoreQueues(map, *spooler);
    notice = spooler->TakeNotice();
    spooler.reset();
  }
  EXPECT_EQ(fake.PortOf("A"), "socket://10.0.0.9");
  EXPECT_EQ(fake.PortOf("B"), "COM1:");
  EXPECT_EQ(fake.setCalls, std::vector<std::string>{"B=COM1:"});
  EXPECT_EQ(notice, "Print queues changed while they were diverted keep their new ports: A.");
  EXPECT_EQ(Names(dir_), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(JournalDir, ChangedQueue,
                         ::testing::Values(ChangedQueueCase{"ByTheRun", false}, ChangedQueueCase{"AtTheNextStart", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A journal whose write fails part way: the one on disk stays whole, and no temporary is left.
class JournalWriteFails : public JournalDir, public ::testing::WithParamInterface<test::FailingCall> {};

TEST_P(JournalWriteFails, KeepsTheOldJournalOrTheNewOneWholeAndLeavesNoTemporary) {
  const std::string path = dir_ + "/run-journal";
  ASSERT_EQ(WriteJournal(path, {{"A", "COM1:"}}), "");
  test::FailingFiles files;
  files.failing = GetParam().call;
  const std::string error = WriteJournal(path, {{"A", "COM1:"}, {"B", "LPT1:"}}, files);
  EXPECT_NE(error.find(std::strerror(EIO)), std::string::npos) << error;
  EXPECT_EQ(Read(path), GetParam().oldFileKept ? "A\tCOM1:\n" : "A\tCOM1:\nB\tLPT1:\n");
  EXPECT_EQ(Names(dir_), std::vector<std::string>{"run-journal"});
}

INSTANTIATE_TEST_SUITE_P(JournalDir, JournalWriteFails, ::testing::ValuesIn(test::kFailingCalls),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(JournalDir, EveryJournalWriteIsSyncedBeforeItsRenameAndTheFolderAfter) {
  FakeSpooler fake;
  fake.queues = {{"A", "COM1:"}};
  test::FailingFiles files;
  JournaledSpooler spooler(fake, dir_, files);
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  EXPECT_EQ(files.calls, test::kWholeWrite);
  EXPECT_EQ(spooler.TakeNotice(), "");
}

TEST_F(JournalDir, AFailedSyncLeavesNoJournalOrTemporaryAndIsSaid) {
  FakeSpooler fake;
  fake.queues = {{"A", "COM1:"}};
  test::FailingFiles files;
  files.failing = "fsync";
  JournaledSpooler spooler(fake, dir_, files);
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  EXPECT_EQ(Names(dir_), std::vector<std::string>{});
  const std::string notice = spooler.TakeNotice();
  EXPECT_EQ(notice.rfind("The diverted queues could not be recorded: ", 0), 0u) << notice;
  EXPECT_NE(notice.find(std::strerror(EIO)), std::string::npos) << notice;
}

}  // namespace
}  // namespace qm
