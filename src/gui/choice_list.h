// Drop-down lists filled from the tools' name tables.
#pragma once

#include <QComboBox>
#include <array>
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

}  // namespace qm
