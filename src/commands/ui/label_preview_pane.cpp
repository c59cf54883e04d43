#include "commands/ui/label_preview_pane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "commands/ui/label_export.h"
#include "commands/ui/label_view.h"
#include "gui/file_chooser.h"

namespace qm {

namespace {

constexpr double kMinZoom = 0.125;
constexpr double kMaxZoom = 4.0;
const QString kExportFilter = QStringLiteral("PNG image(*.png)|*.png|PDF document(*.pdf)|*.pdf||");

}  // namespace

LabelPreviewPane::LabelPreviewPane(QWidget* parent) : QWidget(parent) {
  connect(&drawer_, &LabelDrawer::drawn, this, &LabelPreviewPane::Show);

  view_ = new LabelView;
  connect(view_, &LabelView::linePicked, this, &LabelPreviewPane::linePicked);
  connect(view_, &LabelView::viewportResized, this, [this] {
    if (fitting_) SetZoom(zoom_, true);
  });
  exportLabel_ = new QPushButton(tr("Export Label\u2026"));
  exportAll_ = new QPushButton(tr("Export All\u2026"));
  exportLabel_->setToolTip(tr("The shown label as PNG or PDF, at its true size"));
  exportAll_->setToolTip(tr("Every label as PNG files or one PDF, at their true size"));
  connect(exportLabel_, &QPushButton::clicked, this, [this] { Export(false); });
  connect(exportAll_, &QPushButton::clicked, this, [this] { Export(true); });

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
  auto* exportRow = new QHBoxLayout;
  for (QPushButton* b : {exportLabel_, exportAll_}) exportRow->addWidget(b);
  auto* labelRow = new QHBoxLayout;
  labelRow->addWidget(previous_);
  labelRow->addWidget(position_, 1);
  labelRow->addWidget(next_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(zoomRow);
  layout->addWidget(view_, 1);
  layout->addLayout(labelRow);
  layout->addWidget(warnings_);
  layout->addLayout(exportRow);
  ShowLabel(0);
}

LabelPreviewPane::~LabelPreviewPane() = default;

void LabelPreviewPane::SetScript(const std::string& bytes) { drawer_.SetScript(bytes); }

QWidget* LabelPreviewPane::picture() const { return view_->canvas(); }

void LabelPreviewPane::SetCaretLine(int line) { view_->SetCaretLine(line); }

void LabelPreviewPane::SetFileChooser(FileChooser* files) {
  files_ = files;
  view_->SetFileChooser(files);
}

void LabelPreviewPane::Export(bool all) {
  if (labels_.empty()) return;
  DialogFileChooser system;
  FileChooser& files = files_ ? *files_ : static_cast<FileChooser&>(system);
  const std::optional<QString> chosen =
      files.ChooseSave(this, all ? QStringLiteral("labels.pdf") : QStringLiteral("label.png"), kExportFilter);
  if (!chosen || chosen->isEmpty()) return;
  QString path = *chosen;
  const bool pdf = path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
  if (!pdf && !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += QStringLiteral(".png");
  QString error;
  if (pdf) {
    error = ExportLabelsPdf(all ? labels_ : std::vector<QImage>{labels_[current_]}, path);
  } else if (!all || labels_.size() == 1) {
    error = ExportLabelPng(labels_[current_], path);
  } else {
    for (size_t i = 0; i < labels_.size() && error.isEmpty(); ++i) {
      error = ExportLabelPng(labels_[i], NumberedPath(path, static_cast<int>(i + 1)));
    }
  }
  position_->setText(error.isEmpty() ? tr("Exported to %1").arg(path) : error);
}

void LabelPreviewPane::Show(const std::vector<QImage>& labels, const QStringList& warnings,
                            const std::vector<int>& lines, const std::vector<std::vector<render::DrawnBox>>& boxes) {
  labels_ = labels;
  boxes_ = boxes;
  warningLines_ = lines;
  warnings_->clear();
  for (size_t i = 0; i < lines.size(); ++i) {
    warnings_->addItem(tr("Line %1: %2").arg(lines[i]).arg(warnings[static_cast<qsizetype>(i)]));
  }
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
  exportLabel_->setEnabled(!labels_.empty());
  exportAll_->setEnabled(!labels_.empty());
  if (labels_.empty()) {
    position_->setText(tr("No label"));
    view_->SetLabel(QImage(), {});
    return;
  }
  position_->setText(tr("Label %1 of %2").arg(current_ + 1).arg(labelCount()));
  view_->SetLabel(labels_[current_], current_ < static_cast<int>(boxes_.size()) ? boxes_[current_]
                                                                                 : std::vector<render::DrawnBox>{});
  SetZoom(zoom_, fitting_);
}

void LabelPreviewPane::SetZoom(double zoom, bool fit) {
  fitting_ = fit;
  fit_->setChecked(fit);
  view_->SetScrollable(!fit);
  const QImage image = currentImage();
  if (fit && !image.isNull()) {
    const QSize room = view_->viewportSize() - QSize(4, 4);
    zoom = std::min(static_cast<double>(room.width()) / image.width(), static_cast<double>(room.height()) / image.height());
  }
  zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
  zoomIn_->setEnabled(zoom_ < kMaxZoom);
  zoomOut_->setEnabled(zoom_ > kMinZoom);
  if (image.isNull()) return;
  view_->SetZoom(zoom_);
}

void LabelPreviewPane::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (fitting_) SetZoom(zoom_, true);
}

}  // namespace qm
