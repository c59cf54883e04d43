// Recurring arrangements of the tool dialogs: a box over a row of buttons, widgets side by side.
#pragma once

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <initializer_list>

namespace qm {

// A page of one group box with its buttons in a row beneath; the first button takes the
// page's focus.
inline void LayOutBoxAndButtons(QWidget* page, QGroupBox* box, std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* b : buttons) {
    b->setAutoDefault(false);
    row->addWidget(b);
  }
  page->setFocusProxy(*buttons.begin());
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(box);
  layout->addLayout(row);
  layout->addStretch();
}

// Lays `widgets` side by side, flush left, as one cell of a grid.
inline QWidget* Beside(std::initializer_list<QWidget*> widgets) {
  auto* holder = new QWidget;
  auto* line = new QHBoxLayout(holder);
  line->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : widgets) line->addWidget(w);
  line->addStretch();
  return holder;
}

}  // namespace qm
