// The tester's preview: the script drawn as the printer would print it, redrawn a moment
// after each edit on a worker thread, with zoom, fit, label n of m and the warnings.
#pragma once

#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

#include "commands/ui/label_drawer.h"

class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;

namespace qm {

class LabelPreviewPane : public QWidget {
  Q_OBJECT

 public:
  explicit LabelPreviewPane(QWidget* parent = nullptr);
  ~LabelPreviewPane() override;

  // The script to draw; it is drawn once no new one has come for the debounce interval.
  void SetScript(const std::string& bytes);
  void SetDebounceMs(int ms) { drawer_.SetDebounceMs(ms); }

  int labelCount() const { return static_cast<int>(labels_.size()); }
  int currentLabel() const { return current_; }  // 0 for the first
  double zoom() const { return zoom_; }
  QImage currentImage() const;

  QLabel* picture() const { return picture_; }
  QLabel* position() const { return position_; }
  QListWidget* warnings() const { return warnings_; }
  QPushButton* zoomInButton() const { return zoomIn_; }
  QPushButton* zoomOutButton() const { return zoomOut_; }
  QPushButton* fitButton() const { return fit_; }
  QPushButton* previousButton() const { return previous_; }
  QPushButton* nextButton() const { return next_; }

 signals:
  // The operator picked a warning: the caret should go to `line` (1 for the first).
  void lineActivated(int line);
  // A drawing of the latest script has been shown.
  void rendered();

 private:
  void Show(const std::vector<QImage>& labels, const QStringList& warnings,
            const std::vector<int>& lines);
  void ShowLabel(int index);
  void SetZoom(double zoom, bool fit);
  void resizeEvent(QResizeEvent* event) override;

  LabelDrawer drawer_;
  std::vector<QImage> labels_;
  std::vector<int> warningLines_;
  int current_ = 0;
  double zoom_ = 0.5;
  bool fitting_ = true;

  QScrollArea* scroll_;
  QLabel* picture_;
  QLabel* position_;
  QListWidget* warnings_;
  QPushButton* zoomIn_;
  QPushButton* zoomOut_;
  QPushButton* fit_;
  QPushButton* previous_;
  QPushButton* next_;
};

}  // namespace qm
