// The RFID dialogs: their enabling rules, the grid, and the bytes they send or hand over.
#include <QCheckBox>
#include <QKeyEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "../settings/settings_bench.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "rfid/ui/lock_payload_box.h"
#include "rfid/ui/rfid_configuration_dialog.h"
#include "rfid/ui/rfid_password_dialog.h"
#include "rfid/ui/rfid_read_dialog.h"
#include "rfid/ui/rfid_security_dialog.h"
#include "rfid/ui/rfid_write_command_dialog.h"
#include "rfid/ui/rfid_write_dialog.h"
#include "rfid/ui/tag_cell_grid.h"
#include "../uncarried_message.h"

namespace qm {

using test::ModalScript;
using test::SettingsBench;
using test::Wire;

namespace {

void Choose(QComboBox* list, int number) { list->setCurrentIndex(list->findText(QString::number(number))); }

void Show(QWidget& w) {
  w.show();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
}

void AnswerGet(SettingsBench& b, const std::vector<std::string>& replies) {
  for (size_t n = 0; n < replies.size(); ++n) b.printer.Answer(BuildRfidQuery(static_cast<int>(n) + 1), replies[n]);
}

}  // namespace

class RfidDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void ConfigurationIsLockedUntilAGetSucceeds() {
    SettingsBench b;
    RfidConfigurationDialog d(b.context);
    QTest::mouseClick(d.defaultButton(), Qt::LeftButton);
    QVERIFY(!d.setButton()->isEnabled());
    QVERIFY(!d.resetButton()->isEnabled());
    QCOMPARE(d.position()->text(), QStringLiteral("600"));
    QTest::mouseClick(d.getButton(), Qt::LeftButton);  // nothing answers
    QCOMPARE(b.onlyText(), std::string("Get RFID setting is faied"));
    QVERIFY(!d.setButton()->isEnabled());
    QCOMPARE(Wire(b.Sent()), QByteArray(">RFI,1\r>RFI,2\r>RFI,3\r>RFI,4\r>RFI,5\r>RFI,6\r>RFI,7\r"));

    AnswerGet(b, {"ISO-B\r\n", "32\r\n", "450\r\n", "4\r\n", "1\r\n", "12\r", "3\r\n"});
    QTest::mouseClick(d.getButton(), Qt::LeftButton);
    QVERIFY(d.setButton()->isEnabled() && d.resetButton()->isEnabled() && d.power()->isEnabled());
    QCOMPARE(d.tagType()->currentText(), QStringLiteral("ISO-B"));
    QCOMPARE(d.power()->currentIndex(), -1);
    QCOMPARE(d.position()->text(), QStringLiteral("450"));
    QCOMPARE(d.validCounter()->text(), QStringLiteral("12\r"));
    b.Sent();
    // Power 32 left no entry chosen: a Set sends power 0.
    QTest::mouseClick(d.setButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray(">RFS,2,4,1,0\r>RFTP,450\r"));
    d.power()->setCurrentIndex(8);
    QCOMPARE(d.power()->currentText(), QStringLiteral("9"));
    QTest::mouseClick(d.defaultButton(), Qt::LeftButton);
    QTest::mouseClick(d.setButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray(">RFS,5,3,2,1\r>RFTP,600\r"));
    QTest::mouseClick(d.resetButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray(">RFVR\r"));
    QCOMPARE(d.validCounter()->text(), QStringLiteral("0"));
    QCOMPARE(d.voidCounter()->text(), QStringLiteral("0"));
    QCOMPARE(b.prompter.messages.back().text, std::string("Auto calibration is successful"));
  }

  void SetDataOpensTheCellsOfTheRange_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("first");  // the first open cell from 0, -1 when refused
    QTest::addColumn<int>("last");
    QTest::newRow("defaults") << 4 << 12 << 4 << 15;
    QTest::newRow("16 with 51 bytes") << 16 << 51 << 16 << 63;
    QTest::newRow("16 with 64 bytes") << 16 << 64 << -1 << -1;
    QTest::newRow("0 with 2 bytes") << 0 << 2 << 0 << 1;
  }
  void SetDataOpensTheCellsOfTheRange() {
    QFETCH(int, start);
    QFETCH(int, bytes);
    QFETCH(int, first);
    QFETCH(int, last);
    SettingsBench b;
    RfidWriteDialog d(b.context);
    Choose(d.startBlock(), start);
    Choose(d.byteCount(), bytes);
    QTest::mouseClick(d.setDataButton(), Qt::LeftButton);
    QCOMPARE(d.setDataButton()->isEnabled(), first < 0);
    QCOMPARE(d.resetDataButton()->isEnabled(), first >= 0);
    if (first < 0) QCOMPARE(b.onlyText(), std::string(kInvalidRange));
    for (int i = 0; i < kTagCells; ++i) {
      QCOMPARE(d.cells()->cell(i)->isEnabled(), i >= first && i <= last);
    }
  }

  void CellsTakeTheirWidthAndMoveTheFocusOn() {
    SettingsBench b;
    RfidWriteDialog d(b.context);
    Show(d);
    d.dataBox()->click();
    Choose(d.startBlock(), 0);
    Choose(d.byteCount(), 2);
    QTest::mouseClick(d.setDataButton(), Qt::LeftButton);
    d.cells()->cell(0)->setFocus();
    QTest::keyClicks(d.cells()->cell(0), QStringLiteral("GA0"));  // G is no hexadecimal digit
    QCOMPARE(d.cells()->cell(0)->text(), QStringLiteral("A0"));
    QVERIFY(d.cells()->cell(1)->hasFocus());
    QTest::keyClicks(d.cells()->cell(1), QStringLiteral("F1"));
    QVERIFY(d.writeButton()->hasFocus());  // cell 3 is closed

    // Cell 3 moves to cell 4 and cell 64 to "Set Data" whether or not they are open.
    QTest::mouseClick(d.resetDataButton(), Qt::LeftButton);
    Choose(d.startBlock(), 2);
    d.dataType()->setCurrentIndex(1);
    d.userRadio()->click();
    QVERIFY(!d.dataType()->isEnabled());
    QTest::mouseClick(d.setDataButton(), Qt::LeftButton);
    d.cells()->cell(2)->setFocus();
    QTest::keyClicks(d.cells()->cell(2), QStringLiteral("xy"));
    QCOMPARE(d.cells()->cell(2)->text(), QStringLiteral("x"));  // ASCII: one character a cell
    QVERIFY(d.cells()->cell(3)->hasFocus());
  }

  void WriteIsEnabledByTheBoxesAndSendsInOrder() {
    SettingsBench b;
    RfidWriteDialog d(b.context);
    QVERIFY(!d.writeButton()->isEnabled());
    d.dataBox()->click();
    d.lockBox()->click();
    d.dataBox()->click();  // one still checked: Write stays
    QVERIFY(d.writeButton()->isEnabled());
    d.lockBox()->click();
    QVERIFY(!d.writeButton()->isEnabled());
    for (QCheckBox* box : {d.dataBox(), d.lockBox(), d.unlockBox()}) box->click();
    d.labelRadio()->click();
    d.payload()->maskBox(0)->click();
    d.payload()->actionBox(0)->click();
    QTest::mouseClick(d.setDataButton(), Qt::LeftButton);
    const QString digits = QStringLiteral("0102030405060708090A0B0C");
    for (int i = 0; i < 12; ++i) d.cells()->cell(4 + i)->setText(digits.mid(i * 2, 2));
    b.Sent();
    QVERIFY(!d.setDataButton()->isEnabled());
    std::vector<bool> listsBackAtMessage;
    b.prompter.onShow = [&](const Message&) { listsBackAtMessage.push_back(d.setDataButton()->isEnabled()); };
    QTest::mouseClick(d.writeButton(), Qt::LeftButton);
    b.prompter.onShow = {};
    QCOMPARE(Wire(b.Sent()),
             QByteArray(">RFUL\r>RFW,H,4,12,'0102030405060708090A0B0C'\r>RFLP,L,'80,20,00'\rP1\r"));
    QCOMPARE(b.onlyText(), std::string("Writing is success"));
    // The message comes once the dialog shows the outcome, not before.
    QCOMPARE(listsBackAtMessage, std::vector<bool>{true});
    QVERIFY(d.setDataButton()->isEnabled());  // the next tag can start at once

    d.accessPassword()->setText(QStringLiteral("9C.4D.E1"));
    QTest::mouseClick(d.passwordButton(), Qt::LeftButton);
    QCOMPARE(b.prompter.messages.back().text, std::string("Value of access is invalid!"));
    QCOMPARE(Wire(b.Sent()), QByteArray());
    d.accessPassword()->setText(QStringLiteral("9C.4D.E1.37"));
    QTest::mouseClick(d.passwordButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray(">RFZ,'5E2A7C13,5E2A7C13,9C4DE137,5E2A7C13'\r"));
  }

  void ReadFillsTheRangeAndDashesTheRest() {
    SettingsBench b;
    RfidReadDialog d(b.context);
    b.printer.Answer(">RFr,u,4,12,S\r", "0102030405060708090A0B0C");
    d.metalRadio()->click();
    d.userRadio()->click();
    QTest::mouseClick(d.readButton(), Qt::LeftButton);
    QCOMPARE(b.onlyText(), std::string("Reading data is successful"));
    QCOMPARE(d.cells()->cell(3)->text(), QStringLiteral("-"));
    QCOMPARE(d.cells()->cell(4)->text(), QStringLiteral("01"));
    QCOMPARE(d.cells()->cell(15)->text(), QStringLiteral("0C"));
    QCOMPARE(d.cells()->cell(16)->text(), QStringLiteral("-"));
    QVERIFY(b.clock.sleeps.empty());
    b.Sent();
    QTest::mouseClick(d.printButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray(">RFR,H,4,12,P\r"));
    // A silent tag leaves the cells as they were.
    d.labelRadio()->click();
    QTest::mouseClick(d.readButton(), Qt::LeftButton);
    QCOMPARE(b.prompter.messages.back().text, std::string("Reading data is faied"));
    QCOMPARE(d.cells()->cell(4)->text(), QStringLiteral("01"));
  }

  void TesterAppendsTheRfidLines() {
    SettingsBench b;
    QdrlTesterDialog t(b.context);
    const auto insert = [](QDialog* d) { static_cast<BuilderDialog*>(d)->InsertToLabel(); };
    const auto close = [](QDialog* d) { d->accept(); };
    {
      ModalScript script({[](QDialog* d) {
                            auto* w = static_cast<RfidWriteCommandDialog*>(d);
                            Choose(w->startBlock(), 10);
                            Choose(w->byteCount(), 2);
                            w->dataType()->setCurrentIndex(1);
                            QTest::mouseClick(w->setDataButton(), Qt::LeftButton);
                            w->cells()->cell(6)->setText(QStringLiteral("a"));
                            w->cells()->cell(7)->setText(QStringLiteral("b"));
                            w->InsertToLabel();
                          },
                          close});
      QTest::mouseClick(t.rfidWriteButton(), Qt::LeftButton);
      QCOMPARE(script.unexpected, 0);
    }
    QString typed;
    {
      ModalScript script({[&typed](QDialog* d) {
                            auto* p = static_cast<RfidPasswordDialog*>(d);
                            p->accessPassword()->clear();
                            QTest::keyClicks(p->accessPassword(), QStringLiteral("9C4DE137"));
                            typed = p->accessPassword()->text();
                            p->killPassword()->setText(QStringLiteral("1234567"));
                            p->Insert();  // refused: stays open
                            p->killPassword()->setText(QStringLiteral("12.34.56.78"));
                            p->Insert();
                          },
                          close});
      QTest::mouseClick(t.rfidPasswordButton(), Qt::LeftButton);
      QCOMPARE(script.unexpected, 0);
      QCOMPARE(b.prompter.messages.back().text, std::string("Value of kill is invalid!"));
      QCOMPARE(typed, QStringLiteral("9C.4D.E1.37"));
    }
    QString lockChoiceOnReturn;
    {
      ModalScript script({[](QDialog* d) {
                            auto* s = static_cast<RfidSecurityDialog*>(d);
                            s->payload()->maskBox(0)->click();
                            s->InsertToLabel();
                          },
                          [](QDialog* d) {
                            auto* s = static_cast<RfidSecurityDialog*>(d);
                            s->autoMode()->click();
                            s->unlockChoice()->click();
                            s->InsertToLabel();
                          },
                          [&lockChoiceOnReturn](QDialog* d) {
                            auto* s = static_cast<RfidSecurityDialog*>(d);
                            lockChoiceOnReturn = s->lockChoice()->isChecked() ? "Lock" : "UnLock";
                            d->accept();
                          }});
      QTest::mouseClick(t.rfidSecurityButton(), Qt::LeftButton);
      QCOMPARE(script.unexpected, 0);
    }
    {
      ModalScript script({insert, close});
      QTest::mouseClick(t.rfidReadButton(), Qt::LeftButton);
    }
    {
      ModalScript script({insert, insert, close});
      QTest::mouseClick(t.rfidKillButton(), Qt::LeftButton);
    }
    QCOMPARE(lockChoiceOnReturn, QStringLiteral("Lock"));
    QCOMPARE(Wire(t.commandText()), QByteArray(">RFW,A,10,2,'ab'\r\n"
                                               ">RFZ,'5E2A7C13,5E2A7C13,9C4DE137,12345678'\r\n"
                                               ">RFLP,L,'80,00,00'\r\n"
                                               ">RFUL\r\n"
                                               ">RFR,H,4,12,S\r\n"
                                               ">RFKL\r\n>RFKL\r\n"));
  }

  // A password with a character Latin-1 has no byte for is named and goes nowhere: the
  // write dialog sends nothing, the password builder stays open and appends nothing.
  void PasswordsTheCodePageCannotCarryAreRefused() {
    SettingsBench b;
    {
      RfidWriteDialog d(b.context);
      d.show();
      d.killPassword()->setText(QStringLiteral("5E.2A.7C.\u3042\u3042"));
      QTest::mouseClick(d.passwordButton(), Qt::LeftButton);
      QCOMPARE(test::UncarriedProblem(b.prompter.messages, QStringLiteral("Kill"), QStringLiteral("\u3042")), QString());
      QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.killPassword()));
      QCOMPARE(Wire(b.Sent()), QByteArray());
    }
    b.prompter.messages.clear();
    QdrlTesterDialog t(b.context);
    bool stillOpen = false;
    QString shown;
    ModalScript script({[&](QDialog* d) {
      auto* p = static_cast<RfidPasswordDialog*>(d);
      // Typed one key at a time: no "?" replaces what was typed while the dots go in.
      p->accessPassword()->clear();
      QTest::keyClicks(p->accessPassword(), QStringLiteral("5E"));
      QKeyEvent kana(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u3042"));
      QApplication::sendEvent(p->accessPassword(), &kana);
      QTest::keyClicks(p->accessPassword(), QStringLiteral("2A7C13"));
      shown = p->accessPassword()->text();
      p->Insert();
      stillOpen = p->isVisible() && !p->insertFlag();
      d->accept();
    }});
    QTest::mouseClick(t.rfidPasswordButton(), Qt::LeftButton);
    QVERIFY(stillOpen);
    QCOMPARE(script.unexpected, 0);
    QVERIFY(!shown.contains(QLatin1Char('?')));
    QVERIFY(shown.contains(QStringLiteral("\u3042")));
    QCOMPARE(test::UncarriedProblem(b.prompter.messages, QStringLiteral("Access"), QStringLiteral("\u3042")), QString());
    QVERIFY(t.commandText().empty());
  }

  void WriteCommandRangeIsCheckedOnTwelveCells() {
    SettingsBench b;
    RfidWriteCommandDialog d(b.prompter);
    Choose(d.startBlock(), 10);
    QTest::mouseClick(d.setDataButton(), Qt::LeftButton);
    QCOMPARE(b.onlyText(), std::string(kInvalidRange));
    QCOMPARE(b.prompter.messages[0].icon, Icon::kInformation);
    Choose(d.byteCount(), 6);
    QTest::mouseClick(d.setDataButton(), Qt::LeftButton);
    for (int i = 0; i < 12; ++i) QCOMPARE(d.cells()->cell(i)->isEnabled(), i >= 6);
  }
};

}  // namespace qm

QTEST_MAIN(qm::RfidDialogsTest)
#include "rfid_dialogs_test.moc"
