// `render`: scripts drawn to PNG with no printer; warnings, files and exit status.
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>

#include "cli_harness.h"
#include "render/bitmap.h"

namespace qm::cli::test {
namespace {

struct Png {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> gray;  // 0 ink, 255 paper
  int64_t Ink() const { return std::count(gray.begin(), gray.end(), uint8_t{0}); }
};

Png ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Png out;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
  image.format = PNG_FORMAT_GRAY;
  out.gray.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.gray.data(), 0, nullptr)) return {};
  out.width = image.width;
  out.height = image.height;
  return out;
}

struct RenderCase {
  std::string name;
  std::string script;
  std::vector<std::string> args;  // after FILE
  int status;
  std::vector<std::string> files;  // written, relative to the folder
  int64_t firstInk;                // dots inked on the first file
  std::string err;                 // a piece of standard error; empty for none at all
};

TEST(RenderCommand, ScriptsBecomeFilesWarningsAndStatus) {
  const std::vector<RenderCase> cases = {
      {"one label to a named file", "BD10,10,30,20,O\r\nP1\r\n", {"-o", "@/one.png"}, 0, {"one.png"}, 200, ""},
      {"copies into a folder", "BD0,0,10,10,O\r\nP2\r\nBD0,0,5,5,O\r\nP1\r\n", {"-o", "@"}, 0,
       {"label-0001.png", "label-0002.png", "label-0003.png"}, 100, ""},
      {"a command it cannot draw", "BD10,10,30,20,O\r\nXX1\r\nBD900,0,950,5,O\r\nP1\r\n", {"-o", "@/w.png"}, 1,
       {"w.png"}, 200, "2 commands could not be drawn as written:\n  line 2: unknown command \"XX1\"\n  line 3: "},
      {"the paper size given", "SOB\r\nBD0,0,10,10,O\r\n", {"-o", "@/s.png", "--width", "100", "--length", "50"}, 0,
       {"s.png"}, 100, ""},
      {"many labels to one file", "P2\r\n", {"-o", "@/x.png"}, 2, {}, 0, "name a folder"},
      {"a width out of range", "P1\r\n", {"-o", "@", "--width", "0"}, 2, {}, 0, "--width: must be 1..8000"},
  };
  for (const RenderCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string script = dir.Write("in.txt", c.script);
    std::vector<std::string> args = {"render", script};
    for (std::string a : c.args) {
      if (a[0] == '@') a = dir.path() + a.substr(1);
      args.push_back(a);
    }
    CliHarness cli;
    const CliRun run = cli.Run(args);
    EXPECT_EQ(run.status, c.status) << run.err;
    if (c.err.empty()) {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    size_t pngs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) pngs += entry.path().extension() == ".png";
    EXPECT_EQ(pngs, c.files.size());
    for (const std::string& f : c.files) {
      EXPECT_NE(run.out.find(dir.path() + "/" + f), std::string::npos) << run.out;
    }
    if (!c.files.empty()) {
      EXPECT_EQ(ReadPng(dir.path() + "/" + c.files[0]).Ink(), c.firstInk);
    }
  }
}

TEST(RenderCommand, StandardInputAndTheSizeOfThePaper) {
  TempDir dir;
  CliHarness cli;
  cli.in.str("SW400\r\nSL300,24,G\r\nBD0,0,400,300,E\r\nP1\r\n");
  const CliRun run = cli.Run({"render", "-", "-o", dir.path() + "/in.png", "--json"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"labels\":1"), std::string::npos) << run.out;
  const Png png = ReadPng(dir.path() + "/in.png");
  EXPECT_EQ(png.width, 400u);
  EXPECT_EQ(png.height, 300u);
  EXPECT_EQ(png.Ink(), 400 * 300);
}

// Each label is written as soon as it is drawn and let go: the most bitmaps held at once
// is the same for 3 labels as for 60, copies or not.
TEST(RenderCommand, HoldsOneLabelAtATimeWhateverTheirNumber) {
  const auto labels = [](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "BD0,0," + std::to_string(10 + i) + ",10,O\r\nP1\r\n";
    return s;
  };
  struct Row {
    std::string name;
    std::string script;
    size_t files;
    int64_t lastInk;  // dots inked on the last file
  };
  const std::vector<Row> rows = {
      {"three labels", labels(3), 3, 12 * 10},
      {"sixty labels", labels(60), 60, 69 * 10},
      {"sixty copies of one", "BD0,0,10,10,O\r\nP60\r\n", 60, 10 * 10},
  };
  std::vector<int64_t> peaks;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    const std::string script = dir.Write("in.txt", row.script);
    CliHarness cli;
    const int64_t before = render::Bitmap::Live();
    render::Bitmap::ResetPeak();
    const CliRun run = cli.Run({"render", script, "-o", dir.path()});
    EXPECT_EQ(run.status, 0) << run.err;
    peaks.push_back(render::Bitmap::Peak() - before);
    EXPECT_EQ(render::Bitmap::Live(), before);
    size_t pngs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) pngs += entry.path().extension() == ".png";
    EXPECT_EQ(pngs, row.files);
    const std::string last = std::to_string(row.files);
    EXPECT_EQ(ReadPng(dir.path() + "/label-" + std::string(4 - last.size(), '0') + last + ".png").Ink(), row.lastInk);
  }
  EXPECT_LE(peaks[0], 2);
  EXPECT_EQ(peaks[1], peaks[0]);
  EXPECT_EQ(peaks[2], peaks[0]);
}

}  // namespace
}  // namespace qm::cli::test
