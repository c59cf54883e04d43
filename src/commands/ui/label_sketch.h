// "Label Setting"'s picture of the label its values describe: the label's outline in
// proportion, what parts it from the next one (a gap, a black mark, nothing on continuous
// paper) and the margins where printing starts.
#pragma once

#include <QColor>
#include <QRectF>
#include <QWidget>

#include "commands/layout_commands.h"

namespace qm {

class LabelSketch : public QWidget {
  Q_OBJECT

 public:
  // The colours the sketch draws in, so a test can tell the parts apart.
  static inline const QColor kBacking{96, 96, 96};
  static inline const QColor kPaper{Qt::white};
  static inline const QColor kMark{Qt::black};
  static inline const QColor kMargin{0, 90, 200};

  explicit LabelSketch(QWidget* parent = nullptr);

  // Draws `fields` from the next paint on; lengths that cannot be drawn (zero, negative or
  // not a number) leave an empty backing.
  void Show(const LabelSettingFields& fields);
  // Where the first label stands in the widget; empty when nothing is drawn.
  QRectF labelRect() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Layout {
    double scale = 0;  // pixels per dot
    QRectF label;
    double partingPx = 0;  // the gap or the mark, along the feed
  };
  Layout Measure() const;

  LabelSettingFields fields_;
};

}  // namespace qm
