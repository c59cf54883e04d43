#include "gui/qt_strings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <vector>

namespace qm {

namespace {

// Our own source texts are plain ASCII; a text with any other byte came from the printer.
bool IsAscii(const std::string& text) {
  return !text.empty() && std::ranges::all_of(text, [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x01 && byte <= 0x7F;
  });
}

// %1 to %9 replaced in one pass, so that a "%2" inside the first argument stays as typed.
QString FillArgs(const QString& text, const std::vector<std::u16string>& args) {
  if (args.empty()) return text;
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('%') && i + 1 < text.size() && text[i + 1] >= QLatin1Char('1') &&
        text[i + 1] <= QLatin1Char('9')) {
      const auto n = static_cast<size_t>(text[i + 1].unicode() - u'1');
      if (n < args.size()) {
        out += QString::fromStdU16String(args[n]);
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

}  // namespace

QString QtStringTable::Translated(int id) const {
  const std::string english(EnglishText(id));
  if (english.empty()) return {};
  return QCoreApplication::translate("NumberedStrings", english.c_str());
}

Message GuiMessage(const char* english, Icon icon) { return Message{english, icon, {}, 0}; }

QString ShownText(const Message& message) {
  if (message.stringId != 0 && !EnglishText(message.stringId).empty()) {
    return QtStringTable().Translated(message.stringId);
  }
  // An untranslated text comes back as it went in.
  if (IsAscii(message.text)) {
    return FillArgs(QCoreApplication::translate(kGuiMessageContext, message.text.c_str()), message.args);
  }
  return QString::fromLatin1(message.text.data(), static_cast<qsizetype>(message.text.size()));
}

bool InstallTranslations(const QLocale& locale) {
  static std::vector<std::unique_ptr<QTranslator>> installed;
  for (const auto& t : installed) QCoreApplication::removeTranslator(t.get());
  installed.clear();
  if (locale.language() != QLocale::Japanese) return false;
  auto ours = std::make_unique<QTranslator>();
  if (!ours->load(QStringLiteral(":/i18n/quillmark_ja.qm"))) return false;
  QCoreApplication::installTranslator(ours.get());
  installed.push_back(std::move(ours));
  // Qt's own dialogs (the file dialogs, the message box buttons) speak the same language.
  auto qt = std::make_unique<QTranslator>();
  if (qt->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qt.get());
    installed.push_back(std::move(qt));
  }
  return true;
}

}  // namespace qm
