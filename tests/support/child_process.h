// A program run as a child with its output caught in files, timed, and killed if it
// outlives its limit, so a test against a hung program fails instead of hanging.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace qm::test {

struct ChildResult {
  int status = -1;       // exit status, or 128 + signal
  bool killed = false;   // it outlived its limit and was killed
  int64_t elapsedMs = 0;
  std::string out;
  std::string err;
};

class ChildProcess {
 public:
  // Starts `args` (the program first) with `stdinBytes` on its standard input.
  explicit ChildProcess(const std::vector<std::string>& args, const std::string& stdinBytes = "") {
    char pattern[] = "/tmp/quillmark-child-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    std::ofstream(dir_ + "/in", std::ios::binary) << stdinBytes;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, (dir_ + "/in").c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (dir_ + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, (dir_ + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // Nothing else of the test's: a child holding a pty master or a peer's socket open
    // would keep alive what the test means to end.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    std::vector<std::string> all = args;
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    started_ = std::chrono::steady_clock::now();
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~ChildProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    std::filesystem::remove_all(dir_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // What it has written to standard output so far.
  std::string OutSoFar() const { return Slurp(dir_ + "/out"); }
  void Signal(int sig) const {
    if (pid_ > 0) ::kill(pid_, sig);
  }

  // Whether it has ended, killing it once `limitMs` have gone by since it started; the
  // result is kept for Finish, timed at the moment it was seen to end.
  bool Ended(int64_t limitMs) {
    if (ended_) return true;
    int status = 0;
    if (pid_ <= 0) {
      ended_ = true;
    } else if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      result_.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      pid_ = -1;
      ended_ = true;
    } else if (Elapsed() > limitMs && !result_.killed) {
      ::kill(pid_, SIGKILL);
      result_.killed = true;
    }
    if (ended_) result_.elapsedMs = Elapsed();
    return ended_;
  }

  // Waits for the end (see Ended) and collects what it wrote.
  ChildResult Finish(int64_t limitMs) {
    while (!Ended(limitMs)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    result_.out = Slurp(dir_ + "/out");
    result_.err = Slurp(dir_ + "/err");
    return result_;
  }

 private:
  int64_t Elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_)
        .count();
  }
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string dir_;
  pid_t pid_ = -1;
  bool ended_ = false;
  ChildResult result_;
  std::chrono::steady_clock::time_point started_;
};

}  // namespace qm::test
