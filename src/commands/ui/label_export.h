// Labels written out at their true size: PNG files of one pixel a dot (8000 dots per metre
// recorded), and PDF pages of the label's size, one page a label.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace qm {

// Each returns an empty text on success, else why it failed.
QString ExportLabelPng(const QImage& label, const QString& path);
QString ExportLabelsPdf(const std::vector<QImage>& labels, const QString& path);
// "labels.png" for label 3 of several: "labels-0003.png".
QString NumberedPath(const QString& path, int number);

}  // namespace qm
