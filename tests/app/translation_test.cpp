// Japanese where the operator's language is Japanese; English otherwise.
#include <QRadioButton>
#include <QtTest>

#include "app/main_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "gui/qt_strings.h"
#include "settings/ui/user_setting_manager_dialog.h"
#include "settings/ui/user_setting_tab_control.h"
#include "gui_support.h"

namespace qm {

class TranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { InstallTranslations(QLocale(QLocale::English)); }

  void JapaneseLocaleTranslatesNumberedStringsAndDialogTexts() {
    QVERIFY(InstallTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    const QtStringTable table;
    QCOMPARE(QString::fromStdString(table.Text(sid::kCannotOpenPort)),
             QStringLiteral("ポートを開けません。プリンタとケーブルを確認してください。"));
    QVERIFY(QString::fromStdString(table.Text(sid::kConnectFailed)).contains(QLatin1Char('\n')));
    test::GuiContext g;
    AppContext context{g.link, g.clock, g.prompter, table, g.spooler, g.files};
    MainDialog d(context);
    QCOMPARE(d.radio(MainDialog::kChoiceSerial)->text(), QStringLiteral("シリアル"));
    QVERIFY(d.windowTitle().contains(QStringLiteral("バージョン")));
    QdrlTesterDialog t(context);
    QCOMPARE(t.windowTitle(), QStringLiteral("QDRLテスタ"));
    // Tab labels stay English in every language.
    UserSettingManagerDialog settings(context);
    QStringList tabs;
    for (int i = 0; i < settings.tabControl()->count(); ++i) tabs << settings.tabControl()->tabText(i);
    QCOMPARE(tabs, (QStringList{"Serial", "Language", "Print&&Page", "Hardware Info", "Printer Info"}));
    QVERIFY(settings.windowTitle() != QStringLiteral("User Setting Manager"));
  }

  void EveryNumberedStringHasAJapaneseText() {
    QVERIFY(InstallTranslations(QLocale(QLocale::Japanese)));
    const QtStringTable table;
    for (int id : {102, 103, 106, 107, 108, 109, 110, 145, 146, 147, 148, 149, 216, 217, 218, 219}) {
      const std::string english(EnglishText(id));
      QVERIFY2(!english.empty(), std::to_string(id).c_str());
      QVERIFY2(table.Text(id) != english, std::to_string(id).c_str());
    }
  }

  void OtherLocalesStayEnglish() {
    QVERIFY(!InstallTranslations(QLocale(QLocale::German)));
    const QtStringTable table;
    QCOMPARE(table.Text(sid::kPortOpened), std::string("Success open port."));
  }
};

}  // namespace qm

QTEST_MAIN(qm::TranslationTest)
#include "translation_test.moc"
