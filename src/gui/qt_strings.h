// Texts in the user interface language: numbered strings, the GUI's own messages, and the
// translations of Qt's own dialogs.
//
// The rule for message texts: a Message carries 8-bit Latin-1 bytes, as the printer sends
// them and as the operations' English literals are. The GUI shows a numbered string, or
// one of its own messages marked with GuiMessage, in the user interface language by
// looking it up when it is shown; every other text is decoded byte for byte as Latin-1.
#pragma once

#include <QLocale>
#include <QString>

#include "core/strings.h"

namespace qm {

// The program's own name, the caption of its message boxes.
inline constexpr char kProgramName[] = "Quillmark";

// The translation context of the GUI's own messages.
inline constexpr char kGuiMessageContext[] = "GuiMessages";

// The core's view of the numbered strings: their English text, Latin-1 bytes like every
// message text. The message box shows the translation by the message's number.
class QtStringTable : public StringTable {
 public:
  // Numbered string `id` in the user interface language.
  QString Translated(int id) const;
};

// A message of the GUI's own. Mark `english` with QT_TRANSLATE_NOOP("GuiMessages", ...)
// so that the translation check finds it.
Message GuiMessage(const char* english, Icon icon);

// The text a message box shows for `message`.
QString ShownText(const Message& message);

// Installs our translations and Qt's own for `locale` (Japanese when its language is
// Japanese); true when ours were installed.
bool InstallTranslations(const QLocale& locale);

}  // namespace qm
