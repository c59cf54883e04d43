// Runs the command line in-process against fakes, with the link's waits cut short.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "temp_dir.h"
#include "fake_clock.h"

namespace qm::cli::test {

using qm::test::TempDir;

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Short waits, so a printer that never answers costs milliseconds.
inline LinkTiming ShortTiming() {
  LinkTiming t;
  t.serialDefaults.readTotalConstantMs = 150;
  t.serialDefaults.writeTotalConstantMs = 20;
  t.serialDefaults.writeTotalMultiplierMs = 0;
  t.serialQuietGapMs = 20;
  t.usbReadWaitMs = 150;
  t.usbQuietGapMs = 20;
  t.tcpConnectWaitMs = 500;
  t.tcpReadWaitMs = 150;
  return t;
}

class CliHarness {
 public:
  CliHarness() {
    env.clock = &clock;
    env.timing = ShortTiming();
    env.devices = DeviceMap{};  // no QUILLMARK_* overrides from the test's environment
    env.in = &in;
  }

  CliRun Run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliRun run;
    run.status = RunCli(args, out, err, env);
    run.out = out.str();
    run.err = err.str();
    return run;
  }

  qm::test::FakeClock clock;
  std::istringstream in;
  CliEnvironment env;
};

// A scratch folder that goes away with the test.


inline size_t Count(const std::string& haystack, const std::string& needle) {
  size_t n = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++n;
  return n;
}

}  // namespace qm::cli::test
