// The one connect sequence that the main window, the command line and a fleet share: which
// ports have their print queues diverted, what each kind is given, and USB closed at once.
#include "link/connect.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "core/strings.h"
#include "fake_clock.h"
#include "fake_spooler.h"
#include "fake_usb_tree.h"
#include "link/printer_link.h"
#include "pty_pair.h"
#include "virtual_time.h"

namespace qm {
namespace {

struct ConnectCase {
  const char* name;
  std::string portName;  // "COM1:", "LPT1:", "USB", "ETHERNET", or "COM2:" (no device)
  bool divert;
  bool opens;
  bool staysOpen;        // USB is closed again at once
  bool queueDiverted;    // the queue printing to the port
};

void PrintTo(const ConnectCase& c, std::ostream* os) { *os << c.name; }

class Connect : public testing::TestWithParam<ConnectCase> {};

TEST_P(Connect, DivertsOpensAndClosesAsTheKindWants) {
  const ConnectCase& c = GetParam();
  test::PtyPair line;
  test::FakeUsbTree usb;
  usb.AddNode(0, "2961", "0101");
  test::LoopbackEnd tcp;
  DeviceMap devices;
  devices.Override("COM1", line.path());
  devices.Override("LPT1", line.path());
  devices.Override("COM2", "/nonexistent/com2");
  devices.usb = UsbRoots{usb.sysfs(), usb.dev()};
  test::FakeClock clock;
  test::RecordingPrompter prompter;
  LinkTiming timing;
  timing.tcpConnectWaitMs = 500;
  PrinterLink link(clock, prompter, EnglishStrings(), timing, devices);
  test::FakeSpooler spooler;
  spooler.queues = {{"Label", c.portName}, {"Office", "LPT4:"}};
  QueueMap queues;

  ConnectRequest request;
  request.portName = c.portName;
  request.serial = SerialParameters{9600, kParityEven, 7, kStopBitsTwo};
  request.address = "127.0.0.1";
  request.tcpPort = tcp.port();
  request.divert = c.divert;
  EXPECT_EQ(ConnectLink(link, &spooler, queues, request), c.opens) << link.lastError();
  EXPECT_EQ(link.GetInterfaceKind(), KindOfPortName(c.portName));
  EXPECT_EQ(link.isOpen(), c.staysOpen);
  EXPECT_EQ(spooler.PortOf("Label"), c.queueDiverted ? "FILE:" : c.portName);
  EXPECT_EQ(spooler.PortOf("Office"), "LPT4:") << "a queue on another port is left alone";
  EXPECT_EQ(queues.size(), c.queueDiverted ? 1u : 0u);
  if (c.portName == "COM1:" && c.opens) {
    termios t{};
    const int fd = ::open(line.path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_EQ(::tcgetattr(fd, &t), 0);
    ::close(fd);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600)) << "the serial parameters were given";
    // (A pseudo-terminal keeps the speed and stop bits it is given, not the data bits.)
    EXPECT_EQ(t.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, Connect,
    testing::Values(ConnectCase{"serial", "COM1:", true, true, true, true},
                    ConnectCase{"serial_without_diversion", "COM1:", false, true, true, false},
                    ConnectCase{"parallel", "LPT1:", true, true, true, true},
                    ConnectCase{"usb_closed_at_once", "USB", true, true, false, false},
                    ConnectCase{"ethernet", "ETHERNET", true, true, true, false},
                    // The queues go first, as the main window has it: a port that then fails
                    // to open still has them diverted until Disconnect gives them back.
                    ConnectCase{"serial_that_does_not_open", "COM2:", true, false, false, true}),
    [](const testing::TestParamInfo<ConnectCase>& info) { return std::string(info.param.name); });

TEST(ConnectKinds, ThePortNameDecidesAsTheLinkDoes) {
  EXPECT_EQ(KindOfPortName("COM10:"), kSerial);
  EXPECT_EQ(KindOfPortName("LPT4:"), kParallel);
  EXPECT_EQ(KindOfPortName("USB"), kUsb);
  EXPECT_EQ(KindOfPortName("ETHERNET"), kEthernet);
}

}  // namespace
}  // namespace qm
