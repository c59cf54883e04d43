// Drop-down lists of the settings pages, filled from the switch tables.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <initializer_list>
#include <string_view>

namespace qm {

// A list of `names` (the same English entries in every language) with nothing selected.
template <size_t N>
QComboBox* MakeChoiceList(const std::array<std::string_view, N>& names) {
  auto* list = new QComboBox;
  for (std::string_view name : names) {
    list->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  }
  list->setCurrentIndex(-1);
  return list;
}

// Selects entry `index`; an index outside the list leaves it without a selection.
inline void SelectEntry(QComboBox* list, int index) {
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

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

}  // namespace qm
