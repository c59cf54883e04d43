// A right-aligned field for a whole number, as the settings pages use for printer values.
#pragma once

#include <QLineEdit>
#include <optional>

namespace qm {

// Typing and pasting accept digits only. A printer reply put in with ShowReply may still
// carry a leading minus sign (a gap length of -3), which stays until the operator deletes it.
class NumberField : public QLineEdit {
  Q_OBJECT

 public:
  explicit NumberField(QWidget* parent = nullptr);

  // Shows a reply exactly as the printer gave it.
  void ShowReply(const QString& text);
  // The field's number when it holds a whole number from `minimum` to `maximum`.
  std::optional<int> Number(int minimum, int maximum) const;
  // true while the text starts with a minus sign that a reply put there.
  bool keepsSign() const { return keepsSign_; }

 private:
  bool keepsSign_ = false;
};

}  // namespace qm
