// The block, label setting and print setting builders: test print bytes, the lines the
// tester appends, enabling rules, unit conversion of the shown values and kept values.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QtTest>

#include "builder_bench.h"
#include "commands/ui/block_draw_command_dialog.h"
#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/label_setting_dialog.h"
#include "commands/ui/label_sketch.h"
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

// The slider's handle where the style draws it.
struct SliderHandle : QSlider {
  static QRect Of(const QSlider& slider) {
    QStyleOptionSlider option;
    // A pointer to QSlider's own member, so it applies to any slider.
    (slider.*(&SliderHandle::initStyleOption))(&option);
    return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider);
  }
};

// Drags the handle with the mouse past the top or the bottom end of the groove.
void DragHandle(QSlider* slider, bool toTop) {
  const QPoint from = SliderHandle::Of(*slider).center();
  const QPoint to(from.x(), toTop ? -20 : slider->height() + 20);
  QTest::mousePress(slider, Qt::LeftButton, {}, from);
  for (int i = 1; i <= 8; ++i) QTest::mouseMove(slider, from + (to - from) * i / 8);
  QTest::mouseRelease(slider, Qt::LeftButton, {}, to);
}

// Where the sketch's pixels of `colour` lie along row `y` or column `x`: first and last.
std::pair<int, int> Run(const QImage& image, const QColor& colour, int y, int x = -1) {
  int first = -1, last = -1;
  const int n = x < 0 ? image.width() : image.height();
  for (int i = 0; i < n; ++i) {
    const QColor c = x < 0 ? image.pixelColor(i, y) : image.pixelColor(x, i);
    if (c != colour) continue;
    if (first < 0) first = i;
    last = i;
  }
  return {first, last};
}

int Count(const QImage& image, const QColor& colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour ? 1 : 0;
  }
  return n;
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

  // The operator's hand, not setValue: the top of the slider is density 20, the bottom 0,
  // and the Up key moves the handle up.
  void PrintingSettingDensityFollowsTheHandle_data() {
    QTest::addColumn<std::function<void(QSlider*)>>("move");
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("densityShown");
    QTest::newRow("dragged to the bottom") << std::function([](QSlider* s) { DragHandle(s, false); })
                                           << QByteArray("SS3\r\nSD0\r\nSOB\r\n") << QStringLiteral("0");
    QTest::newRow("dragged down and back to the top") << std::function([](QSlider* s) {
      DragHandle(s, false);
      DragHandle(s, true);
    }) << QByteArray("SS3\r\nSD20\r\nSOB\r\n") << QStringLiteral("20");
    QTest::newRow("bottom, then Up twice") << std::function([](QSlider* s) {
      DragHandle(s, false);
      s->setFocus();
      QTest::keyClick(s, Qt::Key_Up);
      QTest::keyClick(s, Qt::Key_Up);
    }) << QByteArray("SS3\r\nSD2\r\nSOB\r\n") << QStringLiteral("2");
  }
  void PrintingSettingDensityFollowsTheHandle() {
    QFETCH(std::function<void(QSlider*)>, move);
    QFETCH(QByteArray, lines);
    QFETCH(QString, densityShown);
    BuilderBench b;
    QString shown;
    bool startsAtTheTop = false;
    const std::string appended = InsertOnce<PrintingSettingDialog>(
        b, QStringLiteral("Speed && Density && Direction"), [&](const PrintingSettingDialog::Controls& c) {
          // Density 20, the default, is drawn at the top end.
          startsAtTheTop = SliderHandle::Of(*c.density).center().y() < c.density->height() / 4;
          move(c.density);
          QTest::mouseClick(c.direction->button(1), Qt::LeftButton);
          shown = c.densityValue->text();
        });
    QVERIFY(startsAtTheTop);
    QCOMPARE(appended, lines.toStdString());
    QCOMPARE(shown, densityShown);
  }

  // The sketch is drawn in proportion to the label: a narrower label is a narrower
  // outline, a shorter one a shorter outline, and the unit does not change the picture.
  void LabelSketchDrawsTheLabelInProportion_data() {
    QTest::addColumn<std::function<void(const LabelSettingDialog::Controls&)>>("change");
    QTest::addColumn<double>("widthOverLength");
    using C = LabelSettingDialog::Controls;
    QTest::newRow("defaults, 4 by 6 inches") << std::function([](const C&) {}) << 4.0 / 6.0;
    QTest::newRow("2 inches wide") << std::function([](const C& c) { c.width->setValue(2); }) << 2.0 / 6.0;
    QTest::newRow("2 inches long") << std::function([](const C& c) { c.length->setValue(2); }) << 4.0 / 2.0;
    QTest::newRow("the same in dots") << std::function([](const C& c) { c.unit->button(2)->click(); }) << 4.0 / 6.0;
    QTest::newRow("typed 100 by 50 mm") << std::function([](const C& c) {
      c.unit->button(1)->click();
      c.width->setFocus();
      c.width->selectAll();
      QTest::keyClicks(c.width, "100");
      c.length->setFocus();
      c.length->selectAll();
      QTest::keyClicks(c.length, "50");
    }) << 100.0 / 50.0;
  }
  void LabelSketchDrawsTheLabelInProportion() {
    QFETCH(std::function<void(const LabelSettingDialog::Controls&)>, change);
    QFETCH(double, widthOverLength);
    LabelSettingDialog d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    change(d.controls());
    const QImage image = d.controls().sketch->grab().toImage();
    // The paper's extent through the middle of the first label's outline.
    const QRectF label = d.controls().sketch->labelRect();
    QVERIFY(!label.isEmpty());
    const auto [left, right] = Run(image, LabelSketch::kPaper, static_cast<int>(label.center().y()));
    const int x = static_cast<int>(label.center().x());
    const int top = Run(image, LabelSketch::kPaper, -1, x).first;
    QVERIFY(left >= 0 && top >= 0);
    int end = top;
    // Down the paper, across the dashed margin line, to the outline.
    const auto onLabel = [&](int y) {
      const QColor c = image.pixelColor(x, y);
      return c == LabelSketch::kPaper || c == LabelSketch::kMargin;
    };
    while (end + 1 < image.height() && onLabel(end + 1)) ++end;
    // The outline takes a pixel of the label on each side.
    const double drawnWidth = right - left + 3;
    const double drawnLength = end - top + 3;
    QVERIFY2(std::abs(drawnWidth / drawnLength - widthOverLength) < 0.05 * widthOverLength,
             qPrintable(QStringLiteral("%1 by %2").arg(drawnWidth).arg(drawnLength)));
    QVERIFY2(std::abs(drawnWidth - label.width()) <= 1.5, "the picture is where the sketch says");
  }

  // What parts one label from the next: the backing shows through a gap, a black mark
  // sits on one strip of paper, continuous paper has neither.
  void LabelSketchShowsTheGapOrTheMark_data() {
    QTest::addColumn<int>("media");
    QTest::addColumn<bool>("backingBetween");
    QTest::addColumn<bool>("mark");
    QTest::newRow("Gap") << int(MediaType::kGap) << true << false;
    QTest::newRow("Continuous") << int(MediaType::kContinuous) << false << false;
    QTest::newRow("BlackMark") << int(MediaType::kBlackMark) << false << true;
  }
  void LabelSketchShowsTheGapOrTheMark() {
    QFETCH(int, media);
    QFETCH(bool, backingBetween);
    QFETCH(bool, mark);
    LabelSettingDialog d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::mouseClick(d.controls().media->button(media), Qt::LeftButton);
    const QImage image = d.controls().sketch->grab().toImage();
    const QRectF label = d.controls().sketch->labelRect();
    // Down the middle of the paper, from the label's end to the next label.
    const int x = static_cast<int>(label.center().x());
    bool backing = false;
    for (int y = static_cast<int>(label.bottom()) + 1; y < static_cast<int>(label.bottom()) + 8; ++y) {
      backing = backing || image.pixelColor(x, y) == LabelSketch::kBacking;
    }
    QCOMPARE(backing, backingBetween);
    QCOMPARE(Count(image, LabelSketch::kMark) > 0, mark);
    if (mark) {
      // The mark is where the label ends, at its left edge.
      const auto [first, last] = Run(image, LabelSketch::kMark, -1, static_cast<int>(label.left()) + 2);
      QVERIFY(first >= static_cast<int>(label.bottom()) - 1 && last <= static_cast<int>(label.bottom()) + 6);
    }
  }

  void LabelSketchDrawsTheMarginsOnlyWhenApplied() {
    LabelSettingDialog d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const auto& c = d.controls();
    const QImage applied = c.sketch->grab().toImage();
    const QRectF label = c.sketch->labelRect();
    // 0.2 inch of a 4 inch label: a twentieth of the way in.
    // The line is dashed: a few rows hold at least one dash.
    int first = -1;
    for (int y = static_cast<int>(label.center().y()) - 6; y <= static_cast<int>(label.center().y()) + 6; ++y) {
      const int x = Run(applied, LabelSketch::kMargin, y).first;
      if (x >= 0 && (first < 0 || x < first)) first = x;
    }
    QVERIFY(first >= 0);
    QVERIFY2(std::abs(first - (label.left() + label.width() / 20)) <= 1.5, qPrintable(QString::number(first)));
    c.marginApply->click();
    QCOMPARE(Count(c.sketch->grab().toImage(), LabelSketch::kMargin), 0);
    // A length that makes no label draws none, and the dialog stays usable.
    c.width->setValue(0);
    QVERIFY(c.sketch->labelRect().isEmpty());
    QCOMPARE(Count(c.sketch->grab().toImage(), LabelSketch::kPaper), 0);
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
