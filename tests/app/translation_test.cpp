// Japanese where the operator's language is Japanese; English otherwise.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "app/main_dialog.h"
#include "commands/ui/barcode_2d_command_dialog.h"
#include "commands/ui/character_set_command_dialog.h"
#include "commands/ui/convert_unit_dialog.h"
#include "commands/ui/label_setting_dialog.h"
#include "gui/printer_text.h"
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

  // Two buttons with different jobs read differently; a button reads as the title of the
  // window it opens.
  void EveryJapaneseStringNamesItsOwnAction() {
    QVERIFY(InstallTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    const auto ja = [](const char* context, const char* english) { return QCoreApplication::translate(context, english); };
    QVERIFY(ja("qm::RfidSecurityDialog", "Unlock") != ja("qm::RfidSecurityDialog", "UnLock"));
    // The write dialog's Unlock sends the plain unlock, as the security dialog's UnLock does.
    QCOMPARE(ja("qm::RfidWriteDialog", "Unlock"), ja("qm::RfidSecurityDialog", "UnLock"));
    QCOMPARE(ja("qm::MainDialog", "PCX File Downloader"), ja("qm::PcxFileDownloaderDialog", "PCX File Downloader"));
    QCOMPARE(ja("qm::QdrlTesterDialog", "Check Printer Status"), ja("qm::CheckPrinterStatusDialog", "Check Printer Status"));
  }

  // Labels a dialog sets in code read the same in both languages.
  void LabelsSetInCodeStayEnglish() {
    QVERIFY(InstallTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    test::GuiContext g;
    CharacterSetCommandDialog charset(g.context);
    QCOMPARE(charset.controls().sizeOneLabel->text(), QStringLiteral("H Multi"));
    charset.controls().vectorFont->click();
    QCOMPARE(charset.controls().sizeOneLabel->text(), QStringLiteral("Width"));
    QCOMPARE(charset.controls().sizeTwoLabel->text(), QStringLiteral("Height"));
    Barcode2DCommandDialog barcode(g.context);
    QCOMPARE(barcode.controls().modeLabel->text(), QStringLiteral("Mode"));
    QCOMPARE(barcode.controls().errorCorrectionLabel->text(), QStringLiteral("ECL"));
    QCOMPARE(barcode.controls().sizeLabel->text(), QStringLiteral("Bar Height"));
    ConvertUnitDialog convert;
    QCOMPARE(convert.inputUnit()->text(), QStringLiteral("inch"));
    QCOMPARE(convert.outputUnit()->text(), QStringLiteral("mm"));
    LabelSettingDialog label;
    QCOMPARE(label.controls().unitLabels[0]->text(), QStringLiteral("inch"));
  }

  // The refusal of a character is the GUI's own message: Japanese, with the field's name
  // and the characters filled in after the lookup, a "%2" typed in the first kept as typed.
  void UncarriedMessageIsTranslatedAndFilledIn() {
    const Message m = UncarriedMessage(QStringLiteral("%2 \u30c7\u30fc\u30bf"), {U'\u3042', U'\U0001F600'});
    QCOMPARE(ShownText(m), QStringLiteral("\"%2 \u30c7\u30fc\u30bf\" holds characters the printer's code page has no "
                                          "byte for: \"\u3042\" (U+3042), \"\U0001F600\" (U+1F600). Change or remove them first."));
    QVERIFY(InstallTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    QCOMPARE(ShownText(m), QStringLiteral("\u300c%2 \u30c7\u30fc\u30bf\u300d\u306b\u3001\u30d7\u30ea\u30f3\u30bf\u306e\u30b3\u30fc"
                                          "\u30c9\u30da\u30fc\u30b8\u306b\u306a\u3044\u6587\u5b57\u304c\u3042\u308a\u307e\u3059: "
                                          "\"\u3042\" (U+3042), \"\U0001F600\" (U+1F600)\u3002\u5909\u66f4\u3059\u308b\u304b\u524a\u9664"
                                          "\u3057\u3066\u304f\u3060\u3055\u3044\u3002"));
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
