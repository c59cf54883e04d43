// Labels as a PDF at their true size, one page per label: a page is the label's width and
// length at 8 dots per millimetre, every dot a square of 1/8 mm.
#pragma once

#include <cstdio>
#include <string>

#include "render/bitmap.h"

namespace qm::render {

// A side of `dots` in PDF points (1/72 inch).
inline double PointsOfDots(int dots) { return dots / 8.0 / 25.4 * 72.0; }

// Pages are written as they are added, so a long run of labels need not stay in memory.
class PdfWriter {
 public:
  PdfWriter() = default;
  ~PdfWriter();
  PdfWriter(const PdfWriter&) = delete;
  PdfWriter& operator=(const PdfWriter&) = delete;

  // Each returns false with `error` set; after a failure the file is not a whole PDF.
  bool Open(const std::string& path, std::string& error);
  bool AddPage(const Bitmap& label, std::string& error);
  // Finishes the file; a PDF with no page added is refused (it would not be one).
  bool Close(std::string& error);

  int pages() const { return pages_; }

 private:
  static int Write(void* self, const unsigned char* data, unsigned int length);

  std::string path_;
  std::FILE* file_ = nullptr;
  bool writeFailed_ = false;
  void* surface_ = nullptr;  // cairo_surface_t, kept out of this header
  int pages_ = 0;
};

}  // namespace qm::render
