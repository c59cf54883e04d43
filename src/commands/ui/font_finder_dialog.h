// "Font Finder": the bitmap font and magnifications closest to a character cell in mm.
#pragma once

#include <QDialog>

#include "commands/font_finder.h"
#include "gui/app_context.h"

class QLabel;
class QPushButton;

namespace qm {

class RealNumberSpin;

class FontFinderDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FontFinderDialog(AppContext& context, QWidget* parent = nullptr);

  // Shows a fresh finder modally; the bitmap text builder's "Find Font".
  static void Open(AppContext& context, QWidget* parent);

  // The answers as shown: the font and its two magnifications.
  struct Answer {
    QLabel* font;
    QLabel* xMulti;
    QLabel* yMulti;
  };
  struct Controls {
    RealNumberSpin* width;
    RealNumberSpin* height;
    Answer mostSimilar;
    Answer similarAndRound;
    QPushButton* findMostSimilar;
    QPushButton* findSimilarAndRound;
    QPushButton* print;
    QPushButton* close;
  };
  const Controls& controls() const { return c_; }

  void FindMostSimilar();
  void FindSimilarAndRound();
  // "Print for comparsion": both answers as they are shown, side by side on one label.
  void PrintForComparison();

 private:
  void TakeSize();
  void ShowAnswers();

  AppContext& context_;
  FontFinderFields fields_;
  Controls c_;
};

}  // namespace qm
