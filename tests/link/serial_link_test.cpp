// The serial link against pseudo-terminals: settings, reply gathering, write retries.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/strings.h"
#include "fake_clock.h"
#include "link/printer_link.h"
#include "pty_pair.h"

namespace qm {
namespace {

using test::FakeClock;
using test::PtyPair;
using test::RecordingPrompter;

LinkTiming ShortSerialWaits() {
  LinkTiming t;
  t.serialDefaults.readTotalConstantMs = 30;
  t.serialDefaults.readTotalMultiplierMs = 0;
  t.serialDefaults.writeTotalConstantMs = 5;
  t.serialDefaults.writeTotalMultiplierMs = 0;
  return t;
}

struct SerialLink {
  explicit SerialLink(const std::string& path, LinkTiming timing = ShortSerialWaits())
      : link(clock, prompter, EnglishStrings(), timing, Devices(path)) {
    link.SetPortName("COM1:");
  }
  static DeviceMap Devices(const std::string& path) {
    DeviceMap map;
    map.Override("COM1", path);
    return map;
  }
  FakeClock clock;
  RecordingPrompter prompter;
  PrinterLink link;
};

termios SettingsOf(const PtyPair& pty) {
  termios t{};
  tcgetattr(pty.master(), &t);
  return t;
}

struct LineCase {
  uint32_t baud;
  int32_t parity, dataBits, stopBits;
  speed_t speed;
  tcflag_t size, parityFlags;
  bool twoStops;
};
const LineCase kLineCases[] = {
    {115200, 0, 8, 0, B115200, CS8, 0, false},
    {9600, 1, 8, 0, B9600, CS8, PARENB | PARODD, false},
    {19200, 2, 7, 2, B19200, CS7, PARENB, true},
    {38400, 3, 8, 0, B38400, CS8, PARENB | PARODD | CMSPAR, false},
    {57600, 4, 7, 2, B57600, CS7, PARENB | CMSPAR, true},
};

TEST(SerialLine, SettingsBecomeTheseTerminalFlags) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(c.baud);
    termios t{};
    t.c_iflag = IXON | IXOFF | ICRNL;
    t.c_lflag = ICANON | ECHO;
    std::string error;
    ASSERT_TRUE(ConfigureTermios(t, SerialParameters{c.baud, c.parity, c.dataBits, c.stopBits}, error));
    EXPECT_EQ(cfgetospeed(&t), c.speed);
    EXPECT_EQ(cfgetispeed(&t), c.speed);
    EXPECT_EQ(t.c_cflag & CSIZE, c.size);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), c.parityFlags);
    EXPECT_EQ((t.c_iflag & INPCK) != 0, c.parity != 0) << "parity is checked when it is used";
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStops);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u) << "hardware flow control is always on";
    EXPECT_NE(t.c_cflag & CLOCAL, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u) << "no software flow control, no translation";
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
  }
}

TEST(SerialLink, OpenAppliesTheSettingsToTheDevice) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(c.baud);
    PtyPair pty;
    SerialLink s(pty.path());
    s.link.SetSerialParameters(c.baud, c.parity, c.dataBits, c.stopBits);
    ASSERT_EQ(s.link.Open(), 1) << s.link.lastError();
    const termios t = SettingsOf(pty);
    // A pseudo-terminal always reports 8 bits without parity; the rest it keeps.
    EXPECT_EQ(cfgetospeed(&t), c.speed);
    EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), c.parityFlags & (PARODD | CMSPAR));
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStops);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u) << "raw mode";
    EXPECT_EQ(t.c_oflag & OPOST, 0u) << "bytes go out unchanged";
    EXPECT_EQ(s.link.GetInterfaceKind(), kSerial);
  }
}

TEST(SerialLink, RefusesSettingsTheLineCannotTake) {
  struct Case {
    uint32_t baud;
    int32_t parity, dataBits, stopBits;
    const char* why;
  };
  const Case cases[] = {
      {115200, 0, 8, 1, "1.5 stop bits"},
      {115200, 0, 6, 0, "data bits"},
      {115200, 7, 8, 0, "parity"},
      {12345, 0, 8, 0, "baud rate"},
  };
  for (const Case& c : cases) {
    PtyPair pty;
    SerialLink s(pty.path());
    s.link.SetSerialParameters(c.baud, c.parity, c.dataBits, c.stopBits);
    EXPECT_EQ(s.link.Open(), 0) << c.why;
    EXPECT_NE(s.link.lastError().find(c.why), std::string::npos) << s.link.lastError();
    EXPECT_TRUE(s.prompter.messages.empty()) << "open failures show no message of their own";
  }
}

TEST(SerialLink, OpenIsExclusive) {
  PtyPair pty;
  SerialLink first(pty.path());
  SerialLink second(pty.path());
  ASSERT_EQ(first.link.Open(), 1);
  EXPECT_EQ(second.link.Open(), 0);
  first.link.Close();
  EXPECT_EQ(second.link.Open(), 1) << "free again after Close";
}

TEST(SerialLink, CloseGivesUpExclusiveUse) {
  PtyPair pty;
  SerialLink s(pty.path());
  // Opened first: an exclusive open refuses later openers who are not root.
  const int other = ::open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_EQ(s.link.Open(), 1);
  int exclusive = 0;
  ASSERT_EQ(::ioctl(other, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 1) << "held exclusively while open";
  s.link.Close();
  ASSERT_EQ(::ioctl(other, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0) << "a later open, even without root, must succeed";
  ::close(other);
}

TEST(SerialLink, MissingDeviceFailsToOpen) {
  SerialLink s("/nonexistent/ttyS0");
  EXPECT_EQ(s.link.Open(), 0);
  EXPECT_EQ(s.link.GetInterfaceKind(), kSerial);
}

TEST(SerialLink, WriteSendsTheExactBytesIncludingNul) {
  PtyPair pty;
  SerialLink s(pty.path());
  ASSERT_EQ(s.link.Open(), 1);
  const std::string command("^MBS 2,\0\r", 9);
  EXPECT_EQ(s.link.Write(command), 1);
  EXPECT_EQ(pty.Receive(command.size()), command);
  EXPECT_TRUE(s.clock.sleeps.empty()) << "a complete write needs no retry";
}

TEST(SerialLink, CloseRightAfterAWriteStillDeliversItButDropsStaleInput) {
  PtyPair pty;
  SerialLink s(pty.path());
  ASSERT_EQ(s.link.Open(), 1);
  pty.Send("stale");
  EXPECT_EQ(s.link.Write("P1\r"), 1);
  s.link.Close();
  EXPECT_EQ(pty.Receive(3), "P1\r");
  ASSERT_EQ(s.link.Open(), 1);
  char buf[8];
  EXPECT_EQ(s.link.Read(buf, 8), 0) << "input from before is not a reply";
}

TEST(SerialLink, ReadGathersOneReply) {
  struct Case {
    const char* name;
    std::vector<std::string> bursts;  // sent with a real pause of `pauseMs` between them
    int pauseMs;
    int count;
    std::string expected;
  };
  const Case cases[] = {
      {"whole reply", {"104\r\n"}, 0, 32, "104\r\n"},
      {"two bursts within the gap", {"10", "4\r\n"}, 5, 32, "104\r\n"},
      {"second burst after the gap is not part of it", {"LR", "X"}, 150, 32, "LR"},
      {"count reached: returns at once", {"0123456789"}, 0, 4, "0123"},
      {"one raw byte", {std::string("\x7f", 1)}, 0, 1, "\x7f"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PtyPair pty;
    SerialLink s(pty.path());
    ASSERT_EQ(s.link.Open(), 1);
    std::thread printer([&] {
      for (size_t i = 0; i < c.bursts.size(); ++i) {
        if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(c.pauseMs));
        pty.Send(c.bursts[i]);
      }
    });
    std::string buf(64, '#');
    const int n = s.link.Read(buf.data(), c.count);
    printer.join();
    EXPECT_EQ(buf.substr(0, static_cast<size_t>(n)), c.expected);
    EXPECT_EQ(buf[static_cast<size_t>(c.count)], '#') << "never more than count";
  }
}

TEST(SerialLink, WhatACountCutsOffWaitsForTheNextRead) {
  PtyPair pty;
  SerialLink s(pty.path());
  ASSERT_EQ(s.link.Open(), 1);
  pty.Send("ABCDEFGH");
  char buf[32];
  ASSERT_EQ(s.link.Read(buf, 3), 3);
  ASSERT_EQ(s.link.Read(buf, 32), 5);
  EXPECT_EQ(std::string(buf, 5), "DEFGH");
}

TEST(SerialLink, NoReplyReturnsZeroQuietly) {
  PtyPair pty;
  SerialLink s(pty.path());
  ASSERT_EQ(s.link.Open(), 1);
  char buf[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(s.link.Read(buf, 4), 0);
  EXPECT_EQ(buf[0], '#');
  EXPECT_TRUE(s.prompter.messages.empty());
}

TEST(SerialLink, FailedReadShowsTheSerialPortMessage) {
  PtyPair pty;
  SerialLink s(pty.path());
  ASSERT_EQ(s.link.Open(), 1);
  pty.CloseMaster();  // the line hangs up: the read call itself fails
  char buf[4];
  EXPECT_EQ(s.link.Read(buf, 4), 0);
  EXPECT_EQ(s.prompter.ids(), std::vector<int>{sid::kSerialReadError});
  EXPECT_EQ(s.prompter.messages[0].text, "Port error! Check setting of serial port, please.");
}

TEST(SerialLink, WriteThatCannotCompleteRetriesThreeTimesThenReportsAndReturnsZero) {
  PtyPair pty;  // nobody reads the far end, so its buffer fills
  SerialLink s(pty.path());
  ASSERT_EQ(s.link.Open(), 1);
  const std::string big(1 << 20, 'Z');
  EXPECT_EQ(s.link.Write(big), 0);
  EXPECT_EQ(s.clock.sleeps, (std::vector<int>{10, 10, 10}));
  EXPECT_EQ(s.prompter.ids(), std::vector<int>{sid::kPortWriteError});
  EXPECT_EQ(s.prompter.messages[0].icon, Icon::kExclamation);
  EXPECT_EQ(s.prompter.messages[0].text, "Port error! Check printer's port, please.");
  // The program goes on: the port still works once the printer drains it.
  const std::string drained = pty.Receive(big.size(), 200);
  EXPECT_GT(drained.size(), 0u);
  EXPECT_LT(drained.size(), big.size());
  EXPECT_EQ(s.link.Write("^PI0"), 1);
}

TEST(SerialLink, WriteOnAClosedPortFailsAfterTheRetries) {
  PtyPair pty;
  SerialLink s(pty.path());
  ASSERT_EQ(s.link.Open(), 1);
  s.link.SetHoldOpen(false);  // closes a serial port too
  EXPECT_FALSE(s.link.isOpen());
  EXPECT_EQ(s.link.Write("^PI0"), 0);
  EXPECT_EQ(s.clock.sleeps, (std::vector<int>{10, 10, 10}));
  EXPECT_EQ(s.prompter.ids(), std::vector<int>{sid::kPortWriteError});
}

TEST(SerialLink, TimeoutsApplyToTheOpenPortAndResetOnReopen) {
  PtyPair pty;
  SerialLink s(pty.path());
  SerialTimeouts raised = s.link.timeouts();
  raised.readTotalConstantMs = 20000;
  raised.writeTotalConstantMs = 20000;
  EXPECT_EQ(s.link.SetTimeouts(raised), 0) << "no port open";
  ASSERT_EQ(s.link.Open(), 1);
  EXPECT_EQ(s.link.SetTimeouts(raised), 1);
  EXPECT_EQ(s.link.timeouts(), raised);
  ASSERT_EQ(s.link.Open(), 1);
  EXPECT_EQ(s.link.timeouts(), ShortSerialWaits().serialDefaults);
}

}  // namespace
}  // namespace qm
