// The command line keeps the print queues off a serial or parallel port for the length of
// a command, and gives them back however the command ends.
#include <gtest/gtest.h>

#include "cli_harness.h"
#include "fake_spooler.h"
#include "pty_pair.h"

namespace qm::cli::test {
namespace {

TEST(CliDivert, SerialCommandsDivertTheirPortsQueuesForTheirLengthUnlessTold) {
  qm::test::PtyPair pty;
  TempDir dir;
  const std::string file = dir.Write("label.txt", "^L\r\nE\r\n");
  struct Case {
    const char* label;
    std::vector<std::string> args;
    int status;
    std::vector<std::string> calls;
  };
  const std::vector<std::string> both{"Labels=FILE:", "Labels=COM1:"};
  const Case cases[] = {
      {"sent", {"--port", pty.path(), "send", file}, 0, both},
      {"told not to", {"--port", pty.path(), "--no-divert", "send", file}, 0, {}},
      {"port that does not open", {"--port", dir.path() + "/ttyS0", "send", file}, 1, both},
      {"not serial or parallel", {"--port", "tcp://127.0.0.1:1", "send", file}, 1, {}},
  };
  for (const Case& c : cases) {
    CliHarness cli;
    qm::test::FakeSpooler spooler;
    spooler.queues = {{"Labels", "COM1:"}, {"Other", "COM10:"}};
    spooler.notice = "Print queue Labels could not be changed: not authorised to change print queues.";
    cli.env.spooler = &spooler;
    const CliRun run = cli.Run(c.args);
    EXPECT_EQ(run.status, c.status) << c.label << ": " << run.err;
    EXPECT_EQ(spooler.setCalls, c.calls) << c.label;
    // Said once on stderr, and only where there was something to divert.
    EXPECT_EQ(Count(run.err, "could not be changed"), c.calls.empty() ? 0u : 1u) << c.label << ": " << run.err;
  }
}

}  // namespace
}  // namespace qm::cli::test
