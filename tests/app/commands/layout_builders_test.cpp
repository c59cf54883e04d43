// The block, label setting and print setting builders: test print bytes, the lines the
// tester appends, enabling rules, unit conversion of the shown values and kept values.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

#include "builder_bench.h"
#include "commands/ui/block_draw_command_dialog.h"
#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/label_setting_dialog.h"
#include "commands/ui/printing_setting_dialog.h"

namespace qm {

using test::BuilderBench;
using test::ModalScript;
using test::On;

namespace {

// Presses "Insert to label" once, then "Close", through the tester's button `label`.
template <typename Dialog, typename Work>
std::string InsertOnce(BuilderBench& b, const QString& label, Work work) {
  ModalScript script({On<Dialog>([&](Dialog* d) {
                        work(d->controls());
                        QTest::mouseClick(d->controls().insert, Qt::LeftButton);
                      }),
                      On<Dialog>([](Dialog* d) { QTest::mouseClick(d->controls().close, Qt::LeftButton); })});
  QTest::mouseClick(b.Button(label), Qt::LeftButton);
  if (script.unexpected != 0 || script.shown != 2) return "shown " + std::to_string(script.shown);
  return b.tester.commandText();
}

}  // namespace

class LayoutBuildersTest : public QObject {
  Q_OBJECT

 private slots:
  void BlockDrawTestPrintAndTypeDefaults_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("optionalEnabled");
    QTest::newRow("O defaults") << 0 << QByteArray("BD100,100,800,120,O") << false;
    QTest::newRow("D writes no optional") << 2 << QByteArray("BD100,100,800,120,D") << false;
    QTest::newRow("S takes 10 and End Y 300") << 3 << QByteArray("BD100,100,800,300,S,10") << true;
    QTest::newRow("B takes 20") << 4 << QByteArray("BD100,100,800,120,B,20") << true;
  }
  void BlockDrawTestPrintAndTypeDefaults() {
    QFETCH(int, type);
    QFETCH(QByteArray, line);
    QFETCH(bool, optionalEnabled);
    BuilderBench b;
    BlockDrawCommandDialog d(b.g.context);
    QCOMPARE(d.windowTitle(), QStringLiteral("Block Draw Command"));
    const auto& c = d.controls();
    // "S" first, so each type's own defaults replace the ones "S" left.
    c.type->setCurrentIndex(3);
    c.type->setCurrentIndex(type);
    QCOMPARE(c.optional->isEnabled(), optionalEnabled);
    const std::string bytes = line.toStdString() + "\rP1\r";
    QTest::mouseClick(c.testPrint, Qt::LeftButton);
    QCOMPARE(b.Received(bytes), bytes);
  }

  void BlockDrawKeepsTypeAndOptionalWhenReshown() {
    BuilderBench b;
    std::vector<std::pair<int, bool>> seen;
    ModalScript script({On<BlockDrawCommandDialog>([&](auto* d) {
                          const auto& c = d->controls();
                          c.type->setCurrentIndex(4);
                          c.optional->setValue(7);
                          c.endX->setValue(1000);
                          QTest::mouseClick(c.insert, Qt::LeftButton);
                        }),
                        On<BlockDrawCommandDialog>([&](auto* d) {
                          const auto& c = d->controls();
                          seen.emplace_back(c.type->currentIndex(), c.optional->isEnabled());
                          QTest::mouseClick(c.close, Qt::LeftButton);
                        })});
    QTest::mouseClick(b.Button(QStringLiteral("Line && Box")), Qt::LeftButton);
    QCOMPARE(b.tester.commandText(), std::string("BD100,100,1000,120,B,7\r\n"));
    QCOMPARE(seen, (std::vector<std::pair<int, bool>>{{4, true}}));
  }

  void LabelSettingAppendsTheAppliedLines_data() {
    QTest::addColumn<std::function<void(const LabelSettingDialog::Controls&)>>("change");
    QTest::addColumn<QByteArray>("lines");
    using C = LabelSettingDialog::Controls;
    QTest::newRow("defaults") << std::function([](const C&) {}) << QByteArray("SW812\r\nSL1219,24,G\r\nSM40,40\r\n");
    QTest::newRow("mm, continuous, no margins") << std::function([](const C& c) {
      c.unit->button(1)->click();
      c.width->setValue(100);
      c.length->setValue(50);
      c.media->button(1)->click();
      c.marginApply->click();
    }) << QByteArray("SW800\r\nSL400,0,C\r\n");
    QTest::newRow("dots, black mark, length only") << std::function([](const C& c) {
      c.unit->button(2)->click();
      c.widthApply->click();
      c.media->button(2)->click();
      c.marginApply->click();
    }) << QByteArray("SL1219,24,B\r\n");
    // Nothing applied appends nothing, and the dialog still comes back.
    QTest::newRow("nothing applied") << std::function([](const C& c) {
      c.widthApply->click();
      c.lengthApply->click();
      c.marginApply->click();
    }) << QByteArray();
  }
  void LabelSettingAppendsTheAppliedLines() {
    QFETCH(std::function<void(const LabelSettingDialog::Controls&)>, change);
    QFETCH(QByteArray, lines);
    BuilderBench b;
    QCOMPARE(InsertOnce<LabelSettingDialog>(b, QStringLiteral("Margin && Width && Length"), change),
             lines.toStdString());
  }

  void LabelSettingConvertsTheShownValues() {
    LabelSettingDialog d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Label Setting"));
    const auto& c = d.controls();
    auto shown = [&] {
      QStringList s{c.width->text(), c.length->text(), c.xMargin->text(), c.yMargin->text()};
      for (QLabel* l : c.unitLabels) s << l->text();
      return s;
    };
    QCOMPARE(shown(), (QStringList{"4", "6", "0.2", "0.2", "inch", "inch", "inch", "inch"}));
    c.unit->button(2)->click();
    QCOMPARE(shown(), (QStringList{"812.8", "1219.2", "40.64", "40.64", "dots", "dots", "dots", "dots"}));
    c.unit->button(1)->click();
    QCOMPARE(shown(), (QStringList{"101.6", "152.4", "5.08", "5.08", "mm", "mm", "mm", "mm"}));
    c.unit->button(0)->click();
    QCOMPARE(d.unit(), LengthUnit::kInch);
    QVERIFY(std::abs(d.TakeFields().width - 4.0f) < 4e-6f);
    QCOMPARE(d.TakeFields().length, 6.0f);
  }

  void LabelSettingKeepsItsUnitOnlyWhileKept() {
    BuilderBench b;
    std::vector<QString> seen;
    ModalScript script({On<LabelSettingDialog>([&](auto* d) {
                          d->controls().unit->button(1)->click();
                          QTest::mouseClick(d->controls().insert, Qt::LeftButton);
                        }),
                        On<LabelSettingDialog>([&](auto* d) {
                          seen.push_back(d->controls().unitLabels[0]->text() + d->controls().width->text());
                          QTest::mouseClick(d->controls().close, Qt::LeftButton);
                        }),
                        On<LabelSettingDialog>([&](auto* d) {
                          seen.push_back(d->controls().unitLabels[0]->text() + d->controls().width->text());
                          d->reject();
                        })});
    QTest::mouseClick(b.Button(QStringLiteral("Margin && Width && Length")), Qt::LeftButton);
    QTest::mouseClick(b.Button(QStringLiteral("Margin && Width && Length")), Qt::LeftButton);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(seen, (std::vector<QString>{"mm101.6", "inch4"}));
    QCOMPARE(b.tester.commandText(), std::string("SW812\r\nSL1219,24,G\r\nSM40,40\r\n"));
  }

  void PrintingSettingAppendsTheAppliedLines_data() {
    QTest::addColumn<std::function<void(const PrintingSettingDialog::Controls&)>>("change");
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("densityShown");
    using C = PrintingSettingDialog::Controls;
    QTest::newRow("defaults") << std::function([](const C&) {}) << QByteArray("SS3\r\nSD20\r\nSOT\r\n")
                              << QStringLiteral("20");
    QTest::newRow("bottom of the slider, Bottom") << std::function([](const C& c) {
      c.density->setValue(20);
      c.direction->button(1)->click();
      c.speed->button(0)->click();
    }) << QByteArray("SS0\r\nSD0\r\nSOB\r\n") << QStringLiteral("0");
    QTest::newRow("density only") << std::function([](const C& c) {
      c.density->setValue(7);
      c.speedApply->click();
      c.directionApply->click();
    }) << QByteArray("SD13\r\n") << QStringLiteral("13");
  }
  void PrintingSettingAppendsTheAppliedLines() {
    QFETCH(std::function<void(const PrintingSettingDialog::Controls&)>, change);
    QFETCH(QByteArray, lines);
    QFETCH(QString, densityShown);
    BuilderBench b;
    QString shown;
    const std::string appended = InsertOnce<PrintingSettingDialog>(
        b, QStringLiteral("Speed && Density && Direction"), [&](const PrintingSettingDialog::Controls& c) {
          change(c);
          shown = c.densityValue->text();
        });
    QCOMPARE(appended, lines.toStdString());
    QCOMPARE(shown, densityShown);
  }

  void PrinterSettingTestLabelCarriesTheAppliedSettings() {
    BuilderBench b;
    PrintingSettingDialog d(b.g.context);
    QCOMPARE(d.windowTitle(), QStringLiteral("Printing Setting"));
    const auto& c = d.controls();
    c.speedApply->click();
    c.directionApply->click();
    c.density->setValue(15);
    QTest::mouseClick(c.testPrint, Qt::LeftButton);
    const std::string expected =
        "T100,100,3,1,1,0,0,N,N,'Printer Setting Test'\r"
        "T100,150,3,1,1,0,0,N,N,'============================='\r"
        "T100,250,3,1,1,0,0,N,N,'Density(0~20)      : 5'\rSD5\r"
        "T100,350,3,1,1,0,0,N,N,'============================='\r"
        "BD150,500,495,750,B,15\rBD200,550,300,700,S,30\rBD430,550,330,700,S,30\r\rP1\r";
    QCOMPARE(b.Received(expected), expected);
  }
};

}  // namespace qm

QTEST_MAIN(qm::LayoutBuildersTest)
#include "layout_builders_test.moc"
