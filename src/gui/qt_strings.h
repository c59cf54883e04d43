// Numbered strings in the user interface language.
#pragma once

#include <QLocale>

#include "core/strings.h"

namespace qm {

// Looks each numbered string up in the installed translations, English when none has it.
class QtStringTable : public StringTable {
 public:
  std::string Text(int id) const override;
};

// Installs the translations for `locale` (Japanese when its language is Japanese); true
// when a translation was installed.
bool InstallTranslations(const QLocale& locale);

}  // namespace qm
