// `info` on a fleet of virtual printers, timed end to end: the real quillmark-cli with a hosts
// file of 1, 10, 100 and 1000 printers on loopback, at several --jobs. One line a run:
//   printers=N jobs=J wall_ms=... printers_per_s=... exit=0
// The printers are served from this process, one poll thread each, so the CLI's cost is what
// is measured; every run must end with exit 0 (every printer answered).
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "printer/virtual_printer.h"

extern char** environ;

namespace {

int RunCli(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(QUILLMARK_CLI_PATH));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return -1;
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  // The printers' listeners and connections, and the CLI's, each hold a descriptor.
  rlimit limit{};
  ::getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = limit.rlim_max;
  ::setrlimit(RLIMIT_NOFILE, &limit);

  const size_t most = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000;
  std::vector<std::unique_ptr<qm::printer::VirtualPrinter>> printers;
  std::vector<std::string> hosts;
  for (size_t i = 0; i < most; ++i) {
    qm::printer::PrinterOptions options;
    options.listen = "127.0.0.1:0";
    options.idleTimeoutMs = 0;
    auto printer = std::make_unique<qm::printer::VirtualPrinter>(options);
    std::string error;
    if (!printer->Start(error)) {
      std::fprintf(stderr, "printer %zu: %s\n", i, error.c_str());
      return 1;
    }
    hosts.push_back("tcp://127.0.0.1:" + std::to_string(printer->tcpPort()));
    printers.push_back(std::move(printer));
  }

  char folder[] = "/tmp/quillmark-fleet-XXXXXX";
  if (!::mkdtemp(folder)) return 1;
  int failures = 0;
  for (const size_t count : {size_t{1}, size_t{10}, size_t{100}, size_t{1000}}) {
    if (count > most) break;
    const std::string file = std::string(folder) + "/hosts-" + std::to_string(count);
    std::ofstream(file) << [&] {
      std::string text;
      for (size_t i = 0; i < count; ++i) text += hosts[i] + "\n";
      return text;
    }();
    for (const int jobs : {16, 64, 128, 256}) {
      if (jobs > 16 && static_cast<size_t>(jobs) / 4 > count) continue;  // more jobs than work says nothing
      const auto start = std::chrono::steady_clock::now();
      const int exit = RunCli({"--hosts", file, "--jobs", std::to_string(jobs), "info"});
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      std::printf("printers=%zu jobs=%d wall_ms=%.0f printers_per_s=%.0f exit=%d\n", count, jobs, ms,
                  static_cast<double>(count) * 1000.0 / ms, exit);
      std::fflush(stdout);
      failures += exit != 0;
    }
    std::remove(file.c_str());
  }
  ::rmdir(folder);
  for (auto& printer : printers) printer->Stop();
  return failures ? 1 : 0;
}
