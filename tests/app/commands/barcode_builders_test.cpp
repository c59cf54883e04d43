// The 1D and 2D barcode builders: test print bytes, the tester's insertion loop, the
// quiet zone's enabling, and the 2D builder's symbology switching and kept selections.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "builder_bench.h"
#include "../uncarried_message.h"
#include "commands/ui/barcode_1d_command_dialog.h"
#include "commands/ui/barcode_2d_command_dialog.h"
#include "commands/ui/block_draw_command_dialog.h"
#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/convert_unit_dialog.h"

namespace qm {

using test::BuilderBench;
using test::ModalScript;
using test::On;

namespace {

void Type(RealNumberSpin* field, const QString& text) {
  field->selectAll();
  QTest::keyClicks(field, text);
}

std::string Maxi(int mode) { return std::string(kMaxiCodeSamples[static_cast<size_t>(mode)]); }

}  // namespace

class BarcodeBuildersTest : public QObject {
  Q_OBJECT

 private slots:
  void Barcode1DTestPrintSendsTheLineAndP1_data() {
    QTest::addColumn<std::function<void(const Barcode1DCommandDialog::Controls&)>>("change");
    QTest::addColumn<QByteArray>("bytes");
    using C = Barcode1DCommandDialog::Controls;
    QTest::newRow("defaults") << std::function([](const C&) {})
                              << QByteArray("B1100,100,0,2,7,100,0,1,'123456789'\rP1\r");
    QTest::newRow("quiet zone 12") << std::function([](const C& c) { c.quietZone->click(); })
                                   << QByteArray("B1100,100,0,2,7,100,0,1,12,'123456789'\rP1\r");
    QTest::newRow("UCC/EAN128 at 90") << std::function([](const C& c) {
      c.barcode->setCurrentIndex(9);
      c.rotation->setCurrentIndex(1);
    }) << QByteArray("B1100,100,9,2,7,100,1,1,'123456789'\rP1\r");
    QTest::newRow("typed past the spin, truncated") << std::function([](const C& c) {
      Type(c.xPos, QStringLiteral("1500.9"));
      Type(c.yPos, QStringLiteral("0.99"));
      c.narrowBar->setValue(3);
      c.wideBar->setValue(9);
      c.height->setValue(0);
      c.hri->setCurrentIndex(0);
      c.data->setText(QStringLiteral("A'B\u00e9"));
    }) << QByteArray("B11500,0,0,3,9,0,0,0,'A'B\xe9'\rP1\r");
  }
  void Barcode1DTestPrintSendsTheLineAndP1() {
    QFETCH(std::function<void(const Barcode1DCommandDialog::Controls&)>, change);
    QFETCH(QByteArray, bytes);
    BuilderBench b;
    Barcode1DCommandDialog d(b.g.context);
    QCOMPARE(d.windowTitle(), QStringLiteral("1D Barcode Command"));
    change(d.controls());
    QTest::mouseClick(d.controls().testPrint, Qt::LeftButton);
    QCOMPARE(b.Received(bytes.toStdString()), bytes.toStdString());
  }

  // Japanese data is refused by Test Print and by Insert, naming the character and the
  // field: the printer gets nothing (a marker written after is all it reads) and Insert
  // leaves the builder open.
  void BarcodeDataTheCodePageCannotCarryIsRefused_data() {
    QTest::addColumn<bool>("twoD");
    QTest::addColumn<bool>("insert");
    QTest::newRow("1D test print") << false << false;
    QTest::newRow("1D insert") << false << true;
    QTest::newRow("2D test print") << true << false;
    QTest::newRow("2D insert") << true << true;
  }
  void BarcodeDataTheCodePageCannotCarryIsRefused() {
    QFETCH(bool, twoD);
    QFETCH(bool, insert);
    BuilderBench b;
    Barcode1DCommandDialog one(b.g.context);
    Barcode2DCommandDialog two(b.g.context);
    BuilderDialog& d = twoD ? static_cast<BuilderDialog&>(two) : one;
    d.show();
    if (twoD) {
      two.controls().data->setPlainText(QStringLiteral("QR\n\u3042"));
    } else {
      one.controls().data->setText(QStringLiteral("12\u3042"));
    }
    QPushButton* button = twoD ? (insert ? two.controls().insert : two.controls().testPrint)
                               : (insert ? one.controls().insert : one.controls().testPrint);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(test::UncarriedProblem(b.g.prompter.messages, QStringLiteral("Data"), QStringLiteral("\u3042")), QString());
    QVERIFY(d.isVisible());
    QVERIFY(!d.insertFlag());
    QCOMPARE(b.g.link.Write("<m>"), 1);
    QCOMPARE(b.Received("<m>"), std::string("<m>"));
  }

  void ConvertOpensTheConverterOverTheBuilder() {
    BuilderBench b;
    Barcode1DCommandDialog one(b.g.context);
    Barcode2DCommandDialog two(b.g.context);
    BlockDrawCommandDialog block(b.g.context);
    std::vector<QWidget*> parents;
    auto answer = [&](QDialog* d) {
      if (qobject_cast<ConvertUnitDialog*>(d)) parents.push_back(d->parentWidget());
      d->reject();
    };
    ModalScript script({answer, answer, answer});
    QTest::mouseClick(one.controls().convert, Qt::LeftButton);
    QTest::mouseClick(two.controls().convert, Qt::LeftButton);
    QTest::mouseClick(block.controls().convert, Qt::LeftButton);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(parents, (std::vector<QWidget*>{&one, &two, &block}));
  }

  void Barcode1DInsertsThroughTheTesterAndKeepsItsValues() {
    BuilderBench b;
    std::vector<std::tuple<int, bool, bool>> seen;  // rotation, quiet zone, its field enabled
    auto look = [&](Barcode1DCommandDialog* d) {
      const auto& c = d->controls();
      seen.emplace_back(c.rotation->currentIndex(), c.quietZone->isChecked(), c.quietZoneWidth->isEnabled());
    };
    ModalScript script({On<Barcode1DCommandDialog>([&](auto* d) {
                          look(d);
                          d->controls().rotation->setCurrentIndex(2);
                          d->controls().quietZone->click();
                          d->controls().quietZoneWidth->setValue(20);
                          QTest::mouseClick(d->controls().insert, Qt::LeftButton);
                        }),
                        On<Barcode1DCommandDialog>([&](auto* d) {
                          look(d);
                          QTest::mouseClick(d->controls().insert, Qt::LeftButton);
                        }),
                        On<Barcode1DCommandDialog>([&](auto* d) {
                          look(d);
                          QTest::mouseClick(d->controls().close, Qt::LeftButton);
                        }),
                        // A new press starts from the defaults.
                        On<Barcode1DCommandDialog>([&](auto* d) {
                          look(d);
                          d->reject();
                        })});
    QTest::mouseClick(b.Button(QStringLiteral("1D Barcode")), Qt::LeftButton);
    QTest::mouseClick(b.Button(QStringLiteral("1D Barcode")), Qt::LeftButton);
    QCOMPARE(script.unexpected, 0);
    const std::string line = "B1100,100,0,2,7,100,2,1,20,'123456789'\r\n";
    QCOMPARE(b.tester.commandText(), line + line);
    using S = std::tuple<int, bool, bool>;
    QCOMPARE(seen, (std::vector<S>{S{0, false, false}, S{2, true, true}, S{2, true, true}, S{0, false, false}}));
  }

  void Barcode2DLinesFollowTheSymbology_data() {
    QTest::addColumn<std::function<void(const Barcode2DCommandDialog::Controls&)>>("change");
    QTest::addColumn<QByteArray>("line");
    using C = Barcode2DCommandDialog::Controls;
    QTest::newRow("MaxiCode defaults") << std::function([](const C&) {})
                                       << QByteArray(("B2100,100,M,0,'" + Maxi(0) + "'").c_str());
    QTest::newRow("MaxiCode Mode 4") << std::function([](const C& c) { c.mode->setCurrentIndex(3); })
                                     << QByteArray(("B2100,100,M,4,'" + Maxi(3) + "'").c_str());
    QTest::newRow("PDF417") << std::function([](const C& c) { c.type->setCurrentIndex(1); })
                            << QByteArray("B2100,100,P,30,5,0,0,1,1,3,10,0,'VORMAND Label Printer, This is Test Printing.'");
    QTest::newRow("PDF417 changed") << std::function([](const C& c) {
      c.type->setCurrentIndex(1);
      c.maxRow->setValue(90);
      c.maxCol->setValue(1);
      c.errorCorrection->setCurrentIndex(8);
      c.compress->setCurrentIndex(2);
      c.hri->setCurrentIndex(0);
      c.origin->setCurrentIndex(0);
      c.moduleWidth->setValue(9);
      c.size->setValue(99);
      c.rotation->setCurrentIndex(3);
      c.data->setPlainText(QStringLiteral("AB\nC"));
    }) << QByteArray("B2100,100,P,90,1,8,2,0,0,9,99,3,'AB\r\nC'");
    QTest::newRow("QR Code") << std::function([](const C& c) { c.type->setCurrentIndex(2); })
                             << QByteArray("B2100,100,Q,1,L,4,0,'ABCDEFGHIJKLMN1234567890'");
    QTest::newRow("QR Code Model 2, H keeps the data") << std::function([](const C& c) {
      c.type->setCurrentIndex(2);
      c.mode->setCurrentIndex(1);
      c.errorCorrection->setCurrentIndex(3);
    }) << QByteArray("B2100,100,Q,2,H,4,0,'ABCDEFGHIJKLMN1234567890'");
    // Back to MaxiCode: Mode 0 and its sample, not the mode chosen before.
    QTest::newRow("Mode 3, PDF417, MaxiCode") << std::function([](const C& c) {
      c.mode->setCurrentIndex(2);
      c.type->setCurrentIndex(1);
      c.maxRow->setValue(12);
      c.type->setCurrentIndex(0);
    }) << QByteArray(("B2100,100,M,0,'" + Maxi(0) + "'").c_str());
    // Rows, columns and module width stay across symbologies; the size does not.
    QTest::newRow("PDF417 shape survives QR Code") << std::function([](const C& c) {
      c.type->setCurrentIndex(1);
      c.maxRow->setValue(12);
      c.moduleWidth->setValue(5);
      c.size->setValue(50);
      c.type->setCurrentIndex(2);
      c.type->setCurrentIndex(1);
    }) << QByteArray("B2100,100,P,12,5,0,0,1,1,5,10,0,'VORMAND Label Printer, This is Test Printing.'");
  }
  void Barcode2DLinesFollowTheSymbology() {
    QFETCH(std::function<void(const Barcode2DCommandDialog::Controls&)>, change);
    QFETCH(QByteArray, line);
    BuilderBench b;
    Barcode2DCommandDialog d(b.g.context);
    QCOMPARE(d.windowTitle(), QStringLiteral("2D Barcode Command"));
    change(d.controls());
    const std::string bytes = line.toStdString() + "\rP1\r";
    QTest::mouseClick(d.controls().testPrint, Qt::LeftButton);
    QCOMPARE(b.Received(bytes), bytes);
  }

  void Barcode2DEnablesAndLabelsEachSymbology() {
    BuilderBench b;
    Barcode2DCommandDialog d(b.g.context);
    const auto& c = d.controls();
    auto enabled = [&] {
      QString s;
      for (QWidget* w : std::initializer_list<QWidget*>{c.mode, c.maxRow, c.maxCol, c.errorCorrection, c.compress,
                                                        c.hri, c.origin, c.moduleWidth, c.size, c.rotation}) {
        s += w->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
      }
      return s;
    };
    auto labels = [&] {
      return QStringList{c.letter->text(), c.modeLabel->text(), c.errorCorrectionLabel->text(), c.sizeLabel->text()};
    };
    QCOMPARE(enabled(), QStringLiteral("1000000000"));
    QCOMPARE(labels(), (QStringList{"M", "Mode", "ECL", "Bar Height"}));
    QCOMPARE(c.mode->count(), 4);
    QCOMPARE(c.errorCorrection->count(), 0);
    c.type->setCurrentIndex(1);
    QCOMPARE(enabled(), QStringLiteral("0111111111"));
    QCOMPARE(labels(), (QStringList{"P", "Mode", "ECL", "Bar Height"}));
    QCOMPARE(c.errorCorrection->count(), 9);
    QCOMPARE(c.size->maximum(), 99);
    c.type->setCurrentIndex(2);
    QCOMPARE(enabled(), QStringLiteral("1001000011"));
    QCOMPARE(labels(), (QStringList{"Q", "Model", "ECC", "Bar Size"}));
    QCOMPARE(c.mode->itemText(1), QStringLiteral("Model 2"));
    QCOMPARE(c.errorCorrection->itemText(3), QStringLiteral("H"));
    QCOMPARE(c.size->minimum(), 1);
    QCOMPARE(c.size->maximum(), 4);
  }

  void Barcode2DKeepsItsSelectionsWhenReshownAfterInsertion_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("PDF417") << 1 << QByteArray("B250,100,P,30,5,6,0,1,1,3,10,2,'VORMAND Label Printer, This is Test Printing.'");
    QTest::newRow("QR Code") << 2 << QByteArray("B250,100,Q,2,Q,4,2,'ABCDEFGHIJKLMN1234567890'");
  }
  void Barcode2DKeepsItsSelectionsWhenReshownAfterInsertion() {
    QFETCH(int, type);
    QFETCH(QByteArray, line);
    BuilderBench b;
    std::vector<std::tuple<int, int, int, int>> seen;  // type, mode, error correction, rotation
    auto look = [&](Barcode2DCommandDialog* d) {
      const auto& c = d->controls();
      seen.emplace_back(c.type->currentIndex(), c.mode->currentIndex(), c.errorCorrection->currentIndex(),
                        c.rotation->currentIndex());
    };
    ModalScript script({On<Barcode2DCommandDialog>([&](auto* d) {
                          const auto& c = d->controls();
                          c.type->setCurrentIndex(type);
                          Type(c.startX, QStringLiteral("50"));
                          if (type == 2) c.mode->setCurrentIndex(1);
                          c.errorCorrection->setCurrentIndex(type == 2 ? 2 : 6);
                          c.rotation->setCurrentIndex(2);
                          QTest::mouseClick(c.insert, Qt::LeftButton);
                        }),
                        On<Barcode2DCommandDialog>([&](auto* d) {
                          look(d);
                          QTest::mouseClick(d->controls().insert, Qt::LeftButton);
                        }),
                        On<Barcode2DCommandDialog>([&](auto* d) {
                          look(d);
                          d->reject();
                        })});
    QTest::mouseClick(b.Button(QStringLiteral("2D Barcode")), Qt::LeftButton);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(b.tester.commandText(), line.toStdString() + "\r\n" + line.toStdString() + "\r\n");
    const int mode = type == 2 ? 1 : 0;
    const int level = type == 2 ? 2 : 6;
    using S = std::tuple<int, int, int, int>;
    QCOMPARE(seen, (std::vector<S>{S{type, mode, level, 2}, S{type, mode, level, 2}}));
  }
};

}  // namespace qm

QTEST_MAIN(qm::BarcodeBuildersTest)
#include "barcode_builders_test.moc"
