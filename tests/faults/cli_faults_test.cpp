// quillmark-cli, the real program, against printers that fail on purpose: each run must
// end within the link's own time-out (plus a margin for a loaded machine), say on stderr
// what went wrong, exit with the failure status, and leave the file it sends untouched.
#include <gtest/gtest.h>

#include "temp_dir.h"
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <regex>
#include <thread>

#include "child_process.h"
#include "hostile_peer.h"
#include "pty_pair.h"

namespace qm {
namespace {

using test::ChildProcess;
using test::ChildResult;
using test::HostilePeer;
using test::PeerStep;

// The link's waits as the program ships them.
constexpr int64_t kReadWaitMs = 5000;      // an Ethernet reply
constexpr int64_t kStallMs = 3000;         // a printer taking no data, normally
constexpr int64_t kDownloadStallMs = 20000;  // the same while a download runs
// ASan on two busy cores: seconds, not milliseconds.
constexpr int64_t kMarginMs = 8000;

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
  return s;
}

// A script of `n` bytes: lines of text, as send takes them.
std::string Lines(size_t n) {
  std::string s;
  while (s.size() < n) s += "T20,20,0,1,1,0,0,N,N,'" + std::to_string(s.size()) + "'\r\n";
  return s.substr(0, n);
}

// A one-bit PCX of exactly `n` bytes (at least its 128-byte header): 64 dots wide, as many
// rows as fit, the bytes of the pattern kept below the run-length marks.
std::string Pcx(size_t n) {
  std::string s = Pattern(n);
  for (char& c : s) c = static_cast<char>(c & 0x3F);
  const size_t rows = (n - 128) / 8;
  std::string h(128, '\0');
  h[0] = 0x0A;
  h[1] = 5;
  h[2] = 1;
  h[3] = 1;
  h[8] = 63;
  h[10] = static_cast<char>((rows - 1) & 0xFF);
  h[11] = static_cast<char>((rows - 1) >> 8);
  h[65] = 1;
  h[66] = 8;
  return h + s.substr(128);
}

enum class Content { kBytes, kLines, kPcx };

std::string Made(Content content, size_t size) {
  switch (content) {
    case Content::kLines: return Lines(size);
    case Content::kPcx: return Pcx(size);
    case Content::kBytes: break;
  }
  return Pattern(size);
}

// A file with its bytes and its modification time, to prove a failed send left it alone.
struct SourceFile {
  std::string path;
  std::string bytes;
  timespec mtime{};

  SourceFile(const std::string& dir, size_t size, Content content)
      : path(dir + "/source.bin"), bytes(Made(content, size)) {
    std::ofstream(path, std::ios::binary) << bytes;
    struct stat st {};
    ::stat(path.c_str(), &st);
    mtime = st.st_mtim;
  }
  bool Untouched() const {
    std::ifstream in(path, std::ios::binary);
    const std::string now((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    struct stat st {};
    ::stat(path.c_str(), &st);
    return now == bytes && st.st_mtim.tv_sec == mtime.tv_sec && st.st_mtim.tv_nsec == mtime.tv_nsec;
  }
};

using ScratchDir = qm::test::TempDir;

struct Case {
  const char* name;
  std::vector<PeerStep> script;
  int receiveBuffer;               // > 0: a window that fills at once
  size_t fileBytes;                // > 0: a source file, named by FILE in the arguments
  std::vector<std::string> args;   // after --port
  int status;
  // The whole of stderr; for a partial transfer (\d+) is the count sent, which must be
  // at least what the peer read and short of the file.
  std::string err;
  std::string out;
  int64_t atLeastMs;
  int64_t withinMs;                // before the margin
  int64_t underMs = 0;             // > 0: a bound with no margin, for a wait that must not happen
};

const std::string kWidthQuery = "^PI5,0\r\n";

std::vector<Case> Cases() {
  const auto readQuery = PeerStep::ReadUntil("\r\n");
  return {
      {"download: the printer closes the connection after 8 KiB",
       {PeerStep::Read(8192), PeerStep::Close()}, 0, 262144,
       {"download", "FILE"}, 1,
       "quillmark-cli: the download failed after (\\d+) of 262144 bytes were sent: the connection broke "
       "after \\1 bytes: (Connection reset by peer|Broken pipe)\n",
       "", 0, 2000},
      {"pcx store: the printer closes the connection after 8 KiB of the image",
       {PeerStep::Read(8192), PeerStep::Close()}, 0, 30000,
       {"pcx", "store", "--name", "LOGO", "FILE"}, 1,
       "quillmark-cli: the download failed after (\\d+) of 30000 bytes were sent: the connection broke "
       "after \\1 bytes: (Connection reset by peer|Broken pipe)\n",
       "", 0, 2000},
      {"download: the printer never reads, its window full",
       {PeerStep::Hold()}, 1, 65536,
       {"download", "--pace", "0", "FILE"}, 1,
       "quillmark-cli: the download failed after (\\d+) of 65536 bytes were sent: the printer stopped "
       "taking data after \\1 bytes\n",
       "", kDownloadStallMs, kDownloadStallMs},
      {"send: the printer never reads, its window full",
       {PeerStep::Hold()}, 1, 65536,
       {"send", "FILE"}, 1,
       "quillmark-cli: .*the printer stopped taking data after (\\d+) of 65536 bytes\n",
       "", kStallMs, kStallMs},
      {"query: the reply comes after the read time-out",
       {readQuery, PeerStep::Wait(int{kReadWaitMs} + 3000), PeerStep::Send("812\r\n")}, 0, 0,
       {"query", "^PI5,0\\r\\n"}, 1, "quillmark-cli: no reply\n", "", kReadWaitMs, kReadWaitMs},
      {"get: the reply comes late but within the time-out",
       {readQuery, PeerStep::Wait(1500), PeerStep::Send("812\r\n")}, 0, 0,
       {"get", "paper-width"}, 0, "quillmark-cli: Getting paper width is successful\n", "Paper Width: 812\n", 1500,
       1500},
      // A reply known to end in CR LF is waited for across long pauses; a text reply that
      // may end without one is whole after a quiet gap instead (the reply-form tests).
      {"query --until line: the reply comes in pieces with pauses between",
       {readQuery, PeerStep::Send("8"), PeerStep::Wait(400), PeerStep::Send("12"), PeerStep::Wait(400),
        PeerStep::Send("\r\n")},
       0, 0, {"query", "--until", "line", "^PI5,0\\r\\n"}, 0, "", "812\\r\\n\n", 800, 800},
      {"get: the reply is garbage",
       {readQuery, PeerStep::Send("\x1b\xff#@!\r\n")}, 0, 0,
       {"get", "paper-width"}, 1,
       "quillmark-cli: Getting paper width is failed\nquillmark-cli: the reply \"\\\\x1B\xC3\xBF#@!\" is not a "
       "whole number\n",
       "", 0, 1000},
      {"get: the printer reads the query and vanishes",
       {readQuery, PeerStep::Close()}, 0, 0,
       {"get", "paper-width"}, 1, "quillmark-cli: Getting paper width is failed\nquillmark-cli: no reply\n", "", 0,
       1000, kReadWaitMs - 1000},
  };
}

// Every case at once, each with a peer of its own: the suite takes as long as its slowest
// time-out rather than the sum of them.
TEST(CliFaults, EthernetPrintersThatFail) {
  const std::vector<Case> cases = Cases();
  struct Running {
    std::unique_ptr<ScratchDir> dir;
    std::unique_ptr<SourceFile> file;
    std::unique_ptr<HostilePeer> peer;
    std::unique_ptr<ChildProcess> child;
  };
  std::vector<Running> running(cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    Running& r = running[i];
    r.dir = std::make_unique<ScratchDir>();
    const Content content = c.args.front() == "send" ? Content::kLines
                            : c.args.front() == "pcx" ? Content::kPcx
                                                      : Content::kBytes;
    if (c.fileBytes) r.file = std::make_unique<SourceFile>(r.dir->path(), c.fileBytes, content);
    r.peer = std::make_unique<HostilePeer>(c.script, c.receiveBuffer);
    std::vector<std::string> args{QUILLMARK_CLI_BINARY, "--port", r.peer->url()};
    for (const std::string& a : c.args) args.push_back(a == "FILE" ? r.file->path : a);
    r.child = std::make_unique<ChildProcess>(args);
  }
  // Each is timed as it ends, not as it is looked at.
  for (bool all = false; !all;) {
    all = true;
    for (size_t i = 0; i < cases.size(); ++i) all = running[i].child->Ended(cases[i].withinMs + kMarginMs) && all;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    Running& r = running[i];
    SCOPED_TRACE(c.name);
    const ChildResult run = r.child->Finish(c.withinMs + kMarginMs);
    EXPECT_FALSE(run.killed) << "still running after " << run.elapsedMs << " ms";
    EXPECT_GE(run.elapsedMs, c.atLeastMs);
    EXPECT_LE(run.elapsedMs, c.withinMs + kMarginMs);
    if (c.underMs) {
      EXPECT_LT(run.elapsedMs, c.underMs) << "waited for a reply from a closed connection";
    }
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, c.out);
    std::smatch m;
    if (!std::regex_match(run.err, m, std::regex(c.err))) {
      ADD_FAILURE() << "stderr: " << run.err;
      continue;
    }
    if (c.fileBytes) {
      EXPECT_TRUE(r.file->Untouched());
      // The count said is what the printer took: at least what the peer read, never the whole.
      const size_t said = std::stoul(m[1]);
      // The file's bytes came on the connection that brought most; the link's own opening
      // connection and a header come on others.
      std::string got;
      for (const std::string& one : r.peer->received()) {
        if (one.size() > got.size()) got = one;
      }
      EXPECT_GE(said, got.size());
      EXPECT_LT(said, c.fileBytes);
      EXPECT_EQ(got, r.file->bytes.substr(0, got.size()));
    }
  }
}

// A serial printer on a pty that hangs up while the program waits for its reply: the read
// fails at once with the port message instead of waiting out the read time-out.
TEST(CliFaults, PtyHangsUpDuringAQuery) {
  test::PtyPair pty;
  ChildProcess child({QUILLMARK_CLI_BINARY, "--port", pty.path(), "get", "paper-width"});
  const std::string query = pty.Receive(kWidthQuery.size(), 10000);
  pty.CloseMaster();
  const ChildResult run = child.Finish(3000 + kMarginMs);
  EXPECT_EQ(query, kWidthQuery);
  EXPECT_FALSE(run.killed) << run.elapsedMs;
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "quillmark-cli: Port error! Check setting of serial port, please.\n"
            "quillmark-cli: Getting paper width is failed\n"
            "quillmark-cli: no reply: the port failed the read\n");
}

// The same printer hanging up part way through a download: the write fails with the port
// message, the count said is whole pieces the port took, and the file is left as it was.
TEST(CliFaults, PtyHangsUpDuringADownload) {
  test::PtyPair pty;
  ScratchDir dir;
  const SourceFile file(dir.path(), 65536, Content::kBytes);
  ChildProcess child({QUILLMARK_CLI_BINARY, "--port", pty.path(), "download", file.path});
  // Exactly 10000 bytes and then no more reading, however fast the program writes.
  std::string got;
  for (int i = 0; i < 2000 && got.size() < 10000; ++i) {
    char buf[4096];
    const ssize_t n = ::read(pty.master(), buf, std::min(sizeof buf, 10000 - got.size()));
    if (n > 0) got.append(buf, static_cast<size_t>(n));
    else std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pty.CloseMaster();
  const ChildResult run = child.Finish(3000 + kMarginMs);
  EXPECT_FALSE(run.killed) << run.elapsedMs;
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(run.err, m,
                               std::regex("quillmark-cli: Port error! Check printer's port, please\\.\n"
                                          "quillmark-cli: the download failed after (\\d+) of 65536 bytes were "
                                          "sent: (.*)\n")))
      << run.err;
  const size_t said = std::stoul(m[1]);
  EXPECT_EQ(said % 2048, 0u) << said;
  EXPECT_LT(said, file.bytes.size());
  EXPECT_LE(got.size(), said + 2048);
  EXPECT_EQ(got, file.bytes.substr(0, got.size()));
  EXPECT_TRUE(file.Untouched());
}

// The real program given a FIFO that nobody writes, or a device that never ends, in place
// of a file: each command refuses it at once as the usage error it is, and never opens the
// port (the peer would see a connection) nor waits for a writer.
TEST(CliFaults, InputsThatNeverEndAreRefusedAtOnce) {
  ScratchDir dir;
  const std::string fifo = dir.path() + "/fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::vector<std::vector<std::string>> cases = {
      {"download", fifo},      {"download", "--pace", "0", "/dev/zero"}, {"send", fifo},
      {"pcx", "store", fifo},  {"pcx", "store", "/dev/zero"},           {"render", fifo, "-o", dir.path()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.front() + " " + c[c.size() - (c.front() == "render" ? 3 : 1)]);
    HostilePeer peer({PeerStep::Hold()}, 0);
    std::vector<std::string> args{QUILLMARK_CLI_BINARY, "--port", peer.url()};
    args.insert(args.end(), c.begin(), c.end());
    ChildProcess child(args);
    const ChildResult run = child.Finish(kMarginMs);
    EXPECT_FALSE(run.killed) << "still running after " << run.elapsedMs << " ms";
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find(": not a regular file"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(peer.received().empty());
  }
}

}  // namespace
}  // namespace qm
