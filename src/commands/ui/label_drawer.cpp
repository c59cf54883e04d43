#include "commands/ui/label_drawer.h"

#include "render/label_renderer.h"

namespace qm {

namespace {

constexpr int kDefaultDebounceMs = 250;

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

LabelDrawer::LabelDrawer(QObject* parent) : QObject(parent) {
  pool_.setMaxThreadCount(1);
  debounce_.setSingleShot(true);
  debounce_.setInterval(kDefaultDebounceMs);
  connect(&debounce_, &QTimer::timeout, this, &LabelDrawer::StartRender);
}

LabelDrawer::~LabelDrawer() {
  // A drawing under way finishes before the drawer goes; its result is then never shown.
  pool_.clear();
  pool_.waitForDone();
}

void LabelDrawer::SetScript(const std::string& bytes) {
  script_ = bytes;
  ++generation_;
  debounce_.start();
}

void LabelDrawer::StartRender() {
  const int generation = generation_;
  const std::string script = script_;
  pool_.start([this, generation, script] {
    // One renderer per worker thread: its fonts load once.
    thread_local render::LabelRenderer renderer;
    const render::RenderResult result = renderer.RenderScript(script, {});
    std::vector<QImage> labels;
    std::vector<std::vector<render::DrawnBox>> boxes;
    for (const render::RenderedLabel& l : result.labels) boxes.push_back(l.boxes ? *l.boxes : std::vector<render::DrawnBox>{});
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
      warnings << QString::fromLatin1(w.text.data(), static_cast<qsizetype>(w.text.size()));
      lines.push_back(w.line);
    }
    QMetaObject::invokeMethod(
        this,
        [this, generation, labels, warnings, lines, boxes] {
          // A drawing of an older script: a newer one is on its way.
          if (generation == generation_) emit drawn(labels, warnings, lines, boxes);
        },
        Qt::QueuedConnection);
  });
}

}  // namespace qm
