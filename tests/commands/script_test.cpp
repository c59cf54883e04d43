// Script bytes through the editor and through files: nothing may change on the way.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "commands/copies.h"
#include "commands/multi_send.h"
#include "commands/script_file.h"
#include "commands/script_text.h"
#include "fake_clock.h"
#include "pty_pair.h"
#include "test_progress.h"

#include <netinet/in.h>
#include <sys/socket.h>

namespace qm {
namespace {

std::string AllBytesButZero() {
  std::string s;
  for (int b = 1; b < 256; ++b) s.push_back(static_cast<char>(b));
  return s;
}

TEST(ScriptText, EditorShowsLinesAndVisibleControlBytes) {
  struct Case {
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"T10,10\r\nP1\r\n", u"T10,10\nP1\n"},
      {"A\rB", u"A\u240DB"},       // a lone CR is no line break
      {"A\nB", u"A\u240AB"},       // nor is a lone LF
      {"\n\r", u"\u240A\u240D"},   // LF CR is two lone bytes
      {"\r\r\n", u"\u240D\n"},
      {"^MBS 2,\x01\t\x1B\x7F", u"^MBS 2,\u2401\u2409\u241B\u2421"},
      {"\xE9\xFF\x80\x85\x9F", u"\u00E9\u00FF\u24EA\u2464\u325B"},  // C1 bytes are circled
      {"\xA0\xAD \t ", u"\u00A0\u00AD \u2409 "},  // kept as they are, trailing blanks too
      {"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScriptToEditorText(c.bytes), c.text);
    EXPECT_EQ(EditorTextToScript(c.text), c.bytes);
  }
}

TEST(ScriptText, EveryByteSurvivesTheEditor) {
  const std::string bytes = AllBytesButZero() + "\r\n\r\r\n\n" + std::string(1, '\0') + "x";
  EXPECT_EQ(EditorTextToScript(ScriptToEditorText(bytes)), bytes);
}

TEST(ScriptText, TypedTextBecomesBytes) {
  EXPECT_EQ(EditorTextToScript(u"a\tb"), "a\tb");
  EXPECT_EQ(EditorTextToScript(u"a\u2029b\u2028c"), "a\r\nb\r\nc") << "the editor's own breaks";
  EXPECT_EQ(EditorTextToScript(u"\u65E5\u672C"), "??") << "no 8-bit form";
}

class ScriptFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/quillmark-script-XXXXXX";
    dir_ = ::mkdtemp(tmpl);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return dir_ + "/" + name; }
  std::string dir_;
};

TEST_F(ScriptFileTest, SaveThenLoadGivesTheBytesBack) {
  const std::string script = "T1\r\nA\rB\nC" + AllBytesButZero();
  ASSERT_EQ(SaveScriptFile(Path("QDRF.txt"), script), "");
  std::ifstream in(Path("QDRF.txt"), std::ios::binary);
  const std::string onDisk((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(onDisk, script) << "no byte-order mark, no terminating zero";
  const ScriptLoad load = LoadScriptFile(Path("QDRF.txt"));
  ASSERT_TRUE(load.ok) << load.error;
  EXPECT_EQ(load.bytes, script);
}

TEST_F(ScriptFileTest, LoadStopsAtTheFirstZeroByte) {
  std::ofstream(Path("z.bin"), std::ios::binary) << std::string("P1\r\n\0P2\r\n", 9);
  EXPECT_EQ(LoadScriptFile(Path("z.bin")).bytes, "P1\r\n");
}

TEST_F(ScriptFileTest, LoadRefusesWhatItCannotTake) {
  EXPECT_FALSE(LoadScriptFile(Path("missing.txt")).ok);
  EXPECT_FALSE(LoadScriptFile(dir_).ok) << "a folder is no script";
  {
    std::ofstream big(Path("big.bin"), std::ios::binary);
    big.seekp(static_cast<std::streamoff>(kMaxScriptBytes));
    big.put('x');
  }
  const ScriptLoad load = LoadScriptFile(Path("big.bin"));
  EXPECT_FALSE(load.ok);
  EXPECT_NE(load.error.find("16 MiB"), std::string::npos) << load.error;
}

TEST_F(ScriptFileTest, AFailedSaveLeavesTheOldFileWhole) {
  ASSERT_EQ(SaveScriptFile(Path("keep.txt"), "old contents"), "");
  // A file-size limit makes the write fail part-way, as a full disk would, for root too.
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const std::string error = SaveScriptFile(Path("keep.txt"), std::string(100000, 'n'));
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_NE(error, "");
  EXPECT_EQ(LoadScriptFile(Path("keep.txt")).bytes, "old contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1) << "no temporary file left";
}

TEST_F(ScriptFileTest, SaveIntoAMissingFolderFailsWithAReason) {
  const std::string error = SaveScriptFile(Path("no/such/QDRF.txt"), "x");
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;
}

TEST_F(ScriptFileTest, SaveThroughALinkReplacesTheFileItPointsAt) {
  ASSERT_EQ(SaveScriptFile(Path("real.txt"), "a"), "");
  std::filesystem::create_symlink(Path("real.txt"), Path("link.txt"));
  ASSERT_EQ(SaveScriptFile(Path("link.txt"), "b"), "");
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.txt")));
  EXPECT_EQ(LoadScriptFile(Path("real.txt")).bytes, "b");
}

TEST(Copies, LineIsPrintCountThenCopies) {
  EXPECT_EQ(BuildCopiesLine(1, 1), "P1,1\r\n");
  EXPECT_EQ(BuildCopiesLine(0, 100), "P0,100\r\n");
  EXPECT_EQ(BuildCopiesLine(25, 3), "P25,3\r\n");
}

struct SerialPrinter {
  SerialPrinter() : link(clock, prompter, EnglishStrings(), Timing(), Devices(pty.path())) {
    link.SetPortName("COM1:");
    link.Open();
  }
  static LinkTiming Timing() {
    LinkTiming t;
    t.serialDefaults.writeTotalConstantMs = 5;
    return t;
  }
  static DeviceMap Devices(const std::string& path) {
    DeviceMap m;
    m.Override("COM1", path);
    return m;
  }
  test::PtyPair pty;
  test::FakeClock clock;
  test::RecordingPrompter prompter;
  PrinterLink link;
};

TEST(MultiSend, WritesTheScriptUnchangedCountTimes) {
  SerialPrinter p;
  std::vector<int> progress;
  const std::string script = "T10,10,0,1,1,1,0,'A'\r\nP1\r\n";
  test::GoOnProgress counted([&](uint64_t n, uint64_t total) {
    EXPECT_EQ(total, 3u);
    progress.push_back(static_cast<int>(n));
    return true;
  });
  const MultiSendResult r = MultiSend(p.link, script, 3, &counted);
  EXPECT_EQ(r.completed, 3);
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(p.pty.Receive(script.size() * 3), script + script + script);
}

TEST(MultiSend, ZeroSendsNothing) {
  SerialPrinter p;
  const MultiSendResult r = MultiSend(p.link, "P1\r\n", 0);
  EXPECT_EQ(r.completed, 0);
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(p.pty.Receive(1, 30), "");
}

TEST(MultiSend, AFailedWriteStopsTheSending) {
  SerialPrinter p;
  p.link.Close();
  std::vector<int> progress;
  test::GoOnProgress counted([&](uint64_t n, uint64_t) {
    progress.push_back(static_cast<int>(n));
    return true;
  });
  const MultiSendResult r = MultiSend(p.link, "P1\r\n", 5, &counted);
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.completed, 0);
  EXPECT_TRUE(progress.empty());
  EXPECT_EQ(p.prompter.ids(), std::vector<int>{sid::kPortWriteError}) << "one failure, one message";
}

TEST(MultiSend, AScriptCutShortOnEthernetIsAFailure) {
  // A printer that takes the first chunk, then resets the connection.
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::listen(listener, 4);
  socklen_t len = sizeof addr;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);

  test::FakeClock clock;
  test::RecordingPrompter prompter;
  PrinterLink link(clock, prompter, EnglishStrings(), LinkTiming{}, DeviceMap{});
  link.SetPortName("ETHERNET");
  link.SetEthernetSettings("127.0.0.1", ntohs(addr.sin_port));
  ASSERT_EQ(link.Open(), 1);
  ::close(::accept(listener, nullptr, nullptr));  // Connect's own connection
  clock.onSleep = [&](int) {
    const int conn = ::accept(listener, nullptr, nullptr);
    const linger reset{1, 0};
    ::setsockopt(conn, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(conn);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  };
  const MultiSendResult r = MultiSend(link, std::string(3 * 4096, 'x'), 2);
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.completed, 0);
  ::close(listener);
}

}  // namespace
}  // namespace qm
