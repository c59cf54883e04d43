#include "commands/ui/font_finder_dialog.h"

#include <QAbstractSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/ui/builder_field_widgets.h"
#include "gui/long_work.h"

namespace qm {

namespace {

// Enough figures for a tenth of a dot.
constexpr int kSizeDigits = 6;

RealNumberSpin* SizeField() {
  auto* field = new RealNumberSpin(0, 0, kSizeDigits);
  field->setButtonSymbols(QAbstractSpinBox::NoButtons);
  return field;
}

QLabel* AnswerLabel() {
  auto* label = new QLabel;
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  label->setAlignment(Qt::AlignCenter);
  label->setMinimumWidth(32);
  return label;
}

}  // namespace

FontFinderDialog::FontFinderDialog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setWindowTitle(tr("Font Finder"));
  c_.width = SizeField();
  c_.height = SizeField();
  c_.findMostSimilar = new QPushButton(tr("Find"));
  c_.findSimilarAndRound = new QPushButton(tr("Find"));
  c_.print = new QPushButton(tr("Print for comparsion"));
  c_.close = new QPushButton(tr("Close"));

  auto* size = new QGroupBox(tr("Font Size"));
  auto* sizeLayout = new QVBoxLayout(size);
  sizeLayout->addLayout(FieldGrid({{new QLabel(tr("Width  :")), c_.width}, {new QLabel(tr("Height :")), c_.height}}, 1));
  sizeLayout->addStretch();

  // One frame per search: its answer and the button that finds it.
  auto answerBox = [this](const QString& title, Answer& answer, QPushButton* find) {
    answer = {AnswerLabel(), AnswerLabel(), AnswerLabel()};
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(FieldGrid({{new QLabel(tr("Font :")), answer.font},
                                 {new QLabel(tr("X Multi :")), answer.xMulti},
                                 {new QLabel(tr("Y Multi :")), answer.yMulti}},
                                1));
    layout->addWidget(find);
    find->setAutoDefault(false);
    return box;
  };
  auto* frames = new QHBoxLayout;
  frames->addWidget(size);
  frames->addWidget(answerBox(tr("Most Similar"), c_.mostSimilar, c_.findMostSimilar));
  frames->addWidget(answerBox(tr("Similar && Round"), c_.similarAndRound, c_.findSimilarAndRound));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(frames);
  layout->addLayout(ButtonRow({c_.print, c_.close}));

  connect(c_.findMostSimilar, &QPushButton::clicked, this, &FontFinderDialog::FindMostSimilar);
  connect(c_.findSimilarAndRound, &QPushButton::clicked, this, &FontFinderDialog::FindSimilarAndRound);
  connect(c_.print, &QPushButton::clicked, this, &FontFinderDialog::PrintForComparison);
  connect(c_.close, &QPushButton::clicked, this, &QDialog::accept);

  c_.width->setValue(fields_.width);
  c_.height->setValue(fields_.height);
  ShowAnswers();
}

void FontFinderDialog::Open(AppContext& context, QWidget* parent) {
  FontFinderDialog dialog(context, parent);
  dialog.exec();
}

void FontFinderDialog::TakeSize() {
  fields_.width = c_.width->shown();
  fields_.height = c_.height->shown();
}

void FontFinderDialog::ShowAnswers() {
  for (const auto& [answer, choice] : {std::pair{c_.mostSimilar, fields_.mostSimilar},
                                       std::pair{c_.similarAndRound, fields_.similarAndRound}}) {
    answer.font->setText(QString::number(choice.font));
    answer.xMulti->setText(QString::number(choice.xMulti));
    answer.yMulti->setText(QString::number(choice.yMulti));
  }
}

void FontFinderDialog::FindMostSimilar() {
  TakeSize();
  qm::FindMostSimilar(fields_);
  ShowAnswers();
}

void FontFinderDialog::FindSimilarAndRound() {
  TakeSize();
  qm::FindSimilarAndRound(fields_);
  ShowAnswers();
}

void FontFinderDialog::PrintForComparison() {
  const std::string bytes = BuildFontComparisonPrint(fields_);
  RunLongWork(context_, this, [&](Work&) { context_.link.Write(bytes); });
}

}  // namespace qm
