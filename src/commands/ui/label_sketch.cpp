#include "commands/ui/label_sketch.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace qm {

namespace {

constexpr int kPadding = 8;
// The gap or mark the "SL" line asks for, in dots.
constexpr double kPartingDots = 24;
// How much of the next label shows below the parting, as a share of the label's length.
constexpr double kNextLabelShare = 0.15;
// A parting thinner than this would vanish on a long label.
constexpr double kLeastPartingPx = 3;
// The black mark covers this share of the width from the left edge.
constexpr double kMarkShare = 0.25;
const QColor kOutline{150, 150, 150};

bool Drawable(double dots) { return std::isfinite(dots) && dots >= 1; }

}  // namespace

LabelSketch::LabelSketch(QWidget* parent) : QWidget(parent) {
  setMinimumSize(160, 160);
  setAccessibleName(tr("Label picture"));
}

QSize LabelSketch::sizeHint() const { return {220, 220}; }

void LabelSketch::Show(const LabelSettingFields& fields) {
  fields_ = fields;
  update();
}

LabelSketch::Layout LabelSketch::Measure() const {
  Layout m;
  const double width = DotsOf(fields_.width, fields_.unit);
  const double length = DotsOf(fields_.length, fields_.unit);
  if (!Drawable(width) || !Drawable(length)) return m;
  const double parting = fields_.media == MediaType::kContinuous ? 0 : kPartingDots;
  const double feed = length + parting + length * kNextLabelShare;
  const double scaleX = (this->width() - 2.0 * kPadding) / width;
  const double scaleY = (height() - 2.0 * kPadding) / feed;
  m.scale = std::min(scaleX, scaleY);
  if (!(m.scale > 0)) return Layout{};
  const QSizeF size(std::max(width * m.scale, 1.0), std::max(length * m.scale, 1.0));
  m.label = QRectF(QPointF(std::round((this->width() - size.width()) / 2), kPadding), size);
  m.partingPx = parting == 0 ? 0 : std::max(parting * m.scale, kLeastPartingPx);
  return m;
}

QRectF LabelSketch::labelRect() const { return Measure().label; }

void LabelSketch::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kBacking);
  const Layout m = Measure();
  if (m.label.isEmpty()) return;
  const QRectF& label = m.label;
  const double bottom = height() - kPadding;
  const double nextTop = label.bottom() + m.partingPx;
  const QRectF rest(label.left(), label.bottom(), label.width(), std::max(bottom - label.bottom(), 0.0));
  switch (fields_.media) {
    case MediaType::kGap:
      // The backing shows between two labels.
      p.fillRect(label, kPaper);
      p.fillRect(QRectF(label.left(), nextTop, label.width(), std::max(bottom - nextTop, 0.0)), kPaper);
      break;
    case MediaType::kBlackMark:
      // One strip of paper, a mark where each label ends.
      p.fillRect(label, kPaper);
      p.fillRect(rest, kPaper);
      p.fillRect(QRectF(label.left(), label.bottom(), std::max(label.width() * kMarkShare, 2.0), m.partingPx), kMark);
      break;
    case MediaType::kContinuous: {
      // Paper without end: the length is only where a label is cut off.
      p.fillRect(label, kPaper);
      p.fillRect(rest, kPaper);
      p.setPen(QPen(kOutline, 1, Qt::DashLine));
      p.drawLine(QLineF(label.left(), label.bottom(), label.right(), label.bottom()));
      break;
    }
  }
  p.setPen(QPen(kOutline, 1));
  p.drawRect(label.adjusted(0, 0, -1, -1));
  if (fields_.marginApply) {
    // Printing starts this far from the label's left and top edges.
    const double x = label.left() + DotsOf(fields_.xMargin, fields_.unit) * m.scale;
    const double y = label.top() + DotsOf(fields_.yMargin, fields_.unit) * m.scale;
    p.setPen(QPen(kMargin, 1, Qt::DashLine));
    if (x > label.left() && x < label.right()) p.drawLine(QLineF(x, label.top(), x, label.bottom() - 1));
    if (y > label.top() && y < label.bottom()) p.drawLine(QLineF(label.left(), y, label.right() - 1, y));
  }
}

}  // namespace qm
