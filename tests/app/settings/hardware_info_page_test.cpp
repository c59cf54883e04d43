// Page "Hardware Info": the length limits, the reads and the long wait after every write.
#include "settings/ui/hardware_info_page.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "settings_bench.h"

namespace qm {

using test::SettingsBench;
using test::Wire;

class HardwareInfoPageTest : public QObject {
  Q_OBJECT

 private slots:
  void TypingPastTheLengthCutsAndWarns_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("message");
    QTest::newRow("fifth version character")
        << 0 << QStringLiteral("A1.23") << QStringLiteral("A1.2")
        << QStringLiteral("Hardware version string can't be more than 4 characters.");
    QTest::newRow("17th serial character")
        << 1 << QStringLiteral("SN000000000000017") << QStringLiteral("SN00000000000001")
        << QStringLiteral("Serial number string can't be more than 16 characters.");
    QTest::newRow("eighth ID character") << 2 << QStringLiteral("PRINTER8") << QStringLiteral("PRINTER")
                                         << QStringLiteral("Printer ID string can't be more than 7 character.");
  }
  void TypingPastTheLengthCutsAndWarns() {
    QFETCH(int, item);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(QString, message);
    SettingsBench b;
    HardwareInfoPage page(b.context);
    QLineEdit* field = page.field(HardwareItem(item));
    QTest::keyClicks(field, typed);
    QCOMPARE(field->text(), kept);
    QCOMPARE(b.onlyText(), message.toStdString());
    QCOMPARE(b.prompter.messages[0].icon, Icon::kExclamation);
  }

  void PastedTextIsCutToItsFirstSixteenCharacters() {
    SettingsBench b;
    HardwareInfoPage page(b.context);
    QLineEdit* field = page.field(HardwareItem::kSerialNumber);
    QApplication::clipboard()->setText(QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    field->paste();
    QCOMPARE(field->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
    QCOMPARE(b.onlyText(), std::string("Serial number string can't be more than 16 characters."));
  }

  void CharactersWithoutAByteOfTheirOwnAreNotTaken() {
    SettingsBench b;
    HardwareInfoPage page(b.context);
    QLineEdit* field = page.field(HardwareItem::kPrinterId);
    // Typed as key presses carrying text, as an input method delivers them.
    for (QChar c : QStringLiteral("A\u65E5\u00E9")) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(field, &press);
    }
    QCOMPARE(field->text(), QStringLiteral("A\u00E9"));
  }

  void GetShowsTheValueAndItsMessage_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<int>("wait");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");
    QTest::newRow("version") << 0 << QStringLiteral("A1.2\r\n") << QByteArray("^MBX0\r") << 100
                             << QStringLiteral("A1.2") << QStringLiteral("H/W version is A1.2.")
                             << QStringLiteral("Information");
    QTest::newRow("serial number") << 1 << QStringLiteral("SN0001") << QByteArray("^MBX1\r") << 1000
                                   << QStringLiteral("SN0001") << QStringLiteral("Serial Number is SN0001.")
                                   << QStringLiteral("Information");
    QTest::newRow("no printer ID") << 2 << QString() << QByteArray("^MBX2\r") << 100 << QString()
                                   << QStringLiteral("Printer ID is NULL") << QString();
  }
  void GetShowsTheValueAndItsMessage() {
    QFETCH(int, item);
    QFETCH(QString, reply);
    QFETCH(QByteArray, query);
    QFETCH(int, wait);
    QFETCH(QString, field);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    SettingsBench b;
    if (!reply.isEmpty()) b.printer.Answer(query.toStdString(), reply.toStdString());
    HardwareInfoPage page(b.context);
    page.field(HardwareItem(item))->setText(QStringLiteral("old"));
    QTest::mouseClick(page.getButton(HardwareItem(item)), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), query);
    QCOMPARE(b.clock.sleeps, std::vector<int>{wait});
    QCOMPARE(page.field(HardwareItem(item))->text(), field);
    QCOMPARE(b.onlyText(), message.toStdString());
    QCOMPARE(QString::fromStdString(b.prompter.messages[0].caption), caption);
    QCOMPARE(b.prompter.messages[0].icon, Icon::kInformation);
  }

  void SetAndInitializeReportOnlyAfterTheWait_data() {
    QTest::addColumn<bool>("initialize");
    QTest::addColumn<int>("item");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("message");
    QTest::newRow("set serial number") << false << 1 << QByteArray("^MBY1,SN0001\r\n")
                                       << QStringLiteral("Set serial number is successful");
    QTest::newRow("set empty version") << false << 0 << QByteArray("^MBY0,\r\n")
                                       << QStringLiteral("Set hardware version is successful");
    QTest::newRow("initialize printer ID")
        << true << 2 << QByteArray("^MBY\x0F,2\r\n", 9) << QStringLiteral("Initialize printer ID is successful");
  }
  void SetAndInitializeReportOnlyAfterTheWait() {
    QFETCH(bool, initialize);
    QFETCH(int, item);
    QFETCH(QByteArray, sent);
    QFETCH(QString, message);
    SettingsBench b;
    HardwareInfoPage page(b.context);
    if (item == 1) QTest::keyClicks(page.field(HardwareItem::kSerialNumber), QStringLiteral("SN0001"));
    size_t messagesDuringWait = 99;
    b.clock.onSleep = [&](int) { messagesDuringWait = b.prompter.messages.size(); };
    QPushButton* button = initialize ? page.initializeButton(HardwareItem(item)) : page.setButton(HardwareItem(item));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), sent);
    QCOMPARE(b.clock.sleeps, std::vector<int>{5700});
    QCOMPARE(messagesDuringWait, size_t(0));
    QCOMPARE(b.onlyText(), message.toStdString());
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  void FailedWriteIsReportedAfterTheWaitWithTheItemsIcon() {
    SettingsBench b;
    HardwareInfoPage page(b.context);
    b.link.Close();
    page.Set(HardwareItem::kVersion);
    page.Initialize(HardwareItem::kPrinterId);
    // The link's own retry pauses come first; each report still waits for the printer.
    std::vector<int> longWaits;
    for (int ms : b.clock.sleeps) {
      if (ms >= 1000) longWaits.push_back(ms);
    }
    QCOMPARE(longWaits, (std::vector<int>{5700, 5700}));
    std::vector<std::pair<std::string, Icon>> reports;
    for (const Message& m : b.prompter.messages) {
      if (m.stringId == 0) reports.emplace_back(m.text, m.icon);
    }
    QCOMPARE(reports,
             (std::vector<std::pair<std::string, Icon>>{{"Set hardware version is failed", Icon::kInformation},
                                                        {"Initialize printer ID is failed", Icon::kExclamation}}));
  }
};

}  // namespace qm

QTEST_MAIN(qm::HardwareInfoPageTest)
#include "hardware_info_page_test.moc"
