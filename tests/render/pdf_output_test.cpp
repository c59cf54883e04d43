// Labels as PDF pages: each page at the label's true size in points, the dots on it, and
// write failures reported rather than taken for a finished file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <unistd.h>

#include "pdf_pages.h"
#include "render/pdf_output.h"
#include "table_test.h"
#include "temp_dir.h"

namespace qm::render::test {
namespace {

using qm::test::Slurp;

struct TempPath {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("quillmark-pdf-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".pdf"))
                         .string();
  ~TempPath() { std::filesystem::remove(path); }
  static inline int counter = 0;
};

struct PageRow {
  std::string name;
  std::vector<std::pair<int, int>> labels;  // dots
  std::vector<std::pair<double, double>> points;
};

class PdfPages : public testing::TestWithParam<PageRow> {};

TEST_P(PdfPages, AreTheLabelsTrueSize) {
  TempPath file;
  PdfWriter pdf;
  std::string error;
  ASSERT_TRUE(pdf.Open(file.path, error)) << error;
  for (auto [w, h] : GetParam().labels) {
    Bitmap b(w, h);
    b.Fill({0, 0, w / 2, h / 2});
    ASSERT_TRUE(pdf.AddPage(b, error)) << error;
  }
  ASSERT_TRUE(pdf.Close(error)) << error;
  EXPECT_EQ(pdf.pages(), static_cast<int>(GetParam().labels.size()));
  const std::string bytes = Slurp(file.path);
  ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
  const auto boxes = qm::test::PdfMediaBoxes(bytes);
  ASSERT_EQ(boxes.size(), GetParam().points.size()) << bytes.substr(0, 2000);
  for (size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_NEAR(boxes[i].first, GetParam().points[i].first, 0.01) << "page " << i + 1;
    EXPECT_NEAR(boxes[i].second, GetParam().points[i].second, 0.01) << "page " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PdfPages,
    testing::Values(PageRow{"4 by 6 inches", {{812, 1219}}, {{287.717, 431.929}}},
                    PageRow{"exactly 2 by 1 inches at 203.2 dots per inch", {{406, 203}}, {{143.858, 71.929}}},
                    PageRow{"one page per label, each its own size", {{400, 300}, {80, 8000}},
                            {{141.732, 106.299}, {28.346, 2834.646}}}),
    qm::test::RowName());

TEST(PdfFailures, AreReportedNotTakenForAFile) {
  std::string error;
  {
    PdfWriter pdf;
    EXPECT_FALSE(pdf.Open("/nonexistent-folder/x.pdf", error));
    EXPECT_NE(error.find("/nonexistent-folder/x.pdf"), std::string::npos) << error;
  }
  {
    TempPath file;
    PdfWriter pdf;
    ASSERT_TRUE(pdf.Open(file.path, error));
    error.clear();
    EXPECT_FALSE(pdf.AddPage(Bitmap(0, 10), error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(pdf.Close(error)) << "a PDF without pages";
    EXPECT_NE(error.find("no label"), std::string::npos) << error;
  }
  if (std::filesystem::exists("/dev/full")) {
    PdfWriter pdf;
    ASSERT_TRUE(pdf.Open("/dev/full", error));
    Bitmap b(812, 1219);
    b.Fill({0, 0, 400, 600});
    const bool added = pdf.AddPage(b, error);
    const bool closed = added && pdf.Close(error);
    EXPECT_FALSE(closed) << "a full disk reported as a written PDF";
    EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace qm::render::test
