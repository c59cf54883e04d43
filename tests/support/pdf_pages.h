// The page sizes of a PDF, read back from the file, for tests of true-size output.
#pragma once

#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace qm::test {

// Every page's "/MediaBox [ 0 0 w h ]" in points, in file order.
inline std::vector<std::pair<double, double>> PdfMediaBoxes(const std::string& pdf) {
  std::vector<std::pair<double, double>> out;
  const std::regex box(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), box); it != std::sregex_iterator(); ++it) {
    out.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
  }
  return out;
}

}  // namespace qm::test
