// The preview as a design tool, driven by clicking: pick selects the line that drew a mark,
// the caret's line is outlined, the overlay lies under the label at its opacity and scale,
// the rulers' unit changes the pointer's position text, and exports are true size.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include "commands/ui/label_preview_pane.h"
#include "commands/ui/label_view.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "../gui_support.h"

namespace qm {

namespace {

using test::Drawn;

// A label of `w` by `h` dots, paper white, with a black square of 10 dots at (0, 0).
QImage Label(int w, int h) {
  QImage image(w, h, QImage::Format_Grayscale8);
  image.fill(255);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
  }
  return image;
}

// The canvas as the operator sees it.
QImage Shown(LabelView& view) { return view.canvas()->grab().toImage(); }

// Each page's width and height in points from its MediaBox.
QList<QSizeF> PdfPages(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QString pdf = QString::fromLatin1(f.readAll());
  QList<QSizeF> out;
  const QRegularExpression box(QStringLiteral(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])"));
  for (auto it = box.globalMatch(pdf); it.hasNext();) {
    const auto m = it.next();
    out << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
  }
  return out;
}

}  // namespace

class LabelViewTest : public QObject {
  Q_OBJECT

 private slots:
  void PickSelectsTheLineThatDrewTheMarkAndTheCaretOutlinesItsLine() {
    test::GuiContext g;
    QdrlTesterDialog tester(g.context);
    tester.resize(1300, 760);
    tester.show();
    tester.previewPane()->SetDebounceMs(0);
    QSignalSpy rendered(tester.previewPane(), &LabelPreviewPane::rendered);
    QTest::mouseClick(tester.previewButton(), Qt::LeftButton);
    tester.SetCommandText("BD0,0,400,300,B,4\r\nT50,50,1,1,1,0,0,N,N,'AB'\r\nBD100,200,300,210,O\r\nP1\r\n");
    QVERIFY(Drawn(rendered));
    LabelView* view = tester.previewPane()->view();
    const double z = view->zoom();
    QVERIFY(z > 0.1);
    struct Click {
      const char* name;
      int x, y;  // dots
      QString selected;  // the line selected afterwards
    };
    const Click clicks[] = {
        {"the text inside the frame", 55, 55, QStringLiteral("T50,50,1,1,1,0,0,N,N,'AB'")},
        {"the frame's left edge", 1, 150, QStringLiteral("BD0,0,400,300,B,4")},
        {"the bar", 200, 205, QStringLiteral("BD100,200,300,210,O")},
        // Where nothing was drawn the selection stays as it was.
        {"bare paper", 600, 900, QStringLiteral("BD100,200,300,210,O")},
    };
    for (const Click& c : clicks) {
      QTest::mouseClick(view->canvas(), Qt::LeftButton, {},
                        QPoint(static_cast<int>((c.x + 0.5) * z), static_cast<int>((c.y + 0.5) * z)));
      QCOMPARE(tester.editor()->textCursor().selectedText(), c.selected);
    }
    // The caret on line 2: the text's box is outlined in red on the shown label.
    QTextCursor cursor(tester.editor()->document()->findBlockByNumber(1));
    tester.editor()->setTextCursor(cursor);
    QCOMPARE(view->caretBox(), (render::Box{50, 50, 20, 18}));
    const QImage shown = Shown(*view);
    const QColor edge = shown.pixelColor(static_cast<int>(50 * z) - 1, static_cast<int>(59 * z));
    QVERIFY2(edge.red() > 150 && edge.green() < 80, qPrintable(edge.name()));
    // A line that drew nothing outlines nothing.
    tester.editor()->setTextCursor(QTextCursor(tester.editor()->document()->findBlockByNumber(3)));
    QVERIFY(view->caretBox().empty());
  }

  void TheOverlayLiesUnderTheLabelAtItsOpacityAndScale() {
    QTemporaryDir dir;
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    const QString picture = dir.filePath(QStringLiteral("design.png"));
    QVERIFY(red.save(picture));
    test::FakeFileChooser files;
    files.nextOpen = picture;
    LabelView view;
    view.SetFileChooser(&files);
    view.resize(500, 500);
    view.show();
    view.SetLabel(Label(200, 100), {});
    view.SetZoom(1.0);
    QTest::mouseClick(view.overlayButton(), Qt::LeftButton);
    QVERIFY(!view.overlay().isNull());
    view.opacityBox()->setValue(50);
    struct Seen {
      int x, y;
      QColor colour;
    };
    // 8 pixels a millimetre: one pixel a dot, 40 by 40 dots.
    const Seen half[] = {{5, 5, QColor(0, 0, 0)}, {20, 20, QColor(255, 128, 128)}, {60, 20, QColor(255, 255, 255)}};
    QImage shown = Shown(view);
    for (const Seen& s : half) {
      const QColor c = shown.pixelColor(s.x, s.y);
      QVERIFY2(std::abs(c.red() - s.colour.red()) <= 2 && std::abs(c.green() - s.colour.green()) <= 2 &&
                   std::abs(c.blue() - s.colour.blue()) <= 2,
               qPrintable(QStringLiteral("(%1,%2) is %3").arg(s.x).arg(s.y).arg(c.name())));
    }
    // 4 pixels a millimetre: each pixel two dots, so the picture reaches 80 dots.
    view.overlayScaleBox()->setValue(4.0);
    view.opacityBox()->setValue(100);
    shown = Shown(view);
    QCOMPARE(shown.pixelColor(60, 20), QColor(255, 0, 0));
    QCOMPARE(shown.pixelColor(90, 20), QColor(255, 255, 255));
    QCOMPARE(shown.pixelColor(5, 5), QColor(0, 0, 0));
    // Opacity 0 hides it.
    view.opacityBox()->setValue(0);
    QCOMPARE(Shown(view).pixelColor(60, 20), QColor(255, 255, 255));
    // A file that is no picture leaves the overlay as it was, and says so.
    const QString junk = dir.filePath(QStringLiteral("junk.png"));
    QFile(junk).open(QIODevice::WriteOnly);
    files.nextOpen = junk;
    QTest::mouseClick(view.overlayButton(), Qt::LeftButton);
    QCOMPARE(view.overlay().width(), 40);
    QVERIFY(view.pointerText()->text().contains(QStringLiteral("junk.png")));
  }

  void TheRulersUnitChangesThePointerPosition() {
    LabelView view;
    view.resize(500, 500);
    view.show();
    view.SetLabel(Label(812, 400), {});
    view.SetZoom(0.5);
    struct Unit {
      int index;
      QString text;  // at dot (80, 40)
    };
    const Unit units[] = {{0, QStringLiteral("80, 40 dots")},
                          {1, QStringLiteral("10.00, 5.00 mm")},
                          {2, QStringLiteral("0.394, 0.197 in")},
                          {0, QStringLiteral("80, 40 dots")}};
    QTest::mouseMove(view.canvas(), QPoint(40, 20));
    QTRY_COMPARE(view.pointerText()->text(), units[0].text);
    // The pointer stays; the unit chosen changes what its position reads.
    for (const Unit& u : units) {
      view.unitBox()->setFocus();
      while (view.unitBox()->currentIndex() != u.index) {
        QTest::keyClick(view.unitBox(), view.unitBox()->currentIndex() < u.index ? Qt::Key_Down : Qt::Key_Up);
      }
      QCOMPARE(view.pointerText()->text(), u.text);
    }
    // At the zoom of 2 the same screen point is a quarter as far in dots.
    view.SetZoom(2.0);
    QTest::mouseMove(view.canvas(), QPoint(41, 21));
    QTRY_COMPARE(view.pointerText()->text(), QStringLiteral("20, 10 dots"));

  }

  void ExportsAreTrueSize() {
    QTemporaryDir dir;
    test::FakeFileChooser files;
    LabelPreviewPane pane;
    pane.SetFileChooser(&files);
    pane.resize(500, 700);
    pane.show();
    pane.SetDebounceMs(0);
    QSignalSpy rendered(&pane, &LabelPreviewPane::rendered);
    pane.SetScript("SW400\r\nSL300,24,G\r\nBD0,0,10,10,O\r\nP1\r\nSW812\r\nSL1219,24,G\r\nBD0,0,5,5,O\r\nP1\r\n");
    QVERIFY(Drawn(rendered));
    QCOMPARE(pane.labelCount(), 2);
    struct Export {
      const char* name;
      QPushButton* button;
      QString chosen;
      QStringList pngs;    // files and their sizes in pixels
      QList<QSize> sizes;
      QString pdf;
      QList<QSizeF> points;
    };
    const Export exports[] = {
        {"the shown label as PNG", pane.exportLabelButton(), QStringLiteral("one.png"), {QStringLiteral("one.png")},
         {QSize(400, 300)}, {}, {}},
        {"a name without an ending is a PNG", pane.exportLabelButton(), QStringLiteral("bare"),
         {QStringLiteral("bare.png")}, {QSize(400, 300)}, {}, {}},
        {"every label as PNG files", pane.exportAllButton(), QStringLiteral("all.png"),
         {QStringLiteral("all-0001.png"), QStringLiteral("all-0002.png")}, {QSize(400, 300), QSize(812, 1219)}, {}, {}},
        {"the shown label as PDF", pane.exportLabelButton(), QStringLiteral("one.pdf"), {}, {},
         QStringLiteral("one.pdf"), {QSizeF(141.732, 106.299)}},
        {"every label as one PDF", pane.exportAllButton(), QStringLiteral("all.pdf"), {}, {},
         QStringLiteral("all.pdf"), {QSizeF(141.732, 106.299), QSizeF(287.717, 431.929)}},
    };
    for (const Export& e : exports) {
      files.nextSave = dir.filePath(e.chosen);
      QTest::mouseClick(e.button, Qt::LeftButton);
      for (qsizetype i = 0; i < e.pngs.size(); ++i) {
        const QImage png(dir.filePath(e.pngs[i]));
        QVERIFY2(!png.isNull(), e.name);
        QCOMPARE(png.size(), e.sizes[i]);
        QCOMPARE(png.dotsPerMeterX(), 8000);
      }
      // Qt's PDF writer gives the page whole points: at most half a point off the label's size.
      if (!e.pdf.isEmpty()) {
        const QList<QSizeF> pages = PdfPages(dir.filePath(e.pdf));
        QCOMPARE(pages.size(), e.points.size());
        for (qsizetype i = 0; i < pages.size(); ++i) {
          QVERIFY2(std::abs(pages[i].width() - e.points[i].width()) <= 0.5 &&
                       std::abs(pages[i].height() - e.points[i].height()) <= 0.5,
                   qPrintable(QStringLiteral("%1: page %2 is %3 x %4")
                                  .arg(QLatin1String(e.name)).arg(i + 1).arg(pages[i].width()).arg(pages[i].height())));
        }
      }
    }
    // A file that cannot be written is said so, not taken for an export.
    files.nextSave = QStringLiteral("/nonexistent-folder/x.png");
    QTest::mouseClick(pane.exportLabelButton(), Qt::LeftButton);
    QCOMPARE(pane.position()->text(), QStringLiteral("Cannot write /nonexistent-folder/x.png"));
    files.nextSave = QStringLiteral("/nonexistent-folder/x.pdf");
    QTest::mouseClick(pane.exportAllButton(), Qt::LeftButton);
    QCOMPARE(pane.position()->text(), QStringLiteral("Cannot write /nonexistent-folder/x.pdf"));
    // Cancelled: nothing written.
    files.nextSave.reset();
    const int before = static_cast<int>(QDir(dir.path()).entryList(QDir::Files).size());
    QTest::mouseClick(pane.exportAllButton(), Qt::LeftButton);
    QCOMPARE(static_cast<int>(QDir(dir.path()).entryList(QDir::Files).size()), before);
  }

  // The pane holds only the labels in view; Export All draws every one of them again.
  void ExportAllTakesLabelsOutOfView() {
    QTemporaryDir dir;
    test::FakeFileChooser files;
    LabelPreviewPane pane;
    pane.SetFileChooser(&files);
    pane.resize(500, 700);
    pane.show();
    pane.SetDebounceMs(0);
    QSignalSpy rendered(&pane, &LabelPreviewPane::rendered);
    std::string script;
    for (int i = 1; i <= 12; ++i) script += "SW" + std::to_string(100 + 8 * i) + "\r\nSL80,24,G\r\nBD0,0,10,10,O\r\nP1\r\n";
    pane.SetScript(script);
    QVERIFY(Drawn(rendered));
    QCOMPARE(pane.labelCount(), 12);
    files.nextSave = dir.filePath(QStringLiteral("all.png"));
    QTest::mouseClick(pane.exportAllButton(), Qt::LeftButton);
    for (int i = 1; i <= 12; ++i) {
      const QImage png(dir.filePath(QStringLiteral("all-%1.png").arg(i, 4, 10, QLatin1Char('0'))));
      QCOMPARE(png.size(), QSize(100 + 8 * i, 80));
    }
    files.nextSave = dir.filePath(QStringLiteral("all.pdf"));
    QTest::mouseClick(pane.exportAllButton(), Qt::LeftButton);
    const QList<QSizeF> pages = PdfPages(dir.filePath(QStringLiteral("all.pdf")));
    QCOMPARE(pages.size(), 12);
    QVERIFY(std::abs(pages.last().width() - 196 / 8.0 / 25.4 * 72) <= 0.5);
  }
};

}  // namespace qm

QTEST_MAIN(qm::LabelViewTest)
#include "label_view_test.moc"
