// quillmark-printer, the real program, keeps its settings in a state file while clients
// change them: a reader must never find that file torn, not even when the printer is killed
// in the middle of saving it, and what a killed printer left must start the next one.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "child_process.h"
#include "printer/state_file.h"

namespace qm::printer {
namespace {

using test::ChildProcess;

// A started printer and the loopback port it took.
struct RunningPrinter {
  std::unique_ptr<ChildProcess> process;
  uint16_t port = 0;
};

std::optional<RunningPrinter> StartPrinter(const std::string& stateFile) {
  RunningPrinter p;
  p.process = std::make_unique<ChildProcess>(
      std::vector<std::string>{QUILLMARK_PRINTER_BINARY, "--listen", "127.0.0.1:0", "--state", stateFile});
  const std::string said = "listening on 127.0.0.1:";
  for (int i = 0; i < 2000; ++i) {
    const std::string out = p.process->OutSoFar();
    const size_t at = out.find(said);
    if (at != std::string::npos && out.find('\n', at) != std::string::npos) {
      p.port = static_cast<uint16_t>(std::stoi(out.substr(at + said.size())));
      return p;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return std::nullopt;
}

int Connect(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(port);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The paper width the printer reports, or -1.
int QueryWidth(uint16_t port) {
  const int fd = Connect(port);
  if (fd < 0) return -1;
  ::send(fd, "^PI5,0\r\n", 8, MSG_NOSIGNAL);
  std::string reply;
  char buf[64];
  timeval wait{5, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  while (reply.find("\r\n") == std::string::npos) {
    const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    reply.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return reply.find("\r\n") == std::string::npos ? -1 : std::stoi(reply);
}

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Reads the file over and over while it runs; every read must be a whole state document.
class Watcher {
 public:
  explicit Watcher(std::string path) : path_(std::move(path)) {
    thread_ = std::thread([this] {
      while (!stop_) {
        const std::optional<std::string> text = ReadWhole(path_);
        if (!text) {
          Fail("the file was missing");
          continue;
        }
        StoredState state;
        std::string error;
        if (!StateFromJson(*text, state, error)) {
          Fail(error + " in: " + *text);
          continue;
        }
        std::lock_guard lock(mutex_);
        ++reads_;
        widths_.insert(state.media.paperWidth);
      }
    });
  }
  ~Watcher() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  std::string failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
  }
  size_t reads() const {
    std::lock_guard lock(mutex_);
    return reads_;
  }
  std::set<int> widths() const {
    std::lock_guard lock(mutex_);
    return widths_;
  }

 private:
  void Fail(const std::string& what) {
    std::lock_guard lock(mutex_);
    if (failure_.empty()) failure_ = what;
  }
  std::string path_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::string failure_;
  size_t reads_ = 0;
  std::set<int> widths_;
};

// Paper widths the test sends: all of them valid, none the factory's 812.
int WidthAt(int n) { return 100 + (n * 37) % 700; }

TEST(StateFileFaults, AKilledPrinterNeverLeavesATornFile) {
  char pattern[] = "/tmp/quillmark-state-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  const std::string file = dir + "/state.json";
  std::set<int> sent{812};
  std::set<int> widthsSeen;
  int n = 0;
  // Kill points spread over the printer's save interval, so some land inside a save.
  const int killAfterMs[] = {230, 470, 610, 890};
  for (const int killAt : killAfterMs) {
    SCOPED_TRACE("killed after " + std::to_string(killAt) + " ms");
    if (killAt == 610) {
      // What a kill in the middle of writing the temporary file would leave beside it.
      std::ofstream(file + ".tmp") << "{\"format\": \"quillmark-printer-state\", \"vers";
    }
    std::optional<RunningPrinter> printer = StartPrinter(file);
    ASSERT_TRUE(printer) << "the printer did not start";
    Watcher watcher(file);
    const int fd = Connect(printer->port);
    ASSERT_GE(fd, 0);
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(killAt)) {
      const int width = WidthAt(++n);
      sent.insert(width);
      const std::string command = "^MBU0," + std::to_string(width) + "\r";
      ::send(fd, command.data(), command.size(), MSG_NOSIGNAL);
      std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    printer->process->Signal(SIGKILL);
    const test::ChildResult end = printer->process->Finish(10000);
    ::close(fd);
    // A little longer, for a torn file to be seen if the kill left one.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    watcher.Stop();
    EXPECT_EQ(end.status, 128 + SIGKILL);
    EXPECT_EQ(watcher.failure(), "");
    EXPECT_GT(watcher.reads(), 0u);

    // What is left loads, holds a width that was sent, and starts the next printer with it.
    StoredState left;
    bool exists = false;
    std::string error;
    ASSERT_TRUE(LoadStateFile(file, left, exists, error)) << error;
    ASSERT_TRUE(exists);
    EXPECT_EQ(sent.count(left.media.paperWidth), 1u) << left.media.paperWidth;
    std::optional<RunningPrinter> next = StartPrinter(file);
    ASSERT_TRUE(next) << "a printer did not start from what the killed one left";
    EXPECT_EQ(QueryWidth(next->port), left.media.paperWidth);
    next->process->Signal(SIGTERM);
    const test::ChildResult stopped = next->process->Finish(10000);
    EXPECT_EQ(stopped.status, 0) << stopped.err;
    const std::set<int> seen = watcher.widths();
    widthsSeen.insert(seen.begin(), seen.end());
  }
  // Saves happened all along, not only at the start and the end.
  EXPECT_GE(widthsSeen.size(), 5u);
  std::filesystem::remove_all(dir);
}

// Another user who can write the folder links the temporary's old fixed name to a file of
// the printer's user: the running printer saves beside it, and the file stays as it was.
TEST(StateFileFaults, APrinterNeverWritesThroughALinkPlantedAtTheOldTemporaryName) {
  char pattern[] = "/tmp/quillmark-state-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  const std::string file = dir + "/state.json";
  const std::string victim = dir + "/victim";
  std::ofstream(victim) << "precious";
  ASSERT_EQ(::symlink(victim.c_str(), (file + ".tmp").c_str()), 0);
  std::optional<RunningPrinter> printer = StartPrinter(file);
  ASSERT_TRUE(printer) << "the printer did not start";
  const int fd = Connect(printer->port);
  ASSERT_GE(fd, 0);
  ::send(fd, "^MBU0,345\r", 10, MSG_NOSIGNAL);
  ::close(fd);
  EXPECT_EQ(QueryWidth(printer->port), 345);
  printer->process->Signal(SIGTERM);
  const test::ChildResult end = printer->process->Finish(10000);
  EXPECT_EQ(end.status, 0) << end.err;
  EXPECT_EQ(ReadWhole(victim), std::optional<std::string>("precious"));
  EXPECT_FALSE(std::filesystem::is_symlink(file));
  StoredState left;
  bool exists = false;
  std::string error;
  ASSERT_TRUE(LoadStateFile(file, left, exists, error)) << error;
  EXPECT_EQ(left.media.paperWidth, 345);
  std::filesystem::remove_all(dir);
}

// The real program claims its state at start: a second printer on the same file, and a
// file it could not keep, are refused then, naming the file, with nothing written.
TEST(StateFileFaults, AStateThePrinterCannotKeepIsRefusedAtStart) {
  char pattern[] = "/tmp/quillmark-claim-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  const std::string state = dir + "/st.json";
  {
    std::optional<RunningPrinter> first = StartPrinter(state);
    ASSERT_TRUE(first.has_value());
    ChildProcess second({QUILLMARK_PRINTER_BINARY, "--listen", "127.0.0.1:0", "--state", state});
    const test::ChildResult r = second.Finish(5000);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quillmark-printer: " + state +
                         ": another printer is using this state file; give each printer a state file of its own\n");
    EXPECT_EQ(r.out, "") << "the second printer must not listen";
  }
  // Read-only for its owner: refused rather than replaced by a writable copy at the first
  // save. (As root the mode bits are what says so.)
  std::filesystem::permissions(state, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                          std::filesystem::perms::others_read);
  const auto slurp = [&] {
    std::ifstream in(state, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string before = slurp();
  ChildProcess readOnly({QUILLMARK_PRINTER_BINARY, "--listen", "127.0.0.1:0", "--state", state});
  const test::ChildResult r = readOnly.Finish(5000);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(state + ": the state file is read-only"), std::string::npos) << r.err;
  EXPECT_EQ(slurp(), before);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qm::printer
