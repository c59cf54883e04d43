// A CUPS server of a test's own: its own folder, socket, spool and logs, started and killed
// by the test; no system service is touched.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <cups/cups.h>

#include "temp_dir.h"

namespace qm::test {

// The program's path in the system folders, or empty.
inline std::string FindProgram(const char* program) {
  for (const char* dir : {"/usr/sbin", "/usr/bin", "/sbin", "/usr/local/sbin"}) {
    const std::string path = std::string(dir) + "/" + program;
    if (::access(path.c_str(), X_OK) == 0) return path;
  }
  return {};
}

// Output of a shell command line, with its status.
inline std::string ShellOutput(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return out;
  char buffer[512];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  const int result = ::pclose(pipe);
  if (status) *status = result;
  return out;
}

struct CupsdConfig {
  // Lines inside <Policy default> before its <Limit All>.
  std::string policy;
  // Lines added to cups-files.conf (ServerBin, FileDevice...).
  std::string files;
};

// Starts `cupsd -f` with the server root `dir` and its socket at dir/cups.sock, and waits
// for it to answer; an empty string when it does, else why not.
inline std::string StartCupsd(const std::string& cupsd, const std::string& dir, const CupsdConfig& config, pid_t& pid) {
  namespace fs = std::filesystem;
  for (const char* sub : {"state", "cache", "spool", "tmp", "log"}) fs::create_directories(dir + "/" + sub);
  std::ofstream(dir + "/cupsd.conf")
      << "Listen " << dir << "/cups.sock\n"  // a socket alone: no port to share with anyone
      << "LogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
      << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
      << "<Policy default>\n" << config.policy
      << "  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n</Policy>\n";
  std::ofstream(dir + "/cups-files.conf")
      << "ServerRoot " << dir << "\nStateDir " << dir << "/state\n"
      << "CacheDir " << dir << "/cache\nRequestRoot " << dir << "/spool\nTempDir " << dir << "/tmp\n"
      << "ErrorLog " << dir << "/log/error_log\nAccessLog " << dir << "/log/access_log\n"
      << "PageLog " << dir << "/log/page_log\n" << config.files;
  pid = ::fork();
  if (pid == 0) {
    const int out = ::open((dir + "/log/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, 1);
    ::dup2(out, 2);
    ::execl(cupsd.c_str(), "cupsd", "-f", "-c", (dir + "/cupsd.conf").c_str(), "-s",
            (dir + "/cups-files.conf").c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // A process start, not a test wait: poll until it answers, for a bounded time.
  const std::string socket = dir + "/cups.sock";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  for (;;) {
    http_t* http = httpConnect2(socket.c_str(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 200, nullptr);
    if (http) {
      httpClose(http);
      return {};
    }
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid || std::chrono::steady_clock::now() > deadline) {
      if (std::chrono::steady_clock::now() > deadline) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
      }
      pid = -1;
      return "the test's cupsd did not come up: " + Slurp(dir + "/log/out") + Slurp(dir + "/log/error_log");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace qm::test
