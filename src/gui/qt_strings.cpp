#include "gui/qt_strings.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace qm {

std::string QtStringTable::Text(int id) const {
  const std::string english(EnglishText(id));
  if (english.empty()) return english;
  return QCoreApplication::translate("NumberedStrings", english.c_str()).toStdString();
}

bool InstallTranslations(const QLocale& locale) {
  static QTranslator* installed = nullptr;
  if (installed) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
    installed = nullptr;
  }
  if (locale.language() != QLocale::Japanese) return false;
  auto* translator = new QTranslator;
  if (!translator->load(QStringLiteral(":/i18n/quillmark_ja.qm"))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  installed = translator;
  return true;
}

}  // namespace qm
