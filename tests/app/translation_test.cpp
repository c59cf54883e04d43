// Japanese where the operator's language is Japanese; English otherwise.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "app/main_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "gui/qt_strings.h"
#include "settings/ui/serial_communication_setting_page.h"
#include "settings/ui/user_setting_manager_dialog.h"
#include "settings/ui/user_setting_tab_control.h"
#include "gui_support.h"
#include "loopback_server.h"

namespace qm {

class TranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { InstallTranslations(QLocale(QLocale::English)); }

  void JapaneseLocaleTranslatesNumberedStringsAndDialogTexts() {
    QVERIFY(InstallTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    const QtStringTable table;
    QCOMPARE(table.Translated(sid::kCannotOpenPort),
             QStringLiteral("ポートを開けません。プリンタとケーブルを確認してください。"));
    QVERIFY(table.Translated(sid::kConnectFailed).contains(QLatin1Char('\n')));
    test::GuiContext g;
    AppContext context{g.link, g.clock, g.prompter, table, g.spooler, g.files};
    MainDialog d(context);
    QCOMPARE(d.radio(MainDialog::kChoiceSerial)->text(), QStringLiteral("シリアル"));
    QCOMPARE(d.windowTitle(), QStringLiteral("Quillmark  (バージョン 1.4.9)"));
    QCOMPARE(d.calibrationButton()->text(), QStringLiteral("キャリブレーション設定マネージャ"));
    QdrlTesterDialog t(context);
    QCOMPARE(t.windowTitle(), QStringLiteral("QDRLテスタ"));
    // Tab labels stay English in every language.
    UserSettingManagerDialog settings(context);
    QStringList tabs;
    for (int i = 0; i < settings.tabControl()->count(); ++i) tabs << settings.tabControl()->tabText(i);
    QCOMPARE(tabs, (QStringList{"Serial", "Language", "Print&&Page", "Hardware Info", "Printer Info"}));
    QVERIFY(settings.windowTitle() != QStringLiteral("User Setting Manager"));
  }

  // The texts the main window and the pages make themselves: recorded as their English
  // bytes, shown in Japanese.
  void OwnMessagesAndTheStatusLineAreJapanese() {
    QVERIFY(InstallTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    test::LoopbackServer printer;
    test::GuiContext g;
    MainDialog d(g.context);
    d.parityBox()->setEditText(QStringLiteral("Mark"));
    d.Connect();
    d.radio(MainDialog::kChoiceEthernet)->click();
    d.portBox()->setText(QStringLiteral("0"));
    d.Connect();
    SerialCommunicationSettingPage page(g.context);
    page.Set();
    QCOMPARE(g.prompter.messages.size(), size_t{3});
    QCOMPARE(ShownText(g.prompter.messages[0]), QStringLiteral("パリティは None、Odd、Even のいずれかにしてください。"));
    QCOMPARE(ShownText(g.prompter.messages[1]), QStringLiteral("ポートには 1 から 65535 までの数値を指定してください。"));
    QCOMPARE(ShownText(g.prompter.messages[2]), QStringLiteral("先にすべてのリストで項目を選択してください。"));

    d.SetEthernetTarget(QStringLiteral("127.0.0.1"), printer.port());
    d.Connect();
    QVERIFY(d.connected());
    QCOMPARE(d.statusLine()->text(), QStringLiteral("接続済み: ETHERNET"));
  }

  // The file dialogs are Qt's own; their texts come from Qt's Japanese translations.
  void QtsOwnDialogsAreJapanese() {
    QVERIFY(InstallTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    QFileDialog save;
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    QCOMPARE(save.windowTitle(), QStringLiteral("名前を付けて保存"));
  }

  void EveryNumberedStringHasAJapaneseText() {
    QVERIFY(InstallTranslations(QLocale(QLocale::Japanese)));
    const QtStringTable table;
    for (int id : {102, 103, 106, 107, 108, 109, 110, 145, 146, 147, 148, 149, 216, 217, 218, 219}) {
      const std::string english(EnglishText(id));
      QVERIFY2(!english.empty(), std::to_string(id).c_str());
      QVERIFY2(table.Translated(id) != QString::fromStdString(english), std::to_string(id).c_str());
    }
  }

  void OtherLocalesStayEnglish() {
    QVERIFY(!InstallTranslations(QLocale(QLocale::German)));
    const QtStringTable table;
    QCOMPARE(table.Translated(sid::kPortOpened), QStringLiteral("Success open port."));
    QCOMPARE(ShownText(GuiMessage("Port must be a number from 1 to 65535.", Icon::kExclamation)),
             QStringLiteral("Port must be a number from 1 to 65535."));
  }
};

}  // namespace qm

QTEST_MAIN(qm::TranslationTest)
#include "translation_test.moc"
