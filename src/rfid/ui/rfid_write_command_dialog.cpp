#include "rfid/ui/rfid_write_command_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "rfid/ui/tag_cell_grid.h"
#include "rfid/ui/tag_fields.h"

namespace qm {

namespace {

// The write dialog's grid begins at block 4.
constexpr int kFirstBlock = 4;
constexpr int kCells = 12;
// The command word before the fields, shown as it is in every language.
constexpr std::string_view kWriteShape = ">RFW,";

}  // namespace

RfidWriteCommandDialog::RfidWriteCommandDialog(Prompter& prompter, QWidget* parent)
    : BuilderDialog(parent), prompter_(prompter) {
  setWindowTitle(tr("RFID Write"));
  dataType_ = MakeChoiceList(kDataTypeLetters);
  start_ = NumberList(kFirstBlock, 10);
  bytes_ = NumberList(1, kCells);
  cells_ = new TagCellGrid(kCells, false);
  connect(cells_, &TagCellGrid::CellEdited, this, &RfidWriteCommandDialog::OnCellEdited);

  // The shape of the line around its fields.
  auto* shape = new QGridLayout;
  shape->addWidget(new QLabel(tr("Data Type")), 0, 1);
  shape->addWidget(new QLabel(tr("Start Block Number")), 0, 3);
  shape->addWidget(new QLabel(tr("Number of Byte")), 0, 5);
  shape->addWidget(new QLabel(CommandText(kWriteShape)), 1, 0);
  shape->addWidget(dataType_, 1, 1);
  shape->addWidget(new QLabel(CommandText(",")), 1, 2);
  shape->addWidget(start_, 1, 3);
  shape->addWidget(new QLabel(CommandText(",")), 1, 4);
  shape->addWidget(bytes_, 1, 5);
  shape->setColumnStretch(6, 1);
  auto* data = new QHBoxLayout;
  data->addWidget(new QLabel(CommandText(",'")), 0, Qt::AlignBottom);
  data->addWidget(cells_);
  data->addWidget(new QLabel(CommandText("'")), 0, Qt::AlignBottom);
  data->addStretch();

  setData_ = new QPushButton(tr("Set Data"));
  resetData_ = new QPushButton(tr("Reset Data"));
  auto* insert = new QPushButton(tr("Insert to label"));
  auto* close = new QPushButton(tr("Close"));
  connect(setData_, &QPushButton::clicked, this, &RfidWriteCommandDialog::SetData);
  connect(resetData_, &QPushButton::clicked, this, &RfidWriteCommandDialog::ResetData);
  connect(insert, &QPushButton::clicked, this, &BuilderDialog::InsertToLabel);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {setData_, resetData_}) buttons->addWidget(b);
  buttons->addStretch();
  for (QPushButton* b : {insert, close}) buttons->addWidget(b);
  for (QPushButton* b : {setData_, resetData_, insert, close}) b->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(shape);
  layout->addLayout(data);
  layout->addLayout(buttons);
  LoadDefaults();
}

void RfidWriteCommandDialog::LoadDefaults() {
  dataType_->setCurrentIndex(0);
  ChooseNumber(start_, kFirstBlock);
  ChooseNumber(bytes_, kCells);
  cells_->SetDataType(TagDataType::kHex);
  cells_->ClearAll();
  cells_->DisableAll();
  SetListsEnabled(true);
}

void RfidWriteCommandDialog::SetListsEnabled(bool on) {
  for (QWidget* w : std::initializer_list<QWidget*>{setData_, dataType_, start_, bytes_}) w->setEnabled(on);
  resetData_->setEnabled(!on);
}

void RfidWriteCommandDialog::SetData() {
  const int first = ShownNumber(start_) - kFirstBlock;
  const int count = ShownNumber(bytes_);
  if (first + count > kCells) {
    // This dialog tells it with the information icon, not the exclamation.
    prompter_.Show(Message{std::string(kInvalidRange), Icon::kInformation, {}, 0});
    return;
  }
  cells_->SetDataType(dataType_->currentIndex() == 1 ? TagDataType::kAscii : TagDataType::kHex);
  cells_->OpenRange(first, count);
  cells_->ClearAll();
  SetListsEnabled(false);
}

void RfidWriteCommandDialog::ResetData() {
  cells_->ClearAll();
  ChooseNumber(bytes_, kCells);
  ChooseNumber(start_, kFirstBlock);
  dataType_->setCurrentIndex(0);
  cells_->DisableAll();
  SetListsEnabled(true);
}

void RfidWriteCommandDialog::OnCellEdited(int index) {
  if (cells_->cell(index)->text().size() != cells_->width()) return;
  if (index == 2) {
    cells_->cell(3)->setFocus();
  } else if (index < kCells - 1 && cells_->cell(index + 1)->isEnabled()) {
    cells_->cell(index + 1)->setFocus();
  }
}

std::optional<std::string> RfidWriteCommandDialog::TakeLines(Prompter&) {
  const TagDataType type = dataType_->currentIndex() == 1 ? TagDataType::kAscii : TagDataType::kHex;
  return BuildWriteLine(type, ShownNumber(start_), ShownNumber(bytes_), cells_->Concatenated());
}

}  // namespace qm
