// The printer link against the virtual printer, over every port it serves.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "temp_dir.h"
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "commands/character_set_print.h"
#include "commands/two_byte_codepage.h"
#include "fake_clock.h"
#include "link/printer_link.h"
#include "printer/escape.h"
#include "printer/virtual_printer.h"

namespace qm::printer {
namespace {

using namespace std::string_literals;

// Waits (briefly, in real time) for something the printer's thread does.
bool WaitFor(const std::function<bool()>& done, int waitMs = 2000) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

using TempDir = qm::test::TempDir;

struct Port {
  const char* name;
  const char* interfaceCode;
};
const Port kPorts[] = {{"ETHERNET", "2"}, {"COM1:", "1"}, {"LPT1:", "2"}, {"USB", "3"}};

// One printer serving every port, and a link to it.
class PrinterAndLink {
 public:
  explicit PrinterAndLink(PrinterOptions options = {}, int linkReadWaitMs = 1000) {
    options.listen = "127.0.0.1:0";
    options.serial = true;
    options.parallel = true;
    options.usbDir = dir.path() + "/usb";
    options.log = true;
    options.logSink = [this](const std::string& line) {
      std::lock_guard lock(logMutex);
      log.push_back(line);
    };
    printer = std::make_unique<VirtualPrinter>(options);
    std::string error;
    started = printer->Start(error);
    EXPECT_TRUE(started) << error;
    LinkTiming timing;
    timing.tcpReadWaitMs = linkReadWaitMs;
    timing.tcpSplitGapMs = 30;
    timing.usbReadWaitMs = linkReadWaitMs;
    timing.serialDefaults.readTotalConstantMs = static_cast<uint32_t>(linkReadWaitMs);
    DeviceMap devices;
    devices.Override("COM1", printer->serialPath());
    devices.Override("LPT1", printer->parallelPath());
    devices.usb = UsbRoots{printer->usbSysfsRoot(), printer->usbDevRoot()};
    link = std::make_unique<PrinterLink>(clock, prompter, EnglishStrings(), timing, devices);
    link->SetSerialParameters(115200, 0, 8, 0);
    link->SetEthernetSettings("127.0.0.1", printer->tcpPort());
  }

  ~PrinterAndLink() {
    // The printer's thread logs into this object: stop it first.
    link.reset();
    printer.reset();
  }

  // Connects the way the main window does; serial and parallel stay open.
  bool Connect(const char* portName) {
    link->SetPortName(portName);
    const int opened = link->Open();
    if (link->GetInterfaceKind() == kUsb || link->GetInterfaceKind() == kEthernet) link->Close();
    return opened == 1;
  }

  std::string Query(const std::string& command, int count) {
    EXPECT_NE(link->Write(command), 0) << Escape(command);
    std::string buffer(static_cast<size_t>(count), '\0');
    const int n = link->Read(buffer.data(), count);
    buffer.resize(static_cast<size_t>(std::max(n, 0)));
    return buffer;
  }

  std::vector<std::string> Log() {
    std::lock_guard lock(logMutex);
    return log;
  }

  TempDir dir;
  test::FakeClock clock;
  test::RecordingPrompter prompter;
  std::unique_ptr<VirtualPrinter> printer;
  std::unique_ptr<PrinterLink> link;
  bool started = false;
  std::mutex logMutex;
  std::vector<std::string> log;
};

TEST(PrinterEndToEnd, PaperWidthSetAndGetOverEveryPort) {
  PrinterAndLink p;
  int width = 600;
  for (const Port& port : kPorts) {
    SCOPED_TRACE(port.name);
    ASSERT_TRUE(p.Connect(port.name));
    const std::string value = std::to_string(++width);
    EXPECT_NE(p.link->Write("^MBU0," + value + "\r"), 0);
    EXPECT_EQ(p.Query("^PI5,0\r\n", 32), value + "\r\n");
    EXPECT_EQ(p.Query("^PI0", 32), "LRX-500II");
    EXPECT_EQ(p.Query("^PI4,0", 32), "31\r\n");
    p.link->Close();
  }
  EXPECT_EQ(p.printer->stored().media.paperWidth, width);
  EXPECT_TRUE(p.prompter.messages.empty());
}

TEST(PrinterEndToEnd, MemorySwitchWrittenAndReadOverEveryPort) {
  PrinterAndLink p;
  unsigned char value = 0x30;
  for (const Port& port : kPorts) {
    SCOPED_TRACE(port.name);
    ASSERT_TRUE(p.Connect(port.name));
    ++value;
    // The short form: the value byte, then the completion with the switch as a raw byte.
    EXPECT_NE(p.link->Write("^MBS2,"s + static_cast<char>(value)), 0);
    EXPECT_NE(p.link->Write("^MBA\x02\r"), 0);
    EXPECT_EQ(p.Query("^MBR2,"s + port.interfaceCode, 1), std::string(1, static_cast<char>(value)));
    // The long form with a value that is itself a carriage return.
    EXPECT_NE(p.link->Write("^MBS4,\r\r"), 0);
    EXPECT_NE(p.link->Write("^MBA\x04\r"), 0);
    EXPECT_EQ(p.Query("^MBR4,"s + port.interfaceCode, 1), "\r");
    p.link->Close();
  }
}

TEST(PrinterEndToEnd, DistributionAndTagDataComeInTheReadsTheToolsMake) {
  PrinterAndLink p;
  ASSERT_TRUE(p.Connect("COM1:"));
  const std::string whole = p.Query("^MXd,1200,G\r", 64);
  EXPECT_EQ(whole.size(), 64u);
  p.link->Close();

  // Model 1 over USB: four reads of 16 bytes, the device opened and closed for each.
  ASSERT_TRUE(p.Connect("USB"));
  EXPECT_EQ(p.link->usbModel(), 1);
  std::string pieces = p.Query("^MXd,1200,G\r", 16);
  for (int i = 0; i < 3; ++i) {
    char buf[16];
    const int n = p.link->Read(buf, 16);
    pieces.append(buf, static_cast<size_t>(std::max(n, 0)));
  }
  EXPECT_EQ(pieces, whole);
  // The tag read over USB: 24 characters in two reads of 16.
  std::string tag = p.Query(">RFR,H,4,12,S\r", 16);
  char buf[16];
  const int n = p.link->Read(buf, 16);
  tag.append(buf, static_cast<size_t>(std::max(n, 0)));
  EXPECT_EQ(tag, "3014257BF7194E4000000001");
  // A reply longer than what was read is never read: the next query gets its own reply.
  // (The tools pause before reading; here the test waits until the printer has answered.)
  EXPECT_EQ(p.Query("^MXd,1200,G\r", 16), whole.substr(0, 16));
  EXPECT_NE(p.link->Write("^PI2"), 0);
  ASSERT_TRUE(WaitFor([&] { return p.Log().back().find("-> V1.52") != std::string::npos; }));
  char reply[32];
  const int got = p.link->Read(reply, 32);
  EXPECT_EQ(std::string(reply, static_cast<size_t>(std::max(got, 0))), "V1.52");
}

TEST(PrinterEndToEnd, ImageHeaderBytesAndRecallOnThreeConnections) {
  PrinterAndLink p;
  ASSERT_TRUE(p.Connect("ETHERNET"));
  const std::string image = "\x0A\r\0'\n"s;
  EXPECT_EQ(p.link->Write("IS5,'LOGO'"), 10);
  EXPECT_EQ(p.link->Write(image), 5);
  EXPECT_EQ(p.link->Write("\r\rIR100,100,'LOGO'\rP1\r"), 22);
  ASSERT_TRUE(WaitFor([&] { return p.printer->labelsPrinted() == 1; }));
  const std::vector<PrintedLabel> labels = p.printer->labels();
  ASSERT_EQ(labels.size(), 1u);
  ASSERT_EQ(labels[0].commands.size(), 1u);
  ASSERT_NE(labels[0].commands[0].image, nullptr);
  EXPECT_EQ(*labels[0].commands[0].image, image);
  EXPECT_EQ(p.printer->images(), (std::map<std::string, size_t>{{"LOGO", 5}}));
}

// A client of its own that sends `bytes` and goes away.
void SendAndLeave(uint16_t port, const std::string& bytes) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(port);
  ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    ASSERT_GT(n, 0);
    done += static_cast<size_t>(n);
  }
  ::close(fd);
}

TEST(PrinterEndToEnd, AClientThatGoesMidCommandWedgesNoPort) {
  struct Case {
    const char* name;
    std::string leftover;
    std::vector<std::string> writes;  // then, over the link
    std::string query;                 // a switch read ends in the port's interface code
    int count;
    std::string reply;
  };
  const std::vector<Case> cases = {
      {"image cut short", "IS1000,'pic'" + std::string(10, 'x'), {}, "0\r\n^PI0", 32, "LRX-500II"},
      {"refused image header", "IS9999999999,'pic'", {}, "^PI0", 32, "LRX-500II"},
      {"unclosed quote", "T 10,10,0,1,1,1,0,N,'abc", {}, "^PI0", 32, "LRX-500II"},
      {"over-long line", "T20,20,3,1,1,0,0,N,N,'" + std::string(70000, 'a'), {"^MBS2,\r", "^MBA\x02\r"},
       "^MBR2,", 1, "\r"},
      {"query cut short", "^PI5,", {}, "0\r\n^PI0", 32, "LRX-500II"},
  };
  PrinterAndLink p;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SendAndLeave(p.printer->tcpPort(), c.leftover);
    for (const Port& port : kPorts) {
      SCOPED_TRACE(port.name);
      ASSERT_TRUE(p.Connect(port.name));
      for (const std::string& bytes : c.writes) EXPECT_NE(p.link->Write(bytes), 0);
      const std::string query = c.query.back() == ',' ? c.query + port.interfaceCode : c.query;
      EXPECT_EQ(Escape(p.Query(query, c.count)), Escape(c.reply));
      p.link->Close();
    }
  }
  EXPECT_TRUE(p.printer->images().empty());
}

TEST(PrinterEndToEnd, SplitAndDelayedRepliesStillArriveWhole) {
  PrinterOptions options;
  options.split = true;
  options.splitPauseMs = 1;
  options.delayMs = 5;
  PrinterAndLink p(options);
  for (const Port& port : kPorts) {
    SCOPED_TRACE(port.name);
    ASSERT_TRUE(p.Connect(port.name));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(p.Query("^PI5,1\r\n", 32), "1219\r\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5));
    p.link->Close();
  }
  int pieces = 0;
  for (const std::string& line : p.Log()) pieces += line.find(" -> ") != std::string::npos;
  EXPECT_EQ(pieces, 8) << "each reply went out in two pieces";
}

TEST(PrinterEndToEnd, SilentPrinterAndWrongInterfaceCodeGiveNoReply) {
  PrinterOptions options;
  options.silent = true;
  PrinterAndLink silent(options, 50);
  ASSERT_TRUE(silent.Connect("ETHERNET"));
  EXPECT_EQ(silent.Query("^PI0", 32), "");
  ASSERT_TRUE(silent.Connect("COM1:"));
  EXPECT_EQ(silent.Query("^PI0", 32), "");

  PrinterAndLink p({}, 50);
  ASSERT_TRUE(p.Connect("COM1:"));
  EXPECT_EQ(p.Query("^MBR2,3", 1), "") << "asked to answer on USB";
  EXPECT_EQ(p.Query("^MBR2,1", 1), "\0"s);
}

TEST(PrinterEndToEnd, LogShowsCommandsAndRepliesEscaped) {
  PrinterAndLink p;
  ASSERT_TRUE(p.Connect("ETHERNET"));
  EXPECT_EQ(p.Query("xx^PI5,0\r\n", 32), "812\r\n");
  ASSERT_TRUE(WaitFor([&] { return p.Log().size() >= 3; }));
  const std::vector<std::string> log = p.Log();
  ASSERT_EQ(log.size(), 3u);
  // "2024-01-17 09:41:07.250 tcp#2 <- ^PI5,0": a timestamp, the connection, the bytes.
  const std::string origin = log[1].substr(24, log[1].find(' ', 24) - 24);
  EXPECT_EQ(origin.rfind("tcp#", 0), 0u) << log[1];
  EXPECT_EQ(log[0].substr(23), " " + origin + " !! skipped noise: xx");
  EXPECT_EQ(log[1].substr(23), " " + origin + " <- ^PI5,0");
  EXPECT_EQ(log[2].substr(23), " " + origin + " -> 812\\r\\n");
  EXPECT_EQ(log[0][4], '-');
  EXPECT_EQ(log[0][19], '.');
}

TEST(PrinterEndToEnd, SettingsSurviveARestartAndLabelsAreRecorded) {
  TempDir files;
  PrinterOptions options;
  options.stateFile = files.path() + "/state.json";
  options.outDir = files.path() + "/labels";
  {
    PrinterAndLink p(options);
    ASSERT_TRUE(p.Connect("ETHERNET"));
    p.link->Write("^MBU0,700\r");
    p.link->Write("^MBS1,\x07");
    p.link->Write("^MBA\x01\r");
    p.link->Write("T20,20,3,1,1,0,0,N,N,'first'\rP1\r");
    ASSERT_TRUE(WaitFor([&] { return p.printer->labelsPrinted() == 1; }));
    p.printer->Stop();
  }
  std::ifstream record(options.outDir + "/label-000001.txt");
  std::stringstream text;
  text << record.rdbuf();
  EXPECT_NE(text.str().find("  T20,20,3,1,1,0,0,N,N,'first'\n"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("paper 700 x 1219 dots"), std::string::npos) << text.str();

  PrinterAndLink again(options);
  ASSERT_TRUE(again.Connect("COM1:"));
  EXPECT_EQ(again.Query("^PI5,0\r\n", 32), "700\r\n");
  EXPECT_EQ(again.Query("^MBR1,1", 1), "\x07");
  again.link->Write("P1\r");
  ASSERT_TRUE(WaitFor([&] { return again.printer->labelsPrinted() == 1; }));
  again.printer->Stop();
  EXPECT_TRUE(std::filesystem::exists(options.outDir + "/label-000002.txt")) << "records are never overwritten";
}

TEST(PrinterEndToEnd, CodeTablePrintsArriveByteExactOverEthernet) {
  TempDir files;
  PrinterOptions options;
  options.outDir = files.path() + "/labels";
  PrinterAndLink p(options);
  ASSERT_TRUE(p.Connect("ETHERNET"));
  // A quote as every lead byte, and trail bytes that hold a backslash and a caret.
  TwoByteCodepageFields jis;
  SelectTwoByteCodeTable(jis, TwoByteCodeTable::kJis);
  jis.startBlock = jis.endBlock = "27";
  std::vector<std::string> writes = BuildTwoBytePrint(jis).rows;
  for (const std::string& bytes : BuildOver80HPrint(CharacterSetFields{})) writes.push_back(bytes);
  for (const std::string& bytes : writes) EXPECT_EQ(p.link->Write(bytes), static_cast<int>(bytes.size()));
  ASSERT_TRUE(WaitFor([&] { return p.printer->labelsPrinted() == 2; }));
  p.printer->Stop();
  const std::vector<PrintedLabel> labels = p.printer->labels();
  ASSERT_EQ(labels.size(), 2u);
  ASSERT_EQ(labels[0].commands.size(), 1u);
  ASSERT_EQ(labels[1].commands.size(), 3u);
  const std::string row = writes[0].substr(0, writes[0].size() - 4);  // without "\rP1\r"
  EXPECT_EQ(Escape(labels[0].commands[0].raw()), Escape(row));
  EXPECT_EQ(labels[0].commands[0].data().size(), 384u);
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
  EXPECT_EQ(Escape(labels[1].commands[2].data()), Escape(high));
  // The record keeps every byte, escaped.
  std::ifstream record(options.outDir + "/label-000001.txt");
  std::stringstream text;
  text << record.rdbuf();
  EXPECT_NE(text.str().find("  " + Escape(row) + "\n"), std::string::npos) << text.str();
}

TEST(PrinterEndToEnd, StartFailsCleanlyAndLeavesNothingOpen) {
  TempDir files;
  const std::string state = files.path() + "/state.json";
  std::ofstream(state) << "{ not json";
  PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.stateFile = state;
  options.usbDir = files.path() + "/usb";
  VirtualPrinter printer(options);
  std::string error;
  EXPECT_FALSE(printer.Start(error));
  EXPECT_NE(error.find(state + ": line 1"), std::string::npos) << error;
  EXPECT_FALSE(printer.running());
  EXPECT_FALSE(std::filesystem::exists(files.path() + "/usb")) << "no port was opened";
  options.stateFile = files.path() + "/no/such/folder/state.json";
  VirtualPrinter unwritable(options);
  EXPECT_FALSE(unwritable.Start(error)) << "a state file that cannot be written";
  EXPECT_NE(error.find("state.json"), std::string::npos) << error;

  // A port that cannot be opened after others were: those are let go again.
  PrinterOptions clash;
  clash.listen = "127.0.0.1:0";
  clash.serial = true;
  clash.serialLink = files.path() + "/COM1";
  clash.parallel = true;
  clash.parallelLink = files.path() + "/a-file";
  std::ofstream(clash.parallelLink) << "not a link";
  VirtualPrinter second(clash);
  EXPECT_FALSE(second.Start(error));
  EXPECT_NE(error.find("not a symbolic link"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(clash.serialLink)));
  EXPECT_TRUE(second.tcpAddress().empty());
}

}  // namespace
}  // namespace qm::printer
