// The sensing distribution as a bar chart: one bar per level, scaled to the largest count,
// the two peaks marked, the levels on offer shaded and the chosen level drawn as a line.
#pragma once

#include <QWidget>

#include "settings/calibration.h"

namespace qm {

class SensingHistogram : public QWidget {
  Q_OBJECT

 public:
  explicit SensingHistogram(QWidget* parent = nullptr);

  // Back to an empty chart: no counts, no peaks, nothing offered or chosen.
  void Clear();
  void SetCounts(const SensingCounts& counts);
  // Peak indexes; -1 for none.
  void SetPeaks(int lo, int hi);
  // Levels on offer, inclusive; none when first > last.
  void SetOffered(int first, int last);
  // The chosen level's index; -1 for none.
  void SetSelected(int index);

  int selected() const { return selected_; }
  bool isPeak(int index) const { return index >= 0 && (index == lo_ || index == hi_); }
  bool isOffered(int index) const { return index >= first_ && index <= last_; }
  // Where level `index`'s bar stands, for a chart of the widget's size.
  QRect BarRect(int index) const;
  // The chart's area: the widget less its margins and the axis labels.
  QRect PlotRect() const;

  QSize sizeHint() const override { return {520, 150}; }
  QSize minimumSizeHint() const override { return {260, 110}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  SensingCounts counts_{};
  int lo_ = -1;
  int hi_ = -1;
  int first_ = 0;
  int last_ = -1;
  int selected_ = -1;
};

}  // namespace qm
