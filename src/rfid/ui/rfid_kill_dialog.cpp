#include "rfid/ui/rfid_kill_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "rfid/ui/tag_fields.h"

namespace qm {

// The line this dialog hands over, shown as it is in every language.
constexpr std::string_view kKillShape = ">RFKL";

RfidKillDialog::RfidKillDialog(QWidget* parent) : BuilderDialog(parent) {
  setWindowTitle(tr("RFID Kill"));
  auto* insert = new QPushButton(tr("Insert to label"));
  auto* close = new QPushButton(tr("Close"));
  connect(insert, &QPushButton::clicked, this, &BuilderDialog::InsertToLabel);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {insert, close}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(CommandText(kKillShape)), 0, Qt::AlignHCenter);
  layout->addLayout(buttons);
}

std::optional<std::string> RfidKillDialog::TakeLines(Prompter&) { return std::string(">RFKL\r\n"); }

}  // namespace qm
