// The character set and two-byte code page prints: the writes each button makes, the
// font and code table switching, the block checks, and the long prints' Cancel.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <memory>

#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/character_set_command_dialog.h"
#include "commands/piece_writes.h"
#include "commands/ui/two_byte_codepage_dialog.h"
#include "core/progress.h"
#include "loopback_server.h"
#include "print_bench.h"

namespace qm {

using test::ModalScript;
using test::PrintBench;
using test::Wire;

namespace {

std::string Joined(const std::vector<std::string>& pieces, size_t count) {
  std::string all;
  for (size_t i = 0; i < count && i < pieces.size(); ++i) all += pieces[i];
  return all;
}
std::string Joined(const std::vector<std::string>& pieces) { return Joined(pieces, pieces.size()); }

// Chooses entry `index` as the operator does, which a program's choice does not mimic.
void Choose(QComboBox* list, int index) {
  list->setCurrentIndex(index);
  emit list->activated(index);
}

// Presses Cancel while the `after`-th piece is being written, as the operator would: the
// stop request of the work in force is raised from the link's trace on the worker.
void CancelDuringPiece(PrinterLink& link, Clock& clock, int after) {
  auto writes = std::make_shared<int>(0);
  link.SetTrace([&clock, after, writes](PrinterLink::Direction d, std::string_view) {
    if (d != PrinterLink::Direction::kWrite || ++*writes != after) return;
    if (CancelSignal* cancel = clock.cancel()) cancel->Raise();
  });
}

std::string KsRow(int lead) {
  std::string row = "T20,20,d,1,1,0,0,N,N,'";
  for (int trail = 0xA1; trail <= 0xFE; ++trail) {
    row += static_cast<char>(lead);
    row += static_cast<char>(trail);
  }
  return row + "'\rP1\r";
}

}  // namespace

class CharacterPrintsTest : public QObject {
  Q_OBJECT

 private slots:
  void CharacterSetFontKindSwitchesSizesLabelsAndFont() {
    PrintBench b;
    CharacterSetCommandDialog d(b.context);
    d.show();
    const auto& c = d.controls();
    QCOMPARE(d.windowTitle(), QStringLiteral("Character Set Command"));
    QCOMPARE(c.ics->currentText(), QStringLiteral("U.S.A"));
    QCOMPARE(c.codeTable->currentText(), QStringLiteral("PC437"));
    QCOMPARE(c.font->currentText(), QStringLiteral("3"));
    QCOMPARE(c.font->count(), 9);
    QVERIFY(c.bitmapFont->isChecked());
    auto state = [&] {
      return QStringLiteral("%1 %2 %3-%4 %5 %6 %7")
          .arg(c.sizeOneLabel->text(), c.sizeTwoLabel->text())
          .arg(c.sizeOne->minimum())
          .arg(c.sizeOne->maximum())
          .arg(c.sizeOne->value())
          .arg(c.sizeTwo->value())
          .arg(c.font->isEnabled() ? QStringLiteral("font") : QStringLiteral("no font"));
    };
    QCOMPARE(state(), QStringLiteral("H Multi V Multi 1-4 1 1 font"));
    c.sizeOne->setValue(3);
    QTest::mouseClick(c.vectorFont, Qt::LeftButton);
    QCOMPARE(state(), QStringLiteral("Width Height 1-100 35 35 no font"));
    QCOMPARE(c.sizeTwo->maximum(), 100);
    c.sizeTwo->setValue(80);
    QTest::mouseClick(c.bitmapFont, Qt::LeftButton);
    QCOMPARE(state(), QStringLiteral("H Multi V Multi 1-4 1 1 font"));
  }

  void CharacterSetTablePrints_data() {
    QTest::addColumn<bool>("over");
    QTest::addColumn<bool>("vector");
    QTest::newRow("under 80H, vector font") << false << true;
    QTest::newRow("over 80H, bitmap font") << true << false;
  }
  // Each button takes the fields over; the bytes themselves are the builders' business.
  void CharacterSetTablePrints() {
    QFETCH(bool, over);
    QFETCH(bool, vector);
    PrintBench b;
    CharacterSetCommandDialog d(b.context);
    d.show();
    const auto& c = d.controls();
    c.ics->setCurrentIndex(15);
    c.codeTable->setCurrentIndex(22);
    if (vector) QTest::mouseClick(c.vectorFont, Qt::LeftButton);
    c.font->setCurrentIndex(8);
    c.xPos->setValue(12.9);
    c.yPos->setValue(1000);
    c.sizeOne->setValue(2);
    c.sizeTwo->setValue(4);
    QTest::mouseClick(over ? c.over80H : c.under80H, Qt::LeftButton);

    CharacterSetFields f;
    f.ics = 15;
    f.codeTable = 22;
    f.fontKind = vector ? FontKind::kVector : FontKind::kBitmap;
    f.font = 'b';
    f.xPos = 12.9;
    f.yPos = 1000;
    f.sizeOne = 2;
    f.sizeTwo = 4;
    const std::vector<std::string> writes = over ? BuildOver80HPrint(f) : BuildUnder80HPrint(f);
    const std::string sent = b.Sent();
    QCOMPARE(Wire(sent), Wire(Joined(writes)));
    const std::string line = vector ? "\rV12,1000,U,4,2,+1," : "\rT12,1000,b,4,2,10,";
    QVERIFY(sent.starts_with("SW780\rCS15,22" + line));
    QVERIFY(sent.ends_with("'\rP1\rSW830\r"));
  }

  void InternationalRunsToTheEndWithProgress() {
    PrintBench b;
    CharacterSetCommandDialog d(b.context);
    d.show();
    d.controls().codeTable->setCurrentIndex(10);  // PC1250
    ModalScript script({});
    QTest::mouseClick(d.controls().international, Qt::LeftButton);
    QCOMPARE(script.shown, 0);
    CharacterSetFields f;
    f.codeTable = 10;
    const std::vector<std::string> writes = BuildInternationalPrint(f);
    const std::string sent = b.Sent();
    QCOMPARE(Wire(sent), Wire(Joined(writes)));
    for (int n = 0; n < 16; ++n) {
      QVERIFY(sent.find("CS" + std::to_string(n) + ",10\rT30," + std::to_string(50 + 70 * n)) != std::string::npos);
    }
    QCOMPARE(d.controls().status->text(), QStringLiteral("All 16 international character sets sent."));
  }

  void InternationalCancelStopsBeforeTheNextSet() {
    PrintBench b;
    CharacterSetCommandDialog d(b.context);
    d.show();
    ModalScript script({});
    CancelDuringPiece(b.link, b.clock, 3);
    QTest::mouseClick(d.controls().international, Qt::LeftButton);
    b.link.SetTrace({});
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(Wire(b.Sent()), Wire(Joined(BuildInternationalPrint(CharacterSetFields{}), 3)));
    QCOMPARE(d.controls().status->text(),
             QStringLiteral("Cancelled after 3 of 16 character sets; no label was printed."));
  }

  void TestersCharacterSetAndPrintCodesOpenOnceAndAppendNothing() {
    PrintBench b;
    std::vector<QString> opened;
    auto close = [&](QDialog* d) {
      opened.push_back(QString::fromLatin1(d->metaObject()->className()));
      d->reject();
    };
    ModalScript script({close, close});
    QTest::mouseClick(b.tester.characterSetButton(), Qt::LeftButton);
    QTest::mouseClick(b.tester.printCodesButton(), Qt::LeftButton);
    QCOMPARE(opened, (std::vector<QString>{"qm::CharacterSetCommandDialog", "qm::TwoByteCodepageDialog"}));
    QCOMPARE(script.unexpected, 0);
    QVERIFY(b.tester.commandText().empty());
  }

  void TwoByteFieldsFollowTheirChoices() {
    PrintBench b;
    TwoByteCodepageDialog d(b.context);
    d.show();
    const auto& c = d.controls();
    QCOMPARE(d.windowTitle(), QStringLiteral("2 Byte Codepage"));
    QCOMPARE(c.codeTable->currentText(), QStringLiteral("KS5601"));
    QCOMPARE(c.startBlock->text() + c.endBlock->text() + c.blockArea->text(), QStringLiteral("A1F7A1 to F7"));
    QCOMPARE(c.bitmapFontName->count(), 6);
    QCOMPARE(c.bitmapFontName->currentText(), QStringLiteral("d"));
    QVERIFY(c.bitmapFont->isChecked() && !c.printAllBlocks->isChecked());
    QVERIFY(c.bitmapFontName->isEnabled() && c.startBlock->isEnabled() && c.endBlock->isEnabled());
    QVERIFY(!c.vectorFontWidth->isEnabled() && !c.vectorFontHeight->isEnabled());
    QCOMPARE(c.vectorFontWidth->text() + c.vectorFontHeight->text(), QStringLiteral("3535"));

    QTest::mouseClick(c.vectorFont, Qt::LeftButton);
    QVERIFY(!c.bitmapFontName->isEnabled() && c.vectorFontWidth->isEnabled() && c.vectorFontHeight->isEnabled());

    // A table brings its own blocks and fonts; "all blocks" shows them and locks them.
    c.startBlock->setText(QStringLiteral("B0"));
    Choose(c.codeTable, 2);  // BIG5
    QCOMPARE(c.startBlock->text() + c.endBlock->text() + c.blockArea->text(), QStringLiteral("A1E8A1 to E8"));
    QCOMPARE(c.bitmapFontName->count(), 1);
    QCOMPARE(c.bitmapFontName->currentText(), QStringLiteral("n"));

    Choose(c.codeTable, 3);  // JIS
    c.startBlock->setText(QStringLiteral("90"));
    QTest::mouseClick(c.printAllBlocks, Qt::LeftButton);
    QCOMPARE(c.startBlock->text() + c.endBlock->text() + c.blockArea->text(),
             QStringLiteral("81EE81 to EE, FA to FC"));
    QVERIFY(!c.startBlock->isEnabled() && !c.endBlock->isEnabled());
    QTest::mouseClick(c.printAllBlocks, Qt::LeftButton);
    QVERIFY(c.startBlock->isEnabled() && c.endBlock->isEnabled());
    QCOMPARE(c.startBlock->text(), QStringLiteral("81"));
  }

  void TwoByteBlockChecks_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("message");
    QTest::newRow("start one digit") << "B" << "B0" << "Start Block value is wrong!";
    QTest::newRow("start three digits") << "B00" << "B0" << "Start Block value is wrong!";
    QTest::newRow("start checked first") << "G0" << "XZ" << "Start Block value is wrong!";
    QTest::newRow("end not hexadecimal") << "B0" << "XZ" << "End Block value is wrong!";
    QTest::newRow("start past end: nothing at all") << "C0" << "B0" << "";
  }
  void TwoByteBlockChecks() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, message);
    PrintBench b;
    TwoByteCodepageDialog d(b.context);
    d.show();
    d.controls().startBlock->setText(start);
    d.controls().endBlock->setText(end);
    ModalScript script({});
    QTest::mouseClick(d.controls().print, Qt::LeftButton);
    QCOMPARE(script.shown, 0);
    QCOMPARE(Wire(b.Sent()), QByteArray());
    QCOMPARE(b.texts(), message.isEmpty() ? std::vector<std::string>{} : std::vector<std::string>{message.toStdString()});
    if (!message.isEmpty()) QCOMPARE(b.prompter.messages[0].icon, Icon::kExclamation);
  }

  void TwoBytePrintsOneLabelPerBlock() {
    PrintBench b;
    TwoByteCodepageDialog d(b.context);
    d.show();
    d.controls().startBlock->setText(QStringLiteral("b0"));
    d.controls().endBlock->setText(QStringLiteral("B1"));
    ModalScript script({});
    QTest::mouseClick(d.controls().print, Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), Wire(KsRow(0xB0) + KsRow(0xB1)));
    QCOMPARE(script.shown, 0);
    QCOMPARE(d.controls().status->text(), QStringLiteral("All 2 labels sent."));
  }

  void TwoByteVectorSizesAreSentAsTyped() {
    PrintBench b;
    TwoByteCodepageDialog d(b.context);
    d.show();
    const auto& c = d.controls();
    Choose(c.codeTable, 1);  // GB2312
    QTest::mouseClick(c.vectorFont, Qt::LeftButton);
    c.vectorFontWidth->setText(QStringLiteral("40"));
    c.vectorFontHeight->setText(QStringLiteral("30"));
    c.startBlock->setText(QStringLiteral("C0"));
    c.endBlock->setText(QStringLiteral("C0"));
    ModalScript script({});
    QTest::mouseClick(c.print, Qt::LeftButton);
    const std::string sent = b.Sent();
    QVERIFY2(sent.starts_with("V20,20,G,30,40,1,N,N,N,0,L,0,'\xC0\xA1\xC0\xA2"), sent.substr(0, 40).c_str());
    QCOMPARE(sent.size(), size_t{30 + 188 + 5});
  }

  // All JIS blocks are 124 labels: minutes on a serial line, so Cancel must stop it.
  void TwoByteAllJisBlocksAndTheirCancel() {
    PrintBench b;
    TwoByteCodepageDialog d(b.context);
    d.show();
    const auto& c = d.controls();
    Choose(c.codeTable, 3);
    QTest::mouseClick(c.printAllBlocks, Qt::LeftButton);
    const std::vector<std::string> rows = BuildTwoBytePrint(d.TakeFields()).rows;
    QCOMPARE(rows.size(), size_t{124});
    QVERIFY(rows.front().starts_with("T20,20,j,1,1,0,0,N,N,'\x81\x3F\x81\x40"));
    QVERIFY(rows.back().ends_with("\xFC\xFE'\rP1\r"));

    {
      ModalScript cancel({});
      CancelDuringPiece(b.link, b.clock, 5);
      QTest::mouseClick(c.print, Qt::LeftButton);
      b.link.SetTrace({});
      QCOMPARE(cancel.unexpected, 0);
    }
    QCOMPARE(Wire(b.Sent()), Wire(Joined(rows, 5)));
    QCOMPARE(c.status->text(), QStringLiteral("Cancelled after 5 of 124 labels."));

    ModalScript all({});
    QTest::mouseClick(c.print, Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), Wire(Joined(rows)));
    QCOMPARE(c.status->text(), QStringLiteral("All 124 labels sent."));
  }

  // The status line counts what really went out.
  void TwoByteSummaryCountsWhatWasSent_data() {
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("failed");
    QTest::addColumn<int>("total");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("shown");
    QTest::newRow("all sent") << 3 << 0 << 3 << false << QStringLiteral("All 3 labels sent.");
    QTest::newRow("one label") << 1 << 0 << 1 << false << QStringLiteral("1 label sent.");
    QTest::newRow("some failed") << 2 << 1 << 3 << false << QStringLiteral("2 of 3 labels sent; 1 failed");
    QTest::newRow("the one label failed") << 0 << 1 << 1 << false << QStringLiteral("0 of 1 label sent; 1 failed");
    QTest::newRow("cancelled") << 2 << 0 << 5 << true << QStringLiteral("Cancelled after 2 of 5 labels.");
    QTest::newRow("cancelled after a failure") << 1 << 1 << 5 << true
                                                 << QStringLiteral("Cancelled after 1 of 5 labels; 1 failed.");
  }
  void TwoByteSummaryCountsWhatWasSent() {
    QFETCH(int, sent);
    QFETCH(int, failed);
    QFETCH(int, total);
    QFETCH(bool, cancelled);
    QFETCH(QString, shown);
    PiecesWritten w;
    w.sent = sent;
    w.failed = failed;
    w.total = total;
    w.cancelled = cancelled;
    QCOMPARE(TwoByteCodepageDialog::Summary(w), shown);
  }

  // A printer that cannot be reached: every label tried, each failure said, none counted.
  void TwoByteToAnUnreachablePrinterClaimsNoSuccess() {
    PrintBench b;
    b.link.SetPortName("ETHERNET");
    b.link.SetEthernetSettings("127.0.0.1", test::ClosedLoopbackPort());
    b.link.Open();
    TwoByteCodepageDialog d(b.context);
    d.show();
    d.controls().startBlock->setText(QStringLiteral("B0"));
    d.controls().endBlock->setText(QStringLiteral("B2"));
    b.prompter.messages.clear();
    QTest::mouseClick(d.controls().print, Qt::LeftButton);
    QCOMPARE(b.prompter.ids(), (std::vector<int>{sid::kConnectFailed, sid::kConnectFailed, sid::kConnectFailed}));
    QCOMPARE(d.controls().status->text(), QStringLiteral("0 of 3 labels sent; 3 failed"));
  }

  // The status line speaks of the last run only while its choice stands.
  void TwoByteStatusClearsWhenTheChoiceChanges_data() {
    QTest::addColumn<int>("change");
    QTest::newRow("code page C0 to B0 in the table") << 0;
    QTest::newRow("start block") << 1;
    QTest::newRow("end block") << 2;
    QTest::newRow("all blocks") << 3;
  }
  void TwoByteStatusClearsWhenTheChoiceChanges() {
    QFETCH(int, change);
    PrintBench b;
    TwoByteCodepageDialog d(b.context);
    d.show();
    const auto& c = d.controls();
    c.startBlock->setText(QStringLiteral("C0"));
    c.endBlock->setText(QStringLiteral("C0"));
    QTest::mouseClick(c.print, Qt::LeftButton);
    QCOMPARE(c.status->text(), QStringLiteral("1 label sent."));
    switch (change) {
      case 0:
        Choose(c.codeTable, 1);
        break;
      case 1:
        c.startBlock->setText(QStringLiteral("B0"));
        break;
      case 2:
        QTest::keyClick(c.endBlock, Qt::Key_Backspace);
        break;
      case 3:
        QTest::mouseClick(c.printAllBlocks, Qt::LeftButton);
        break;
    }
    QVERIFY(c.status->text().isEmpty());
  }
};

}  // namespace qm

QTEST_MAIN(qm::CharacterPrintsTest)
#include "character_prints_test.moc"
