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

// Waits for the drawing to come back from the worker; returns as soon as it does.
bool Drawn(QSignalSpy& spy, int count = 1) {
  while (spy.count() < count) {
    if (!spy.wait(10000)) return false;
  }
  return true;
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
