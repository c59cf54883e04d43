// The tester: insertion loop, Multi Send on a real port, Load and Save of exact bytes.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "commands/ui/printing_copies_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "gui/builder_dialog.h"
#include "gui_support.h"
#include "pty_pair.h"

namespace qm {

using test::GuiContext;
using test::ModalScript;

namespace {

// A builder that keeps its value between openings, as most builders do.
class NumberBuilder : public BuilderDialog {
 public:
  int value = 0;
  std::vector<int> seenAtOpening;
  std::optional<std::string> TakeLines(Prompter&) override { return "N" + std::to_string(value) + "\r\n"; }

 protected:
  void LoadDefaults() override { value = 0; }
  void showEvent(QShowEvent* e) override {
    seenAtOpening.push_back(value);
    BuilderDialog::showEvent(e);
  }
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

struct SerialTester {
  SerialTester() : g(Devices(pty.path())), tester(g.context) {
    g.link.SetPortName("COM1:");
    g.link.Open();
  }
  static DeviceMap Devices(const std::string& path) {
    DeviceMap m = test::IsolatedDevices();
    m.Override("COM1", path);
    return m;
  }
  test::PtyPair pty;
  GuiContext g;
  QdrlTesterDialog tester;
};

}  // namespace

class QdrlTesterDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void OpensEmptyWithCountOne() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    QCOMPARE(t.windowTitle(), QStringLiteral("QDRL Tester"));
    QCOMPARE(t.sendCount()->value(), 1);
    QCOMPARE(t.sendCount()->minimum(), 0);
    QCOMPARE(t.sendCount()->maximum(), 10000);
    QVERIFY(t.sendCount()->wrapping());
    QVERIFY(t.sentCounter()->text().isEmpty());
    QVERIFY(t.commandText().empty());
  }

  void CopiesInsertedThreeTimesThenClosedAppendsThreeLinesInOrder() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    std::vector<std::pair<int, int>> seen;
    auto insert = [&](int a, int b) {
      return [&, a, b](QDialog* d) {
        auto* c = static_cast<PrintingCopiesDialog*>(d);
        seen.emplace_back(c->firstNumber()->value(), c->secondNumber()->value());
        c->firstNumber()->setValue(a);
        c->secondNumber()->setValue(b);
        c->InsertToLabel();
      };
    };
    ModalScript script({insert(2, 3), insert(4, 5), insert(100, 0), [](QDialog* d) { d->accept(); }});
    QTest::mouseClick(t.copiesButton(), Qt::LeftButton);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(script.shown, 4);
    QCOMPARE(t.commandText(), std::string("P2,3\r\nP4,5\r\nP100,0\r\n"));
    QCOMPARE(t.editor()->toPlainText(), QStringLiteral("P2,3\nP4,5\nP100,0\n"));
    // Copies starts each opening from 1 and 1.
    QCOMPARE(seen, (std::vector<std::pair<int, int>>{{1, 1}, {1, 1}, {1, 1}}));
  }

  void CopiesWithDefaultsAppendsAtTheEndWhateverTheCaret() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.editor()->setPlainText(QStringLiteral("SS3\nSD10"));
    t.editor()->moveCursor(QTextCursor::Start);
    ModalScript script({[](QDialog* d) { static_cast<BuilderDialog*>(d)->InsertToLabel(); },
                        [](QDialog* d) { d->accept(); }});
    QTest::mouseClick(t.copiesButton(), Qt::LeftButton);
    QCOMPARE(t.commandText(), std::string("SS3\r\nSD10P1,1\r\n"));
  }

  void CloseBoxAppendsNothingAndDoesNotReopen() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    ModalScript script({[](QDialog* d) { d->reject(); }});
    QTest::mouseClick(t.copiesButton(), Qt::LeftButton);
    QCOMPARE(script.shown, 1);
    QCOMPARE(script.unexpected, 0);
    QVERIFY(t.commandText().empty());
  }

  void KeptValuesSurviveInsertionButANewBuilderStartsFromDefaults() {
    GuiContext g;
    std::string text;
    NumberBuilder builder;
    ModalScript script({[&](QDialog*) {
                          builder.value = 7;
                          builder.InsertToLabel();
                        },
                        [&](QDialog*) {
                          builder.value = 8;
                          builder.InsertToLabel();
                        },
                        [&](QDialog*) { builder.accept(); }});
    RunInsertionLoop(builder, g.prompter, [&](const std::string& l) { text += l; }, [] {});
    QCOMPARE(text, std::string("N7\r\nN8\r\n"));
    QCOMPARE(builder.seenAtOpening, (std::vector<int>{0, 7, 8}));
    QVERIFY(!builder.insertFlag());

    NumberBuilder fresh;
    ModalScript again({[&](QDialog*) { fresh.accept(); }});
    RunInsertionLoop(fresh, g.prompter, [&](const std::string& l) { text += l; }, [] {});
    QCOMPARE(fresh.seenAtOpening, std::vector<int>{0});
  }

  void MultiSendWritesTheScriptCountTimes() {
    SerialTester s;
    s.tester.SetCommandText("T10,10,0,1,1,1,0,'A'\r\nP1\r\n");
    s.tester.sendCount()->setValue(3);
    QTest::mouseClick(s.tester.multiSendButton(), Qt::LeftButton);
    const std::string script = s.tester.commandText();
    QCOMPARE(s.pty.Receive(script.size() * 3), script + script + script);
    QCOMPARE(s.tester.sentCounter()->text(), QStringLiteral("3"));
  }

  void MultiSendOfZeroWritesNothing() {
    SerialTester s;
    s.tester.SetCommandText("P1\r\n");
    s.tester.sendCount()->setValue(0);
    QTest::mouseClick(s.tester.multiSendButton(), Qt::LeftButton);
    QCOMPARE(s.pty.Receive(1, 30), std::string());
    QVERIFY(s.tester.sentCounter()->text().isEmpty());
  }

  void FailedWriteStopsAndBlanksTheCounter() {
    SerialTester s;
    s.tester.SetCommandText("P1\r\n");
    s.tester.sendCount()->setValue(2);
    s.tester.MultiSend();
    QCOMPARE(s.tester.sentCounter()->text(), QStringLiteral("2"));
    s.g.link.Close();
    s.tester.sendCount()->setValue(5);
    s.tester.MultiSend();
    QVERIFY(s.tester.sentCounter()->text().isEmpty());
    QCOMPARE(s.g.prompter.ids(), std::vector<int>{sid::kPortWriteError});
    QCOMPARE(s.tester.commandText(), std::string("P1\r\n"));
  }

  void TypedCountIsTakenEvenBeforeTheFieldLosesFocus() {
    SerialTester s;
    s.tester.SetCommandText("X");
    s.tester.show();
    s.tester.sendCount()->setFocus();
    s.tester.sendCount()->selectAll();
    QTest::keyClicks(s.tester.sendCount(), QStringLiteral("2"));
    s.tester.MultiSend();
    QCOMPARE(s.pty.Receive(2), std::string("XX"));
  }

  void LoadThenSaveAndMultiSendKeepEveryByte() {
    SerialTester s;
    GuiContext& g = s.g;
    QdrlTesterDialog& t = s.tester;
    const std::string dir = std::filesystem::temp_directory_path() / "quillmark-tester-XXXXXX";
    std::string tmpl = dir;
    const std::string folder = ::mkdtemp(tmpl.data());
    const std::string in = folder + "/in.txt";
    const std::string out = folder + "/QDRF.txt";
    // Every byte, and what editors like to normalise: no-break space, NEL, soft hyphen,
    // tabs, trailing blanks, lone and doubled line ends.
    std::string bytes;
    for (int b = 1; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    bytes += "\r\nT1 \t \r\n\xA0\xA0\r\n\x85\xAD\r\r\n\n  ";
    std::ofstream(in, std::ios::binary) << bytes << std::string(1, '\0') << "after the zero";

    g.files.nextOpen = QString::fromStdString(in);
    t.Load();
    QCOMPARE(t.commandText(), bytes);
    QVERIFY(g.files.lastFilter.contains(QStringLiteral("Binary files(*.bin)")));
    g.files.nextSave = QString::fromStdString(out);
    t.Save();
    QCOMPARE(g.files.lastProposedName, QStringLiteral("QDRF.txt"));
    QCOMPARE(ReadFile(out), bytes);
    t.MultiSend();
    QCOMPARE(s.pty.Receive(bytes.size()), bytes);
    QVERIFY(g.prompter.messages.empty());
    std::filesystem::remove_all(folder);
  }

  void TypedNoBreakSpaceIsSentAsItsByte() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.editor()->setPlainText(QString::fromUtf8("T\u00A0x\n\u2464"));
    QCOMPARE(t.commandText(), std::string("T\xA0x\r\n\x85"));
  }

  void CancelledLoadEmptiesTheEditorAndSaysSo() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.SetCommandText("P1\r\n");
    t.Load();
    QVERIFY(t.commandText().empty());
    QVERIFY(t.editor()->toPlainText().isEmpty());
    QCOMPARE(g.prompter.messages.size(), size_t{1});
    QCOMPARE(g.prompter.messages[0].text, std::string("Don't select load file"));
    QCOMPARE(g.prompter.messages[0].icon, Icon::kExclamation);
  }

  void CancelledSaveSaysSo() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.Save();
    QCOMPARE(g.prompter.messages.size(), size_t{1});
    QCOMPARE(g.prompter.messages[0].text, std::string("Don't select save file"));
  }

  void UnreadableFilesAreReportedNotLoaded() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    g.files.nextOpen = QStringLiteral("/nonexistent/script.txt");
    t.Load();
    QCOMPARE(g.prompter.messages.size(), size_t{1});
    QVERIFY(g.prompter.messages[0].text.find("/nonexistent/script.txt") != std::string::npos);
    QVERIFY(t.commandText().empty());
    g.files.nextSave = QStringLiteral("/nonexistent/dir/QDRF.txt");
    t.Save();
    QCOMPARE(g.prompter.messages.size(), size_t{2});
  }

  void CleanEmptiesEverything() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.SetCommandText("P1\r\n");
    QTest::mouseClick(t.cleanButton(), Qt::LeftButton);
    QVERIFY(t.commandText().empty());
    QVERIFY(t.editor()->toPlainText().isEmpty());
  }

  void TypingUpdatesTheCommandText() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.show();
    t.editor()->setFocus();
    QTest::keyClicks(t.editor(), QStringLiteral("SS3"));
    QTest::keyClick(t.editor(), Qt::Key_Return);
    QTest::keyClicks(t.editor(), QStringLiteral("P1"));
    QCOMPARE(t.commandText(), std::string("SS3\r\nP1"));
  }
};

}  // namespace qm

QTEST_MAIN(qm::QdrlTesterDialogTest)
#include "qdrl_tester_dialog_test.moc"
