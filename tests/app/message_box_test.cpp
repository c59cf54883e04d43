// The message boxes as the operator sees them: caption, icon, and the text decoded by its
// kind (the printer's Latin-1 bytes, numbered strings and the GUI's own messages translated).
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "gui/qt_prompter.h"
#include "gui/qt_strings.h"
#include "settings/settings_bench.h"
#include "settings/ui/hardware_info_page.h"

namespace qm {

namespace {

struct Shown {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows each message through a QtPrompter and reads back the boxes it opened.
std::vector<Shown> ShowAll(const std::vector<Message>& messages) {
  std::vector<Shown> shown;
  test::ModalScript script(std::deque<test::ModalScript::Step>(messages.size(), [&shown](QDialog* d) {
    auto* box = qobject_cast<QMessageBox*>(d);
    if (box) shown.push_back({box->windowTitle(), box->text(), box->icon()});
    d->accept();
  }));
  QtPrompter prompter;
  for (const Message& m : messages) prompter.Show(m);
  return shown;
}

}  // namespace

class MessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { InstallTranslations(QLocale(QLocale::English)); }

  void CaptionIconAndText_data() {
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("stringId");
    QTest::addColumn<QByteArray>("caption");
    QTest::addColumn<QString>("shownCaption");
    QTest::addColumn<QString>("shownText");
    QTest::newRow("program's name") << false << QByteArray("Success open port.") << 217 << QByteArray()
                                    << QStringLiteral("Quillmark") << QStringLiteral("Success open port.");
    QTest::newRow("Information") << false << QByteArray("Serial Number is SN1.") << 0 << QByteArray("Information")
                                 << QStringLiteral("Information") << QStringLiteral("Serial Number is SN1.");
    QTest::newRow("Warnning") << false << QByteArray("Get printer information is failed") << 0
                              << QByteArray("Warnning") << QStringLiteral("Warnning")
                              << QStringLiteral("Get printer information is failed");
    QTest::newRow("printer's byte E9") << false << QByteArray("H/W version is \xE9" "1.") << 0
                                       << QByteArray("Information") << QStringLiteral("Information")
                                       << QStringLiteral("H/W version is \u00E91.");
    QTest::newRow("byte E9 under Japanese") << true << QByteArray("Printer ID is \xE9.") << 0 << QByteArray()
                                            << QStringLiteral("Quillmark") << QStringLiteral("Printer ID is \u00E9.");
    QTest::newRow("numbered string in Japanese")
        << true << QByteArray("Cannot open port! Please check printer and cable.") << 216 << QByteArray()
        << QStringLiteral("Quillmark") << QStringLiteral("ポートを開けません。プリンタとケーブルを確認してください。");
    QTest::newRow("own message in Japanese") << true << QByteArray("Port must be a number from 1 to 65535.") << 0
                                             << QByteArray() << QStringLiteral("Quillmark")
                                             << QStringLiteral("ポートには 1 から 65535 までの数値を指定してください。");
    QTest::newRow("operation's text stays English")
        << true << QByteArray("Get printer information is successful.") << 0 << QByteArray()
        << QStringLiteral("Quillmark") << QStringLiteral("Get printer information is successful.");
  }
  void CaptionIconAndText() {
    QFETCH(bool, japanese);
    QFETCH(QByteArray, text);
    QFETCH(int, stringId);
    QFETCH(QByteArray, caption);
    QFETCH(QString, shownCaption);
    QFETCH(QString, shownText);
    if (japanese) QVERIFY(InstallTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    const std::vector<Shown> shown =
        ShowAll({Message{text.toStdString(), Icon::kExclamation, caption.toStdString(), stringId}});
    QCOMPARE(shown.size(), size_t{1});
    QCOMPARE(shown[0].caption, shownCaption);
    QCOMPARE(shown[0].text, shownText);
    QCOMPARE(shown[0].icon, QMessageBox::Warning);
  }

  // The whole road: a stored version with the byte 0xE9 read back from the printer.
  void HardwareVersionWithALatin1ByteShowsAsThatCharacter() {
    test::SettingsBench b;
    b.printer.Answer("^MBX0\r", "\xE9" "1\r\n");
    QtPrompter prompter;
    AppContext context{b.link, b.clock, prompter, EnglishStrings(), b.spooler, b.files};
    HardwareInfoPage page(context);
    std::vector<Shown> shown;
    test::ModalScript script({[&shown](QDialog* d) {
      if (auto* box = qobject_cast<QMessageBox*>(d)) shown.push_back({box->windowTitle(), box->text(), box->icon()});
      d->accept();
    }});
    QTest::mouseClick(page.getButton(HardwareItem::kVersion), Qt::LeftButton);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(shown.size(), size_t{1});
    QCOMPARE(shown[0].text, QStringLiteral("H/W version is \u00E91."));
    QCOMPARE(shown[0].caption, QStringLiteral("Information"));
    QCOMPARE(shown[0].icon, QMessageBox::Information);
    QCOMPARE(page.field(HardwareItem::kVersion)->text(), QStringLiteral("\u00E91"));
  }
};

}  // namespace qm

QTEST_MAIN(qm::MessageBoxTest)
#include "message_box_test.moc"
