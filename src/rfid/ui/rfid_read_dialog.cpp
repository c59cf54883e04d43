#include "rfid/ui/rfid_read_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "rfid/ui/tag_cell_grid.h"
#include "rfid/ui/tag_fields.h"
#include "gui/long_work.h"

namespace qm {

RfidReadDialog::RfidReadDialog(AppContext& context, QWidget* parent, TagReadTiming timing)
    : QDialog(parent), context_(context), timing_(timing) {
  setWindowTitle(tr("RFID Read"));
  label_ = new QRadioButton(tr("Label"));
  metal_ = new QRadioButton(tr("Metal"));
  auto* carrier = new QButtonGroup(this);
  carrier->addButton(label_);
  carrier->addButton(metal_);
  label_->setChecked(true);
  epc_ = new QRadioButton(tr("EPC Data :"));
  user_ = new QRadioButton(tr("User Data"));
  auto* memory = new QButtonGroup(this);
  memory->addButton(epc_);
  memory->addButton(user_);
  epc_->setChecked(true);
  dataType_ = MakeChoiceList(kDataTypeNames);
  dataType_->setCurrentIndex(0);
  connect(epc_, &QRadioButton::clicked, this, [this] { dataType_->setEnabled(true); });
  connect(user_, &QRadioButton::clicked, this, [this] { dataType_->setEnabled(false); });
  start_ = NumberList(0, 16);
  bytes_ = NumberList(2, 64);
  ChooseNumber(start_, 4);
  ChooseNumber(bytes_, 12);

  auto* choices = new QGridLayout;
  choices->addWidget(label_, 0, 0);
  choices->addWidget(metal_, 0, 1);
  choices->addWidget(epc_, 1, 0);
  choices->addWidget(dataType_, 1, 1);
  choices->addWidget(user_, 1, 2);
  choices->addWidget(new QLabel(tr("Start Block Number :")), 0, 3);
  choices->addWidget(start_, 0, 4);
  choices->addWidget(new QLabel(tr("Nuber of bytes :")), 1, 3);
  choices->addWidget(bytes_, 1, 4);
  choices->setColumnStretch(5, 1);

  cells_ = new TagCellGrid(kTagCells, true);
  auto* readBox = new QGroupBox(tr("RFID Read"));
  auto* readLayout = new QVBoxLayout(readBox);
  readLayout->addLayout(choices);
  readLayout->addWidget(cells_);

  read_ = new QPushButton(tr("Read"));
  print_ = new QPushButton(tr("Print"));
  auto* close = new QPushButton(tr("Close"));
  connect(read_, &QPushButton::clicked, this, &RfidReadDialog::Read);
  connect(print_, &QPushButton::clicked, this, &RfidReadDialog::Print);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {read_, print_, close}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(readBox);
  layout->addLayout(buttons);
}

TagRange RfidReadDialog::Range() const {
  TagRange r;
  r.carrier = metal_->isChecked() ? TagCarrier::kMetal : TagCarrier::kLabel;
  r.memory = user_->isChecked() ? TagMemory::kUser : TagMemory::kEpc;
  r.dataType = dataType_->currentIndex() == 1 ? TagDataType::kAscii : TagDataType::kHex;
  r.start = ShownNumber(start_);
  r.bytes = ShownNumber(bytes_);
  return r;
}

void RfidReadDialog::Read() {
  const TagRange r = Range();
  // The read may take seconds; the buttons wait with it.
  read_->setEnabled(false);
  print_->setEnabled(false);
  const TagReadResult result =
      RunLongWork(context_, this, [&](Work& w) { return ReadTag(context_.link, context_.clock, w.prompter, r, timing_); })
          .value;
  read_->setEnabled(true);
  print_->setEnabled(true);
  if (result.status == TagReadStatus::kComplete || result.status == TagReadStatus::kIncomplete) {
    cells_->SetTexts(PlaceTagData(result.chars, r.start, CharsPerByte(r.dataType), result.expected));
  }
}

void RfidReadDialog::Print() {
  const TagRange r = Range();
  RunLongWork(context_, this, [&](Work&) { PrintTag(context_.link, r); });
}

}  // namespace qm
