// How the port name chooses the link's kind and device.
#include <gtest/gtest.h>
#include <linux/lp.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fake_clock.h"
#include "link/device_map.h"
#include "link/parallel_port.h"
#include "link/printer_link.h"
#include "loopback_server.h"
#include "pty_pair.h"

namespace qm {
namespace {

using test::FakeClock;
using test::RecordingPrompter;

TEST(LinkKind, PortNameChoosesTheKind) {
  test::LoopbackServer server;
  struct Case {
    const char* name;
    InterfaceKind kindBefore;
    InterfaceKind kindAfter;
    int opened;
  };
  const Case cases[] = {
      {"COM10:", kEthernet, kSerial, 0},  // no such device here, but the kind is chosen
      {"COM1:", kEthernet, kSerial, 0},
      {"COMX", kEthernet, kSerial, 0},
      {"LPT4:", kSerial, kParallel, 0},
      {"USB", kSerial, kUsb, 0},
      {"usb", kParallel, kParallel, 0},       // case matters: nothing chosen, kind kept
      {"USB1", kParallel, kParallel, 0},      // "USB" must be the whole name
      {"com1:", kUsb, kUsb, 0},
      {"ETHERNETX", kSerial, kEthernet, 1},   // only the first eight characters count
      {"ETHERNE", kSerial, kSerial, 0},
      {"", kUsb, kUsb, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeClock clock;
    RecordingPrompter prompter;
    DeviceMap devices;
    devices.usb = UsbRoots{"/nonexistent/sys", "/nonexistent/dev"};
    devices.Override("COM1", "/nonexistent/com1");
    devices.Override("COM10", "/nonexistent/com10");
    devices.Override("LPT4", "/nonexistent/lpt4");
    PrinterLink link(clock, prompter, EnglishStrings(), LinkTiming{}, devices);
    link.SetEthernetSettings("127.0.0.1", server.port());
    // Reach the starting kind through a real open of that kind.
    const char* starter[] = {"COM1:", "LPT4:", "USB", "ETHERNET"};
    link.SetPortName(starter[c.kindBefore]);
    link.Open();
    ASSERT_EQ(link.GetInterfaceKind(), c.kindBefore);
    link.SetPortName(c.name);
    EXPECT_EQ(link.Open(), c.opened);
    EXPECT_EQ(link.GetInterfaceKind(), c.kindAfter);
  }
}

TEST(LinkKind, InitialStateOfANewLink) {
  FakeClock clock;
  RecordingPrompter prompter;
  PrinterLink link(clock, prompter, EnglishStrings(), LinkTiming{}, DeviceMap{});
  EXPECT_EQ(link.GetInterfaceKind(), kSerial);
  EXPECT_EQ(link.usbModel(), -1);
  EXPECT_FALSE(link.holdOpen());
  EXPECT_FALSE(link.isOpen());
}

TEST(DeviceMap, PortNamesMapToDevicesAndOverridesWin) {
  DeviceMap map;
  map.Override("COM2", "/dev/ttyUSB0");
  struct Case {
    const char* name;
    const char* path;
  };
  const Case cases[] = {
      {"COM1:", "/dev/ttyS0"}, {"COM10:", "/dev/ttyS9"}, {"COM2:", "/dev/ttyUSB0"},
      {"LPT1:", "/dev/lp0"},   {"LPT4:", "/dev/lp3"},    {"COM1", "/dev/ttyS0"},
      {"COM0:", ""},           {"COM01:", ""},           {"COMX", ""},
      {"COM", ""},             {"COM1:x", ""},           {"USB", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(map.PathFor(c.name), c.path) << c.name;
}

TEST(DeviceMap, EnvironmentOverridesPortsAndUsbRoots) {
  ::setenv("QUILLMARK_COM3", "/dev/ttyACM0", 1);
  ::setenv("QUILLMARK_LPT1", "/dev/usb/lp0", 1);
  ::setenv("QUILLMARK_SYSFS_ROOT", "/tmp/fake/sys", 1);
  ::setenv("QUILLMARK_DEV_ROOT", "/tmp/fake/dev", 1);
  const DeviceMap map = DeviceMap::FromEnvironment();
  ::unsetenv("QUILLMARK_COM3");
  ::unsetenv("QUILLMARK_LPT1");
  ::unsetenv("QUILLMARK_SYSFS_ROOT");
  ::unsetenv("QUILLMARK_DEV_ROOT");
  EXPECT_EQ(map.PathFor("COM3:"), "/dev/ttyACM0");
  EXPECT_EQ(map.PathFor("LPT1:"), "/dev/usb/lp0");
  EXPECT_EQ(map.PathFor("COM1:"), "/dev/ttyS0");
  EXPECT_EQ(map.usb.sysfs, "/tmp/fake/sys");
  EXPECT_EQ(map.usb.dev, "/tmp/fake/dev");
}

TEST(ParallelLink, ReadyOnlyWhenSelectedNotBusyWithoutErrorWithPaper) {
  struct Case {
    int status;
    bool ready;
  };
  // LP_PBUSY and LP_PERRORP read as set when the printer is not busy and has no error.
  const Case cases[] = {
      {LP_PSELECD | LP_PERRORP | LP_PBUSY, true},
      {LP_PSELECD | LP_PERRORP | LP_PBUSY | LP_PACK, true},
      {LP_PSELECD | LP_PERRORP, false},                         // busy
      {LP_PSELECD | LP_PERRORP | LP_PACK, false},               // busy, acknowledging
      {LP_PERRORP | LP_PBUSY, false},                           // off line
      {LP_PSELECD | LP_PBUSY, false},                           // error line active
      {LP_PSELECD | LP_PERRORP | LP_PBUSY | LP_POUTPA, false},  // paper out
      {0, false},                                               // off
  };
  for (const Case& c : cases) EXPECT_EQ(ParallelStatusReady(c.status), c.ready) << c.status;
}

TEST(LinkKind, APortThatIsNoDeviceIsRefusedBeforeAByteIsWritten) {
  char pattern[] = "/tmp/quillmark-node-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  const std::string content = "not a printer\r\n";
  const std::string file = dir + "/lp0";
  std::ofstream(file) << content;
  const std::string fifo = dir + "/fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    const char* portName;
    const char* key;
    std::string path;
  };
  const Case cases[] = {
      {"LPT1:", "LPT1", file}, {"LPT1:", "LPT1", fifo}, {"COM1:", "COM1", file}, {"COM1:", "COM1", fifo},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.portName) + " " + c.path);
    FakeClock clock;
    RecordingPrompter prompter;
    DeviceMap devices;
    devices.Override(c.key, c.path);
    PrinterLink link(clock, prompter, EnglishStrings(), LinkTiming{}, devices);
    link.SetPortName(c.portName);
    EXPECT_EQ(link.Open(), 0);
    EXPECT_NE(link.lastError().find("not a character device"), std::string::npos) << link.lastError();
    EXPECT_FALSE(link.isOpen());
  }
  std::ifstream in(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content) << "the file is untouched";
  std::filesystem::remove_all(dir);
}

TEST(ParallelLink, APortWithoutStatusQueryOpensAndCarriesBytes) {
  test::PtyPair pty;
  FakeClock clock;
  RecordingPrompter prompter;
  DeviceMap devices;
  devices.Override("LPT1", pty.path());
  PrinterLink link(clock, prompter, EnglishStrings(), LinkTiming{}, devices);
  link.SetPortName("LPT1:");
  ASSERT_EQ(link.Open(), 1) << link.lastError();
  EXPECT_EQ(link.GetInterfaceKind(), kParallel);
  EXPECT_EQ(link.Write("^PI2"), 1);
  EXPECT_EQ(pty.Receive(4), "^PI2");
  pty.Send(std::string("\x40", 1));
  char b = 0;
  EXPECT_EQ(link.Read(&b, 1), 1);
  EXPECT_EQ(b, '\x40');
  EXPECT_TRUE(link.isOpen()) << "parallel ports stay open between calls";
}

}  // namespace
}  // namespace qm
