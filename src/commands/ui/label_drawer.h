// Draws scripts on a worker thread a moment after the last change, for the previews: the
// tester's pane and the builders' own small line preview share it. Only the labels in view
// are drawn; a few drawn ones are kept, so paging and edits elsewhere draw nothing again.
#pragma once

#include <QImage>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "render/label_renderer.h"

namespace qm {

// One label as an image: black ink on white paper, a byte a dot.
QImage LabelImage(const render::Bitmap& bitmap);

// What one drawing brought back.
struct DrawnLabels {
  int count = 0;               // labels of the whole script, drawn or not
  // The labels in view that were drawn or kept, by index (0 for the first); a null image is
  // a label too large to preview.
  std::map<int, QImage> images;
  // Where the commands of each of those labels drew, by the same index.
  std::map<int, std::vector<render::DrawnBox>> boxes;
  QStringList warnings;        // each with its line (1 for the first), in line order
  std::vector<int> lines;
};

class LabelDrawer : public QObject {
  Q_OBJECT

 public:
  explicit LabelDrawer(QObject* parent = nullptr);
  ~LabelDrawer() override;

  // The script to draw; it is drawn once no new one has come for the debounce interval.
  void SetScript(const std::string& bytes);
  // Draws the script `source` gives instead, taken only when a drawing starts, so that an
  // edit costs no copy of a large script; ScriptChanged() says that it has changed.
  void FollowScript(std::function<const std::string&()> source);
  void ScriptChanged();
  void SetDebounceMs(int ms) { debounce_.setInterval(ms); }

  // The labels in view: `index` and up to `reach` either side. A move draws at once.
  void ShowAround(int index);
  void SetReach(int reach) { reach_ = reach; }
  // A label with more drawing commands than this is not drawn: it would hold the worker for long.
  void SetMaxDrawingCommands(int count) { maxDrawingCommands_ = count; }
  static constexpr int kMaxDrawingCommands = 20000;

  // How many labels have been drawn so far; those kept from an earlier drawing are not counted again.
  int labelsDrawn() const { return labelsDrawn_.load(); }

 signals:
  // The latest request drawn; drawings of scripts or views replaced meanwhile are never announced.
  void drawn(const DrawnLabels& labels);

 private:
  friend class PreviewSink;
  struct Kept {
    uint64_t key = 0;
    QImage image;
    std::vector<render::DrawnBox> boxes;
    std::vector<std::pair<int, std::string>> warnings;  // of drawing it: line and text
  };
  void StartRender();

  QTimer debounce_;
  QThreadPool pool_;  // one worker: drawings come back in order
  std::string script_;
  std::function<const std::string&()> source_;
  int request_ = 0;  // of the latest script or view; older drawings are dropped
  int centre_ = 0;
  int reach_ = 2;
  int maxDrawingCommands_ = kMaxDrawingCommands;
  std::atomic<int> labelsDrawn_{0};
  std::list<Kept> kept_;  // the worker's alone: most recently used first
};

}  // namespace qm
