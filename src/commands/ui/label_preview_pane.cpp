#include "commands/ui/label_preview_pane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace qm {

namespace {

constexpr double kMinZoom = 0.125;
constexpr double kMaxZoom = 4.0;
// A script of many bad lines would fill the list with more than anyone reads.
constexpr int kMaxWarningsListed = 1000;

}  // namespace

LabelPreviewPane::LabelPreviewPane(QWidget* parent) : QWidget(parent) {
  connect(&drawer_, &LabelDrawer::drawn, this, &LabelPreviewPane::Show);

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

LabelPreviewPane::~LabelPreviewPane() = default;

void LabelPreviewPane::SetScript(const std::string& bytes) { drawer_.SetScript(bytes); }

void LabelPreviewPane::Show(const DrawnLabels& drawn) {
  count_ = drawn.count;
  labels_ = drawn.images;
  warnings_->setUpdatesEnabled(false);
  warnings_->clear();
  const size_t listed = std::min(drawn.lines.size(), static_cast<size_t>(kMaxWarningsListed));
  warningLines_.assign(drawn.lines.begin(), drawn.lines.begin() + static_cast<std::ptrdiff_t>(listed));
  for (size_t i = 0; i < listed; ++i) {
    warnings_->addItem(tr("Line %1: %2").arg(drawn.lines[i]).arg(drawn.warnings[static_cast<qsizetype>(i)]));
  }
  if (listed < drawn.lines.size()) warnings_->addItem(tr("... and %1 more").arg(drawn.lines.size() - listed));
  warnings_->setUpdatesEnabled(true);
  ShowLabel(std::min(current_, std::max(labelCount() - 1, 0)));
  emit rendered();
}

QImage LabelPreviewPane::currentImage() const {
  const auto it = labels_.find(current_);
  return it != labels_.end() ? it->second : QImage();
}

void LabelPreviewPane::ShowLabel(int index) {
  current_ = std::clamp(index, 0, std::max(labelCount() - 1, 0));
  previous_->setEnabled(current_ > 0);
  next_->setEnabled(current_ + 1 < labelCount());
  if (count_ == 0) {
    position_->setText(tr("No label"));
    picture_->setText(QString());
    picture_->setPixmap(QPixmap());
    picture_->resize(scroll_->viewport()->size());
    return;
  }
  position_->setText(tr("Label %1 of %2").arg(current_ + 1).arg(labelCount()));
  const auto it = labels_.find(current_);
  if (it == labels_.end()) {
    // Not drawn yet: the worker draws it and its neighbours, and the picture follows.
    picture_->setPixmap(QPixmap());
    drawer_.ShowAround(current_);
    return;
  }
  if (it->second.isNull()) {
    picture_->setPixmap(QPixmap());
    picture_->setText(tr("Too large to preview"));
    picture_->resize(scroll_->viewport()->size());
    return;
  }
  picture_->setText(QString());
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
