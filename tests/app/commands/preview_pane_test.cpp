// The tester's preview: drawn off the GUI thread after the edits stop, labels n of m,
// zoom and fit, and warnings that take the caret to their line.
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

#include "commands/ui/block_draw_command_dialog.h"
#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/label_preview_pane.h"
#include "commands/ui/line_preview.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "../gui_support.h"

namespace qm {

namespace {

using test::Drawn;

// Ten labels, label n a block n times ten dots wide and ten high.
std::string TenLabels() {
  std::string s;
  for (int n = 1; n <= 10; ++n) s += "BD0,0," + std::to_string(n * 10) + ",10,O\r\nP1\r\n";
  return s;
}

// How wide the ink of the top row is, in dots.
int InkWidth(const QImage& image) {
  int width = 0;
  while (width < image.width() && qGray(image.pixel(width, 0)) < 128) ++width;
  return width;
}

}  // namespace

class PreviewPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void LabelsComeOneByOneWithTheirWarnings() {
    LabelPreviewPane pane;
    pane.resize(400, 600);
    pane.show();
    pane.SetDebounceMs(0);
    QSignalSpy rendered(&pane, &LabelPreviewPane::rendered);
    pane.SetScript("BD0,0,10,10,O\r\nP2\r\nXX\r\nBD20,20,30,30,O\r\nP1\r\n");
    QVERIFY(Drawn(rendered));
    QCOMPARE(pane.labelCount(), 3);
    QCOMPARE(pane.position()->text(), QStringLiteral("Label 1 of 3"));
    QVERIFY(!pane.previousButton()->isEnabled());
    QCOMPARE(qGray(pane.currentImage().pixel(5, 5)), 0);
    QCOMPARE(qGray(pane.currentImage().pixel(25, 25)), 255);
    QTest::mouseClick(pane.nextButton(), Qt::LeftButton);
    QTest::mouseClick(pane.nextButton(), Qt::LeftButton);
    QCOMPARE(pane.position()->text(), QStringLiteral("Label 3 of 3"));
    QVERIFY(!pane.nextButton()->isEnabled());
    QCOMPARE(qGray(pane.currentImage().pixel(25, 25)), 0);
    QCOMPARE(pane.currentImage().size(), QSize(812, 1219));
    QCOMPARE(pane.warnings()->count(), 1);
    QVERIFY(pane.warnings()->item(0)->text().startsWith(QStringLiteral("Line 3: ")));
  }

  void OnlyTheLastOfQuickEditsIsDrawn() {
    LabelPreviewPane pane;
    pane.SetDebounceMs(0);
    QSignalSpy rendered(&pane, &LabelPreviewPane::rendered);
    // Typing: each key restarts the wait, so one drawing follows the last.
    for (const char* script : {"P", "P1", "P1\r\nP", "P1\r\nP1"}) pane.SetScript(script);
    QVERIFY(Drawn(rendered));
    QCOMPARE(pane.labelCount(), 2);
    QCOMPARE(rendered.count(), 1);
    pane.SetScript("");
    QVERIFY(Drawn(rendered, 2));
    QCOMPARE(pane.labelCount(), 0);
    QCOMPARE(pane.position()->text(), QStringLiteral("No label"));
  }

  void ZoomAndFit() {
    LabelPreviewPane pane;
    pane.resize(400, 600);
    pane.show();
    pane.SetDebounceMs(0);
    QSignalSpy rendered(&pane, &LabelPreviewPane::rendered);
    pane.SetScript("P1\r\n");
    QVERIFY(Drawn(rendered));
    QVERIFY(pane.fitButton()->isChecked());
    const double fitted = pane.zoom();
    // The whole 812 by 1219 label fits the picture's room.
    QVERIFY(pane.picture()->height() <= 600 && pane.picture()->height() > 200);
    QTest::mouseClick(pane.zoomInButton(), Qt::LeftButton);
    QCOMPARE(pane.zoom(), fitted * 2);
    QVERIFY(!pane.fitButton()->isChecked());
    QCOMPARE(pane.picture()->width(), static_cast<int>(812 * fitted * 2));
    QTest::mouseClick(pane.fitButton(), Qt::LeftButton);
    QCOMPARE(pane.zoom(), fitted);
  }

  void TheTesterPreviewsItsScriptAndAWarningMovesTheCaret() {
    test::GuiContext g;
    QdrlTesterDialog tester(g.context);
    tester.show();
    QVERIFY(tester.previewPane()->isHidden());
    tester.previewPane()->SetDebounceMs(0);
    QSignalSpy rendered(tester.previewPane(), &LabelPreviewPane::rendered);
    QTest::mouseClick(tester.previewButton(), Qt::LeftButton);
    QVERIFY(tester.previewPane()->isVisible());
    QTest::keyClicks(tester.editor(), "BD0,0,10,10,O");
    QTest::keyClick(tester.editor(), Qt::Key_Return);
    QTest::keyClicks(tester.editor(), "T10,10,Z,1,1,0,0,N,N,'x'");
    QVERIFY(Drawn(rendered));
    while (tester.previewPane()->warnings()->count() == 0) QVERIFY(Drawn(rendered, rendered.count() + 1));
    tester.editor()->moveCursor(QTextCursor::Start);
    QListWidget* warnings = tester.previewPane()->warnings();
    QTest::mouseClick(warnings->viewport(), Qt::LeftButton, {}, warnings->visualItemRect(warnings->item(0)).center());
    QCOMPARE(tester.editor()->textCursor().blockNumber(), 1);
  }

  // The pane widens the tester; switched off, the tester is as wide as before, and again
  // after a second round.
  void PreviewSwitchedOffGivesTheWidthBack() {
    test::GuiContext g;
    QdrlTesterDialog tester(g.context);
    tester.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tester));
    const int before = tester.width();
    for (int round = 0; round < 2; ++round) {
      QTest::mouseClick(tester.previewButton(), Qt::LeftButton);
      QTRY_VERIFY_WITH_TIMEOUT(tester.width() >= before + tester.previewPane()->minimumWidth(), 2000);
      QTest::mouseClick(tester.previewButton(), Qt::LeftButton);
      QVERIFY(tester.previewPane()->isHidden());
      QTRY_COMPARE_WITH_TIMEOUT(tester.width(), before, 2000);
    }
  }

  // Ten labels, each a block as wide as its number times ten: only the one shown and its
  // neighbours are drawn, and paging draws only what was not drawn before.
  void OnlyTheLabelsInViewAreDrawn() {
    LabelPreviewPane pane;
    pane.resize(400, 600);
    pane.show();
    pane.SetDebounceMs(0);
    QSignalSpy rendered(&pane, &LabelPreviewPane::rendered);
    pane.SetScript(TenLabels());
    QVERIFY(Drawn(rendered));
    QCOMPARE(pane.position()->text(), QStringLiteral("Label 1 of 10"));
    QCOMPARE(pane.labelsDrawn(), 3);  // labels 1 to 3
    QCOMPARE(InkWidth(pane.currentImage()), 10);
    for (int i = 0; i < 9; ++i) {
      QTest::mouseClick(pane.nextButton(), Qt::LeftButton);
      if (pane.currentImage().isNull()) QVERIFY(Drawn(rendered, rendered.count() + 1));
    }
    QCOMPARE(pane.position()->text(), QStringLiteral("Label 10 of 10"));
    QCOMPARE(InkWidth(pane.currentImage()), 100);
    QVERIFY(!pane.nextButton()->isEnabled());
    // Each label drawn once on the way, none twice.
    QCOMPARE(pane.labelsDrawn(), 10);
  }

  // An edit draws again only the label it touched; the others shown are kept.
  void AnEditRedrawsOnlyTheLabelItTouches() {
    LabelPreviewPane pane;
    pane.resize(400, 600);
    pane.show();
    pane.SetDebounceMs(0);
    QSignalSpy rendered(&pane, &LabelPreviewPane::rendered);
    std::string script = TenLabels();
    pane.SetScript(script);
    QVERIFY(Drawn(rendered));
    QCOMPARE(pane.labelsDrawn(), 3);
    QTest::mouseClick(pane.nextButton(), Qt::LeftButton);  // label 2, drawn already
    QCOMPARE(pane.labelsDrawn(), 3);
    // Label 2's block made 5 dots wider, in place: no line moves.
    script.replace(script.find("BD0,0,20,"), 9, "BD0,0,25,");
    pane.SetScript(script);
    QVERIFY(Drawn(rendered, rendered.count() + 1));
    QCOMPARE(pane.position()->text(), QStringLiteral("Label 2 of 10"));
    QCOMPARE(InkWidth(pane.currentImage()), 25);
    QCOMPARE(pane.labelsDrawn(), 4);  // label 2 again, nothing else
    // An edit of a label out of view draws nothing.
    script.replace(script.find("BD0,0,90,"), 9, "BD0,0,95,");
    pane.SetScript(script);
    QVERIFY(Drawn(rendered, rendered.count() + 1));
    QCOMPARE(pane.labelsDrawn(), 4);
    QCOMPARE(pane.labelCount(), 10);
  }

  // A label of more drawing commands than the preview draws says so instead of stalling.
  void ALabelTooLargeToPreviewSaysSo() {
    LabelPreviewPane pane;
    pane.resize(400, 600);
    pane.show();
    pane.SetDebounceMs(0);
    pane.SetMaxDrawingCommands(3);
    QSignalSpy rendered(&pane, &LabelPreviewPane::rendered);
    pane.SetScript("BD0,0,10,10,O\r\nBD0,0,10,10,O\r\nBD0,0,10,10,O\r\nBD0,0,10,10,O\r\nP1\r\nBD0,0,10,10,O\r\nP1\r\n");
    QVERIFY(Drawn(rendered));
    QCOMPARE(pane.position()->text(), QStringLiteral("Label 1 of 2"));
    QVERIFY(pane.currentImage().isNull());
    QCOMPARE(pane.notice()->text(), QStringLiteral("Too large to preview"));
    QCOMPARE(pane.labelsDrawn(), 1);
    QTest::mouseClick(pane.nextButton(), Qt::LeftButton);
    QCOMPARE(InkWidth(pane.currentImage()), 10);
    QVERIFY(pane.notice()->text().isEmpty());
  }

  // Labels of 17.6 million dots: the neighbours of the one shown stop at a memory budget, and
  // one left out is drawn when it is shown.
  void LargeLabelsDrawFewerNeighbours() {
    LabelPreviewPane pane;
    pane.resize(400, 600);
    pane.show();
    pane.SetDebounceMs(0);
    QSignalSpy rendered(&pane, &LabelPreviewPane::rendered);
    pane.SetScript("SW4200\r\nSL4200,24,G\r\nBD0,0,10,10,O\r\nP1\r\nBD0,0,20,10,O\r\nP1\r\nBD0,0,30,10,O\r\nP1\r\n");
    QVERIFY(Drawn(rendered));
    QCOMPARE(pane.labelCount(), 3);
    QCOMPARE(pane.labelsDrawn(), 2);
    QTest::mouseClick(pane.nextButton(), Qt::LeftButton);
    QCOMPARE(InkWidth(pane.currentImage()), 20);
    QTest::mouseClick(pane.nextButton(), Qt::LeftButton);
    QVERIFY(pane.currentImage().isNull());
    QVERIFY(pane.notice()->text().isEmpty());  // not drawn yet, which is not too large
    QVERIFY(Drawn(rendered, rendered.count() + 1));
    QCOMPARE(pane.position()->text(), QStringLiteral("Label 3 of 3"));
    QCOMPARE(InkWidth(pane.currentImage()), 30);
    QCOMPARE(pane.labelsDrawn(), 3);
  }

  // The tester's preview follows typing: a key in one label's line draws that label alone.
  void TypingInTheTesterRedrawsOnlyThatLabel() {
    test::GuiContext g;
    QdrlTesterDialog tester(g.context);
    tester.show();
    tester.previewPane()->SetDebounceMs(0);
    QSignalSpy rendered(tester.previewPane(), &LabelPreviewPane::rendered);
    QTest::mouseClick(tester.previewButton(), Qt::LeftButton);
    tester.SetCommandText(TenLabels());
    QVERIFY(Drawn(rendered));
    QCOMPARE(tester.previewPane()->labelsDrawn(), 3);
    // "BD0,0,10,10,O" becomes "BD0,0,105,10,O" on the first label.
    QTextCursor caret(tester.editor()->document());
    caret.setPosition(8);
    tester.editor()->setTextCursor(caret);
    tester.editor()->setFocus();
    QTest::keyClicks(tester.editor(), QStringLiteral("5"));
    QVERIFY(Drawn(rendered, rendered.count() + 1));
    QCOMPARE(InkWidth(tester.previewPane()->currentImage()), 105);
    QCOMPARE(tester.previewPane()->labelsDrawn(), 4);
  }

  void ABuilderRedrawsItsOwnLineAsAFieldChanges() {
    test::GuiContext g;
    BlockDrawCommandDialog dialog(g.context);
    dialog.show();
    LinePreview* preview = dialog.findChild<LinePreview*>();
    QVERIFY(preview != nullptr);
    preview->SetDebounceMs(0);
    // The preview keeps eight dots of paper around the block's ink.
    QTRY_COMPARE_WITH_TIMEOUT(preview->shown().size(), QSize(700 + 16, 20 + 16), 10000);
    struct Edit {
      RealNumberSpin* field;
      double value;
      QSize shown;
    };
    const BlockDrawCommandDialog::Controls& c = dialog.controls();
    const Edit edits[] = {{c.endY, 200, {716, 116}}, {c.endX, 300, {216, 116}}, {c.startY, 150, {216, 66}}};
    for (const Edit& e : edits) {
      e.field->setValue(e.value);
      QTRY_COMPARE_WITH_TIMEOUT(preview->shown().size(), e.shown, 10000);
      QVERIFY(!preview->pixmap().isNull());
    }
  }
};

}  // namespace qm

QTEST_MAIN(qm::PreviewPaneTest)
#include "preview_pane_test.moc"
