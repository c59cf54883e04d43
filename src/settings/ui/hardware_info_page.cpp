#include "settings/ui/hardware_info_page.h"
#include "gui/long_work.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "settings/profile.h"

namespace qm {

namespace {

// The printer stores one byte per character, so the fields take the characters that have
// one: printable Latin-1. A field's length is then its length in bytes on the wire.
QValidator* StorableText(QObject* parent) {
  static const QRegularExpression storable(QStringLiteral("[\\x{20}-\\x{7E}\\x{A0}-\\x{FF}]*"));
  return new QRegularExpressionValidator(storable, parent);
}

std::string Bytes(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

HardwareInfoPage::HardwareInfoPage(AppContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeGroup(HardwareItem::kVersion, tr("Hardware Version"), tr("Version:")));
  layout->addWidget(MakeGroup(HardwareItem::kSerialNumber, tr("Serial Number"), tr("Number:")));
  layout->addWidget(MakeGroup(HardwareItem::kPrinterId, tr("User Defined Printer ID"), tr("ID:")));
  layout->addStretch();
  setFocusProxy(getButton(HardwareItem::kVersion));
}

QWidget* HardwareInfoPage::MakeGroup(HardwareItem item, const QString& title, const QString& label) {
  ItemRow& row = rows_[static_cast<size_t>(item)];
  row.field = new QLineEdit;
  row.field->setValidator(StorableText(row.field));
  row.field->setMinimumWidth(200);
  row.get = new QPushButton(tr("Get"));
  row.set = new QPushButton(tr("Set"));
  row.initialize = new QPushButton(tr("Initialize"));
  connect(row.field, &QLineEdit::textChanged, this, [this, item] { KeepWithinLength(item); });
  connect(row.get, &QPushButton::clicked, this, [this, item] { Get(item); });
  connect(row.set, &QPushButton::clicked, this, [this, item] { Set(item); });
  connect(row.initialize, &QPushButton::clicked, this, [this, item] { Initialize(item); });

  auto* box = new QGroupBox(title);
  auto* line = new QHBoxLayout(box);
  auto* caption = new QLabel(label);
  caption->setBuddy(row.field);
  caption->setMinimumWidth(60);
  line->addWidget(caption);
  line->addWidget(row.field, 1);
  for (QPushButton* b : {row.get, row.set, row.initialize}) {
    b->setAutoDefault(false);
    line->addWidget(b);
  }
  return box;
}

void HardwareInfoPage::KeepWithinLength(HardwareItem item) {
  QLineEdit* edit = field(item);
  const HardwareItemSpec& row = SpecOf(item);
  const auto maximum = static_cast<qsizetype>(row.maxLength);
  if (edit->text().size() <= maximum) return;
  // Setting the cut text calls this again, which then finds it within the length.
  edit->setText(edit->text().left(maximum));
  context_.prompter.Show(Message{std::string(row.lengthMessage), Icon::kExclamation, {}, 0});
}

void HardwareInfoPage::Get(HardwareItem item) {
  field(item)->clear();
  field(item)->repaint();
  // The message names the value; the field shows it once the box is closed.
  const std::optional<std::string> value = RunLongWork(context_, this, [&](Work& w) {
                                             return GetHardwareItem(context_.link, context_.clock, w.prompter, item);
                                           }).value;
  if (value) field(item)->setText(QString::fromLatin1(value->data(), static_cast<qsizetype>(value->size())));
}

void HardwareInfoPage::Set(HardwareItem item) {
  // The printer takes several seconds to store an identification string: the progress
  // dialog tells the operator why.
  const std::string value = Bytes(field(item)->text());
  RunLongWork(context_, this, [&](Work& w) { SetHardwareItem(context_.link, context_.clock, w.prompter, item, value); });
}

void HardwareInfoPage::Initialize(HardwareItem item) {
  RunLongWork(context_, this, [&](Work& w) { InitializeHardwareItem(context_.link, context_.clock, w.prompter, item); });
}

void HardwareInfoPage::ShowValues(const ProfileValues& values) {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (!values.identity[i]) continue;
    const std::string& text = *values.identity[i];
    rows_[i].field->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  }
}

}  // namespace qm
