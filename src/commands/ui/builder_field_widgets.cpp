#include "commands/ui/builder_field_widgets.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <algorithm>

#include "commands/script_text.h"
#include "gui/app_context.h"
#include "gui/printer_text.h"
#include "gui/long_work.h"

namespace qm {

namespace {

// How far a typed number may go: far past any label, short of silly.
constexpr double kTypedMinimum = 0;
constexpr double kTypedMaximum = 99999;

}  // namespace

RealNumberSpin::RealNumberSpin(double spinMinimum, double spinMaximum, int digits, QWidget* parent)
    : QDoubleSpinBox(parent), spinMinimum_(spinMinimum), spinMaximum_(spinMaximum), digits_(digits) {
  // Enough places that setValue keeps a single-precision value as it is.
  setDecimals(9);
  setRange(kTypedMinimum, kTypedMaximum);
  setAlignment(Qt::AlignRight);
}

double RealNumberSpin::shown() const {
  bool ok = false;
  const double typed = QLocale::c().toDouble(cleanText().trimmed(), &ok);
  return ok ? typed : value();
}

QString RealNumberSpin::textFromValue(double value) const {
  return QLocale::c().toString(value, 'g', digits_);
}

double RealNumberSpin::valueFromText(const QString& text) const {
  bool ok = false;
  const double typed = QLocale::c().toDouble(text.trimmed(), &ok);
  return ok ? typed : value();
}

QValidator::State RealNumberSpin::validate(QString& text, int&) const {
  const QString typed = text.trimmed();
  if (typed.isEmpty()) return QValidator::Intermediate;
  bool ok = false;
  const double number = QLocale::c().toDouble(typed, &ok);
  if (ok) {
    if (number > maximum()) return QValidator::Invalid;
    return number >= minimum() ? QValidator::Acceptable : QValidator::Intermediate;
  }
  static const QRegularExpression partial(QStringLiteral(R"(^[+-]?\d*\.?\d*([eE][+-]?\d*)?$)"));
  return partial.match(typed).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

void RealNumberSpin::stepBy(int steps) {
  setValue(std::clamp(shown() + steps, spinMinimum_, spinMaximum_));
  selectAll();
}

QAbstractSpinBox::StepEnabled RealNumberSpin::stepEnabled() const {
  if (isReadOnly()) return StepNone;
  StepEnabled enabled = StepNone;
  if (shown() < spinMaximum_) enabled |= StepUpEnabled;
  if (shown() > spinMinimum_) enabled |= StepDownEnabled;
  return enabled;
}

RealNumberSpin* CoordinateSpin() { return new RealNumberSpin(0, 1000, 15); }

QSpinBox* IntegerSpin(const FieldRange& range) {
  auto* spin = new QSpinBox;
  spin->setRange(range.minimum, range.maximum);
  spin->setAlignment(Qt::AlignRight);
  return spin;
}

QGridLayout* FieldGrid(std::initializer_list<std::pair<QWidget*, QWidget*>> pairs, int perRow) {
  auto* grid = new QGridLayout;
  int placed = 0;
  for (const auto& [label, field] : pairs) {
    if (auto* text = qobject_cast<QLabel*>(label)) text->setBuddy(field);
    grid->addWidget(label, placed / perRow, (placed % perRow) * 2);
    grid->addWidget(field, placed / perRow, (placed % perRow) * 2 + 1);
    ++placed;
  }
  for (int column = 1; column < perRow * 2; column += 2) grid->setColumnStretch(column, 1);
  return grid;
}

QHBoxLayout* QuotedDataRow(QWidget* data) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("'")));
  row->addWidget(data, 1);
  row->addWidget(new QLabel(QStringLiteral("'")));
  return row;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* b : buttons) {
    b->setAutoDefault(false);
    row->addWidget(b);
  }
  return row;
}

QButtonGroup* RadioButtons(QBoxLayout* layout, QObject* owner, std::initializer_list<QString> labels) {
  auto* group = new QButtonGroup(owner);
  int id = 0;
  for (const QString& label : labels) {
    auto* radio = new QRadioButton(label);
    group->addButton(radio, id++);
    layout->addWidget(radio);
  }
  return group;
}

std::string DataBytes(const QString& text) { return EditorTextToScript(text.toStdU16String()); }

QString DataText(const std::string& bytes) { return QString::fromStdU16String(ScriptToEditorText(bytes)); }

bool DataCarried(QWidget* field, const QString& text, const QString& name, Prompter& prompter) {
  if (ToPrinterBytes(text, name, prompter, TextForm::kScript)) return true;
  field->setFocus(Qt::OtherFocusReason);
  return false;
}

void SendTestPrint(AppContext& context, const std::string& line) {
  // A printer that has gone takes a connect wait to say so: on the worker, like all long work.
  const std::string bytes = TestPrintBytes(line);
  RunLongWork(context, QApplication::activeWindow(), [&](Work&) { context.link.Write(bytes); });
}

}  // namespace qm
