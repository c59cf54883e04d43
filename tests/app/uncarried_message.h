// What every dialog says when typed text holds a character its code page has no byte for.
#pragma once

#include <QString>
#include <vector>

#include "core/prompter.h"
#include "gui/qt_strings.h"

namespace qm::test {

// The one message, as the operator reads it: it names `field` and every character of
// `characters`.
inline QString UncarriedProblem(const std::vector<Message>& messages, const QString& field,
                                const QString& characters) {
  if (messages.size() != 1) return QStringLiteral("%1 messages").arg(messages.size());
  const Message& m = messages[0];
  if (m.icon != Icon::kExclamation) return QStringLiteral("not a warning");
  const QString shown = ShownText(m);
  if (!shown.contains(QLatin1Char('"') + field + QLatin1Char('"'))) return QStringLiteral("no field in: ") + shown;
  for (const char32_t c : characters.toUcs4()) {
    if (!shown.contains(QLatin1Char('"') + QString::fromUcs4(&c, 1) + QLatin1Char('"'))) {
      return QStringLiteral("no character in: ") + shown;
    }
  }
  return {};
}

}  // namespace qm::test
