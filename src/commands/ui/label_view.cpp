#include "commands/ui/label_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>

#include "gui/file_chooser.h"
#include "render/drawn_boxes.h"

namespace qm {

namespace {

constexpr double kDotsPerMm = 8.0;
constexpr double kDotsPerInch = 203.2;
constexpr int kRulerThickness = 22;
const QString kOverlayFilter = QStringLiteral("Pictures(*.png;*.jpg;*.jpeg)|*.png;*.jpg;*.jpeg||");

double DotsPerUnit(LabelView::Unit unit) {
  switch (unit) {
    case LabelView::Unit::kMillimetres: return kDotsPerMm;
    case LabelView::Unit::kInches: return kDotsPerInch;
    default: return 1.0;
  }
}

QRectF OnScreen(const render::Box& b, double zoom) {
  return QRectF(b.left * zoom, b.top * zoom, b.width * zoom, b.height * zoom);
}

}  // namespace

// The label itself, at the zoom: paper, the overlay under the ink, the grid and outlines.
class LabelCanvas : public QWidget {
 public:
  explicit LabelCanvas(LabelView& view) : view_(view) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Dark));
    if (view_.label_.isNull()) return;
    const double z = view_.zoom_;
    const QRectF paper(0, 0, view_.label_.width() * z, view_.label_.height() * z);
    p.fillRect(paper, Qt::white);
    // Smooth below full size, so thin bars stay visible; dot for dot above it.
    p.setRenderHint(QPainter::SmoothPixmapTransform, z < 1);
    if (!view_.overlayImage_.isNull() && view_.opacity_->value() > 0) {
      const double dotsPerPixel = kDotsPerMm / view_.overlayScale_->value();
      p.save();
      p.setClipRect(paper);
      p.setOpacity(view_.opacity_->value() / 100.0);
      p.drawImage(QRectF(0, 0, view_.overlayImage_.width() * dotsPerPixel * z,
                         view_.overlayImage_.height() * dotsPerPixel * z),
                  view_.overlayImage_);
      p.restore();
    }
    p.drawImage(paper, view_.ink_);
    if (view_.grid_->isChecked()) {
      const double step = view_.MajorStep();
      p.setPen(QPen(QColor(0, 120, 215, 90), 0));
      for (double x = step; x < view_.label_.width(); x += step) p.drawLine(QPointF(x * z, 0), QPointF(x * z, paper.bottom()));
      for (double y = step; y < view_.label_.height(); y += step) p.drawLine(QPointF(0, y * z), QPointF(paper.right(), y * z));
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!view_.pickedBox_.empty()) {
      p.setPen(QPen(QColor(0, 160, 0), 2, Qt::DashLine));
      p.drawRect(OnScreen(view_.pickedBox_, z).adjusted(-1, -1, 1, 1));
    }
    if (!view_.caretBox_.empty()) {
      p.setPen(QPen(QColor(220, 0, 0), 2));
      p.drawRect(OnScreen(view_.caretBox_, z).adjusted(-1, -1, 1, 1));
    }
  }
  void mouseMoveEvent(QMouseEvent* e) override { view_.PointerAt(e->position().toPoint()); }
  void leaveEvent(QEvent*) override { view_.PointerAt(QPoint(-1, -1)); }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) view_.PickAt(e->position().toPoint());
  }

 private:
  LabelView& view_;
};

// A ruler along the top or the left edge, counting from the label's first dot.
class LabelRuler : public QWidget {
 public:
  LabelRuler(LabelView& view, Qt::Orientation o) : view_(view), o_(o) {
    if (o == Qt::Horizontal) {
      setFixedHeight(kRulerThickness);
    } else {
      setFixedWidth(kRulerThickness);
    }
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    if (view_.label_.isNull()) return;
    // Where the label's first dot stands on this ruler.
    const QPoint origin = view_.canvas_->mapTo(view_.scroll_->viewport(), QPoint(0, 0));
    const int start = o_ == Qt::Horizontal ? origin.x() : origin.y();
    const int length = o_ == Qt::Horizontal ? view_.label_.width() : view_.label_.height();
    const double z = view_.zoom_;
    const double step = view_.MajorStep();
    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    for (int i = 0;; ++i) {
      const double dots = i * step / 5;
      if (dots > length) break;
      const double at = start + dots * z;
      const bool major = i % 5 == 0;
      const double tick = major ? kRulerThickness : kRulerThickness / 3.0;
      if (o_ == Qt::Horizontal) {
        p.drawLine(QPointF(at, kRulerThickness - tick), QPointF(at, kRulerThickness));
        if (major) p.drawText(QPointF(at + 2, 10), Round(dots));
      } else {
        p.drawLine(QPointF(kRulerThickness - tick, at), QPointF(kRulerThickness, at));
        if (major) {
          p.save();
          // Read from the bottom up, clear of the short ticks on the right.
          p.translate(10, at - 2);
          p.rotate(-90);
          p.drawText(QPointF(-p.fontMetrics().horizontalAdvance(Round(dots)), 0), Round(dots));
          p.restore();
        }
      }
    }
  }

 private:
  // A ruler's figure: the steps are round, so no trailing zeros.
  QString Round(double dots) const {
    return QString::number(dots / DotsPerUnit(view_.unit()), 'g', 6);
  }

  LabelView& view_;
  Qt::Orientation o_;
};

LabelView::LabelView(QWidget* parent) : QWidget(parent) {
  unit_ = new QComboBox;
  unit_->addItem(tr("Dots"));
  unit_->addItem(tr("mm"));
  unit_->addItem(tr("Inches"));
  unit_->setAccessibleName(tr("Ruler unit"));
  grid_ = new QCheckBox(tr("Grid"));
  overlay_ = new QPushButton(tr("Overlay\u2026"));
  overlay_->setToolTip(tr("A PNG or JPEG picture under the label, to compare with a design"));
  opacity_ = new QSpinBox;
  opacity_->setRange(0, 100);
  opacity_->setValue(50);
  opacity_->setSuffix(QStringLiteral(" %"));
  opacity_->setAccessibleName(tr("Overlay opacity"));
  opacity_->setToolTip(tr("Overlay opacity"));
  overlayScale_ = new QDoubleSpinBox;
  overlayScale_->setRange(0.5, 100.0);
  overlayScale_->setDecimals(2);
  overlayScale_->setValue(kDotsPerMm);
  overlayScale_->setSuffix(tr(" px/mm"));
  overlayScale_->setAccessibleName(tr("Overlay pixels per millimetre"));
  overlayScale_->setToolTip(tr("Overlay pixels per millimetre (8: one pixel a dot)"));
  pointer_ = new QLabel;

  canvas_ = new LabelCanvas(*this);
  scroll_ = new QScrollArea;
  scroll_->setWidget(canvas_);
  scroll_->setAlignment(Qt::AlignCenter);
  scroll_->setBackgroundRole(QPalette::Dark);
  top_ = new LabelRuler(*this, Qt::Horizontal);
  left_ = new LabelRuler(*this, Qt::Vertical);
  for (QScrollBar* bar : {scroll_->horizontalScrollBar(), scroll_->verticalScrollBar()}) {
    connect(bar, &QScrollBar::valueChanged, this, [this] {
      top_->update();
      left_->update();
    });
  }
  connect(unit_, &QComboBox::currentIndexChanged, this, [this] {
    Refresh();
    ShowPointer();
  });
  connect(grid_, &QCheckBox::toggled, this, &LabelView::Refresh);
  connect(opacity_, &QSpinBox::valueChanged, this, &LabelView::Refresh);
  connect(overlayScale_, &QDoubleSpinBox::valueChanged, this, &LabelView::Refresh);
  connect(overlay_, &QPushButton::clicked, this, &LabelView::ChooseOverlay);

  // Two short rows, so the tools fit a narrow pane.
  auto* tools = new QHBoxLayout;
  tools->addWidget(unit_);
  tools->addWidget(grid_);
  tools->addWidget(pointer_, 1);
  auto* overlayTools = new QHBoxLayout;
  overlayTools->addWidget(overlay_);
  overlayTools->addWidget(opacity_);
  overlayTools->addWidget(overlayScale_);
  overlayTools->addStretch(1);
  auto* area = new QGridLayout;
  area->setSpacing(0);
  area->addWidget(top_, 0, 1);
  area->addWidget(left_, 1, 0);
  area->addWidget(scroll_, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(tools);
  layout->addLayout(overlayTools);
  layout->addLayout(area, 1);
  setMinimumSize(260, 260);
  scroll_->viewport()->installEventFilter(this);
}

bool LabelView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == scroll_->viewport() && event->type() == QEvent::Resize) emit viewportResized();
  return QWidget::eventFilter(watched, event);
}

LabelView::~LabelView() = default;

QWidget* LabelView::canvas() const { return canvas_; }

void LabelView::SetScrollable(bool scrollable) {
  const Qt::ScrollBarPolicy policy = scrollable ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  scroll_->setHorizontalScrollBarPolicy(policy);
  scroll_->setVerticalScrollBarPolicy(policy);
}

QSize LabelView::viewportSize() const { return scroll_->viewport()->size(); }

LabelView::Unit LabelView::unit() const { return static_cast<Unit>(std::max(unit_->currentIndex(), 0)); }

void LabelView::SetLabel(const QImage& label, const std::vector<render::DrawnBox>& boxes) {
  label_ = label;
  boxes_ = boxes;
  pickedBox_ = {};
  ink_ = QImage();
  if (!label.isNull()) {
    // Paper turns transparent and ink stays black, so the overlay lies under the ink.
    const QImage gray = label.convertToFormat(QImage::Format_Grayscale8);
    ink_ = QImage(gray.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < gray.height(); ++y) {
      const uchar* in = gray.constScanLine(y);
      auto* out = reinterpret_cast<QRgb*>(ink_.scanLine(y));
      for (int x = 0; x < gray.width(); ++x) out[x] = qPremultiply(qRgba(0, 0, 0, 255 - in[x]));
    }
  }
  caretBox_ = caretLine_ > 0 ? render::BoxOfLine(boxes_, caretLine_) : render::Box{};
  SetZoom(zoom_);
}

void LabelView::SetZoom(double zoom) {
  zoom_ = zoom;
  const QSize size = label_.isNull() ? scroll_->viewport()->size()
                                     : QSize(std::max(1, static_cast<int>(label_.width() * zoom_)),
                                             std::max(1, static_cast<int>(label_.height() * zoom_)));
  canvas_->resize(size);
  Refresh();
}

void LabelView::SetCaretLine(int line) {
  caretLine_ = line;
  caretBox_ = line > 0 ? render::BoxOfLine(boxes_, line) : render::Box{};
  canvas_->update();
}

void LabelView::SetOverlay(const QImage& picture) {
  overlayImage_ = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  Refresh();
}

void LabelView::ChooseOverlay() {
  DialogFileChooser system;
  FileChooser& files = files_ ? *files_ : static_cast<FileChooser&>(system);
  const std::optional<QString> path = files.ChooseOpen(this, kOverlayFilter);
  if (!path || path->isEmpty()) return;
  const QImage picture(*path);
  if (picture.isNull()) {
    pointer_->setText(tr("Cannot read %1").arg(*path));
    return;
  }
  SetOverlay(picture);
}

void LabelView::Refresh() {
  canvas_->update();
  top_->update();
  left_->update();
}

double LabelView::MajorStep() const {
  // A step of a round number of units at least 60 pixels apart on screen.
  static const double kDots[] = {10, 25, 50, 100, 200, 500, 1000, 2000, 5000};
  static const double kMm[] = {1, 2, 5, 10, 20, 50, 100, 200, 500};
  static const double kInches[] = {0.1, 0.25, 0.5, 1, 2, 5, 10, 20};
  const Unit u = unit();
  const double per = DotsPerUnit(u);
  const auto pick = [&](const auto& steps) {
    for (double s : steps) {
      if (s * per * zoom_ >= 60) return s * per;
    }
    return steps[std::size(steps) - 1] * per;
  };
  return u == Unit::kMillimetres ? pick(kMm) : u == Unit::kInches ? pick(kInches) : pick(kDots);
}

QString LabelView::InUnit(double dots, Unit unit) {
  switch (unit) {
    case Unit::kMillimetres: return QString::number(dots / kDotsPerMm, 'f', 2);
    case Unit::kInches: return QString::number(dots / kDotsPerInch, 'f', 3);
    default: return QString::number(static_cast<int>(std::floor(dots)));
  }
}

QString LabelView::UnitName(Unit unit) {
  switch (unit) {
    case Unit::kMillimetres: return tr("mm");
    case Unit::kInches: return tr("in");
    default: return tr("dots");
  }
}

void LabelView::PointerAt(QPoint canvasPos) {
  if (label_.isNull() || zoom_ <= 0) return;
  const int x = static_cast<int>(std::floor(canvasPos.x() / zoom_));
  const int y = static_cast<int>(std::floor(canvasPos.y() / zoom_));
  pointerDot_ = QPoint(x, y);
  if (x < 0 || y < 0 || x >= label_.width() || y >= label_.height()) pointerDot_.reset();
  ShowPointer();
}

void LabelView::ShowPointer() {
  if (!pointerDot_) {
    pointer_->clear();
    return;
  }
  // A dot's position is its top-left corner.
  pointer_->setText(
      tr("%1, %2 %3").arg(InUnit(pointerDot_->x(), unit()), InUnit(pointerDot_->y(), unit()), UnitName(unit())));
}

void LabelView::PickAt(QPoint canvasPos) {
  if (label_.isNull() || zoom_ <= 0) return;
  const int x = static_cast<int>(std::floor(canvasPos.x() / zoom_));
  const int y = static_cast<int>(std::floor(canvasPos.y() / zoom_));
  const std::optional<render::DrawnBox> picked = render::PickAt(boxes_, x, y);
  pickedBox_ = picked ? picked->box : render::Box{};
  canvas_->update();
  if (picked) emit linePicked(picked->line);
}

}  // namespace qm
