// From process start to the main window on screen, and the memory that took: the real
// program, started with the offscreen platform and told to leave once its window shows.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace {

void BM_StartToMainWindow(benchmark::State& state) {
  std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen", "QUILLMARK_EXIT_AFTER_SHOW=1",
                               "XDG_RUNTIME_DIR=/tmp"};
  for (char** e = environ; *e; ++e) {
    const std::string v(*e);
    if (v.rfind("QT_QPA_PLATFORM=", 0) != 0 && v.rfind("XDG_RUNTIME_DIR=", 0) != 0) env.push_back(v);
  }
  std::vector<char*> envp;
  for (auto& v : env) envp.push_back(v.data());
  envp.push_back(nullptr);
  std::string program = QUILLMARK_GUI_PATH;
  char* argv[] = {program.data(), nullptr};
  long maxRssKb = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
      state.SkipWithError("cannot start the program");
      break;
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(elapsed.count());
    maxRssKb = std::max(maxRssKb, usage.ru_maxrss);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program did not end cleanly");
      break;
    }
  }
  state.counters["max_rss_MB"] = static_cast<double>(maxRssKb) / 1024.0;
}

BENCHMARK(BM_StartToMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
