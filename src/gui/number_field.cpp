#include "gui/number_field.h"

#include <QValidator>
#include <charconv>

namespace qm {

namespace {

// Digits, behind the minus sign of a reply if the field still holds one.
class DigitsValidator : public QValidator {
 public:
  explicit DigitsValidator(NumberField* field) : QValidator(field), field_(field) {}
  State validate(QString& input, int&) const override {
    const qsizetype start = field_->keepsSign() && input.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (qsizetype i = start; i < input.size(); ++i) {
      if (input[i] < QLatin1Char('0') || input[i] > QLatin1Char('9')) return Invalid;
    }
    return Acceptable;
  }

 private:
  const NumberField* field_;
};

}  // namespace

NumberField::NumberField(QWidget* parent) : QLineEdit(parent) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setValidator(new DigitsValidator(this));
  // Once the operator has taken the reply's minus sign away, it cannot be typed back.
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!text.startsWith(QLatin1Char('-'))) keepsSign_ = false;
  });
}

void NumberField::ShowReply(const QString& text) {
  // Set before the text, so the validator judges the reply with its sign allowed.
  keepsSign_ = text.startsWith(QLatin1Char('-'));
  setText(text);
}

std::optional<int> NumberField::Number(int minimum, int maximum) const {
  const QByteArray digits = text().toLatin1();
  const char* first = digits.constData();
  const char* last = first + digits.size();
  long long value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (digits.isEmpty() || error != std::errc() || end != last) return std::nullopt;
  if (value < minimum || value > maximum) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace qm
