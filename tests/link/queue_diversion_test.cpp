// Keeping print queues off the port: what is recorded, changed and given back.
#include <gtest/gtest.h>

#include <map>

#include "fake_spooler.h"
#include "link/queue_diversion.h"

namespace qm {
namespace {

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

}  // namespace
}  // namespace qm
