#include "commands/ui/printing_copies_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "commands/copies.h"

namespace qm {

PrintingCopiesDialog::PrintingCopiesDialog(QWidget* parent) : BuilderDialog(parent) {
  setWindowTitle(tr("Printing Copies"));
  auto* fields = new QHBoxLayout;
  fields->addWidget(new QLabel(QStringLiteral("P")));
  first_ = new QSpinBox;
  first_->setRange(0, 100);
  first_->setAccessibleName(tr("first number"));
  fields->addWidget(first_);
  fields->addWidget(new QLabel(QStringLiteral(",")));
  second_ = new QSpinBox;
  second_->setRange(0, 100);
  second_->setAccessibleName(tr("second number"));
  fields->addWidget(second_);

  auto* insert = new QPushButton(tr("Insert to label"));
  auto* close = new QPushButton(tr("Close"));
  connect(insert, &QPushButton::clicked, this, &BuilderDialog::InsertToLabel);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(insert);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  LoadDefaults();
}

void PrintingCopiesDialog::LoadDefaults() {
  first_->setValue(1);
  second_->setValue(1);
}

std::optional<std::string> PrintingCopiesDialog::TakeLines(Prompter&) {
  return BuildCopiesLine(first_->value(), second_->value());
}

}  // namespace qm
