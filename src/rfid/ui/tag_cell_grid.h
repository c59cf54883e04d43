// The grid of one-byte data cells that stands for a stretch of tag memory.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "rfid/rfid_commands.h"

class QLineEdit;
class QValidator;

namespace qm {

class TagCellGrid : public QWidget {
  Q_OBJECT

 public:
  // `count` cells in rows of twelve, numbered from 1; read-only cells only show.
  TagCellGrid(int count, bool readOnly, QWidget* parent = nullptr);

  int count() const { return static_cast<int>(cells_.size()); }
  QLineEdit* cell(int index) const { return cells_[static_cast<size_t>(index)]; }
  // Each cell takes at most two hexadecimal digits, or one Latin-1 character.
  void SetDataType(TagDataType type);
  int width() const { return width_; }
  // Enables the cells from `first` for `length` cells (those past the grid are skipped)
  // and disables the others.
  void OpenRange(int first, int length);
  void DisableAll();
  void ClearAll();
  // The texts of all cells in order, as Latin-1 bytes.
  std::string Concatenated() const;
  void SetTexts(const std::array<std::string, kTagCells>& texts);

 signals:
  // The operator changed cell `index` (from 0).
  void CellEdited(int index);

 private:
  QValidator* hexValidator_;
  QValidator* latin1Validator_;
  std::vector<QLineEdit*> cells_;
  int width_ = 2;
};

}  // namespace qm
