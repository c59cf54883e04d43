// Pages "Serial" and "Language": memory switches 1 to 3 through lists of named entries.
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

#include "settings/ui/default_code_page_ics_setting_page.h"
#include "settings/ui/serial_communication_setting_page.h"
#include "settings_bench.h"

namespace qm {

using test::SettingsBench;
using test::Wire;
using SerialPage = SerialCommunicationSettingPage;

namespace {

std::string Byte(int value) { return std::string(1, static_cast<char>(value)); }

bool ListsEnabled(const SerialPage& page) {
  for (int i = 0; i < SerialPage::kListCount; ++i) {
    if (!page.list(SerialPage::List(i))->isEnabled()) return false;
  }
  return true;
}

}  // namespace

class SerialLanguagePagesTest : public QObject {
  Q_OBJECT

 private slots:
  void SerialGetShowsTheSwitchAndEnablesTheLists_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("0x00") << 0x00 << QList<int>{0, 0, 0, 0, 0, 0};
    QTest::newRow("0x35") << 0x35 << QList<int>{1, 0, 1, 0, 1, 1};
    QTest::newRow("0x40 bit 6 alone") << 0x40 << QList<int>{0, 0, 0, 0, 0, 0};
    QTest::newRow("0x7F") << 0x7F << QList<int>{1, 1, 1, 1, 1, 2};
  }
  void SerialGetShowsTheSwitchAndEnablesTheLists() {
    QFETCH(int, byte);
    QFETCH(QList<int>, shown);
    SettingsBench b;
    b.printer.Answer("^MBR2,1", Byte(byte));
    SerialPage page(b.context);
    bool readyAtMessage = false;
    b.prompter.onShow = [&](const Message&) { readyAtMessage = ListsEnabled(page) && page.setButton()->isEnabled(); };
    QTest::mouseClick(page.getButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("^MBR2,1"));
    QCOMPARE(b.clock.sleeps, std::vector<int>{10});
    for (int i = 0; i < SerialPage::kListCount; ++i) QCOMPARE(page.list(SerialPage::List(i))->currentIndex(), shown[i]);
    QCOMPARE(b.onlyText(), std::string("Get serial communication status is successful"));
    QVERIFY(readyAtMessage);
  }

  void FailedSerialGetClearsTheListsAndEnablesNothing() {
    SettingsBench b;
    SerialPage page(b.context);
    page.Get();
    QCOMPARE(b.onlyText(), std::string("Get serial communication status is faied"));
    QCOMPARE(b.prompter.messages[0].icon, Icon::kExclamation);
    QVERIFY(!ListsEnabled(page));
    QVERIFY(!page.setButton()->isEnabled());

    // Once a Get has worked, a later failed one clears the lists but leaves them enabled.
    b.printer.Answer("^MBR2,1", Byte(0x35));
    page.Get();
    QCOMPARE(page.Selections(), DecodeSerialSwitch(0x35));
    b.link.Close();
    page.Get();
    QCOMPARE(b.texts().back(), std::string("Get serial communication status is faied"));
    QCOMPARE(page.Selections(), SerialSwitch{});
    QVERIFY(ListsEnabled(page));
    QVERIFY(page.setButton()->isEnabled());
  }

  void SerialSetSendsTheByteAndShowsThreeMessagesInOrder() {
    SettingsBench b;
    b.printer.Answer("^MBR2,1", Byte(0x7F));
    SerialPage page(b.context);
    page.Get();
    b.Sent();
    b.prompter.messages.clear();
    QTest::mouseClick(page.setButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), Wire("^MBR2,1^MBS2," + Byte(0x7F) + "^MBA" + Byte(2) + "\r"));
    QCOMPARE(b.texts(), (std::vector<std::string>{"Set serial communication status is successful",
                                                  "Please, turn off the printer and turn on the printer",
                                                  "Please, close application and re-connect printer"}));
    for (const Message& m : b.prompter.messages) QCOMPARE(m.icon, Icon::kInformation);
  }

  void DefaultSettingKeepsTheBaudRateAndSendsNothing() {
    SettingsBench b;
    b.printer.Answer("^MBR2,1", Byte(0x7F));
    SerialPage page(b.context);
    page.Get();
    b.Sent();
    QTest::mouseClick(page.defaultButton(), Qt::LeftButton);
    QCOMPARE(page.Selections(), (SerialSwitch{0, 0, 0, 0, 0, 2}));
    QCOMPARE(Wire(b.Sent()), QByteArray());
    page.Set();
    QCOMPARE(Wire(b.Sent()), Wire("^MBR2,1^MBS2," + Byte(0x60) + "^MBA" + Byte(2) + "\r"));
  }

  void SerialSetRefusesAnEmptyListAndReportsAFailedWrite() {
    SettingsBench b;
    SerialPage page(b.context);
    // Default Setting before any Get leaves the baud rate empty.
    page.DefaultSetting();
    page.Set();
    QCOMPARE(b.onlyText(), std::string("Choose an entry in every list first."));
    QCOMPARE(Wire(b.Sent()), QByteArray());

    b.prompter.messages.clear();
    page.list(SerialPage::kBaudRate)->setCurrentIndex(1);
    b.link.Close();
    page.Set();
    QVERIFY(!b.texts().empty());
    QCOMPARE(b.texts().back(), std::string("Set serial communication status is faied"));
    QCOMPARE(b.prompter.messages.back().icon, Icon::kExclamation);
  }

  void LanguageGetSelectsWhatTheListsHold_data() {
    QTest::addColumn<int>("codePageByte");
    QTest::addColumn<int>("icsByte");
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QString>("ics");
    QTest::newRow("last entries") << 23 << 16 << QStringLiteral("PC858 - Latin 1 + Euro") << QStringLiteral("China");
    QTest::newRow("past the ends") << 24 << 17 << QString() << QString();
    // The ICS reads only the bits below the print speed.
    QTest::newRow("speed bits in switch 3")
        << 7 << 0x45 << QStringLiteral("WPC1252 - Latin I") << QStringLiteral("Denmark I");
  }
  void LanguageGetSelectsWhatTheListsHold() {
    QFETCH(int, codePageByte);
    QFETCH(int, icsByte);
    QFETCH(QString, codePage);
    QFETCH(QString, ics);
    SettingsBench b;
    b.printer.Answer("^MBR1,1", Byte(codePageByte));
    b.printer.Answer("^MBR3,1", Byte(icsByte));
    DefaultCodePageIcsSettingPage page(b.context);
    QVERIFY(!page.setButton()->isEnabled());
    QTest::mouseClick(page.getButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("^MBR1,1^MBR3,1"));
    QCOMPARE(b.clock.sleeps, (std::vector<int>{50, 50}));
    QCOMPARE(page.codePageList()->currentText(), codePage);
    QCOMPARE(page.icsList()->currentText(), ics);
    QVERIFY(page.setButton()->isEnabled() && page.codePageList()->isEnabled() && page.icsList()->isEnabled());
    QCOMPARE(b.onlyText(), std::string("Get default codepage && ICS is successful."));
  }

  void LanguageGetWithoutTheIcsByteFails() {
    SettingsBench b;
    b.printer.Answer("^MBR1,1", Byte(7));
    DefaultCodePageIcsSettingPage page(b.context);
    page.Get();
    QCOMPARE(b.onlyText(), std::string("Get default codepage && ICS is failed."));
    QCOMPARE(page.codePageList()->currentIndex(), -1);
    QVERIFY(!page.setButton()->isEnabled());
  }

  void LanguageSetWritesCodePageThenIcs() {
    SettingsBench b;
    b.printer.Answer("^MBR1,1", Byte(0));
    b.printer.Answer("^MBR3,1", Byte(0));
    DefaultCodePageIcsSettingPage page(b.context);
    page.Get();
    b.Sent();
    b.prompter.messages.clear();
    page.codePageList()->setCurrentIndex(page.codePageList()->findText(QStringLiteral("WPC1252 - Latin I")));
    page.icsList()->setCurrentIndex(page.icsList()->findText(QStringLiteral("Japan")));
    QTest::mouseClick(page.setButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()),
             Wire("^MBS1," + Byte(7) + "^MBA" + Byte(1) + "\r^MBR3,1^MBS3," + Byte(11) + "^MBA" + Byte(3) + "\r"));
    QCOMPARE(b.onlyText(), std::string("Set default codepage && ICS is successful."));
  }
};

}  // namespace qm

QTEST_MAIN(qm::SerialLanguagePagesTest)
#include "serial_language_pages_test.moc"
