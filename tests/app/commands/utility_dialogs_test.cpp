// The unit converter and the font finder: what they show, and the comparison label.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/convert_unit_dialog.h"
#include "commands/ui/font_finder_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include <QDoubleSpinBox>
#include "print_bench.h"

namespace qm {

using test::GuiContext;
using test::ModalScript;
using test::PrintBench;
using test::Wire;

namespace {

// The three answers of one search as shown, "font X Y".
QString Shown(const FontFinderDialog::Answer& a) {
  return a.font->text() + QLatin1Char(' ') + a.xMulti->text() + QLatin1Char(' ') + a.yMulti->text();
}

void Type(RealNumberSpin* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

}  // namespace

class UtilityDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void ConverterOpensOnInchToMmWithZero() {
    ConvertUnitDialog d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Convert Unit"));
    QVERIFY(d.conversionButton(UnitConversion::kInchToMm)->isChecked());
    QCOMPARE(d.inputUnit()->text(), QStringLiteral("inch"));
    QCOMPARE(d.outputUnit()->text(), QStringLiteral("mm"));
    QCOMPARE(d.input()->text(), QStringLiteral("0"));
    QCOMPARE(d.output()->text(), QStringLiteral("0"));
    QVERIFY(d.output()->isReadOnly());
    for (int i = 0; i < static_cast<int>(kUnitConversionNames.size()); ++i) {
      const std::string_view name = kUnitConversionNames[static_cast<size_t>(i)];
      QCOMPARE(d.conversionButton(static_cast<UnitConversion>(i))->text(), QLatin1String(name.data(), name.size()));
    }
  }

  void ConvertShowsTheSinglePrecisionResult_data() {
    QTest::addColumn<int>("conversion");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("shown");
    // The stored single-precision result, unrounded, in the fewest digits that read back
    // as it, with its sign: 1 inch is 203.2 dots.
    QTest::newRow("1 inch to dots") << int(UnitConversion::kInchToDots) << "1" << "inch" << "dots" << "203.2";
    QTest::newRow("812.8 dots to inch") << int(UnitConversion::kDotsToInch) << "812.8" << "dots" << "inch" << "4";
    QTest::newRow("1 inch to mm") << int(UnitConversion::kInchToMm) << "1" << "inch" << "mm" << "25.4";
    QTest::newRow("3 dots to mm") << int(UnitConversion::kDotsToMm) << "3" << "dots" << "mm" << "0.375";
    QTest::newRow("100 mm to inch") << int(UnitConversion::kMmToInch) << "100" << "mm" << "inch" << "3.937008";
    QTest::newRow("2.5 mm to dots") << int(UnitConversion::kMmToDots) << "2.5" << "mm" << "dots" << "20";
    QTest::newRow("one dot to inch, past four places") << int(UnitConversion::kDotsToInch) << "1" << "dots"
                                                       << "inch" << "0.00492126";
    QTest::newRow("half a dot") << int(UnitConversion::kMmToDots) << "0.0625" << "mm" << "dots" << "0.5";
    QTest::newRow("a negative length keeps its sign") << int(UnitConversion::kInchToMm) << "-1" << "inch" << "mm"
                                                      << "-25.4";
    QTest::newRow("negative dots to mm") << int(UnitConversion::kDotsToMm) << "-3" << "dots" << "mm" << "-0.375";
    QTest::newRow("a small negative length keeps its sign too")
        << int(UnitConversion::kMmToDots) << "-0.06" << "mm" << "dots" << "-0.48";
  }
  void ConvertShowsTheSinglePrecisionResult() {
    QFETCH(int, conversion);
    QFETCH(QString, typed);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, shown);
    ConvertUnitDialog d;
    d.show();
    QTest::mouseClick(d.conversionButton(static_cast<UnitConversion>(conversion)), Qt::LeftButton);
    QCOMPARE(d.inputUnit()->text(), from);
    QCOMPARE(d.outputUnit()->text(), to);
    // Typed and not yet left: the button still takes what is in the field.
    d.input()->setFocus();
    d.input()->selectAll();
    QTest::keyClicks(d.input(), typed);
    QTest::mouseClick(d.convertButton(), Qt::LeftButton);
    QCOMPARE(d.output()->text(), shown);
  }

  void ChoosingAConversionConvertsNothing() {
    ConvertUnitDialog d;
    d.input()->setValue(2);
    d.Convert();
    QCOMPARE(d.output()->text(), QStringLiteral("50.8"));
    QTest::mouseClick(d.conversionButton(UnitConversion::kMmToDots), Qt::LeftButton);
    QCOMPARE(d.output()->text(), QStringLiteral("50.8"));
    QCOMPARE(d.input()->value(), 2.0);
  }

  void TestersConvertOpensAFreshConverterEachTime() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    std::vector<QString> seen;
    auto look = [&](QDialog* d) {
      auto* c = qobject_cast<ConvertUnitDialog*>(d);
      seen.push_back(c ? c->output()->text() : QStringLiteral("not a converter"));
      if (c) {
        c->input()->setValue(1);
        c->Convert();
      }
      d->accept();
    };
    ModalScript script({look, look});
    QTest::mouseClick(t.convertButton(), Qt::LeftButton);
    QTest::mouseClick(t.convertButton(), Qt::LeftButton);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(seen, (std::vector<QString>{"0", "0"}));
    QVERIFY(t.commandText().empty());
  }
  void FontFinderSearches_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("mostSimilar");
    QTest::addColumn<QString>("similarAndRound");
    QTest::newRow("defaults, 24 by 40 dots") << "3" << "5" << "0 3 3" << "5 1 1";
    QTest::newRow("2 by 3 mm") << "2" << "3" << "0 2 2" << "3 1 1";
    QTest::newRow("10 by 10 mm") << "10" << "10" << "5 3 2" << "6 2 1";
    QTest::newRow("nothing rounder than the smallest") << "1" << "1.5" << "0 1 1" << "0 1 1";
  }
  void FontFinderSearches() {
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, mostSimilar);
    QFETCH(QString, similarAndRound);
    PrintBench b;
    FontFinderDialog d(b.context);
    d.show();
    const auto& c = d.controls();
    Type(c.width, width);
    Type(c.height, height);
    // Each button shows its own answer only.
    QTest::mouseClick(c.findSimilarAndRound, Qt::LeftButton);
    QCOMPARE(Shown(c.mostSimilar), QStringLiteral("3 1 1"));
    QCOMPARE(Shown(c.similarAndRound), similarAndRound);
    QTest::mouseClick(c.findMostSimilar, Qt::LeftButton);
    QCOMPARE(Shown(c.mostSimilar), mostSimilar);
    QCOMPARE(Wire(b.Sent()), QByteArray());
  }

  void FontFinderOpensWithItsDefaultsAndPrintsThemAsShown() {
    PrintBench b;
    FontFinderDialog d(b.context);
    QCOMPARE(d.windowTitle(), QStringLiteral("Font Finder"));
    const auto& c = d.controls();
    QCOMPARE(c.width->text(), QStringLiteral("3"));
    QCOMPARE(c.height->text(), QStringLiteral("5"));
    QCOMPARE(Shown(c.mostSimilar), QStringLiteral("3 1 1"));
    QCOMPARE(Shown(c.similarAndRound), QStringLiteral("3 1 1"));
    QTest::mouseClick(c.print, Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("SL600,0,C\rT50,50,3,1,1,0,0,N,N,'TEST148'\r"
                                        "T50,350,3,1,1,0,0,N,N,'TEST148'\rP1\r"));
    // The size is not re-read for the print: the answers go as they are shown.
    QTest::mouseClick(c.findMostSimilar, Qt::LeftButton);
    Type(c.width, QStringLiteral("10"));
    QTest::mouseClick(c.print, Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("SL600,0,C\rT50,50,0,3,3,0,0,N,N,'TEST148'\r"
                                        "T50,350,3,1,1,0,0,N,N,'TEST148'\rP1\r"));
  }
};

}  // namespace qm

QTEST_MAIN(qm::UtilityDialogsTest)
#include "utility_dialogs_test.moc"
