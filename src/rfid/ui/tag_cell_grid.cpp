#include "rfid/ui/tag_cell_grid.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

namespace qm {

namespace {

constexpr int kPerRow = 12;

// Two hexadecimal digits, or one character that has a byte of its own.
class CellValidator : public QValidator {
 public:
  CellValidator(bool hex, QObject* parent) : QValidator(parent), hex_(hex) {}
  State validate(QString& input, int&) const override {
    if (input.size() > (hex_ ? 2 : 1)) return Invalid;
    for (const QChar c : input) {
      const bool ok = hex_ ? (c.isDigit() && c.unicode() < 0x80) || (c.toUpper() >= u'A' && c.toUpper() <= u'F')
                           : c.unicode() <= 0xFF;
      if (!ok) return Invalid;
    }
    return Acceptable;
  }

 private:
  bool hex_;
};

}  // namespace

TagCellGrid::TagCellGrid(int count, bool readOnly, QWidget* parent)
    : QWidget(parent), hexValidator_(new CellValidator(true, this)), latin1Validator_(new CellValidator(false, this)) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(0);
  const int cellWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("WW")) + 12;
  for (int i = 0; i < count; ++i) {
    auto* number = new QLabel(QString::number(i + 1));
    number->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    QFont small = number->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    number->setFont(small);
    auto* cell = new QLineEdit;
    cell->setAlignment(Qt::AlignCenter);
    cell->setFixedWidth(cellWidth);
    cell->setAccessibleName(tr("Data %1").arg(i + 1));
    cell->setReadOnly(readOnly);
    if (!readOnly) {
      cell->setEnabled(false);
      connect(cell, &QLineEdit::textEdited, this, [this, i] { emit CellEdited(i); });
    }
    grid->addWidget(number, (i / kPerRow) * 2, i % kPerRow);
    grid->addWidget(cell, (i / kPerRow) * 2 + 1, i % kPerRow);
    cells_.push_back(cell);
  }
  if (!readOnly) SetDataType(TagDataType::kHex);
}

void TagCellGrid::SetDataType(TagDataType type) {
  width_ = CharsPerByte(type);
  for (QLineEdit* cell : cells_) {
    cell->setMaxLength(width_);
    cell->setValidator(type == TagDataType::kHex ? hexValidator_ : latin1Validator_);
  }
}

void TagCellGrid::OpenRange(int first, int length) {
  for (int i = 0; i < count(); ++i) cells_[static_cast<size_t>(i)]->setEnabled(i >= first && i < first + length);
}

void TagCellGrid::DisableAll() {
  for (QLineEdit* cell : cells_) cell->setEnabled(false);
}

void TagCellGrid::ClearAll() {
  for (QLineEdit* cell : cells_) cell->clear();
}

std::string TagCellGrid::Concatenated() const {
  std::string out;
  for (QLineEdit* cell : cells_) out += cell->text().toLatin1().toStdString();
  return out;
}

void TagCellGrid::SetTexts(const std::array<std::string, kTagCells>& texts) {
  for (int i = 0; i < count() && i < kTagCells; ++i) {
    const std::string& t = texts[static_cast<size_t>(i)];
    cells_[static_cast<size_t>(i)]->setText(QString::fromLatin1(t.data(), static_cast<qsizetype>(t.size())));
  }
}

}  // namespace qm
