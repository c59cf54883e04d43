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

QString ExportLabelsPdf(const std::vector<QImage>& labels, const QString& path) {
  if (labels.empty()) return Tr(QT_TRANSLATE_NOOP("LabelExport", "No label to export"));
  QPdfWriter writer(path);
  writer.setCreator(QStringLiteral("Quillmark"));
  writer.setResolution(kPdfResolution);
  writer.setPageLayout(QPageLayout(PageOf(labels.front()), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  QPainter painter;
  if (!painter.begin(&writer)) return Tr(QT_TRANSLATE_NOOP("LabelExport", "Cannot write %1")).arg(path);
  for (size_t i = 0; i < labels.size(); ++i) {
    const QImage& label = labels[i];
    if (i > 0) {
      writer.setPageLayout(QPageLayout(PageOf(label), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
      writer.newPage();
    }
    const double unitsPerDot = kPdfResolution / (kDotsPerMm * 25.4);
    painter.drawImage(QRectF(0, 0, label.width() * unitsPerDot, label.height() * unitsPerDot),
                      label.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
  }
  if (!painter.end()) return Tr(QT_TRANSLATE_NOOP("LabelExport", "Cannot write %1")).arg(path);
  return {};
}

}  // namespace qm
