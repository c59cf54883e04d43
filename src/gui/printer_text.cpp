#include "gui/printer_text.h"

#include <QLineEdit>
#include <QtGlobal>
#include <algorithm>

#include "commands/script_text.h"
#include "gui/qt_strings.h"

namespace qm {

namespace {

// A pasted page of text names its first few characters; the operator sees the rest once
// those are mended.
constexpr size_t kNamedAtMost = 8;

bool Carried(char32_t c, TextForm form) {
  if (c <= 0xFF) return true;
  if (form == TextForm::kPlain || c > 0xFFFF) return false;
  const std::u16string one(1, static_cast<char16_t>(c));
  return EditorTextToScript(one) != "?";
}

std::u16string Named(char32_t c) {
  QString code = QString::number(static_cast<uint>(c), 16).toUpper();
  code = code.rightJustified(4, QLatin1Char('0'));
  const QString shown = QString::fromUcs4(&c, 1);
  return (QLatin1Char('"') + shown + QLatin1String("\" (U+") + code + QLatin1Char(')')).toStdU16String();
}

}  // namespace

std::vector<char32_t> UncarriedCharacters(const QString& text, TextForm form) {
  std::vector<char32_t> out;
  for (const char32_t c : text.toUcs4()) {
    if (!Carried(c, form) && std::ranges::find(out, c) == out.end()) out.push_back(c);
  }
  return out;
}

Message UncarriedMessage(const QString& field, const std::vector<char32_t>& characters) {
  std::u16string named;
  for (size_t i = 0; i < characters.size() && i < kNamedAtMost; ++i) {
    if (i > 0) named += u", ";
    named += Named(characters[i]);
  }
  if (characters.size() > kNamedAtMost) named += u", ...";
  Message message = GuiMessage(
      QT_TRANSLATE_NOOP("GuiMessages", "\"%1\" holds characters the printer's code page has no byte for: %2. Change or remove them first."),
      Icon::kExclamation);
  message.args = {field.toStdU16String(), named};
  return message;
}

std::optional<std::string> ToPrinterBytes(const QString& text, const QString& field, Prompter& prompter,
                                          TextForm form) {
  const std::vector<char32_t> uncarried = UncarriedCharacters(text, form);
  if (!uncarried.empty()) {
    prompter.Show(UncarriedMessage(field, uncarried));
    return std::nullopt;
  }
  if (form == TextForm::kScript) return EditorTextToScript(text.toStdU16String());
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::optional<std::string> FieldBytes(QLineEdit* edit, const QString& field, Prompter& prompter) {
  std::optional<std::string> bytes = ToPrinterBytes(edit->text(), field, prompter);
  if (!bytes) edit->setFocus(Qt::OtherFocusReason);
  return bytes;
}

QString FieldName(const QString& label) {
  QString name = label.trimmed();
  // The Japanese labels end in a full-width colon as often as in a plain one.
  while (name.endsWith(QLatin1Char(':')) || name.endsWith(QChar(0xFF1A))) name = name.chopped(1).trimmed();
  return name;
}

}  // namespace qm
