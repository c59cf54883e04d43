// Labels written out at their true size: PNG files of one pixel a dot (8000 dots per metre
// recorded), and PDF pages of the label's size, one page a label.
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

class QPdfWriter;
class QPainter;

namespace qm {

// Each returns an empty text on success, else why it failed.
QString ExportLabelPng(const QImage& label, const QString& path);
QString ExportLabelsPdf(const std::vector<QImage>& labels, const QString& path);

// A PDF written a page at a time, so a long script's labels need not all be held at once.
class LabelPdf {
 public:
  explicit LabelPdf(const QString& path);
  ~LabelPdf();
  LabelPdf(const LabelPdf&) = delete;
  LabelPdf& operator=(const LabelPdf&) = delete;
  // The label as the next page, of its own size; empty on success, else why not.
  QString Add(const QImage& label);
  // Finishes the file; empty on success. A PDF with no page is refused (it would not be one).
  QString Close();

 private:
  QString path_;
  std::unique_ptr<QPdfWriter> writer_;
  std::unique_ptr<QPainter> painter_;
  int pages_ = 0;
  bool failed_ = false;
};
// "labels.png" for label 3 of several: "labels-0003.png".
QString NumberedPath(const QString& path, int number);

}  // namespace qm
