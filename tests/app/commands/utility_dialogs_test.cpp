// The unit converter and the font finder: what they show, and the comparison label.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "commands/ui/convert_unit_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include <QDoubleSpinBox>
#include "../gui_support.h"

namespace qm {

using test::GuiContext;
using test::ModalScript;

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
    QTest::newRow("1 inch to dots") << int(UnitConversion::kInchToDots) << "1" << "inch" << "dots" << "203.2";
    QTest::newRow("812.8 dots to inch") << int(UnitConversion::kDotsToInch) << "812.8" << "dots" << "inch" << "4";
    QTest::newRow("1 inch to mm") << int(UnitConversion::kInchToMm) << "1" << "inch" << "mm" << "25.4";
    QTest::newRow("3 dots to mm") << int(UnitConversion::kDotsToMm) << "3" << "dots" << "mm" << "0.375";
    QTest::newRow("100 mm to inch") << int(UnitConversion::kMmToInch) << "100" << "mm" << "inch" << "3.93701";
    QTest::newRow("2.5 mm to dots") << int(UnitConversion::kMmToDots) << "2.5" << "mm" << "dots" << "20";
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
};

}  // namespace qm

QTEST_MAIN(qm::UtilityDialogsTest)
#include "utility_dialogs_test.moc"
