// USB discovery over a fake sysfs tree, and the link's open-per-call behaviour.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "fake_clock.h"
#include "fake_usb_tree.h"
#include "link/printer_link.h"
#include "link/usb_discovery.h"

namespace qm {
namespace {

using test::FakeClock;
using test::FakeUsbTree;
using test::RecordingPrompter;

// True when nobody holds `path` exclusively.
bool IsFree(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd == -1) return false;
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

struct UsbLink {
  explicit UsbLink(const FakeUsbTree& tree) : link(clock, prompter, EnglishStrings(), Timing(), Devices(tree)) {
    link.SetPortName("USB");
    // As Connect does: open to choose the kind and test for the printer, then let go.
    link.Open();
    link.Close();
  }
  static LinkTiming Timing() {
    LinkTiming t;
    t.usbReadWaitMs = 50;
    t.serialDefaults.writeTotalConstantMs = 5;
    return t;
  }
  static DeviceMap Devices(const FakeUsbTree& tree) {
    DeviceMap map;
    map.usb = UsbRoots{tree.sysfs(), tree.dev()};
    return map;
  }
  FakeClock clock;
  RecordingPrompter prompter;
  PrinterLink link;
};

TEST(UsbDiscovery, IdentityTextMapsToTheModelIndexInTableOrder) {
  struct Case {
    const char* identity;
    int model;
  };
  const Case cases[] = {
      {"vid_2961&pid_0101", 1}, {"vid_2962&pid_0201", 0}, {"vid_2961&pid_0102", 2},
      {"vid_2961&pid_0103", 3}, {"vid_2961&pid_0104", 4}, {"vid_2961&pid_0107", 5},
      {"vid_2961&pid_0105", 6}, {"vid_2961&pid_0106", 7}, {"VID_2961&PID_0101", -1},
      {"vid_2961&pid_0108", -1}, {"vid_2961&pid_010", -1}, {"", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchUsbModel(c.identity), c.model) << c.identity;
}

TEST(UsbDiscovery, ReadsIdsThroughTheDeviceLinkInLowerCase) {
  FakeUsbTree tree;
  tree.AddNode(0, "2961", "010A");
  tree.AddNode(3, "29G1", "0101");
  const UsbRoots roots{tree.sysfs(), tree.dev()};
  EXPECT_EQ(UsbNodeIdentity(roots, 0), "vid_2961&pid_010a");
  EXPECT_EQ(UsbNodeIdentity(roots, 3), "") << "not hexadecimal";
  EXPECT_EQ(UsbNodeIdentity(roots, 7), "") << "no such node";
}

TEST(UsbDiscovery, FirstMatchingNodeInIndexOrderWins) {
  struct Node {
    int index;
    const char* vendor;
    const char* product;
  };
  struct Case {
    const char* name;
    std::vector<Node> nodes;
    int expectedIndex;  // -1: not found
    int expectedModel;
  };
  const Case cases[] = {
      {"index order beats table order", {{0, "2961", "0102"}, {1, "2961", "0101"}}, 0, 2},
      {"unknown device skipped", {{0, "1234", "5678"}, {1, "2962", "0201"}}, 1, 0},
      {"lp10 comes after lp2", {{10, "2961", "0104"}, {2, "2961", "0106"}}, 2, 7},
      {"nothing of ours attached", {{0, "1234", "5678"}}, -1, -1},
      {"no nodes at all", {}, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeUsbTree tree;
    for (const Node& n : c.nodes) tree.AddNode(n.index, n.vendor, n.product);
    const auto found = FindUsbPrinter(UsbRoots{tree.sysfs(), tree.dev()});
    if (c.expectedIndex < 0) {
      EXPECT_FALSE(found.has_value());
      continue;
    }
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->devicePath, tree.NodePath(c.expectedIndex));
    EXPECT_EQ(found->modelIndex, c.expectedModel);
  }
}

TEST(UsbDiscovery, ANodeHeldElsewhereIsSkipped) {
  FakeUsbTree tree;
  tree.AddNode(0, "2961", "0101");
  tree.AddNode(1, "2962", "0201");
  const int holder = ::open(tree.NodePath(0).c_str(), O_RDWR | O_NOCTTY);
  ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
  const auto found = FindUsbPrinter(UsbRoots{tree.sysfs(), tree.dev()});
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->devicePath, tree.NodePath(1));
  EXPECT_EQ(found->modelIndex, 0);
  ::close(holder);
}

TEST(UsbDiscovery, OnlyMatchHeldElsewhereMeansNotFound) {
  FakeUsbTree tree;
  tree.AddNode(0, "2961", "0101");
  const int holder = ::open(tree.NodePath(0).c_str(), O_RDWR | O_NOCTTY);
  ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
  EXPECT_FALSE(FindUsbPrinter(UsbRoots{tree.sysfs(), tree.dev()}).has_value());
  ::close(holder);
}

TEST(UsbLink, OpenFindsThePrinterAndSetsTheModel) {
  FakeUsbTree tree;
  tree.AddNode(0, "2961", "0101");
  UsbLink u(tree);
  ASSERT_EQ(u.link.Open(), 1);
  EXPECT_EQ(u.link.GetInterfaceKind(), kUsb);
  EXPECT_EQ(u.link.usbModel(), 1);
  EXPECT_EQ(u.link.devicePath(), tree.NodePath(0));
  EXPECT_FALSE(IsFree(tree.NodePath(0))) << "the link holds it exclusively while open";
  u.link.Close();
  EXPECT_TRUE(IsFree(tree.NodePath(0)));
}

TEST(UsbLink, ANodeThatIsNoDeviceIsNoPrinter) {
  FakeUsbTree tree;
  const std::string file = tree.dev() + "/not-a-device";
  std::ofstream(file) << "stale";
  tree.AddNodeAt(0, "2961", "0101", file);
  UsbLink u(tree);
  EXPECT_EQ(u.link.Open(), 0);
  EXPECT_EQ(u.link.lastError().rfind("no USB printer found (", 0), 0u) << u.link.lastError();
  EXPECT_NE(u.link.lastError().find("not a character device"), std::string::npos) << u.link.lastError();
  EXPECT_EQ(u.link.Write("^PI0"), 0) << "nothing is written to it";
  std::ifstream in(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "stale");
}

TEST(UsbLink, NoPrinterFailsToOpen) {
  FakeUsbTree tree;
  UsbLink u(tree);
  EXPECT_EQ(u.link.Open(), 0);
  EXPECT_EQ(u.link.GetInterfaceKind(), kUsb);
  EXPECT_TRUE(u.prompter.messages.empty());
}

TEST(UsbLink, EveryWriteAndReadOpensAndClosesThePrinter) {
  FakeUsbTree tree;
  auto& printer = tree.AddNode(0, "2961", "0104");
  UsbLink u(tree);
  EXPECT_EQ(u.link.Write("^PI1"), 1);
  EXPECT_FALSE(u.link.isOpen());
  EXPECT_TRUE(IsFree(tree.NodePath(0)));
  EXPECT_EQ(printer.Receive(4), "^PI1");

  printer.Send("LMX-A410\r\n");
  char buf[32];
  const int n = u.link.Read(buf, 32);
  EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "LMX-A410\r\n");
  EXPECT_FALSE(u.link.isOpen());
  EXPECT_EQ(u.link.usbModel(), 4);
}

TEST(UsbLink, HoldOpenKeepsThePrinterAcrossCalls) {
  FakeUsbTree tree;
  auto& printer = tree.AddNode(0, "2961", "0101");
  UsbLink u(tree);
  u.link.SetHoldOpen(true);
  EXPECT_TRUE(u.link.isOpen());
  EXPECT_EQ(u.link.Write("IS 3,'a'"), 1);
  EXPECT_EQ(u.link.Write("xyz"), 1);
  EXPECT_TRUE(u.link.isOpen());
  EXPECT_FALSE(IsFree(tree.NodePath(0)));
  EXPECT_EQ(printer.Receive(11), "IS 3,'a'xyz");
  u.link.SetHoldOpen(false);
  EXPECT_FALSE(u.link.isOpen());
  EXPECT_TRUE(IsFree(tree.NodePath(0)));
}

TEST(UsbLink, WriteWithThePrinterGoneFailsAfterRetries) {
  FakeUsbTree tree;
  UsbLink u(tree);
  EXPECT_EQ(u.link.Write("^PI0"), 0);
  EXPECT_EQ(u.clock.sleeps, (std::vector<int>{10, 10, 10}));
  EXPECT_EQ(u.prompter.ids(), std::vector<int>{sid::kPortWriteError});
  char buf[4];
  EXPECT_EQ(u.link.Read(buf, 4), 0);
  EXPECT_EQ(u.prompter.ids().size(), 1u) << "a failed USB read shows nothing";
}

}  // namespace
}  // namespace qm
