#include "commands/ui/label_export.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace qm {

namespace {

constexpr double kDotsPerMm = 8.0;
constexpr int kPdfResolution = 1200;  // the writer's units per inch; a dot is 5.9 of them

QString Tr(const char* text) { return QCoreApplication::translate("LabelExport", text); }

QPageSize PageOf(const QImage& label) {
  return QPageSize(QSizeF(label.width() / kDotsPerMm, label.height() / kDotsPerMm), QPageSize::Millimeter,
                   QString(), QPageSize::ExactMatch);
}

}  // namespace

QString NumberedPath(const QString& path, int number) {
  const QFileInfo info(path);
  const QString suffix = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
  const QString stem = suffix.isEmpty() ? path : path.left(path.size() - suffix.size());
  return stem + QStringLiteral("-%1").arg(number, 4, 10, QLatin1Char('0')) + suffix;
}

QString ExportLabelPng(const QImage& label, const QString& path) {
  if (label.isNull()) return Tr(QT_TRANSLATE_NOOP("LabelExport", "No label to export"));
  QImage out = label.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
  out.setDotsPerMeterX(8000);
  out.setDotsPerMeterY(8000);
  if (!out.save(path, "PNG")) return Tr(QT_TRANSLATE_NOOP("LabelExport", "Cannot write %1")).arg(path);
  return {};
}

LabelPdf::LabelPdf(const QString& path) : path_(path) {}
LabelPdf::~LabelPdf() { Close(); }

QString LabelPdf::Add(const QImage& label) {
  if (label.isNull()) return Tr(QT_TRANSLATE_NOOP("LabelExport", "No label to export"));
  const QPageLayout layout(PageOf(label), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
  if (!writer_) {
    writer_ = std::make_unique<QPdfWriter>(path_);
    writer_->setCreator(QStringLiteral("Quillmark"));
    writer_->setResolution(kPdfResolution);
    writer_->setPageLayout(layout);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(writer_.get())) {
      failed_ = true;
      return Tr(QT_TRANSLATE_NOOP("LabelExport", "Cannot write %1")).arg(path_);
    }
  } else {
    writer_->setPageLayout(layout);
    writer_->newPage();
  }
  const double unitsPerDot = kPdfResolution / (kDotsPerMm * 25.4);
  painter_->drawImage(QRectF(0, 0, label.width() * unitsPerDot, label.height() * unitsPerDot),
                      label.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
  ++pages_;
  return {};
}

QString LabelPdf::Close() {
  if (!painter_) return pages_ == 0 && !failed_ ? Tr(QT_TRANSLATE_NOOP("LabelExport", "No label to export")) : QString();
  const bool ended = !painter_->isActive() || painter_->end();
  painter_.reset();
  writer_.reset();
  if (!ended || failed_) return Tr(QT_TRANSLATE_NOOP("LabelExport", "Cannot write %1")).arg(path_);
  return {};
}

QString ExportLabelsPdf(const std::vector<QImage>& labels, const QString& path) {
  if (labels.empty()) return Tr(QT_TRANSLATE_NOOP("LabelExport", "No label to export"));
  LabelPdf pdf(path);
  for (const QImage& label : labels) {
    if (QString error = pdf.Add(label); !error.isEmpty()) return error;
  }
  return pdf.Close();
}

}  // namespace qm
