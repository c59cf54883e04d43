// Page "Print&&Page": numeric, signed and switch items, range checks before sending, and
// fields that take digits only.
#include "settings/ui/printer_page_setting_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "gui/number_field.h"
#include "settings_bench.h"

namespace qm {

using test::SettingsBench;
using test::Wire;

namespace {

std::string Byte(int value) { return std::string(1, static_cast<char>(value)); }

// The field's text as the operator would leave it: everything selected and typed over.
void TypeOver(NumberField* field, const QString& text) {
  field->selectAll();
  QTest::keyClicks(field, text);
}

}  // namespace

class PrinterPageSettingPageTest : public QObject {
  Q_OBJECT

 private slots:
  void NumericGetPutsTheReplyInTheField_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("width") << 0 << QByteArray("^PI5,0\r\n") << QByteArray("104\r\n") << QStringLiteral("104")
                           << QStringLiteral("Getting paper width is successful");
    QTest::newRow("empty length") << 1 << QByteArray("^PI5,1\r\n") << QByteArray("\r\n") << QStringLiteral("0")
                                  << QStringLiteral("Getting paper length is successful");
    QTest::newRow("negative gap") << 2 << QByteArray("^PI5,2\r\n") << QByteArray("-3\r\n") << QStringLiteral("-3")
                                  << QStringLiteral("Getting gap length is successful");
    QTest::newRow("density") << 5 << QByteArray("^PI4,1\r\n") << QByteArray("12") << QStringLiteral("12")
                             << QStringLiteral("Getting print density is successful");
    QTest::newRow("no reply") << 4 << QByteArray("^PI5,4\r\n") << QByteArray() << QStringLiteral("0")
                              << QStringLiteral("Getting paper vertical margin is failed");
  }
  void NumericGetPutsTheReplyInTheField() {
    QFETCH(int, item);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, reply);
    QFETCH(QString, field);
    QFETCH(QString, message);
    SettingsBench b;
    if (!reply.isEmpty()) b.printer.Answer(query.toStdString(), reply.toStdString());
    PrinterPageSettingPage page(b.context);
    QString fieldAtMessage;
    b.prompter.onShow = [&](const Message&) { fieldAtMessage = page.numberField(NumericItem(item))->text(); };
    QTest::mouseClick(page.getButton(NumericItem(item)), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), query);
    QCOMPARE(page.numberField(NumericItem(item))->text(), field);
    QCOMPARE(fieldAtMessage, field);
    QCOMPARE(b.onlyText(), message.toStdString());
    const bool ok = !reply.isEmpty();
    QCOMPARE(page.numberField(NumericItem(item))->isEnabled(), ok);
    QCOMPARE(page.setButton(NumericItem(item))->isEnabled(), ok);
    QCOMPARE(b.prompter.messages[0].icon, ok ? Icon::kInformation : Icon::kExclamation);
  }

  // What the field holds when "Set" is pressed: typed digits, or a reply left in place.
  void NumericSetSendsOnlyValuesWithinRange_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("message");
    QTest::newRow("width at its top") << 0 << "0"
                                      << "832" << QByteArray("^MBU0,832\r") << "Setting paper width is successful";
    QTest::newRow("width past its top") << 0 << "0"
                                        << "833" << QByteArray() << "Paper Width: enter a whole number from 0 to 832.";
    QTest::newRow("width of -3 from a reply")
        << 0 << "-3"
        << "" << QByteArray() << "Paper Width: enter a whole number from 0 to 832.";
    QTest::newRow("gap of -3 from a reply") << 2 << "-3"
                                            << "" << QByteArray("^MBU5,-3\r") << "Setting gap length is successful";
    QTest::newRow("emptied gap") << 2 << "5"
                                 << "\b" << QByteArray() << "Gap Length: enter a whole number.";
    QTest::newRow("density 21") << 5 << "0"
                                << "21" << QByteArray() << "Print Density: enter a whole number from 0 to 20.";
    QTest::newRow("margin reply not a number")
        << 3 << "abc"
        << "" << QByteArray() << "Paper Horizontal Margin: enter a whole number from 0 to 832.";
    QTest::newRow("length with leading zeros")
        << 1 << "0"
        << "0016" << QByteArray("^MBU2,16\r") << "Setting paper length is successful";
  }
  void NumericSetSendsOnlyValuesWithinRange() {
    QFETCH(int, item);
    QFETCH(QString, reply);
    QFETCH(QString, typed);
    QFETCH(QByteArray, sent);
    QFETCH(QString, message);
    SettingsBench b;
    b.printer.Answer(SpecOf(NumericItem(item)).query.data(), reply.toStdString() + "\r\n");
    PrinterPageSettingPage page(b.context);
    page.show();
    page.GetNumeric(NumericItem(item));
    b.Sent();
    b.prompter.messages.clear();
    NumberField* field = page.numberField(NumericItem(item));
    if (typed == QStringLiteral("\b")) {
      field->clear();
    } else if (!typed.isEmpty()) {
      TypeOver(field, typed);
    }
    QTest::mouseClick(page.setButton(NumericItem(item)), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), sent);
    QCOMPARE(b.onlyText(), message.toStdString());
    QCOMPARE(b.prompter.messages[0].icon, sent.isEmpty() ? Icon::kExclamation : Icon::kInformation);
  }

  void NumberFieldsTakeDigitsOnlyButKeepARepliesMinus() {
    NumberField field;
    TypeOver(&field, QStringLiteral("-1x2 3"));
    QCOMPARE(field.text(), QStringLiteral("123"));
    field.ShowReply(QStringLiteral("-3"));
    field.end(false);
    QTest::keyClicks(&field, QStringLiteral("5-"));
    QCOMPARE(field.text(), QStringLiteral("-35"));
    // Once the minus is deleted it cannot be typed back.
    field.home(false);
    QTest::keyClick(&field, Qt::Key_Delete);
    QTest::keyClicks(&field, QStringLiteral("-"));
    QCOMPARE(field.text(), QStringLiteral("35"));
    QCOMPARE(field.Number(0, 100), std::optional<int>(35));
    QCOMPARE(field.Number(0, 34), std::nullopt);
  }

  void SignedGetReadsSignAndThreeDigits_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("negative");
    QTest::addColumn<QString>("field");
    QTest::newRow("offset -005") << 0 << QByteArray("^SA\r\n") << QByteArray("-005") << true << true << "5";
    QTest::newRow("offset +100 CR LF") << 0 << QByteArray("^SA\r\n") << QByteArray("+100\r\n") << true << false
                                       << "100";
    QTest::newRow("tear-off -012") << 1 << QByteArray("^PI4,2\r\n") << QByteArray("-012\r\n") << true << true << "12";
    QTest::newRow("tear-off short") << 1 << QByteArray("^PI4,2\r\n") << QByteArray("-1\r\n") << false << false << "0";
    QTest::newRow("offset not digits") << 0 << QByteArray("^SA\r\n") << QByteArray("-0x5") << false << false << "0";
  }
  void SignedGetReadsSignAndThreeDigits() {
    QFETCH(int, item);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, reply);
    QFETCH(bool, ok);
    QFETCH(bool, negative);
    QFETCH(QString, field);
    SettingsBench b;
    b.printer.Answer(query.toStdString(), reply.toStdString());
    PrinterPageSettingPage page(b.context);
    page.GetSigned(SignedItem(item));
    QCOMPARE(Wire(b.Sent()), query);
    QCOMPARE(page.signBox(SignedItem(item))->isChecked(), negative);
    QCOMPARE(page.numberField(SignedItem(item))->text(), field);
    for (QWidget* w : std::initializer_list<QWidget*>{
             page.numberField(SignedItem(item)), page.signBox(SignedItem(item)), page.setButton(SignedItem(item))}) {
      QCOMPARE(w->isEnabled(), ok);
    }
    QCOMPARE(b.prompter.messages.size(), size_t(1));
    QCOMPARE(b.prompter.messages[0].icon, ok ? Icon::kInformation : Icon::kExclamation);
  }

  void SignedSetSendsSignAndFieldTextOrRefuses_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("negative");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("message");
    QTest::newRow("offset -12") << 0 << true << "12" << QByteArray("SA-12\r\n") << "Setting offset is successful";
    QTest::newRow("tear-off +7") << 1 << false << "7" << QByteArray("TA+7\r\n")
                                 << "Setting Tear-Off/Cutting position is successful";
    QTest::newRow("offset 101") << 0 << false << "101" << QByteArray()
                                << "Print Offset: enter a whole number from 0 to 100.";
  }
  void SignedSetSendsSignAndFieldTextOrRefuses() {
    QFETCH(int, item);
    QFETCH(bool, negative);
    QFETCH(QString, typed);
    QFETCH(QByteArray, sent);
    QFETCH(QString, message);
    SettingsBench b;
    b.printer.Answer("^SA\r\n", "+000");
    b.printer.Answer("^PI4,2\r\n", "+000");
    PrinterPageSettingPage page(b.context);
    page.show();
    page.GetSigned(SignedItem(item));
    b.Sent();
    b.prompter.messages.clear();
    TypeOver(page.numberField(SignedItem(item)), typed);
    page.signBox(SignedItem(item))->setChecked(negative);
    QTest::mouseClick(page.setButton(SignedItem(item)), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), sent);
    QCOMPARE(b.onlyText(), message.toStdString());
  }

  void SwitchItemsDecodeTheirBitsAndWriteTheLongForm() {
    SettingsBench b;
    b.printer.Answer("^MBR4,1", Byte(0x60));
    b.printer.Answer("^MBR3,1", Byte(0x45));
    PrinterPageSettingPage page(b.context);
    page.GetStrobe();
    page.GetGapPosition();
    page.GetSpeed();
    QCOMPARE(Wire(b.Sent()), QByteArray("^MBR4,1^MBR4,1^MBR3,1"));
    // 0x60 holds strobe 3 in bits 6-7 beside the upper gap position in bit 5.
    QVERIFY(!page.strobeRadio(0)->isChecked() && page.strobeRadio(1)->isChecked() &&
            !page.strobeRadio(2)->isChecked());
    QVERIFY(page.strobeRadio(2)->isEnabled() && page.strobeSetButton()->isEnabled());
    QCOMPARE(page.gapPositionList()->currentIndex(), 1);
    QVERIFY(page.gapPositionList()->isEnabled() && page.gapPositionSetButton()->isEnabled());
    QCOMPARE(page.speedList()->currentText(), QStringLiteral("4ips"));
    QCOMPARE(b.texts(),
             (std::vector<std::string>{"Getting strobe is successful", "Getting gap detect position is successful",
                                       "Getting speed is successful"}));

    page.strobeRadio(2)->setChecked(true);
    page.speedList()->setCurrentIndex(page.speedList()->findText(QStringLiteral("5ips")));
    page.SetStrobe();
    page.SetSpeed();
    page.SetGapPosition();
    // Each Set reads its switch first and keeps the bits the other item owns; the gap
    // position shown (upper) goes back beside the strobe the printer still answers.
    QCOMPARE(Wire(b.Sent()), Wire("^MBR4,1^MBS4," + Byte(0xA0) + "\r^MBA" + Byte(4) + "\r" +  //
                                  "^MBR3,1^MBS3," + Byte(0x65) + "\r^MBA" + Byte(3) + "\r" +  //
                                  "^MBR4,1^MBS4," + Byte(0x60) + "\r^MBA" + Byte(4) + "\r"));
  }

  void FailedSwitchGetKeepsEarlierEnablingButClearsStrobe() {
    SettingsBench b;
    b.printer.Answer("^MBR4,1", Byte(0x40));
    PrinterPageSettingPage page(b.context);
    page.GetStrobe();
    QVERIFY(page.strobeRadio(1)->isChecked());
    b.link.Close();
    page.GetStrobe();
    QCOMPARE(b.texts().back(), std::string("Getting strobe is failed"));
    QVERIFY(!page.strobeRadio(1)->isChecked());
    QVERIFY(page.strobeRadio(1)->isEnabled() && page.strobeSetButton()->isEnabled());
  }

  void CheckLabelLengthIsSilentAndInitializeReports() {
    SettingsBench b;
    PrinterPageSettingPage page(b.context);
    QTest::mouseClick(page.checkLabelLengthSetButton(), Qt::LeftButton);
    page.checkLabelLengthRadio(1)->setChecked(true);
    QTest::mouseClick(page.checkLabelLengthSetButton(), Qt::LeftButton);
    QVERIFY(b.prompter.messages.empty());
    QTest::mouseClick(page.initializeButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("^MBL0^MBL1^MBU\x0F,99\r", 19));
    QCOMPARE(b.onlyText(), std::string("Initialize all user setting data is successful"));
  }
};

}  // namespace qm

QTEST_MAIN(qm::PrinterPageSettingPageTest)
#include "printer_page_setting_page_test.moc"
