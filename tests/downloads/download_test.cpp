// Downloads on the wire: the pieces a file goes out in, the image store's bytes, and what
// a failed, cancelled or changed transfer says.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "commands/multi_send.h"
#include "downloads/file_transfer.h"
#include "downloads/image_commands.h"
#include "fake_clock.h"
#include "loopback_server.h"
#include "scripted_printer.h"
#include "test_progress.h"
#include "table_test.h"

namespace qm {
namespace {

using test::FakeClock;
using test::RecordingPrompter;

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return s;
}

class TempFile {
 public:
  explicit TempFile(const std::string& bytes, const std::string& name = "LOGO.pcx") {
    dir_ = std::filesystem::temp_directory_path() / ("quillmark-dl-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / name).string();
    Rewrite(bytes);
  }
  ~TempFile() { std::filesystem::remove_all(dir_); }
  void Rewrite(const std::string& bytes) const { std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes; }
  const std::string& path() const { return path_; }

 private:
  std::filesystem::path dir_;
  std::string path_;
};

// A link on a serial line or over TCP that notes every write's size and the write
// time-out in force while it went out.
struct Wire {
  explicit Wire(InterfaceKind kind, LinkTiming timing = test::ScriptedPrinterTiming())
      : link(clock, prompter, EnglishStrings(), timing, test::ScriptedPrinterDevices(serial.path())) {
    if (kind == kEthernet) {
      tcp = std::make_unique<test::LoopbackServer>();
      link.SetPortName("ETHERNET");
      link.SetEthernetSettings("127.0.0.1", tcp->port());
    } else {
      link.SetPortName("COM1:");
    }
    EXPECT_EQ(link.Open(), 1);
    link.SetTrace([this](PrinterLink::Direction d, std::string_view bytes) {
      if (d != PrinterLink::Direction::kWrite) return;
      writes.push_back(bytes.size());
      timeoutsDuring.push_back(link.timeouts().writeTotalConstantMs);
      if (onWrite) onWrite(writes.size());
    });
  }
  // What the printer got over all connections.
  std::string Received(size_t atLeast) {
    if (!tcp) return serial.received(atLeast);
    tcp->WaitForTotal(atLeast);
    std::string all;
    for (const auto& c : tcp->connections()) all += c;
    return all;
  }

  test::ScriptedPrinter serial;
  std::unique_ptr<test::LoopbackServer> tcp;
  FakeClock clock;
  RecordingPrompter prompter;
  PrinterLink link;
  std::vector<size_t> writes;
  std::vector<uint32_t> timeoutsDuring;
  std::function<void(size_t)> onWrite;
};

TEST(ImageCommands, ExactBytes) {
  EXPECT_EQ(ImageStoreHeader(1234, "LOGO"), "IS1234,'LOGO'");
  EXPECT_EQ(ImageStoreHeader(0, ""), "IS0,''");
  EXPECT_EQ(ImageStoreCheckPrint("LOGO"), "\r\rIR100,100,'LOGO'\rP1\r");
  EXPECT_EQ(ImageRecallCommand("0", "0", "LOGO"), "IR0,0,'LOGO'\rP1\r");
  EXPECT_EQ(ImageRecallCommand("-5", "x", "A B"), "IR-5,x,'A B'\rP1\r");  // as typed
  EXPECT_EQ(ImageDeleteCommand("LOGO"), "ID'LOGO'II");
  EXPECT_EQ(ImageDeleteAllCommand(), "ID*II");
  EXPECT_EQ(ImageInformationCommand(), "II");
  const std::pair<const char*, const char*> names[] = {
      {"LOGO.pcx", "LOGO"}, {"a.PCX", "a"}, {"logo", ""}, {".pcx", ""}, {"x.y.pcx", "x.y"}};
  for (const auto& [file, name] : names) EXPECT_EQ(ImageNameFromFileName(file), name) << file;
}

struct PiecesCase {
  const char* name;
  InterfaceKind kind;
  size_t bytes;
  std::vector<size_t> writes;     // as the link was asked (Ethernet: its paced chunks)
  std::vector<uint64_t> heard;    // progress after each piece
  std::vector<int> pauses;
};

void PrintTo(const PiecesCase& c, std::ostream* os) { *os << c.name; }

class PiecesByInterface : public testing::TestWithParam<PiecesCase> {};

TEST_P(PiecesByInterface, ProgressAndTimeouts) {
  const PiecesCase& c = GetParam();
  Wire wire(c.kind);
  const std::string data = Pattern(c.bytes);
  TempFile file(data, "data.bin");
  std::vector<uint64_t> heard;
  TransferOptions options;
  test::GoOnProgress progress([&](uint64_t sent, uint64_t total) {
    EXPECT_EQ(total, c.bytes);
    heard.push_back(sent);
    return true;
  });
  options.progress = &progress;
  const TransferResult r = TransferFile(wire.link, wire.prompter, EnglishStrings(), file.path(), options);
  EXPECT_EQ(r.status, TransferStatus::kDone);
  EXPECT_EQ(r.sent, c.bytes);
  EXPECT_EQ(wire.writes, c.writes);
  EXPECT_EQ(heard, c.heard);
  EXPECT_EQ(wire.clock.sleeps, c.pauses);
  for (uint32_t t : wire.timeoutsDuring) EXPECT_EQ(t, kDownloadTimeoutMs);
  EXPECT_EQ(wire.link.timeouts(), test::ScriptedPrinterTiming().serialDefaults);
  EXPECT_EQ(wire.prompter.ids(), std::vector<int>{sid::kBinaryDownloadDone});
  if (c.bytes) {
    EXPECT_EQ(wire.Received(c.bytes), data);
  }
  // A serial port is held again afterwards; Ethernet stays closed until the next write.
  EXPECT_EQ(wire.link.isOpen(), c.kind == kSerial);
}

INSTANTIATE_TEST_SUITE_P(
    FileTransfer, PiecesByInterface,
    testing::Values(PiecesCase{"serial_5000", kSerial, 5000, {2048, 2048, 904}, {2048, 4096, 5000}, {}},
                    PiecesCase{"serial_4096_whole_pieces", kSerial, 4096, {2048, 2048}, {2048, 4096}, {}},
                    PiecesCase{"serial_empty", kSerial, 0, {}, {}, {}},
                    PiecesCase{"ethernet_5000", kEthernet, 5000, {4096, 904}, {4096, 5000}, {500}},
                    PiecesCase{"ethernet_empty", kEthernet, 0, {}, {}, {}}),
    test::RowName());

TEST(FileTransfer, RefusalsSendNothing) {
  Wire wire(kSerial);
  TempFile file("x");
  const std::string gone = file.path() + ".gone";
  const std::string folder = std::filesystem::path(file.path()).parent_path().string();
  const struct {
    std::function<TransferResult()> run;
    int id;
  } cases[] = {
      {[&] { return TransferFile(wire.link, wire.prompter, EnglishStrings(), "", {}); }, sid::kSelectBinaryFile},
      {[&] { return TransferFile(wire.link, wire.prompter, EnglishStrings(), gone, {}); }, sid::kCantOpenFile},
      {[&] { return TransferFile(wire.link, wire.prompter, EnglishStrings(), folder, {}); }, sid::kCantOpenFile},
      {[&] { return StoreImage(wire.link, wire.prompter, EnglishStrings(), "", "LOGO", {}); }, sid::kSelectPcxFiles},
      {[&] { return StoreImage(wire.link, wire.prompter, EnglishStrings(), gone, "LOGO", {}); }, sid::kCantOpenFile},
      {[&] { return StoreImage(wire.link, wire.prompter, EnglishStrings(), file.path(), "", {}); },
       sid::kTypeImageName},
  };
  for (const auto& c : cases) {
    wire.prompter.messages.clear();
    EXPECT_EQ(c.run().status, TransferStatus::kRefused);
    EXPECT_EQ(wire.prompter.ids(), std::vector<int>{c.id});
  }
  EXPECT_FALSE(DeleteImage(wire.link, wire.prompter, EnglishStrings(), ""));
  EXPECT_FALSE(RecallImage(wire.link, wire.prompter, EnglishStrings(), "0", "0", ""));
  EXPECT_TRUE(wire.writes.empty());
}

// A write that fails part way stops the transfer there and says so instead of completing.
TEST(FileTransfer, FailedWriteStopsAtThatPiece) {
  Wire wire(kSerial);
  TempFile file(Pattern(5000), "data.bin");
  // The port goes away just as the second piece is offered.
  wire.onWrite = [&](size_t n) {
    if (n == 2) wire.link.Close();
  };
  const TransferResult r = TransferFile(wire.link, wire.prompter, EnglishStrings(), file.path());
  EXPECT_EQ(r.status, TransferStatus::kFailed);
  EXPECT_EQ(r.sent, 2048u);
  EXPECT_EQ(wire.writes, (std::vector<size_t>{2048, 2048}));
  ASSERT_EQ(wire.prompter.ids(), (std::vector<int>{sid::kPortWriteError, 0}));
  EXPECT_EQ(wire.prompter.messages[1].text.rfind("Binary file download failed after 2048 of 5000 bytes were sent.", 0),
            0u)
      << wire.prompter.messages[1].text;
  EXPECT_EQ(wire.prompter.messages[1].icon, Icon::kExclamation);
}

TEST(FileTransfer, PrinterClosingTheConnectionIsAFailure) {
  test::LoopbackServer printer(65536, true);
  LinkTiming timing;
  timing.tcpConnectWaitMs = 500;
  FakeClock clock;
  RecordingPrompter prompter;
  PrinterLink link(clock, prompter, EnglishStrings(), timing, DeviceMap{});
  link.SetPortName("ETHERNET");
  link.SetEthernetSettings("127.0.0.1", printer.port());
  ASSERT_EQ(link.Open(), 1);
  TempFile file(Pattern(1 << 20), "big.bin");
  const TransferResult r = TransferFile(link, prompter, EnglishStrings(), file.path());
  EXPECT_EQ(r.status, TransferStatus::kFailed);
  EXPECT_LT(r.sent, 1u << 20);
  ASSERT_EQ(prompter.ids(), std::vector<int>{0});
  EXPECT_NE(prompter.messages[0].text.find("failed after " + std::to_string(r.sent) + " of 1048576 bytes"),
            std::string::npos);
  EXPECT_NE(prompter.messages[0].text.find("the connection broke"), std::string::npos) << prompter.messages[0].text;
}

TEST(FileTransfer, UnreachablePrinterIsAFailure) {
  uint16_t port = 0;
  {
    test::LoopbackServer gone;
    port = gone.port();
  }
  LinkTiming timing;
  timing.tcpConnectWaitMs = 500;
  FakeClock clock;
  RecordingPrompter prompter;
  PrinterLink link(clock, prompter, EnglishStrings(), timing, DeviceMap{});
  link.SetPortName("ETHERNET");
  link.SetEthernetSettings("127.0.0.1", port);
  TempFile file(Pattern(100), "data.bin");
  const TransferResult r = TransferFile(link, prompter, EnglishStrings(), file.path());
  EXPECT_EQ(r.status, TransferStatus::kFailed);
  EXPECT_EQ(r.sent, 0u);
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_EQ(prompter.messages.back().text.rfind("Binary file download failed after 0 of 100 bytes were sent.", 0), 0u)
      << prompter.messages.back().text;
}

TEST(FileTransfer, CancelStopsBeforeTheNextPiece) {
  struct Case {
    InterfaceKind kind;
    uint64_t sent;
  };
  for (const Case c : {Case{kSerial, 4096}, Case{kEthernet, 4096}}) {
    SCOPED_TRACE(c.kind);
    Wire wire(c.kind);
    TempFile file(Pattern(10000), "data.bin");
    TransferOptions options;
    test::GoOnProgress progress([](uint64_t sent, uint64_t) { return sent < 4000; });
    options.progress = &progress;
    const TransferResult r = TransferFile(wire.link, wire.prompter, EnglishStrings(), file.path(), options);
    EXPECT_EQ(r.status, TransferStatus::kCancelled);
    EXPECT_EQ(r.sent, c.sent);
    EXPECT_EQ(wire.Received(c.sent).size(), c.sent);
    ASSERT_EQ(wire.prompter.messages.size(), 1u);
    EXPECT_EQ(wire.prompter.messages[0].text,
              "Binary file download was cancelled after " + std::to_string(c.sent) + " of 10000 bytes were sent.");
    EXPECT_EQ(wire.link.isOpen(), c.kind == kSerial);
  }
}

// The header counts the bytes that really follow, whatever the file held when it was chosen.
TEST(ImageStore, HeaderCountsTheBytesSent) {
  for (const size_t now : {size_t{1234}, size_t{1500}, size_t{700}}) {
    for (const InterfaceKind kind : {kSerial, kEthernet}) {
      SCOPED_TRACE(std::to_string(now) + " on " + std::to_string(kind));
      Wire wire(kind);
      TempFile file(Pattern(1234));
      const std::string image = Pattern(now);
      file.Rewrite(image);  // changed after it was browsed
      const TransferResult r = StoreImage(wire.link, wire.prompter, EnglishStrings(), file.path(), "LOGO");
      EXPECT_TRUE(r.done());
      const std::string expected = "IS" + std::to_string(now) + ",'LOGO'" + image + "\r\rIR100,100,'LOGO'\rP1\r";
      EXPECT_EQ(wire.Received(expected.size()), expected);
      EXPECT_EQ(wire.prompter.ids(), std::vector<int>{sid::kPcxDownloadDone});
      EXPECT_EQ(wire.link.isOpen(), kind == kSerial);
    }
  }
}

TEST(ImageStore, CancelledImageGetsNoCheckPrint) {
  Wire wire(kSerial);
  TempFile file(Pattern(5000));
  TransferOptions options;
  test::GoOnProgress progress([](uint64_t, uint64_t) { return false; });
  options.progress = &progress;
  const TransferResult r = StoreImage(wire.link, wire.prompter, EnglishStrings(), file.path(), "LOGO", options);
  EXPECT_EQ(r.status, TransferStatus::kCancelled);
  EXPECT_EQ(wire.Received(13 + 2048), "IS5000,'LOGO'" + Pattern(2048));
}

TEST(ImageCommands, OneWriteEach) {
  Wire wire(kSerial);
  EXPECT_TRUE(DeleteImage(wire.link, wire.prompter, EnglishStrings(), "LOGO"));
  EXPECT_TRUE(DeleteAllImages(wire.link));
  EXPECT_TRUE(RequestImageInformation(wire.link));
  EXPECT_TRUE(RecallImage(wire.link, wire.prompter, EnglishStrings(), "0", "0", "LOGO"));
  EXPECT_EQ(wire.writes, (std::vector<size_t>{10, 5, 2, 16}));
  EXPECT_EQ(wire.Received(33), "ID'LOGO'IIID*IIIIIR0,0,'LOGO'\rP1\r");
  EXPECT_TRUE(wire.prompter.messages.empty());
}

// The tester's Multi Send, heard piece by piece: Cancel stops before the next piece, and a
// send cut short is not counted.
struct MultiSendCase {
  const char* name;
  InterfaceKind kind;
  uint64_t stopAt;  // the first byte count at which Cancel is seen
  std::vector<uint64_t> heard;
  int completed;
  bool cancelled;
};

void PrintTo(const MultiSendCase& c, std::ostream* os) { *os << c.name; }

class MultiSendProgress : public testing::TestWithParam<MultiSendCase> {};

TEST_P(MultiSendProgress, HeardAndStoppedBetweenPieces) {
  const MultiSendCase& c = GetParam();
  Wire wire(c.kind);
  const std::string script = Pattern(5000);
  std::vector<uint64_t> heard;
  test::GoOnProgress progress([&](uint64_t sent, uint64_t total) {
    EXPECT_EQ(total, 10000u);
    heard.push_back(sent);
    return c.stopAt == 0 || sent < c.stopAt;
  });
  const MultiSendResult r = MultiSend(wire.link, script, 2, progress);
  EXPECT_EQ(heard, c.heard);
  EXPECT_EQ(r.completed, c.completed);
  EXPECT_EQ(r.cancelled, c.cancelled);
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(wire.Received(heard.back()), (script + script).substr(0, heard.back()));
}

INSTANTIATE_TEST_SUITE_P(
    MultiSend, MultiSendProgress,
    testing::Values(MultiSendCase{"serial_to_the_end", kSerial, 0, {2048, 4096, 5000, 7048, 9096, 10000}, 2, false},
                    MultiSendCase{"serial_stopped_mid_send", kSerial, 7048, {2048, 4096, 5000, 7048}, 1, true},
                    // Seen at the end of a send: it counts.
                    MultiSendCase{"serial_stopped_at_a_send_end", kSerial, 5000, {2048, 4096, 5000}, 1, true},
                    MultiSendCase{"ethernet_to_the_end", kEthernet, 0, {4096, 5000, 9096, 10000}, 2, false},
                    MultiSendCase{"ethernet_stopped_mid_send", kEthernet, 9096, {4096, 5000, 9096}, 1, true}),
    test::RowName());

struct LastChunkCase {
  std::string name;
  InterfaceKind kind;
  size_t bytes;
  bool image;  // stored as an image rather than downloaded
};

void PrintTo(const LastChunkCase& c, std::ostream* os) { *os << c.name; }

class CancelAfterTheLastChunk : public testing::TestWithParam<LastChunkCase> {};

// Cancel heard only once every byte has gone out stops nothing: the transfer is complete,
// says so, and an image still gets its check print.
TEST_P(CancelAfterTheLastChunk, StillCompletes) {
  const LastChunkCase& c = GetParam();
  Wire wire(c.kind);
  TempFile file(Pattern(c.bytes), "data.bin");
  TransferOptions options;
  std::vector<uint64_t> heard;
  test::GoOnProgress progress([&](uint64_t sent, uint64_t total) {
    heard.push_back(sent);
    return sent < total;
  });
  options.progress = &progress;
  const TransferResult r = c.image ? StoreImage(wire.link, wire.prompter, EnglishStrings(), file.path(), "LOGO", options)
                                   : TransferFile(wire.link, wire.prompter, EnglishStrings(), file.path(), options);
  EXPECT_EQ(r.status, TransferStatus::kDone) << r.why;
  EXPECT_EQ(r.sent, c.bytes);
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.back(), c.bytes) << "the cancel was asked after the final chunk";
  const std::string expected =
      c.image ? "IS" + std::to_string(c.bytes) + ",'LOGO'" + Pattern(c.bytes) + "\r\rIR100,100,'LOGO'\rP1\r"
              : Pattern(c.bytes);
  EXPECT_EQ(wire.Received(expected.size()), expected);
  EXPECT_EQ(wire.prompter.ids(),
            std::vector<int>{c.image ? sid::kPcxDownloadDone : sid::kBinaryDownloadDone});
}

INSTANTIATE_TEST_SUITE_P(
    FileTransfer, CancelAfterTheLastChunk,
    testing::Values(LastChunkCase{"EthernetPartChunk", kEthernet, 10000, false},
                    LastChunkCase{"EthernetWholeChunks", kEthernet, 8192, false},
                    LastChunkCase{"EthernetOneChunk", kEthernet, 4096, false},
                    LastChunkCase{"EthernetImage", kEthernet, 10000, true},
                    LastChunkCase{"SerialPartPiece", kSerial, 5000, false},
                    LastChunkCase{"SerialImage", kSerial, 4096, true}),
    [](const testing::TestParamInfo<LastChunkCase>& info) { return info.param.name; });

// What the printer says after the image bytes decides the check print: a refusal fails the
// store with the printer's reason and prints nothing for an image that is not there.
TEST(ImageStore, ARefusedImageGetsNoCheckPrint) {
  for (const std::string& refusal : {std::string(), std::string("no room for 'LOGO'")}) {
    SCOPED_TRACE(refusal);
    Wire wire(kSerial);
    const std::string image = Pattern(3000);
    TempFile file(image);
    TransferOptions options;
    int asked = 0;
    options.confirmStored = [&] {
      ++asked;
      // Asked once the image is out and before anything follows it.
      EXPECT_EQ(wire.Received(13 + 3000), "IS3000,'LOGO'" + image);
      return refusal;
    };
    const TransferResult r = StoreImage(wire.link, wire.prompter, EnglishStrings(), file.path(), "LOGO", options);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(r.done(), refusal.empty());
    EXPECT_EQ(r.why, refusal);
    EXPECT_EQ(wire.Received(0), "IS3000,'LOGO'" + image + (refusal.empty() ? "\r\rIR100,100,'LOGO'\rP1\r" : ""));
  }
}

struct OpenCase {
  std::string name;
  std::string path;  // "@" is the scratch folder
  std::string why;   // empty: it opens
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

class SourceOpen : public testing::TestWithParam<OpenCase> {};

// Only a regular file is a source: a device never ends and a FIFO may never be written.
// None of them may hold up the open.
TEST_P(SourceOpen, OnlyRegularFilesOpen) {
  const OpenCase& c = GetParam();
  TempFile file("12345", "data.bin");
  const std::string dir = std::filesystem::path(file.path()).parent_path().string();
  ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
  const std::string path = c.path[0] == '@' ? dir + c.path.substr(1) : c.path;
  std::string why = "untouched";
  const auto started = std::chrono::steady_clock::now();
  std::optional<FileSource> source = FileSource::Open(path, &why);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
  if (c.why.empty()) {
    ASSERT_TRUE(source);
    EXPECT_EQ(source->size(), std::optional<uint64_t>(5));
    // Blocking again for the reads: the whole file comes in one call.
    char buf[16];
    EXPECT_EQ(source->Read(buf, sizeof buf), 5u);
    EXPECT_FALSE(source->failed());
  } else {
    EXPECT_FALSE(source);
    EXPECT_EQ(why, c.why);
  }
}

INSTANTIATE_TEST_SUITE_P(
    FileSource, SourceOpen,
    testing::Values(OpenCase{"RegularFile", "@/data.bin", ""}, OpenCase{"Fifo", "@/fifo", "not a regular file"},
                    OpenCase{"Folder", "@", "not a regular file"},
                    OpenCase{"EndlessDevice", "/dev/zero", "not a regular file"},
                    OpenCase{"Missing", "@/gone.bin", "No such file or directory"}),
    [](const testing::TestParamInfo<OpenCase>& info) { return info.param.name; });

}  // namespace
}  // namespace qm
