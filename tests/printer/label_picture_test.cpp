// Labels sent to the virtual printer over its TCP port come out as pictures beside their
// records: the label's own size, the ink where the script put it, one number after another.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <png.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "printer/virtual_printer.h"

namespace qm::printer {
namespace {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::vector<png_byte>> rows;  // 8-bit grey, 0 is ink
  // The smallest box holding every inked dot, as left, top, right, bottom (one past).
  std::vector<int> InkBox() const {
    int left = width, top = height, right = 0, bottom = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (rows[static_cast<size_t>(y)][static_cast<size_t>(x)] >= 128) continue;
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x + 1);
        bottom = std::max(bottom, y + 1);
      }
    }
    return {left, top, right, bottom};
  }
};

// Reads any PNG back as 8-bit grey, whatever depth the printer chose to write.
bool ReadPng(const std::string& path, Picture& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_GRAY;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return false;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  for (int y = 0; y < out.height; ++y) {
    const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y) * out.width;
    out.rows.emplace_back(row, row + out.width);
  }
  return true;
}

bool SendOverTcp(int port, const std::string& bytes) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ::close(fd);
  return ok;
}

struct PrintedPicture {
  const char* name;
  std::string script;  // one label, ending in its print command
  int width;
  int height;
  std::vector<int> ink;  // left, top, right, bottom
};

TEST(PrinterLabelPicture, EachLabelSentOverTcpIsDrawnBesideItsRecord) {
  const PrintedPicture labels[] = {
      {"a block on a small label", "SW400\rSL300,24\rBD50,60,150,100,O\rP1\r", 400, 300, {50, 60, 150, 100}},
      {"margins move the ink", "SW240\rSL160,24\rSM10,20\rBD0,0,30,40,O\rP1\r", 240, 160, {10, 20, 40, 60}},
  };
  char tmpl[] = "/tmp/quillmark-picture-XXXXXX";
  const std::string dir = ::mkdtemp(tmpl);
  PrinterOptions options;
  options.listen = "127.0.0.1:0";
  options.outDir = dir + "/labels";
  options.usbDir = dir + "/usb";
  VirtualPrinter printer(options);
  std::string error;
  ASSERT_TRUE(printer.Start(error)) << error;
  std::string all;
  for (const PrintedPicture& label : labels) all += label.script;
  ASSERT_TRUE(SendOverTcp(printer.tcpPort(), all));
  // The printer works on its own thread; it has nothing to wait for once the bytes arrived.
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (printer.labelsPrinted() < std::size(labels) && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  printer.Stop();
  ASSERT_EQ(printer.labelsPrinted(), std::size(labels));

  for (size_t i = 0; i < std::size(labels); ++i) {
    SCOPED_TRACE(labels[i].name);
    char stem[32];
    std::snprintf(stem, sizeof stem, "/label-%06zu", i + 1);
    EXPECT_TRUE(std::filesystem::exists(options.outDir + stem + ".txt"));
    Picture picture;
    ASSERT_TRUE(ReadPng(options.outDir + stem + ".png", picture));
    EXPECT_EQ(picture.width, labels[i].width);
    EXPECT_EQ(picture.height, labels[i].height);
    EXPECT_EQ(picture.InkBox(), labels[i].ink);
  }
  EXPECT_FALSE(std::filesystem::exists(options.outDir + "/label-000003.png"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qm::printer
