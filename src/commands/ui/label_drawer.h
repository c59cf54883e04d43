// Draws scripts on a worker thread a moment after the last change, for the previews: the
// tester's pane and the builders' own small line preview share it.
#pragma once

#include <QImage>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <string>
#include <vector>

#include "render/label_renderer.h"

namespace qm {

class LabelDrawer : public QObject {
  Q_OBJECT

 public:
  explicit LabelDrawer(QObject* parent = nullptr);
  ~LabelDrawer() override;

  // The script to draw; it is drawn once no new one has come for the debounce interval.
  void SetScript(const std::string& bytes);
  void SetDebounceMs(int ms) { debounce_.setInterval(ms); }

 signals:
  // The latest script drawn: one image per label, and each warning with its line (1 first);
  // `boxes` holds, for each label, where its commands drew. Drawings of scripts replaced
  // meanwhile are never announced.
  void drawn(const std::vector<QImage>& labels, const QStringList& warnings, const std::vector<int>& lines,
             const std::vector<std::vector<render::DrawnBox>>& boxes);

 private:
  void StartRender();

  QTimer debounce_;
  QThreadPool pool_;  // one worker: drawings come back in order
  std::string script_;
  int generation_ = 0;  // of the latest script; older drawings are dropped
};

}  // namespace qm
