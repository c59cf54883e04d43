#include "rfid/ui/rfid_read_command_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "rfid/rfid_commands.h"
#include "rfid/ui/tag_fields.h"

namespace qm {

namespace {

constexpr std::array<std::string_view, 2> kOutputTypes = {"S", "P"};
// The command word before the fields, shown as it is in every language.
constexpr std::string_view kReadShape = ">RFR,";

}  // namespace

RfidReadCommandDialog::RfidReadCommandDialog(QWidget* parent) : BuilderDialog(parent) {
  setWindowTitle(tr("RFID Read"));
  dataType_ = MakeChoiceList(kDataTypeLetters);
  start_ = NumberList(4, 10);
  bytes_ = NumberList(1, 12);
  output_ = MakeChoiceList(kOutputTypes);

  // The shape of the line around its fields.
  auto* shape = new QGridLayout;
  shape->addWidget(new QLabel(tr("Data Type")), 0, 1);
  shape->addWidget(new QLabel(tr("Start Block Number")), 0, 3);
  shape->addWidget(new QLabel(tr("Number of Byte")), 0, 5);
  shape->addWidget(new QLabel(tr("Output Type")), 0, 7);
  shape->addWidget(new QLabel(CommandText(kReadShape)), 1, 0);
  shape->addWidget(dataType_, 1, 1);
  shape->addWidget(new QLabel(CommandText(",")), 1, 2);
  shape->addWidget(start_, 1, 3);
  shape->addWidget(new QLabel(CommandText(",")), 1, 4);
  shape->addWidget(bytes_, 1, 5);
  shape->addWidget(new QLabel(CommandText(",")), 1, 6);
  shape->addWidget(output_, 1, 7);

  auto* insert = new QPushButton(tr("Insert to label"));
  auto* close = new QPushButton(tr("Close"));
  connect(insert, &QPushButton::clicked, this, &BuilderDialog::InsertToLabel);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {insert, close}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(shape);
  layout->addLayout(buttons);
  LoadDefaults();
}

void RfidReadCommandDialog::LoadDefaults() {
  dataType_->setCurrentIndex(0);
  ChooseNumber(start_, 4);
  ChooseNumber(bytes_, 12);
  output_->setCurrentIndex(0);
}

std::optional<std::string> RfidReadCommandDialog::TakeLines(Prompter&) {
  // No range check: the line takes any start with any count.
  return BuildReadLine(dataType_->currentIndex() == 1 ? TagDataType::kAscii : TagDataType::kHex,
                       ShownNumber(start_), ShownNumber(bytes_), output_->currentIndex() == 1);
}

}  // namespace qm
