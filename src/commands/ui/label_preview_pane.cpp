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
#include "render/label_renderer.h"

namespace qm {

namespace {

constexpr double kMinZoom = 0.125;
constexpr double kMaxZoom = 4.0;
// A script of many bad lines would fill the list with more than anyone reads.
constexpr int kMaxWarningsListed = 1000;
const QString kExportFilter = QStringLiteral("PNG image(*.png)|*.png|PDF document(*.pdf)|*.pdf||");

}  // namespace

LabelPreviewPane::LabelPreviewPane(QWidget* parent) : QWidget(parent) {
  connect(&drawer_, &LabelDrawer::drawn, this, &LabelPreviewPane::Show);

  view_ = new LabelView;
  notice_ = new QLabel;
  notice_->setAlignment(Qt::AlignCenter);
  notice_->hide();
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
  layout->addWidget(notice_, 1);
  layout->addLayout(labelRow);
  layout->addWidget(warnings_);
  layout->addLayout(exportRow);
  ShowLabel(0);
}

LabelPreviewPane::~LabelPreviewPane() = default;

void LabelPreviewPane::SetScript(const std::string& bytes) {
  script_ = bytes;
  source_ = nullptr;
  drawer_.SetScript(bytes);
}

void LabelPreviewPane::ShowNotice(const QString& text) {
  notice_->setText(text);
  notice_->setVisible(!text.isEmpty());
  view_->setVisible(text.isEmpty());
}

QString LabelPreviewPane::ExportAll(const QString& path, bool pdf) {
  const std::string& script = source_ ? source_() : script_;
  render::LabelRenderer renderer;
  // Each label goes out as soon as it is drawn: PNG files, or PDF pages one after another.
  class Sink : public render::LabelSink {
   public:
    Sink(const QString& path, LabelPdf* pdf, int count) : path_(path), pdf_(pdf), count_(count) {}
    bool Wanted(const render::LabelVisit&) override { return error.isEmpty(); }
    void Take(const render::LabelVisit& label, std::shared_ptr<const render::Bitmap> bitmap,
              std::shared_ptr<const std::vector<render::DrawnBox>>, const std::vector<render::Warning>&) override {
      const QImage image = LabelImage(*bitmap);
      error = pdf_ ? pdf_->Add(image) : ExportLabelPng(image, count_ > 1 ? NumberedPath(path_, label.index + 1) : path_);
    }
    QString error;

   private:
    QString path_;
    LabelPdf* pdf_;
    int count_;
  };
  std::optional<LabelPdf> pdfFile;
  if (pdf) pdfFile.emplace(path);
  Sink sink(path, pdfFile ? &*pdfFile : nullptr, count_);
  renderer.RenderEach(script, {}, sink);
  if (!sink.error.isEmpty()) return sink.error;
  return pdfFile ? pdfFile->Close() : QString();
}

QWidget* LabelPreviewPane::picture() const { return view_->canvas(); }

void LabelPreviewPane::SetCaretLine(int line) { view_->SetCaretLine(line); }

void LabelPreviewPane::SetFileChooser(FileChooser* files) {
  files_ = files;
  view_->SetFileChooser(files);
}

void LabelPreviewPane::Export(bool all) {
  if (count_ == 0) return;
  DialogFileChooser system;
  FileChooser& files = files_ ? *files_ : static_cast<FileChooser&>(system);
  const std::optional<QString> chosen =
      files.ChooseSave(this, all ? QStringLiteral("labels.pdf") : QStringLiteral("label.png"), kExportFilter);
  if (!chosen || chosen->isEmpty()) return;
  QString path = *chosen;
  const bool pdf = path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
  if (!pdf && !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += QStringLiteral(".png");
  QString error;
  const QImage shown = currentImage();
  if (!all || count_ == 1) {
    if (shown.isNull()) {
      error = tr("No label to export");
    } else {
      error = pdf ? ExportLabelsPdf({shown}, path) : ExportLabelPng(shown, path);
    }
  } else {
    // Every label, drawn again one at a time: the pane keeps only those in view.
    error = ExportAll(path, pdf);
  }
  position_->setText(error.isEmpty() ? tr("Exported to %1").arg(path) : error);
}

void LabelPreviewPane::Show(const DrawnLabels& drawn) {
  count_ = drawn.count;
  labels_ = drawn.images;
  boxes_ = drawn.boxes;
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
  exportLabel_->setEnabled(count_ > 0);
  exportAll_->setEnabled(count_ > 0);
  if (count_ == 0) {
    position_->setText(tr("No label"));
    ShowNotice(QString());
    view_->SetLabel(QImage(), {});
    return;
  }
  position_->setText(tr("Label %1 of %2").arg(current_ + 1).arg(labelCount()));
  const auto it = labels_.find(current_);
  if (it == labels_.end()) {
    // Not drawn yet: the worker draws it and its neighbours, and the picture follows.
    ShowNotice(QString());
    view_->SetLabel(QImage(), {});
    drawer_.ShowAround(current_);
    return;
  }
  if (it->second.isNull()) {
    ShowNotice(tr("Too large to preview"));
    return;
  }
  ShowNotice(QString());
  const auto boxes = boxes_.find(current_);
  view_->SetLabel(it->second, boxes != boxes_.end() ? boxes->second : std::vector<render::DrawnBox>{});
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
