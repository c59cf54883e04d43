#include "commands/ui/label_preview_pane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "render/label_renderer.h"

namespace qm {

namespace {

constexpr int kDefaultDebounceMs = 250;
constexpr double kMinZoom = 0.125;
constexpr double kMaxZoom = 4.0;

// One label as an image: black ink on white paper, a byte a dot.
QImage ToImage(const render::Bitmap& b) {
  QImage image(b.width(), b.height(), QImage::Format_Grayscale8);
  const uint8_t* dot = b.dots().data();
  for (int y = 0; y < b.height(); ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < b.width(); ++x) row[x] = *dot++ ? 0 : 255;
  }
  return image;
}

}  // namespace

LabelPreviewPane::LabelPreviewPane(QWidget* parent) : QWidget(parent) {
  pool_.setMaxThreadCount(1);
  debounce_.setSingleShot(true);
  debounce_.setInterval(kDefaultDebounceMs);
  connect(&debounce_, &QTimer::timeout, this, &LabelPreviewPane::StartRender);

  picture_ = new QLabel;
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setBackgroundRole(QPalette::Dark);
  scroll_ = new QScrollArea;
  scroll_->setWidget(picture_);
  scroll_->setAlignment(Qt::AlignCenter);
  scroll_->setMinimumSize(260, 260);

  zoomOut_ = new QPushButton(tr("Zoom Out"));
  zoomIn_ = new QPushButton(tr("Zoom In"));
  fit_ = new QPushButton(tr("Fit"));
  fit_->setCheckable(true);
  fit_->setChecked(true);
  connect(zoomIn_, &QPushButton::clicked, this, [this] { SetZoom(zoom_ * 2, false); });
  connect(zoomOut_, &QPushButton::clicked, this, [this] { SetZoom(zoom_ / 2, false); });
  connect(fit_, &QPushButton::clicked, this, [this] { SetZoom(zoom_, true); });

  previous_ = new QPushButton(tr("<"));
  next_ = new QPushButton(tr(">"));
  previous_->setAccessibleName(tr("Previous label"));
  next_->setAccessibleName(tr("Next label"));
  position_ = new QLabel;
  position_->setAlignment(Qt::AlignCenter);
  connect(previous_, &QPushButton::clicked, this, [this] { ShowLabel(current_ - 1); });
  connect(next_, &QPushButton::clicked, this, [this] { ShowLabel(current_ + 1); });

  warnings_ = new QListWidget;
  warnings_->setMaximumHeight(110);
  connect(warnings_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const int row = warnings_->row(item);
    if (row >= 0 && row < static_cast<int>(warningLines_.size())) emit lineActivated(warningLines_[row]);
  });

  auto* zoomRow = new QHBoxLayout;
  for (QPushButton* b : {zoomOut_, zoomIn_, fit_}) zoomRow->addWidget(b);
  auto* labelRow = new QHBoxLayout;
  labelRow->addWidget(previous_);
  labelRow->addWidget(position_, 1);
  labelRow->addWidget(next_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(zoomRow);
  layout->addWidget(scroll_, 1);
  layout->addLayout(labelRow);
  layout->addWidget(warnings_);
  ShowLabel(0);
}

LabelPreviewPane::~LabelPreviewPane() {
  // A drawing under way finishes before the pane goes; its result is then never shown.
  pool_.clear();
  pool_.waitForDone();
}

void LabelPreviewPane::SetScript(const std::string& bytes) {
  script_ = bytes;
  ++generation_;
  debounce_.start();
}

void LabelPreviewPane::StartRender() {
  const int generation = generation_;
  const std::string script = script_;
  pool_.start([this, generation, script] {
    // One renderer per worker thread: its fonts load once.
    thread_local render::LabelRenderer renderer;
    const render::RenderResult result = renderer.RenderScript(script, {});
    std::vector<QImage> labels;
    // Copies of one print share a bitmap, so they share an image.
    const render::Bitmap* last = nullptr;
    for (const render::RenderedLabel& l : result.labels) {
      if (l.bitmap.get() == last && !labels.empty()) {
        labels.push_back(labels.back());
      } else {
        labels.push_back(ToImage(*l.bitmap));
      }
      last = l.bitmap.get();
    }
    QStringList warnings;
    std::vector<int> lines;
    for (const render::Warning& w : result.warnings) {
      warnings << tr("Line %1: %2").arg(w.line).arg(QString::fromLatin1(w.text.data(), static_cast<qsizetype>(w.text.size())));
      lines.push_back(w.line);
    }
    QMetaObject::invokeMethod(
        this, [this, generation, labels, warnings, lines] { Show(generation, labels, warnings, lines); },
        Qt::QueuedConnection);
  });
}

void LabelPreviewPane::Show(int generation, const std::vector<QImage>& labels, const QStringList& warnings,
                            const std::vector<int>& lines) {
  // A drawing of an older script: a newer one is on its way.
  if (generation != generation_) return;
  labels_ = labels;
  warningLines_ = lines;
  warnings_->clear();
  warnings_->addItems(warnings);
  ShowLabel(std::min(current_, std::max(labelCount() - 1, 0)));
  emit rendered();
}

QImage LabelPreviewPane::currentImage() const {
  return current_ < labelCount() ? labels_[current_] : QImage();
}

void LabelPreviewPane::ShowLabel(int index) {
  current_ = std::clamp(index, 0, std::max(labelCount() - 1, 0));
  previous_->setEnabled(current_ > 0);
  next_->setEnabled(current_ + 1 < labelCount());
  if (labels_.empty()) {
    position_->setText(tr("No label"));
    picture_->setPixmap(QPixmap());
    picture_->resize(scroll_->viewport()->size());
    return;
  }
  position_->setText(tr("Label %1 of %2").arg(current_ + 1).arg(labelCount()));
  SetZoom(zoom_, fitting_);
}

void LabelPreviewPane::SetZoom(double zoom, bool fit) {
  fitting_ = fit;
  fit_->setChecked(fit);
  const QImage image = currentImage();
  if (fit && !image.isNull()) {
    const QSize room = scroll_->viewport()->size() - QSize(4, 4);
    zoom = std::min(static_cast<double>(room.width()) / image.width(), static_cast<double>(room.height()) / image.height());
  }
  zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
  zoomIn_->setEnabled(zoom_ < kMaxZoom);
  zoomOut_->setEnabled(zoom_ > kMinZoom);
  if (image.isNull()) return;
  const QSize size(std::max(1, static_cast<int>(image.width() * zoom_)), std::max(1, static_cast<int>(image.height() * zoom_)));
  // Smooth below full size, so thin bars stay visible; dot for dot above it.
  picture_->setPixmap(QPixmap::fromImage(image.scaled(
      size, Qt::IgnoreAspectRatio, zoom_ < 1 ? Qt::SmoothTransformation : Qt::FastTransformation)));
  picture_->resize(size);
}

void LabelPreviewPane::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (fitting_) SetZoom(zoom_, true);
}

}  // namespace qm
