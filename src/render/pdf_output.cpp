#include "render/pdf_output.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cerrno>
#include <cstring>

namespace qm::render {

namespace {

cairo_surface_t* Surface(void* s) { return static_cast<cairo_surface_t*>(s); }

}  // namespace

PdfWriter::~PdfWriter() {
  if (surface_) cairo_surface_destroy(Surface(surface_));
  if (file_) std::fclose(file_);
}

int PdfWriter::Write(void* self, const unsigned char* data, unsigned int length) {
  auto* w = static_cast<PdfWriter*>(self);
  if (std::fwrite(data, 1, length, w->file_) != length) {
    w->writeFailed_ = true;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

bool PdfWriter::Open(const std::string& path, std::string& error) {
  path_ = path;
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  // The size is set again for every page.
  cairo_surface_t* s = cairo_pdf_surface_create_for_stream(
      [](void* self, const unsigned char* data, unsigned int length) {
        return static_cast<cairo_status_t>(Write(self, data, length));
      },
      this, 72, 72);
  surface_ = s;
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    error = path + ": " + cairo_status_to_string(cairo_surface_status(s));
    return false;
  }
  cairo_pdf_surface_set_metadata(s, CAIRO_PDF_METADATA_CREATOR, "Quillmark");
  return true;
}

bool PdfWriter::AddPage(const Bitmap& label, std::string& error) {
  if (!surface_ || label.width() <= 0 || label.height() <= 0) {
    error = path_ + ": " + (surface_ ? "an empty label makes no page" : "not open");
    return false;
  }
  cairo_surface_t* pdf = Surface(surface_);
  cairo_pdf_surface_set_size(pdf, PointsOfDots(label.width()), PointsOfDots(label.height()));
  // The dots as a mask through which black is painted: the PDF holds them as a bitmap.
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_A8, label.width(), label.height());
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    error = path_ + ": " + cairo_status_to_string(cairo_surface_status(image));
    cairo_surface_destroy(image);
    return false;
  }
  cairo_surface_flush(image);
  unsigned char* rows = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  const std::vector<uint8_t>& dots = label.dots();
  for (int y = 0; y < label.height(); ++y) {
    for (int x = 0; x < label.width(); ++x) {
      rows[static_cast<size_t>(y) * stride + x] = dots[static_cast<size_t>(y) * label.width() + x] ? 0xFF : 0;
    }
  }
  cairo_surface_mark_dirty(image);
  cairo_t* cr = cairo_create(pdf);
  const double scale = PointsOfDots(1);
  cairo_scale(cr, scale, scale);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_pattern_t* mask = cairo_pattern_create_for_surface(image);
  // Dots stay sharp squares at any zoom.
  cairo_pattern_set_filter(mask, CAIRO_FILTER_NEAREST);
  cairo_mask(cr, mask);
  cairo_pattern_destroy(mask);
  cairo_show_page(cr);
  const cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(image);
  if (status != CAIRO_STATUS_SUCCESS || writeFailed_) {
    error = path_ + ": " + (writeFailed_ ? std::string("cannot be written") : cairo_status_to_string(status));
    return false;
  }
  ++pages_;
  return true;
}

bool PdfWriter::Close(std::string& error) {
  if (!surface_) {
    error = path_ + ": not open";
    return false;
  }
  if (pages_ == 0) {
    error = path_ + ": no label to write";
    return false;
  }
  cairo_surface_t* s = Surface(surface_);
  cairo_surface_finish(s);
  const cairo_status_t status = cairo_surface_status(s);
  cairo_surface_destroy(s);
  surface_ = nullptr;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (status != CAIRO_STATUS_SUCCESS || writeFailed_ || !closed) {
    error = path_ + ": cannot be written";
    return false;
  }
  return true;
}

}  // namespace qm::render
