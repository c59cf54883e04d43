// A builder's small preview of the line(s) it would insert, redrawn on the shared drawer's
// worker a moment after any of the dialog's fields changes.
#pragma once

#include <QImage>
#include <QLabel>
#include <string>

#include "commands/ui/label_drawer.h"

class QBoxLayout;

namespace qm {

class BuilderDialog;

class LinePreview : public QLabel {
  Q_OBJECT

 public:
  explicit LinePreview(QWidget* parent = nullptr);

  // The lines to draw, alone on a label of the printer's default paper.
  void SetLines(const std::string& lines);
  void SetDebounceMs(int ms) { drawer_.SetDebounceMs(ms); }
  // What is shown: the inked part of the first label with a little paper around it, or the
  // whole label when nothing is inked; null before the first drawing and when the line could
  // not be drawn (the preview then reads the renderer's warning).
  const QImage& shown() const { return shown_; }

 signals:
  void rendered();

 private:
  void Show(const std::vector<QImage>& labels, const QStringList& warnings);

  LabelDrawer drawer_;
  QImage shown_;
};

// Puts a preview into `layout` just above its last item (the button row) and feeds it the
// dialog's lines whenever one of its fields changes, and once now.
LinePreview* AttachLinePreview(BuilderDialog& dialog, QBoxLayout& layout);

}  // namespace qm
