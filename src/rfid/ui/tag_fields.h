// Field pieces the RFID dialogs share: the number lists and the data type list.
#pragma once

#include <QComboBox>
#include <QString>
#include <array>
#include <string_view>

#include "gui/choice_list.h"

namespace qm {

inline constexpr std::array<std::string_view, 2> kDataTypeNames = {"Hex", "ASCII"};
inline constexpr std::array<std::string_view, 2> kDataTypeLetters = {"H", "A"};

// A list of the numbers `first` to `last`, with nothing chosen.
inline QComboBox* NumberList(int first, int last) {
  auto* list = new QComboBox;
  for (int n = first; n <= last; ++n) list->addItem(QString::number(n));
  list->setCurrentIndex(-1);
  return list;
}

// The number a list of numbers shows.
inline int ShownNumber(const QComboBox* list) { return list->currentText().toInt(); }

// Chooses the entry that shows `n`.
inline void ChooseNumber(QComboBox* list, int n) { list->setCurrentIndex(list->findText(QString::number(n))); }

// Command text shown as the shape of a line: the same in every language.
inline QString CommandText(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace qm
