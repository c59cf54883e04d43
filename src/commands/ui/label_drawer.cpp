#include "commands/ui/label_drawer.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "render/label_renderer.h"

namespace qm {

namespace {

constexpr int kDefaultDebounceMs = 250;
// Labels kept once drawn, and the most memory they may hold together: a label may be a
// metre long, and the preview stays small whatever the script.
constexpr size_t kKeptLabels = 8;
constexpr qsizetype kKeptBytes = qsizetype{96} << 20;
// Neighbours of the label shown are drawn only while those drawn on this walk hold less than
// this: a few metre-long labels would otherwise take hundreds of megabytes at once.
constexpr qsizetype kNeighbourBytes = qsizetype{32} << 20;

}  // namespace

QImage LabelImage(const render::Bitmap& b) {
  QImage image(b.width(), b.height(), QImage::Format_Grayscale8);
  const uint8_t* dot = b.dots().data();
  for (int y = 0; y < b.height(); ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < b.width(); ++x) row[x] = *dot++ ? 0 : 255;
  }
  return image;
}

// Draws the labels in view that are neither kept already nor too large; runs on the worker.
class PreviewSink : public render::LabelSink {
 public:
  PreviewSink(LabelDrawer& drawer, int centre, int first, int last, int maxCommands)
      : drawer_(drawer), centre_(centre), first_(first), last_(last), maxCommands_(maxCommands) {}

  bool Wanted(const render::LabelVisit& label) override {
    if (label.index < first_ || label.index > last_) return false;
    if (label.drawingCommands > maxCommands_) {
      images_[label.index] = QImage();
      return false;
    }
    for (auto it = drawer_.kept_.begin(); it != drawer_.kept_.end(); ++it) {
      if (it->key != label.key) continue;
      drawer_.kept_.splice(drawer_.kept_.begin(), drawer_.kept_, it);
      images_[label.index] = it->image;
      boxes_[label.index] = it->boxes;
      // Its drawing warnings were not given again, unless it was drawn on this walk (a copy).
      if (inView_.count(label.key) == 0 && keptSeen_.insert(label.key).second) {
        for (const auto& [line, text] : it->warnings) keptWarnings_.push_back({line, text});
      }
      return false;
    }
    return label.index == centre_ || drawnBytes_ < kNeighbourBytes;
  }

  void Take(const render::LabelVisit& label, std::shared_ptr<const render::Bitmap> bitmap,
            std::shared_ptr<const std::vector<render::DrawnBox>> boxes,
            const std::vector<render::Warning>& drawing) override {
    // Copies of one print come as one bitmap: it becomes one image.
    if (drawer_.kept_.empty() || drawer_.kept_.front().key != label.key) {
      LabelDrawer::Kept kept;
      kept.key = label.key;
      kept.image = LabelImage(*bitmap);
      if (boxes) kept.boxes = *boxes;
      drawnBytes_ += kept.image.sizeInBytes();
      for (const render::Warning& w : drawing) kept.warnings.emplace_back(w.line, w.text);
      drawer_.kept_.push_front(std::move(kept));
      ++drawer_.labelsDrawn_;
      inView_.insert(label.key);
    }
    images_[label.index] = drawer_.kept_.front().image;
    boxes_[label.index] = drawer_.kept_.front().boxes;
  }

  // Gives back memory of labels not in view beyond the few kept.
  void Trim() {
    qsizetype bytes = 0;
    size_t count = 0;
    for (auto it = drawer_.kept_.begin(); it != drawer_.kept_.end();) {
      bytes += it->image.sizeInBytes();
      ++count;
      const bool needed = inView_.count(it->key) > 0 || keptSeen_.count(it->key) > 0;
      if (!needed && (count > kKeptLabels || bytes > kKeptBytes)) {
        bytes -= it->image.sizeInBytes();
        --count;
        it = drawer_.kept_.erase(it);
      } else {
        ++it;
      }
    }
  }

  std::map<int, QImage> images_;
  std::map<int, std::vector<render::DrawnBox>> boxes_;
  std::vector<render::Warning> keptWarnings_;

 private:
  LabelDrawer& drawer_;
  int centre_, first_, last_, maxCommands_;
  qsizetype drawnBytes_ = 0;
  std::set<uint64_t> keptSeen_;
  std::set<uint64_t> inView_;
};

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
  source_ = nullptr;
  ScriptChanged();
}

void LabelDrawer::FollowScript(std::function<const std::string&()> source) {
  source_ = std::move(source);
  script_.clear();
}

void LabelDrawer::ScriptChanged() {
  ++request_;
  debounce_.start();
}

void LabelDrawer::ShowAround(int index) {
  if (index == centre_) return;
  centre_ = index;
  ++request_;
  debounce_.stop();
  StartRender();
}

void LabelDrawer::StartRender() {
  debounce_.stop();
  const int request = request_;
  const int centre = centre_;
  const int first = std::max(centre_ - reach_, 0);
  const int last = centre_ + reach_;
  const int maxCommands = maxDrawingCommands_;
  // One copy per drawing, not per edit; the worker draws from it while editing goes on.
  auto script = std::make_shared<const std::string>(source_ ? source_() : script_);
  pool_.start([this, request, centre, first, last, maxCommands, script] {
    // One renderer per worker thread: its fonts load once.
    thread_local render::LabelRenderer renderer;
    PreviewSink sink(*this, centre, first, last, maxCommands);
    render::WalkResult walk = renderer.RenderEach(*script, {}, sink);
    sink.Trim();
    std::vector<render::Warning>& warnings = walk.warnings;
    if (!sink.keptWarnings_.empty()) {
      warnings.insert(warnings.end(), sink.keptWarnings_.begin(), sink.keptWarnings_.end());
      std::stable_sort(warnings.begin(), warnings.end(),
                       [](const render::Warning& a, const render::Warning& b) { return a.line < b.line; });
    }
    DrawnLabels out;
    out.count = walk.labels;
    out.images = std::move(sink.images_);
    out.boxes = std::move(sink.boxes_);
    for (const render::Warning& w : warnings) {
      out.warnings << QString::fromLatin1(w.text.data(), static_cast<qsizetype>(w.text.size()));
      out.lines.push_back(w.line);
    }
    QMetaObject::invokeMethod(
        this,
        [this, request, out = std::move(out)] {
          // A drawing of an older script or view: a newer one is on its way.
          if (request == request_) emit drawn(out);
        },
        Qt::QueuedConnection);
  });
}

}  // namespace qm
