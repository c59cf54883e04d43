// The command line `quillmark-cli`, runnable in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/connection_options.h"

namespace qm::cli {

// Runs one command line (the arguments after the program's name) and returns the exit
// status: 0 done, 1 the printer failed, 2 bad usage.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env = {});

// The same from main's arguments, against the real system.
int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace qm::cli
