// Keeping print queues off the port: what is recorded, changed and given back, how a URI
// names a port's device, and the journal that outlives a crash.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

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
  EXPECT_EQ(spooler.path(), dir_ + "/" + std::to_string(::getpid()));
  QueueMap map;
  DivertQueues("COM1:", map, spooler);
  EXPECT_EQ(fake.seen, (std::vector<std::string>{"A\tCOM1:\n", "A\tCOM1:\nC\tCOM1:\n",
                                                 "A\tCOM1:\nD\tCOM1:\n"}));
  EXPECT_EQ(fs::status(dir_).permissions() & fs::perms::all, fs::perms::owner_all);
  RestoreQueues(map, spooler);
  EXPECT_FALSE(fs::exists(spooler.path()));
  EXPECT_FALSE(fs::exists(spooler.path() + ".tmp"));
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

}  // namespace
}  // namespace qm
