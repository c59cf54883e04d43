// The bitmap and vector text builders: test print bytes, the range check of the bitmap
// positions, the tester's insertion loop with kept values, and the buttons that open the
// converter and the font finder.
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <functional>

#include "commands/ui/bitmap_text_command_dialog.h"
#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/convert_unit_dialog.h"
#include "commands/ui/font_finder_dialog.h"
#include "commands/ui/vector_text_command_dialog.h"
#include "print_bench.h"
#include "../uncarried_message.h"

namespace qm {

using test::ModalScript;
using test::PrintBench;
using test::Wire;

namespace {

void Type(RealNumberSpin* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

using BitmapChange = std::function<void(const BitmapTextCommandDialog::Controls&)>;
// Types into a builder (or the tester) and presses the button that would send or insert.
using TypeAndPress = std::function<void(PrintBench&)>;
using VectorChange = std::function<void(const VectorTextCommandDialog::Controls&)>;

}  // namespace

class TextBuildersTest : public QObject {
  Q_OBJECT

 private slots:
  void BitmapTestPrint_data() {
    QTest::addColumn<BitmapChange>("change");
    QTest::addColumn<QByteArray>("bytes");
    using C = BitmapTextCommandDialog::Controls;
    QTest::newRow("defaults") << BitmapChange([](const C&) {})
                              << QByteArray("T20,20,3,1,1,0,0,N,N,'VORMAND Label Printer'\rP1\r");
    QTest::newRow("X 12.9 truncated, rotation 270 as 3") << BitmapChange([](const C& c) {
      Type(c.xPos, QStringLiteral("12.9"));
      c.rotation->setCurrentIndex(3);
    }) << QByteArray("T12,20,3,1,1,0,3,N,N,'VORMAND Label Printer'\rP1\r");
    QTest::newRow("every field, boundaries") << BitmapChange([](const C& c) {
      Type(c.xPos, QStringLiteral("999"));
      Type(c.yPos, QStringLiteral("0"));
      c.font->setCurrentIndex(15);
      c.hMulti->setValue(4);
      c.vMulti->setValue(2);
      c.spaceR->setValue(100);
      c.reverse->setCurrentIndex(1);
      c.bold->setCurrentIndex(1);
      c.data->setText(QStringLiteral("it's \u00e9"));
    }) << QByteArray("T999,0,f,4,2,100,0,R,B,'it's \xe9'\rP1\r");
  }
  void BitmapTestPrint() {
    QFETCH(BitmapChange, change);
    QFETCH(QByteArray, bytes);
    PrintBench b;
    BitmapTextCommandDialog d(b.context);
    d.show();
    QCOMPARE(d.windowTitle(), QStringLiteral("Bitmap Text Command"));
    change(d.controls());
    QTest::mouseClick(d.controls().testPrint, Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), bytes);
    QVERIFY(b.prompter.messages.empty());
  }

  // The spin runs to 1000 and a number may be typed beyond; the command takes 0 to 999.
  void BitmapPositionOutOfRangeSendsNothing_data() {
    QTest::addColumn<bool>("x");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString xText = QStringLiteral("X Pos must be a number from 0 to 999.");
    const QString yText = QStringLiteral("Y Pos must be a number from 0 to 999.");
    QTest::newRow("X at the spin's top") << true << "1000" << xText;
    QTest::newRow("X typed far past") << true << "5000" << xText;
    QTest::newRow("Y typed below 0") << false << "-1" << yText;
    QTest::newRow("Y 999.5 truncates but is past 999") << false << "999.5" << yText;
  }
  void BitmapPositionOutOfRangeSendsNothing() {
    QFETCH(bool, x);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    PrintBench b;
    BitmapTextCommandDialog d(b.context);
    d.show();
    RealNumberSpin* field = x ? d.controls().xPos : d.controls().yPos;
    Type(field, typed);
    QTest::mouseClick(d.controls().testPrint, Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray());
    QCOMPARE(b.texts(), std::vector<std::string>{message.toStdString()});
    QCOMPARE(b.prompter.messages[0].icon, Icon::kExclamation);
    QCOMPARE(d.focusWidget(), static_cast<QWidget*>(field));
  }

  // Insert with a bad position keeps the dialog open, so the operator can mend it.
  void BitmapInsertWithABadPositionStaysOpenAndAppendsNothing() {
    PrintBench b;
    bool stillOpen = false;
    ModalScript script({[&](QDialog* d) {
                          auto* t = static_cast<BitmapTextCommandDialog*>(d);
                          t->controls().yPos->setValue(1000);
                          QTest::mouseClick(t->controls().insert, Qt::LeftButton);
                          stillOpen = t->isVisible() && !t->insertFlag();
                          QTest::mouseClick(t->controls().close, Qt::LeftButton);
                        }});
    QTest::mouseClick(b.tester.bitmapTextButton(), Qt::LeftButton);
    QVERIFY(stillOpen);
    QCOMPARE(script.unexpected, 0);
    QVERIFY(b.tester.commandText().empty());
    QCOMPARE(b.texts(), std::vector<std::string>{"Y Pos must be a number from 0 to 999."});
  }

  void BitmapInsertKeepsValuesUntilTheNextPressOfTheButton() {
    PrintBench b;
    std::vector<std::pair<QString, int>> seen;  // X Pos text and rotation at each opening
    auto look = [&](QDialog* d) {
      const auto& c = static_cast<BitmapTextCommandDialog*>(d)->controls();
      seen.emplace_back(c.xPos->text(), c.rotation->currentIndex());
      return c;
    };
    ModalScript script({[&](QDialog* d) {
                          const auto c = look(d);
                          Type(c.xPos, QStringLiteral("30.5"));
                          c.rotation->setCurrentIndex(3);
                          QTest::mouseClick(c.insert, Qt::LeftButton);
                        },
                        [&](QDialog* d) { QTest::mouseClick(look(d).insert, Qt::LeftButton); },
                        [&](QDialog* d) { QTest::mouseClick(look(d).close, Qt::LeftButton); }});
    QTest::mouseClick(b.tester.bitmapTextButton(), Qt::LeftButton);
    const std::string line = "T30,20,3,1,1,0,3,N,N,'VORMAND Label Printer'\r\n";
    QCOMPARE(b.tester.commandText(), line + line);
    QCOMPARE(seen, (std::vector<std::pair<QString, int>>{{"20", 0}, {"30.5", 3}, {"30.5", 3}}));

    // A new press is a new builder, from the defaults.
    seen.clear();
    ModalScript again({[&](QDialog* d) { QTest::mouseClick(look(d).close, Qt::LeftButton); }});
    QTest::mouseClick(b.tester.bitmapTextButton(), Qt::LeftButton);
    QCOMPARE(seen, (std::vector<std::pair<QString, int>>{{"20", 0}}));
    QCOMPARE(b.tester.commandText(), line + line);
    QCOMPARE(Wire(b.Sent()), QByteArray());
  }

  void VectorTestPrint_data() {
    QTest::addColumn<VectorChange>("change");
    QTest::addColumn<QByteArray>("bytes");
    using C = VectorTextCommandDialog::Controls;
    QTest::newRow("defaults") << VectorChange([](const C&) {})
                              << QByteArray("V20,20,U,35,35,1,N,N,N,0,L,0,'VORMAND Label Printer'\rP1\r");
    QTest::newRow("space -5, bold, centre, right to left") << VectorChange([](const C& c) {
      c.fontSpace->setValue(-5);
      c.bold->setCurrentIndex(1);
      c.justification->setCurrentIndex(1);
      c.textDirection->setCurrentIndex(1);
    }) << QByteArray("V20,20,U,35,35,-5,B,N,N,0,C,1,'VORMAND Label Printer'\rP1\r");
    QTest::newRow("positions past the spin are not checked") << VectorChange([](const C& c) {
      Type(c.xPos, QStringLiteral("1500.7"));
      Type(c.yPos, QStringLiteral("1000"));
      c.width->setValue(100);
      c.height->setValue(1);
      c.reverse->setCurrentIndex(1);
      c.italic->setCurrentIndex(1);
      c.rotation->setCurrentIndex(2);
      c.justification->setCurrentIndex(0);
      c.data->setText(QString());
    }) << QByteArray("V1500,1000,U,100,1,1,N,R,I,2,R,0,''\rP1\r");
  }
  void VectorTestPrint() {
    QFETCH(VectorChange, change);
    QFETCH(QByteArray, bytes);
    PrintBench b;
    VectorTextCommandDialog d(b.context);
    d.show();
    QCOMPARE(d.windowTitle(), QStringLiteral("Vector Text Command"));
    QCOMPARE(d.controls().font->currentText(), QStringLiteral("U"));
    change(d.controls());
    QTest::mouseClick(d.controls().testPrint, Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), bytes);
    QVERIFY(b.prompter.messages.empty());
  }

  void VectorInsertedTwiceKeepsTheChangedValues() {
    PrintBench b;
    std::vector<int> spaces;
    using C = VectorTextCommandDialog::Controls;
    auto on = [&](std::function<void(const C&)> work) {
      return [&spaces, work](QDialog* d) {
        const C& c = static_cast<VectorTextCommandDialog*>(d)->controls();
        spaces.push_back(c.fontSpace->value());
        work(c);
      };
    };
    ModalScript script({on([](const C& c) {
                          c.fontSpace->setValue(-100);
                          c.italic->setCurrentIndex(1);
                          QTest::mouseClick(c.insert, Qt::LeftButton);
                        }),
                        on([](const C& c) { QTest::mouseClick(c.insert, Qt::LeftButton); }),
                        on([](const C& c) { QTest::mouseClick(c.close, Qt::LeftButton); })});
    QTest::mouseClick(b.tester.vectorTextButton(), Qt::LeftButton);
    const std::string line = "V20,20,U,35,35,-100,N,N,I,0,L,0,'VORMAND Label Printer'\r\n";
    QCOMPARE(b.tester.commandText(), line + line);
    QCOMPARE(spaces, (std::vector<int>{1, -100, -100}));
    QCOMPARE(script.unexpected, 0);
  }

  // Japanese in a field goes nowhere: the message names the character and the field, the
  // printer gets nothing, and a builder stays open with nothing appended.
  void UncarriedCharactersAreRefusedNamingThem_data() {
    QTest::addColumn<TypeAndPress>("work");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("characters");
    const auto insertStaysOpen = [](QPushButton* (QdrlTesterDialog::*button)() const,
                                    std::function<bool(QDialog*)> type) {
      return [button, type](PrintBench& b) {
        bool stillOpen = false;
        ModalScript script({[&](QDialog* d) {
          stillOpen = type(d);
          stillOpen = stillOpen && d->isVisible();
          d->accept();
        }});
        QTest::mouseClick((b.tester.*button)(), Qt::LeftButton);
        QVERIFY(stillOpen);
        QVERIFY(b.tester.commandText().empty());
      };
    };
    QTest::newRow("bitmap test print") << TypeAndPress([](PrintBench& b) {
      BitmapTextCommandDialog d(b.context);
      d.show();
      d.controls().data->setText(QStringLiteral("IR0,0,'\u3042\u3044'"));
      QTest::mouseClick(d.controls().testPrint, Qt::LeftButton);
      QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.controls().data));
    }) << "Text data" << "\u3042\u3044";
    QTest::newRow("bitmap insert") << TypeAndPress(insertStaysOpen(&QdrlTesterDialog::bitmapTextButton, [](QDialog* d) {
      auto* t = static_cast<BitmapTextCommandDialog*>(d);
      t->controls().data->setText(QStringLiteral("caf\u00e9 \u3042"));
      QTest::mouseClick(t->controls().insert, Qt::LeftButton);
      return !t->insertFlag();
    })) << "Text data" << "\u3042";
    QTest::newRow("vector test print, a pair of surrogates is one character") << TypeAndPress([](PrintBench& b) {
      VectorTextCommandDialog d(b.context);
      d.show();
      d.controls().data->setText(QString::fromUtf8("\xF0\x9F\x98\x80 \xE2\x82\xAC\xE2\x82\xAC"));
      QTest::mouseClick(d.controls().testPrint, Qt::LeftButton);
    }) << "Text data" << QString::fromUtf8("\xF0\x9F\x98\x80\xE2\x82\xAC");
    QTest::newRow("vector insert") << TypeAndPress(insertStaysOpen(&QdrlTesterDialog::vectorTextButton, [](QDialog* d) {
      auto* t = static_cast<VectorTextCommandDialog*>(d);
      t->controls().data->setText(QStringLiteral("\u65e5\u672c"));
      QTest::mouseClick(t->controls().insert, Qt::LeftButton);
      return !t->insertFlag();
    })) << "Text data" << "\u65e5\u672c";
    QTest::newRow("tester multi send") << TypeAndPress([](PrintBench& b) {
      b.tester.editor()->setPlainText(QStringLiteral("T10,10,0,1,1,1,0,'\u3042'\nP1\n"));
      QTest::mouseClick(b.tester.multiSendButton(), Qt::LeftButton);
      QVERIFY(b.tester.sentCounter()->text().isEmpty());
    }) << "QDRL Command" << "\u3042";
    QTest::newRow("tester save") << TypeAndPress([](PrintBench& b) {
      b.tester.editor()->setPlainText(QStringLiteral("T'\u3042'"));
      b.files.nextSave = QStringLiteral("/nonexistent/never-written.txt");
      QTest::mouseClick(b.tester.saveButton(), Qt::LeftButton);
      QVERIFY(b.files.lastProposedName.isEmpty());  // no file was even asked for
    }) << "QDRL Command" << "\u3042";
  }
  void UncarriedCharactersAreRefusedNamingThem() {
    QFETCH(TypeAndPress, work);
    QFETCH(QString, field);
    QFETCH(QString, characters);
    PrintBench b;
    b.tester.show();
    work(b);
    QCOMPARE(test::UncarriedProblem(b.prompter.messages, field, characters), QString());
    QCOMPARE(Wire(b.Sent()), QByteArray());
  }

  // What the code page has a byte for still goes out, with the control pictures as bytes.
  void TesterSendsLatin1AndPicturesAsTheirBytes() {
    PrintBench b;
    b.tester.editor()->setPlainText(QStringLiteral("T'caf\u00e9\u2400'"));
    QTest::mouseClick(b.tester.multiSendButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("T'caf\xe9\0'", 8));
    QVERIFY(b.prompter.messages.empty());
  }

  // "Find Font" and "Convert" open their dialogs over the builder; nothing comes back.
  void FindFontAndConvertOpenTheirDialogs() {
    PrintBench b;
    BitmapTextCommandDialog bitmap(b.context);
    VectorTextCommandDialog vector(b.context);
    std::vector<QString> opened;
    auto answer = [&](QDialog* d) {
      opened.push_back(QString::fromLatin1(d->metaObject()->className()) + QStringLiteral(" over ") +
                       QString::fromLatin1(d->parentWidget()->metaObject()->className()));
      d->accept();
    };
    ModalScript script({answer, answer, answer});
    QTest::mouseClick(bitmap.controls().findFont, Qt::LeftButton);
    QTest::mouseClick(bitmap.controls().convert, Qt::LeftButton);
    QTest::mouseClick(vector.controls().convert, Qt::LeftButton);
    QCOMPARE(opened, (std::vector<QString>{"qm::FontFinderDialog over qm::BitmapTextCommandDialog",
                                           "qm::ConvertUnitDialog over qm::BitmapTextCommandDialog",
                                           "qm::ConvertUnitDialog over qm::VectorTextCommandDialog"}));
    QCOMPARE(bitmap.TakeFields().data, std::string("VORMAND Label Printer"));
  }
};

}  // namespace qm

QTEST_MAIN(qm::TextBuildersTest)
#include "text_builders_test.moc"
