#include "rfid/ui/rfid_password_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "rfid/rfid_operations.h"
#include "gui/printer_text.h"
#include "rfid/ui/tag_fields.h"

namespace qm {

// The fixed start of the line, shown as it is in every language.
constexpr std::string_view kPasswordShape = ">RFZ, '5E2A7C13,5E2A7C13,";

RfidPasswordDialog::RfidPasswordDialog(Prompter& prompter, QWidget* parent)
    : BuilderDialog(parent), prompter_(prompter) {
  setWindowTitle(tr("RFID Password"));
  access_ = new QLineEdit;
  kill_ = new QLineEdit;
  for (QLineEdit* field : {access_, kill_}) {
    connect(field, &QLineEdit::textEdited, this, [this, field] { OnEdited(field); });
  }

  // The shape of the line around the two fields.
  auto* shape = new QGridLayout;
  shape->addWidget(new QLabel(tr("Access")), 0, 1);
  shape->addWidget(new QLabel(tr("Kill")), 0, 3);
  shape->addWidget(new QLabel(CommandText(kPasswordShape)), 1, 0);
  shape->addWidget(access_, 1, 1);
  shape->addWidget(new QLabel(CommandText(",")), 1, 2);
  shape->addWidget(kill_, 1, 3);
  shape->addWidget(new QLabel(CommandText("'")), 1, 4);
  shape->addWidget(new QLabel(tr("* The value must be hexadecimal.")), 2, 1, 1, 3);
  shape->addWidget(new QLabel(tr("(ex: 9C.4D.E1.37)")), 3, 1, 1, 3);

  auto* insert = new QPushButton(tr("Insert to label"));
  auto* close = new QPushButton(tr("Close"));
  connect(insert, &QPushButton::clicked, this, &RfidPasswordDialog::Insert);
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

void RfidPasswordDialog::LoadDefaults() {
  access_->setText(CommandText(kDefaultPassword));
  kill_->setText(CommandText(kDefaultPassword));
}

void RfidPasswordDialog::OnEdited(QLineEdit* field) {
  // A character without a byte stays as typed, to be named when the line is inserted.
  if (!UncarriedCharacters(field->text(), TextForm::kPlain).empty()) return;
  const std::string text = field->text().toLatin1().toStdString();
  const std::string dotted = DotPassword(text);
  if (dotted == text) return;
  field->setText(CommandText(dotted));
  field->setCursorPosition(static_cast<int>(field->text().size()));
  field->setFocus();
}

std::optional<std::pair<std::string, std::string>> RfidPasswordDialog::TakePasswords(Prompter& prompter) {
  const std::optional<std::string> access = FieldBytes(access_, tr("Access"), prompter);
  if (!access) return std::nullopt;
  const std::optional<std::string> kill = FieldBytes(kill_, tr("Kill"), prompter);
  if (!kill || !CheckPasswords(prompter, *access, *kill)) return std::nullopt;
  return std::pair{*access, *kill};
}

void RfidPasswordDialog::Insert() {
  if (TakePasswords(prompter_)) InsertToLabel();
}

std::optional<std::string> RfidPasswordDialog::TakeLines(Prompter& prompter) {
  const auto passwords = TakePasswords(prompter);
  if (!passwords) return std::nullopt;
  return BuildPasswordCommand(StripDots(passwords->first), StripDots(passwords->second), "\r\n");
}

}  // namespace qm
