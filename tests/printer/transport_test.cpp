// The printer's ports on their own: TCP connections, pseudo-terminals, the fake USB tree,
// and replies held back on demand.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/usb_discovery.h"
#include "printer/fake_usb.h"
#include "printer/pty_port.h"
#include "printer/reply_scheduler.h"
#include "printer/tcp_server.h"

namespace qm::printer {
namespace {

// Reads what `fd` has within `waitMs`, stopping after a short quiet spell.
std::string Drain(int fd, int waitMs = 200) {
  std::string got;
  char buf[4096];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, got.empty() ? waitMs : 20) <= 0) return got;
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) return got;
    got.append(buf, static_cast<size_t>(n));
  }
}

int Connect(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(port);
  EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  return fd;
}

// Serves `t` until `done` holds or a short time has passed.
template <typename Done>
void Serve(Transport& t, const Receiver& receive, Done done) {
  for (int round = 0; round < 200 && !done(); ++round) {
    std::vector<pollfd> fds;
    t.Collect(fds);
    ::poll(fds.data(), fds.size(), 5);
    t.Service(fds.data(), fds.size(), receive);
  }
}

TEST(PrinterTransport, ScheduledRepliesFallDueInOrder) {
  ReplyScheduler s;
  const Origin a{kEthernet, 1, "a"};
  const Origin b{kSerial, 0, "b"};
  s.Add(1000, a, "ABCDE", 10, true, 3);  // "AB" at 1010, "CDE" at 1013
  s.Add(1001, b, "X", 10, true, 3);      // one byte: not split, at 1011
  s.Add(1002, a, "QR", 0, false, 0);     // at once
  EXPECT_EQ(s.WaitMs(1002), 0);
  std::vector<ReplyPiece> due = s.TakeDue(1002);
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].bytes, "QR");
  EXPECT_EQ(s.WaitMs(1002), 8);
  EXPECT_TRUE(s.TakeDue(1009).empty());
  due = s.TakeDue(1011);
  ASSERT_EQ(due.size(), 2u);
  EXPECT_EQ(due[0].bytes, "AB");
  EXPECT_TRUE(due[0].startsReply);
  EXPECT_EQ(due[1].bytes, "X");
  EXPECT_EQ(due[1].origin.name, "b");
  due = s.TakeDue(2000);
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].bytes, "CDE");
  EXPECT_FALSE(due[0].startsReply) << "the second piece continues the reply";
  EXPECT_EQ(s.WaitMs(2000), -1);
}

TEST(PrinterTransport, SchedulerHoldsABoundedNumberOfReplies) {
  ReplyScheduler s;
  const Origin a{kEthernet, 1, "a"};
  size_t taken = 0;
  while (s.Add(0, a, "x", 1000, false, 0)) ++taken;
  EXPECT_EQ(taken, ReplyScheduler::kMaxPending);
  EXPECT_EQ(s.TakeDue(1000).size(), ReplyScheduler::kMaxPending);
  EXPECT_TRUE(s.Add(1000, a, "xy", 0, true, 0));
}

TEST(PrinterTransport, TcpRepliesGoBackOnTheConnectionThatAsked) {
  TcpServer server;
  std::string error;
  ASSERT_TRUE(server.Open("127.0.0.1:0", error)) << error;
  EXPECT_EQ(server.boundAddress(), "127.0.0.1:" + std::to_string(server.port()));
  std::vector<std::pair<uint64_t, std::string>> received;
  const Receiver receive = [&](std::string_view bytes, const Origin& o) {
    EXPECT_EQ(o.kind, kEthernet);
    received.emplace_back(o.channel, std::string(bytes));
  };
  std::vector<uint64_t> ended;
  server.SetStreamEnded([&](const Origin& o) { ended.push_back(o.channel); });
  const int first = Connect(server.port());
  const int second = Connect(server.port());
  ASSERT_EQ(::write(first, "one", 3), 3);
  ASSERT_EQ(::write(second, "two", 3), 3);
  Serve(server, receive, [&] { return received.size() == 2; });
  ASSERT_EQ(received.size(), 2u);
  const uint64_t channelOne = received[0].second == "one" ? received[0].first : received[1].first;
  const uint64_t channelTwo = received[0].second == "one" ? received[1].first : received[0].first;
  EXPECT_NE(channelOne, channelTwo);
  EXPECT_TRUE(server.Send(channelTwo, "to two", true));
  EXPECT_TRUE(server.Send(channelOne, "to one", true));
  EXPECT_EQ(Drain(first), "to one");
  EXPECT_EQ(Drain(second), "to two");
  ::close(first);
  Serve(server, receive, [&] { return server.connectionCount() == 1; });
  EXPECT_EQ(ended, std::vector<uint64_t>{channelOne}) << "the printer hears that its stream ended";
  EXPECT_FALSE(server.Send(channelOne, "gone", true)) << "a closed connection takes no reply";
  ::close(second);
}

TEST(PrinterTransport, TcpLetsTheOldestConnectionGoBeyondTheLimit) {
  TcpServer server;
  constexpr size_t kMaxConnections = 64;
  TcpServer::Limits limits;
  limits.maxConnections = kMaxConnections;
  server.SetLimits(limits);
  std::string error;
  ASSERT_TRUE(server.Open("127.0.0.1:0", error)) << error;
  size_t heard = 0;
  const Receiver count = [&](std::string_view, const Origin&) { ++heard; };
  std::vector<uint64_t> ended;
  server.SetStreamEnded([&](const Origin& o) { ended.push_back(o.channel); });
  std::vector<int> clients;
  for (size_t i = 0; i < kMaxConnections + 3; ++i) {
    clients.push_back(Connect(server.port()));
    ASSERT_EQ(::write(clients.back(), "x", 1), 1);
    Serve(server, count, [&] { return heard == i + 1; });
  }
  EXPECT_EQ(server.connectionCount(), kMaxConnections);
  EXPECT_EQ(ended, (std::vector<uint64_t>{1, 2, 3})) << "the streams of the oldest ended with them";
  for (size_t i = 0; i < 3; ++i) {
    pollfd p{clients[i], POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 200), 1);
    char c;
    EXPECT_EQ(::read(clients[i], &c, 1), 0) << "the oldest were closed";
  }
  for (const int fd : clients) ::close(fd);
}

TEST(PrinterTransport, BadListenAddressesAreRefused) {
  for (const char* address : {"localhost:9100", "127.0.0.1", "127.0.0.1:70000", ":9100", "1.2.3.4.5:1",
                              "127.0.0.1:+80", "127.0.0.1:99999999999999999999999"}) {
    TcpServer server;
    std::string error;
    EXPECT_FALSE(server.Open(address, error)) << address;
    EXPECT_FALSE(error.empty());
  }
}

TEST(PrinterTransport, PtyOffersALinkAndDropsUnreadReplyBytes) {
  char tmpl[] = "/tmp/quillmark-pty-XXXXXX";
  const std::string dir = ::mkdtemp(tmpl);
  const std::string link = dir + "/COM1";
  {
    PtyPort port(kSerial, "serial");
    std::string error;
    ASSERT_TRUE(port.Open(link, error)) << error;
    EXPECT_EQ(std::filesystem::read_symlink(link), port.devicePath());
    const int host = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(host, 0);
    std::string got;
    const Receiver receive = [&](std::string_view bytes, const Origin& o) {
      EXPECT_EQ(o.kind, kSerial);
      got += bytes;
    };
    ASSERT_EQ(::write(host, "^PI0\r\0x", 7), 7);
    Serve(port, receive, [&] { return got.size() == 7; });
    EXPECT_EQ(got, std::string("^PI0\r\0x", 7)) << "raw: no CR translation, NUL kept";
    EXPECT_TRUE(port.Send(0, "stale reply", true));
    EXPECT_TRUE(port.Send(0, "fresh", true));
    EXPECT_TRUE(port.Send(0, " and more", false));
    EXPECT_EQ(Drain(host), "fresh and more");
    ::close(host);
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link))) << "the link goes with the port";
  std::ofstream(link) << "a file";
  PtyPort port(kSerial, "serial");
  std::string error;
  EXPECT_FALSE(port.Open(link, error)) << "a file in the way is not replaced";
  EXPECT_NE(error.find("not a symbolic link"), std::string::npos) << error;
  std::filesystem::remove_all(dir);
}

TEST(PrinterTransport, FakeUsbTreeIsFoundByDiscoveryAndRemovedAfterwards) {
  char tmpl[] = "/tmp/quillmark-fakeusb-XXXXXX";
  const std::string dir = ::mkdtemp(tmpl);
  for (int model = 0; model < 8; ++model) {
    FakeUsbDevice usb;
    std::string error;
    ASSERT_TRUE(usb.Open(dir, model, error)) << error;
    const UsbRoots roots{usb.sysfsRoot(), usb.devRoot()};
    const auto found = FindUsbPrinter(roots);
    ASSERT_TRUE(found.has_value()) << model;
    EXPECT_EQ(found->modelIndex, model);
    EXPECT_EQ(found->devicePath, usb.nodePath());
    usb.Close();
    EXPECT_FALSE(FindUsbPrinter(roots).has_value());
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir)) << "nothing is left behind";
  FakeUsbDevice usb;
  std::string error;
  EXPECT_FALSE(usb.Open("/", 1, error));
  EXPECT_FALSE(usb.Open(dir, 9, error));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qm::printer
