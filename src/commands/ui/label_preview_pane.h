// The tester's preview: the script drawn as the printer would print it, redrawn a moment
// after each edit on a worker thread, with zoom, fit, label n of m and the warnings. Only
// the label shown and its neighbours are drawn, so a script of any size previews at once;
// the label stands in a LabelView (rulers, grid, overlay, pick) and can be exported.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "commands/ui/label_drawer.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace qm {

class FileChooser;
class LabelView;

class LabelPreviewPane : public QWidget {
  Q_OBJECT

 public:
  explicit LabelPreviewPane(QWidget* parent = nullptr);
  ~LabelPreviewPane() override;

  // The script to draw; it is drawn once no new one has come for the debounce interval.
  void SetScript(const std::string& bytes);
  // Follows the script `source` gives, taken only when it is drawn; ScriptChanged() after each edit.
  void FollowScript(std::function<const std::string&()> source) {
    source_ = source;
    script_.clear();
    drawer_.FollowScript(std::move(source));
  }
  void ScriptChanged() { drawer_.ScriptChanged(); }
  void SetDebounceMs(int ms) { drawer_.SetDebounceMs(ms); }
  void SetMaxDrawingCommands(int count) { drawer_.SetMaxDrawingCommands(count); }
  // Labels drawn so far, for checking that an edit draws only what it touched.
  int labelsDrawn() const { return drawer_.labelsDrawn(); }

  int labelCount() const { return count_; }
  int currentLabel() const { return current_; }  // 0 for the first
  double zoom() const { return zoom_; }
  QImage currentImage() const;
  // The script line the caret stands on (1 first): what it drew is outlined.
  void SetCaretLine(int line);
  // Where the overlay and the exports ask for their files; null uses the system's dialogs.
  void SetFileChooser(FileChooser* files);

  QWidget* picture() const;
  LabelView* view() const { return view_; }
  QPushButton* exportLabelButton() const { return exportLabel_; }
  QPushButton* exportAllButton() const { return exportAll_; }
  QLabel* position() const { return position_; }
  // What stands in the label's place when it cannot be shown.
  QLabel* notice() const { return notice_; }
  QListWidget* warnings() const { return warnings_; }
  QPushButton* zoomInButton() const { return zoomIn_; }
  QPushButton* zoomOutButton() const { return zoomOut_; }
  QPushButton* fitButton() const { return fit_; }
  QPushButton* previousButton() const { return previous_; }
  QPushButton* nextButton() const { return next_; }

 signals:
  // The operator picked a warning: the caret should go to `line` (1 for the first).
  void lineActivated(int line);
  // The operator clicked a mark on the label: `line` drew it.
  void linePicked(int line);
  // A drawing of the latest script has been shown.
  void rendered();

 private:
  void Show(const DrawnLabels& drawn);
  // The shown label, or every label, to a PNG or PDF file as the chosen name ends.
  void Export(bool all);
  void ShowLabel(int index);
  // A text in place of the label ("Too large to preview"); empty shows the label.
  void ShowNotice(const QString& text);
  // Every label of the script, drawn again one at a time, to numbered PNG files or one PDF.
  QString ExportAll(const QString& path, bool pdf);
  void SetZoom(double zoom, bool fit);
  void resizeEvent(QResizeEvent* event) override;

  LabelDrawer drawer_;
  int count_ = 0;
  std::map<int, QImage> labels_;  // the labels in view, by index; null for one too large
  std::map<int, std::vector<render::DrawnBox>> boxes_;  // where their commands drew
  FileChooser* files_ = nullptr;
  std::function<const std::string&()> source_;  // the script, for Export All
  std::string script_;                          // when set whole instead
  std::vector<int> warningLines_;
  int current_ = 0;
  double zoom_ = 0.5;
  bool fitting_ = true;

  LabelView* view_;
  QLabel* notice_;
  QPushButton* exportLabel_;
  QPushButton* exportAll_;
  QLabel* position_;
  QListWidget* warnings_;
  QPushButton* zoomIn_;
  QPushButton* zoomOut_;
  QPushButton* fit_;
  QPushButton* previous_;
  QPushButton* next_;
};

}  // namespace qm
