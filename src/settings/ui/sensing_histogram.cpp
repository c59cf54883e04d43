#include "settings/ui/sensing_histogram.h"

#include <QPainter>
#include <algorithm>

namespace qm {

namespace {

// The page's own peak colours, so chart and count texts agree.
const QColor kPeakFill(0, 0, 128);
const QColor kPeakEdge(0, 255, 255);
const QColor kBar(128, 128, 128);
const QColor kOffered(255, 240, 170);
const QColor kSelected(220, 0, 0);

}  // namespace

SensingHistogram::SensingHistogram(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  setAccessibleName(tr("Sensing value chart"));
}

void SensingHistogram::Clear() {
  counts_ = {};
  lo_ = hi_ = -1;
  first_ = 0;
  last_ = -1;
  selected_ = -1;
  update();
}

void SensingHistogram::SetCounts(const SensingCounts& counts) {
  counts_ = counts;
  update();
}

void SensingHistogram::SetPeaks(int lo, int hi) {
  lo_ = lo;
  hi_ = hi;
  update();
}

void SensingHistogram::SetOffered(int first, int last) {
  first_ = first;
  last_ = last;
  update();
}

void SensingHistogram::SetSelected(int index) {
  selected_ = index;
  update();
}

QRect SensingHistogram::PlotRect() const {
  const int labelHeight = fontMetrics().height() + 2;
  return rect().adjusted(4, 4, -4, -4 - labelHeight);
}

QRect SensingHistogram::BarRect(int index) const {
  const QRect plot = PlotRect();
  const int top = *std::max_element(counts_.begin(), counts_.end());
  const int count = counts_[static_cast<size_t>(std::clamp(index, 0, kSensingLevels - 1))];
  // Every level gets the same slot; a bar fills most of its slot.
  const double slot = plot.width() / static_cast<double>(kSensingLevels);
  const int left = plot.left() + static_cast<int>(index * slot);
  const int width = std::max(1, static_cast<int>(slot * 0.75));
  // A count above zero always shows, however small beside the largest: a gap's cluster is
  // often a fiftieth of the label's.
  int height = top > 0 ? static_cast<int>(static_cast<int64_t>(count) * plot.height() / top) : 0;
  if (count > 0) height = std::max(height, std::min(3, plot.height()));
  return QRect(left, plot.bottom() + 1 - height, width, height);
}

void SensingHistogram::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  const QRect plot = PlotRect();
  const double slot = plot.width() / static_cast<double>(kSensingLevels);
  for (int k = 0; k < kSensingLevels; ++k) {
    const int left = plot.left() + static_cast<int>(k * slot);
    const int right = plot.left() + static_cast<int>((k + 1) * slot);
    if (isOffered(k)) painter.fillRect(QRect(left, plot.top(), right - left, plot.height()), kOffered);
  }
  for (int k = 0; k < kSensingLevels; ++k) {
    const QRect bar = BarRect(k);
    if (bar.height() == 0) continue;
    if (isPeak(k)) {
      painter.fillRect(bar, kPeakFill);
      painter.setPen(kPeakEdge);
      painter.drawRect(bar.adjusted(0, 0, -1, -1));
    } else {
      painter.fillRect(bar, kBar);
    }
  }
  painter.setPen(palette().color(QPalette::Text));
  painter.drawLine(plot.bottomLeft() + QPoint(0, 1), plot.bottomRight() + QPoint(0, 1));
  // Every fourth level named under its bar: 8, 40, ... 232.
  for (int k = 0; k < kSensingLevels; k += 4) {
    const QRect bar = BarRect(k);
    painter.drawText(QRect(bar.left() - 10, plot.bottom() + 2, bar.width() + 20, height() - plot.bottom() - 2),
                     Qt::AlignHCenter | Qt::AlignTop, QString::number(SensingLevel(k)));
  }
  if (selected_ >= 0 && selected_ < kSensingLevels) {
    const QRect bar = BarRect(selected_);
    const int x = bar.center().x();
    painter.setPen(QPen(kSelected, 2));
    painter.drawLine(x, plot.top(), x, plot.bottom());
  }
}

}  // namespace qm
