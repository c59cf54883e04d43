// One label as the design tools show it: rulers and an optional grid in dots, millimetres
// or inches, the pointer's position in that unit, a reference picture under the label, and
// the outlines of what one script line drew. Clicking a mark names the line that drew it.
#pragma once

#include <QImage>
#include <QWidget>
#include <optional>
#include <vector>

#include "render/label_renderer.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace qm {

class FileChooser;
class LabelCanvas;
class LabelRuler;

class LabelView : public QWidget {
  Q_OBJECT

 public:
  enum class Unit { kDots, kMillimetres, kInches };

  explicit LabelView(QWidget* parent = nullptr);
  ~LabelView() override;

  // The label to show, with where each command drew on it (dots). A null image shows none.
  void SetLabel(const QImage& label, const std::vector<render::DrawnBox>& boxes);
  // Screen pixels per dot.
  void SetZoom(double zoom);
  double zoom() const { return zoom_; }
  // Modest: the view takes what room its window gives, and a big label must not make the
  // window ask for more than a laptop screen.
  QSize sizeHint() const override { return {300, 320}; }
  // Fitted, the label never scrolls: no scroll bars take its room.
  void SetScrollable(bool scrollable);
  // The room the label has before it needs scrolling.
  QSize viewportSize() const;
  // The script line the caret stands on (1 first): what it drew is outlined. 0 for none.
  void SetCaretLine(int line);
  // Where "Overlay…" asks for its picture; null uses the system's dialog.
  void SetFileChooser(FileChooser* files) { files_ = files; }
  // A reference picture under the label, scaled by the overlay scale box (its pixels per mm).
  void SetOverlay(const QImage& picture);

  Unit unit() const;
  QWidget* canvas() const;
  QComboBox* unitBox() const { return unit_; }
  QCheckBox* gridBox() const { return grid_; }
  QPushButton* overlayButton() const { return overlay_; }
  QSpinBox* opacityBox() const { return opacity_; }
  QDoubleSpinBox* overlayScaleBox() const { return overlayScale_; }
  QLabel* pointerText() const { return pointer_; }
  const QImage& label() const { return label_; }
  const QImage& overlay() const { return overlayImage_; }
  // The box outlined for the caret's line, in dots; empty for none.
  render::Box caretBox() const { return caretBox_; }

  // A length in dots as the unit shows it ("12.50" mm), and the unit's short name.
  static QString InUnit(double dots, Unit unit);
  static QString UnitName(Unit unit);

 signals:
  // A mark was clicked: `line` drew it.
  void linePicked(int line);
  // The room for the label changed size (a fitted zoom follows it).
  void viewportResized();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class LabelCanvas;
  friend class LabelRuler;
  void ChooseOverlay();
  void PointerAt(QPoint canvasPos);
  void ShowPointer();
  void PickAt(QPoint canvasPos);
  void Refresh();
  // The distance between two grid lines and ruler labels, in dots, for the unit and zoom.
  double MajorStep() const;

  QImage label_;
  QImage ink_;  // the label's ink on a transparent ground, so the overlay shows through
  QImage overlayImage_;
  std::vector<render::DrawnBox> boxes_;
  render::Box caretBox_;
  render::Box pickedBox_;
  int caretLine_ = 0;
  std::optional<QPoint> pointerDot_;  // the dot under the pointer, while it is on the label
  double zoom_ = 1.0;
  FileChooser* files_ = nullptr;

  QComboBox* unit_;
  QCheckBox* grid_;
  QPushButton* overlay_;
  QSpinBox* opacity_;
  QDoubleSpinBox* overlayScale_;
  QLabel* pointer_;
  QScrollArea* scroll_;
  LabelCanvas* canvas_;
  LabelRuler* top_;
  LabelRuler* left_;
};

}  // namespace qm
