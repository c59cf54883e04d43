// `render --boxes` and `render --format pdf`: where each command drew, objects that overlap,
// and labels written at their true size as PDF pages and PNG pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli_harness.h"
#include "pdf_pages.h"
#include "table_test.h"

namespace qm::cli::test {
namespace {

using qm::test::Slurp;

struct BoxesRow {
  std::string name;
  std::string script;
  int status;
  std::string boxes;  // stdout after the file names
  std::string err;    // standard error exactly; empty for none
};

class RenderBoxes : public testing::TestWithParam<BoxesRow> {};

TEST_P(RenderBoxes, PrintsEachDrawnCommandAndWarnsOfOverlaps) {
  const BoxesRow& row = GetParam();
  TempDir dir;
  const std::string script = dir.Write("in.txt", row.script);
  CliHarness cli;
  const CliRun run = cli.Run({"render", script, "-o", dir.path(), "--boxes"});
  EXPECT_EQ(run.status, row.status) << run.err;
  const size_t at = run.out.find("\nlabel ");
  EXPECT_EQ(at == std::string::npos ? std::string() : run.out.substr(at + 1), row.boxes) << run.out;
  if (row.err.empty()) {
    EXPECT_EQ(run.err, "");
  } else {
    EXPECT_NE(run.err.find(row.err), std::string::npos) << run.err;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, RenderBoxes,
    testing::Values(
        BoxesRow{"a block and a text", "BD100,100,800,120,O\r\nT10,20,1,1,1,0,0,N,N,'AB'\r\nP1\r\n", 0,
                 "label 1 line 1 BD 100,100 700x20\nlabel 1 line 2 T 10,20 20x18\n", ""},
        BoxesRow{"text on a filled block", "BD0,0,100,30,O\r\nT5,5,1,1,1,0,0,N,N,'AB'\r\nP1\r\n", 1,
                 "label 1 line 1 BD 0,0 100x30\nlabel 1 line 2 T 5,5 20x18\n",
                 "1 object overlaps another:\n  line 2: \"T\" overlaps \"BD\" of line 1"},
        BoxesRow{"text in a frame is no overlap", "BD0,0,100,30,B,2\r\nT5,5,1,1,1,0,0,N,N,'AB'\r\nP1\r\n", 0,
                 "label 1 line 1 BD 0,0 100x30\nlabel 1 line 2 T 5,5 20x18\n", ""},
        BoxesRow{"a block off the label's edge", "BD800,0,900,10,O\r\nP1\r\n", 1, "label 1 line 1 BD 800,0 100x10\n",
                 "1 command could not be drawn as written:\n  line 1: \"BD800,0,900,10,O\" reaches beyond the label: cut off"},
        BoxesRow{"overlaps named by label, copies once",
                 "BD0,0,10,10,O\r\nP2\r\nBD0,0,10,10,O\r\nBD5,5,20,20,O\r\nP1\r\n", 1,
                 "label 1 line 1 BD 0,0 10x10\nlabel 2 line 1 BD 0,0 10x10\n"
                 "label 3 line 3 BD 0,0 10x10\nlabel 3 line 4 BD 5,5 15x15\n",
                 "1 object overlaps another:\n  label 3 line 4: \"BD\" overlaps \"BD\" of line 3"},
        BoxesRow{"nothing drawn, no boxes", "SS3\r\nP1\r\n", 0, "", ""}),
    qm::test::RowName());

TEST(RenderBoxesJson, ListsEveryBoxAsAnObject) {
  TempDir dir;
  const std::string script = dir.Write("in.txt", "SM10,5\r\nBD0,0,30,20,O\r\nB250,60,Q,2,M,4,0,'HELLO'\r\n");
  CliHarness cli;
  const CliRun run = cli.Run({"--json", "render", script, "-o", dir.path() + "/one.png", "--boxes"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"boxes\":[{\"label\":1,\"line\":2,\"command\":\"BD\",\"left\":10,\"top\":5,\"width\":30,"
                         "\"height\":20},{\"label\":1,\"line\":3,\"command\":\"B2\",\"left\":60,\"top\":65,"
                         "\"width\":168,\"height\":168}]"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"overlaps\":[]"), std::string::npos) << run.out;
}

// What pdfinfo says of every page ("Page 1 size: 141.732 x 106.299 pts"); empty without it.
std::string PdfInfoSizes(const std::string& path) {
  std::FILE* p = ::popen(("pdfinfo -f 1 -l 99 '" + path + "' 2>/dev/null").c_str(), "r");
  if (!p) return {};
  std::string out;
  char line[512];
  while (std::fgets(line, sizeof line, p)) {
    if (std::string_view(line).substr(0, 5) != "Page " || !std::strstr(line, " size: ")) continue;
    // Spaces collapsed: pdfinfo pads its columns.
    for (const char* c = line; *c; ++c) {
      if (*c != ' ' || out.empty() || out.back() != ' ') out += *c;
    }
  }
  ::pclose(p);
  return out;
}

TEST(RenderPdf, OnePageEachLabelAtTrueSize) {
  TempDir dir;
  const std::string script =
      dir.Write("in.txt", "SW400\r\nSL300,24,G\r\nBD0,0,10,10,O\r\nP2\r\nSW812\r\nSL1219,24,G\r\nBD0,0,5,5,O\r\nP1\r\n");
  CliHarness cli;
  const CliRun run = cli.Run({"render", script, "--format", "pdf", "-o", dir.path() + "/out.pdf"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, dir.path() + "/out.pdf\n");
  const auto pages = qm::test::PdfMediaBoxes(Slurp(dir.path() + "/out.pdf"));
  ASSERT_EQ(pages.size(), 3u);
  const double expected[3][2] = {{141.732, 106.299}, {141.732, 106.299}, {287.717, 431.929}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(pages[i].first, expected[i][0], 0.01) << "page " << i + 1;
    EXPECT_NEAR(pages[i].second, expected[i][1], 0.01) << "page " << i + 1;
  }
  const std::string info = PdfInfoSizes(dir.path() + "/out.pdf");
  if (!info.empty()) {
    EXPECT_EQ(info,
              "Page 1 size: 141.732 x 106.299 pts\nPage 2 size: 141.732 x 106.299 pts\n"
              "Page 3 size: 287.717 x 431.929 pts\n");
  }
}

struct PdfPathRow {
  std::string name;
  std::string out;  // "@" is the test's folder
  int status;
  std::string written;  // relative to the folder; empty for none
  std::string err;
};

class RenderPdfPath : public testing::TestWithParam<PdfPathRow> {};

TEST_P(RenderPdfPath, IsTheFileOrLabelsPdfInTheFolder) {
  const PdfPathRow& row = GetParam();
  TempDir dir;
  const std::string script = dir.Write("in.txt", "BD0,0,10,10,O\r\nP1\r\n");
  std::string out = row.out;
  if (out[0] == '@') out = dir.path() + out.substr(1);
  CliHarness cli;
  const CliRun run = cli.Run({"render", script, "--format", "pdf", "-o", out});
  EXPECT_EQ(run.status, row.status) << run.err;
  if (!row.written.empty()) {
    EXPECT_EQ(Slurp(dir.path() + "/" + row.written).substr(0, 5), "%PDF-");
  }
  if (!row.err.empty()) {
    EXPECT_NE(run.err.find(row.err), std::string::npos) << run.err;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Outs, RenderPdfPath,
    testing::Values(PdfPathRow{"a folder gets labels.pdf", "@", 0, "labels.pdf", ""},
                    PdfPathRow{"a named file", "@/x.pdf", 0, "x.pdf", ""},
                    PdfPathRow{"a name that is not a pdf", "@/x.png", 2, "", "give a name ending in .pdf"},
                    PdfPathRow{"a folder that is not there", "@/none/x.pdf", 2, "", "/none/x.pdf"}),
    qm::test::RowName());

TEST(RenderPng, PixelsAreDotsOfThePaper) {
  TempDir dir;
  const std::string script = dir.Write("in.txt", "SW400\r\nSL300,24,G\r\nBD0,0,10,10,O\r\nP1\r\n");
  CliHarness cli;
  const CliRun run = cli.Run({"render", script, "-o", dir.path() + "/one.png"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string png = Slurp(dir.path() + "/one.png");
  ASSERT_GE(png.size(), 24u);
  ASSERT_EQ(png.substr(12, 4), "IHDR");
  auto be32 = [&](size_t at) {
    return (uint32_t{static_cast<uint8_t>(png[at])} << 24) | (uint32_t{static_cast<uint8_t>(png[at + 1])} << 16) |
           (uint32_t{static_cast<uint8_t>(png[at + 2])} << 8) | uint32_t{static_cast<uint8_t>(png[at + 3])};
  };
  EXPECT_EQ(be32(16), 400u);
  EXPECT_EQ(be32(20), 300u);
}

}  // namespace
}  // namespace qm::cli::test
