// The tester: insertion loop, Multi Send on a real port, Load and Save of exact bytes.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "commands/script_text.h"
#include "commands/ui/label_preview_pane.h"
#include "commands/ui/printing_copies_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "core/progress.h"
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

// A folder of its own for a test's files, gone with the test.
struct Folder {
  Folder() {
    std::string tmpl = std::filesystem::temp_directory_path() / "quillmark-tester-XXXXXX";
    path = ::mkdtemp(tmpl.data());
  }
  ~Folder() { std::filesystem::remove_all(path); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string file = path + "/" + name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }
  std::string path;
};

// The bytes of the whole editor mapped at once: what the piece by piece mapping must equal.
std::string WholeEditor(const QdrlTesterDialog& t) {
  return EditorTextToScript(t.editor()->document()->toRawText().toStdU16String());
}

// A script of `lines` drawing lines with bytes the editor shows as pictures among them.
std::string LargeScript(int lines) {
  std::string s;
  for (int i = 0; i < lines; ++i) s += "T10," + std::to_string(i) + ",Z,1,1,0,0,N,N,'\x85\xA0\x01x'\r\n";
  return s;
}

// A script of over 2 MiB, too large to be put into the editor on the GUI thread: `line`
// repeated and numbered, each ended by `end`; a CR LF after every 64th if `end` has none, so
// that no line is a megabyte long.
std::string HugeScript(const std::string& line, const std::string& end) {
  std::string s;
  for (int i = 0; s.size() < (size_t{2} << 20) + 4096; ++i) {
    s += line + std::to_string(i) + end;
    if (i % 64 == 63 && end.find("\r\n") == std::string::npos) s += "\r\n";
  }
  return s;
}

// Loads `bytes` through the Load button, as the operator does. A large script goes into the
// editor in pieces of 64 KiB, one a turn of the events, so that what happens meanwhile is the
// same on any machine.
void ClickLoad(QdrlTesterDialog& t, GuiContext& g, const Folder& folder, const std::string& bytes) {
  t.SetLoadSlices(64 << 10, 0);
  g.files.nextOpen = QString::fromStdString(folder.Write("huge.txt", bytes));
  QTest::mouseClick(t.loadButton(), Qt::LeftButton);
}

// The window's events until a loading script is all in the editor.
void LetItLoad(QdrlTesterDialog& t) {
  while (t.loading()) QCoreApplication::processEvents();
}

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

  // Loaded, two lines inserted by a builder, saved: the file is the loaded bytes and the
  // two lines, whatever the loaded bytes were.
  void SavedBytesAreTheLoadedBytesAndTheInsertedLines_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("loaded");
    std::string high;
    for (int b = 0x80; b <= 0xFF; ++b) high.push_back(static_cast<char>(b));
    const auto row = [](const char* name, const std::string& file, const std::string& loaded) {
      QTest::newRow(name) << QByteArray::fromStdString(file) << QByteArray::fromStdString(loaded);
    };
    row("CR LF", "SS3\r\nT1\r\n", "SS3\r\nT1\r\n");
    row("LF only", "SS3\nT1\n", "SS3\nT1\n");
    row("a lone CR at the end", "SS3\r", "SS3\r");
    row("bytes 0x80 to 0xFF", high + "\r\n", high + "\r\n");
    row("NUL", std::string("SS3\r\n\0P9\r\n", 10), "SS3\r\n");
    row("no final line end", "SS3", "SS3");
    row("empty", "", "");
  }
  void SavedBytesAreTheLoadedBytesAndTheInsertedLines() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, loaded);
    GuiContext g;
    QdrlTesterDialog t(g.context);
    Folder folder;
    g.files.nextOpen = QString::fromStdString(folder.Write("in.txt", file.toStdString()));
    t.Load();
    QCOMPARE(t.commandText(), loaded.toStdString());
    ModalScript script({[](QDialog* d) { static_cast<BuilderDialog*>(d)->InsertToLabel(); },
                        [](QDialog* d) {
                          static_cast<PrintingCopiesDialog*>(d)->firstNumber()->setValue(7);
                          static_cast<BuilderDialog*>(d)->InsertToLabel();
                        },
                        [](QDialog* d) { d->accept(); }});
    QTest::mouseClick(t.copiesButton(), Qt::LeftButton);
    const std::string expected = loaded.toStdString() + "P1,1\r\nP7,1\r\n";
    QCOMPARE(t.commandText(), expected);
    QCOMPARE(WholeEditor(t), expected);
    g.files.nextSave = QString::fromStdString(folder.path + "/out.txt");
    t.Save();
    QCOMPARE(ReadFile(folder.path + "/out.txt"), expected);
    QVERIFY(g.prompter.messages.empty());
  }

  // Each insert is one step of the editor's undo: undone, exactly the insert goes.
  void UndoAfterInsertRemovesExactlyTheInsert() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    const std::string loaded = LargeScript(2000) + "SS3";
    t.SetCommandText(loaded);
    t.InsertLines("P1,1\r\n");
    t.InsertLines("T1,1,Z,1,1,0,0,N,N,'\x01'\r\nP2,1\r\n");
    QCOMPARE(t.commandText(), loaded + "P1,1\r\nT1,1,Z,1,1,0,0,N,N,'\x01'\r\nP2,1\r\n");
    t.editor()->undo();
    QCOMPARE(t.commandText(), loaded + "P1,1\r\n");
    t.editor()->undo();
    QCOMPARE(t.commandText(), loaded);
    // The load itself is no step to undo.
    t.editor()->undo();
    QCOMPARE(t.commandText(), loaded);
    t.editor()->redo();
    QCOMPARE(t.commandText(), loaded + "P1,1\r\n");
    QCOMPARE(WholeEditor(t), t.commandText());
  }

  // Keys and edits in the middle of a large script: the bytes after each are those of the
  // edit, and those of the whole editor mapped at once.
  void EditsInTheMiddleOfALargeScriptMapExactly_data() {
    QTest::addColumn<int>("edit");
    QTest::addColumn<QByteArray>("expected");  // what lines 1000 and 1001 become
    const std::string a = "T10,1000,Z,1,1,0,0,N,N,'\x85\xA0\x01x'\r\n";
    const std::string b = "T10,1001,Z,1,1,0,0,N,N,'\x85\xA0\x01x'\r\n";
    const auto row = [](const char* name, int edit, const std::string& bytes) {
      QTest::newRow(name) << edit << QByteArray::fromStdString(bytes);
    };
    row("a letter typed", 0, "T10,1000,Z,1,1,0,0,N,N,'\x85\xA0\x01" "Qx'\r\n" + b);
    row("Return typed", 1, "T10,1000,Z,1,1,0,0,N,N,'\x85\xA0\x01\r\nx'\r\n" + b);
    row("Backspace at a line's start joins it to the line before", 2, "T10,1000,Z,1,1,0,0,N,N,'\x85\xA0\x01x'" + b);
    row("a selection over a line end deleted", 3, "T10,1000,Z,1,1,0,0,N,N,'\x85\xA0\x01" "1,Z,1,1,0,0,N,N,'\x85\xA0\x01x'\r\n");
    row("two lines pasted over a selection", 4, "T10,1000,Z,1,1,0,0,N,N,'\x85\xA0\x01" "A\r\nB" "1,Z,1,1,0,0,N,N,'\x85\xA0\x01x'\r\n");
    row("a line separator typed", 5, "T10,1000,Z,1,1,0,0,N,N,'\x85\xA0\x01\r\nx'\r\n" + b);
    row("a control picture typed", 6, "T10,1000,Z,1,1,0,0,N,N,'\x85\xA0\x01\x1Bx'\r\n" + b);
  }
  void EditsInTheMiddleOfALargeScriptMapExactly() {
    QFETCH(int, edit);
    QFETCH(QByteArray, expected);
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.show();
    const std::string loaded = LargeScript(4000);
    t.SetCommandText(loaded);
    // The caret before the "x" of line 1001 (block 1000).
    QTextCursor caret(t.editor()->document()->findBlockByNumber(1000));
    caret.movePosition(QTextCursor::EndOfBlock);
    caret.movePosition(QTextCursor::Left, QTextCursor::MoveAnchor, 2);
    t.editor()->setTextCursor(caret);
    t.editor()->setFocus();
    switch (edit) {
      case 0: QTest::keyClicks(t.editor(), QStringLiteral("Q")); break;
      case 1: QTest::keyClick(t.editor(), Qt::Key_Return); break;
      case 2:
        caret.movePosition(QTextCursor::StartOfBlock);
        caret.movePosition(QTextCursor::NextBlock);
        t.editor()->setTextCursor(caret);
        QTest::keyClick(t.editor(), Qt::Key_Backspace);
        break;
      case 3:
      case 4:
        caret.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        caret.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 7);
        t.editor()->setTextCursor(caret);
        if (edit == 3) {
          QTest::keyClick(t.editor(), Qt::Key_Delete);
        } else {
          QTest::keyClick(t.editor(), Qt::Key_Delete);
          t.editor()->insertPlainText(QStringLiteral("A\nB"));
        }
        break;
      case 5: t.editor()->insertPlainText(QString(QChar(QChar::LineSeparator))); break;
      case 6: t.editor()->insertPlainText(QString(QChar(0x241B))); break;
    }
    std::string want = loaded;
    const size_t from = want.find("T10,1000,");
    want.replace(from, want.find("T10,1002,") - from, expected.toStdString());
    QCOMPARE(t.commandText(), want);
    QCOMPARE(WholeEditor(t), want);
    // A further key after the edit still lands where it is typed.
    t.editor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(t.editor(), QStringLiteral("P1"));
    QCOMPARE(t.commandText(), want + "P1");
  }

  // A file too large for the GUI thread is built elsewhere; what is saved, sent and previewed
  // is still exactly the file.
  void LargeFileLoadedThenSavedKeepsEveryByte_data() {
    QTest::addColumn<QByteArray>("file");
    std::string high;
    for (int b = 0x80; b <= 0xFF; ++b) high.push_back(static_cast<char>(b));
    const auto row = [](const char* name, const std::string& file) {
      QTest::newRow(name) << QByteArray::fromStdString(file);
    };
    row("CR LF", HugeScript("T10,10,Z,1,1,0,0,N,N,'line ", "'\r\n"));
    row("LF", HugeScript("T10,10,Z,1,1,0,0,N,N,'line ", "'\n"));
    row("bytes 0x80 to 0xFF", HugeScript("T10,10,Z,1,1,0,0,N,N,'" + high, "'\r\n"));
    row("no final line end", HugeScript("SS3\r\nT1,", "'\r\n") + "P1");
  }
  void LargeFileLoadedThenSavedKeepsEveryByte() {
    QFETCH(QByteArray, file);
    const std::string bytes = file.toStdString();
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.show();
    t.SetCommandText("P9\r\n");
    Folder folder;
    ClickLoad(t, g, folder, bytes);
    QVERIFY(g.prompter.messages.empty());
    // Saved while the editor is still being filled: the whole file all the same.
    QVERIFY(t.loading());
    QCOMPARE(t.commandText(), bytes);
    g.files.nextSave = QString::fromStdString(folder.path + "/out.txt");
    QTest::mouseClick(t.saveButton(), Qt::LeftButton);
    QCOMPARE(ReadFile(folder.path + "/out.txt"), bytes);
    LetItLoad(t);
    QCOMPARE(WholeEditor(t), bytes);
    QCOMPARE(t.commandText(), bytes);
    QVERIFY(g.prompter.messages.empty());
  }

  // What the operator does while a large script is still going into the editor.
  void WhileALargeScriptGoesIn_data() {
    QTest::addColumn<int>("action");
    QTest::newRow("keys are refused until it is in") << 0;
    QTest::newRow("an insert goes after the whole script") << 1;
    QTest::newRow("Clean empties it, and nothing more comes") << 2;
    QTest::newRow("another load replaces it") << 3;
    QTest::newRow("a line picked past what is in is gone to") << 4;
    QTest::newRow("Cut and Paste leave it as it is") << 5;
  }
  void WhileALargeScriptGoesIn() {
    QFETCH(int, action);
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.show();
    Folder folder;
    const std::string bytes = HugeScript("T10,10,Z,1,1,0,0,N,N,'line ", "'\r\n");
    ClickLoad(t, g, folder, bytes);
    QVERIFY(t.loading());
    QVERIFY(t.loadingNote()->isVisible());
    QVERIFY(t.editor()->isReadOnly());
    std::string want = bytes;
    switch (action) {
      case 0:
        t.editor()->setFocus();
        QTest::keyClicks(t.editor(), QStringLiteral("X"));
        QCOMPARE(t.commandText(), bytes);
        LetItLoad(t);
        QTest::keyClicks(t.editor(), QStringLiteral("X"));
        want = "X" + bytes;
        break;
      case 1:
        t.InsertLines("P1\r\n");
        QVERIFY(!t.loading());
        want = bytes + "P1\r\n";
        QCOMPARE(WholeEditor(t), want);
        // The insert is the one step Undo takes back.
        t.editor()->undo();
        QCOMPARE(t.commandText(), bytes);
        t.editor()->redo();
        break;
      case 2:
        QTest::mouseClick(t.cleanButton(), Qt::LeftButton);
        QVERIFY(!t.loading());
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        t.editor()->setFocus();
        QTest::keyClicks(t.editor(), QStringLiteral("SS3"));
        want = "SS3";
        break;
      case 3:
        g.files.nextOpen = QString::fromStdString(folder.Write("small.txt", "SS3\r\nP1\r\n"));
        QTest::mouseClick(t.loadButton(), Qt::LeftButton);
        want = "SS3\r\nP1\r\n";
        break;
      case 4: {
        const int last = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
        QVERIFY(t.editor()->document()->blockCount() < last);
        emit t.previewPane()->lineActivated(last);
        QVERIFY(!t.loading());
        QCOMPARE(t.editor()->textCursor().blockNumber(), last - 1);
        break;
      }
      case 5:
        t.editor()->selectAll();
        t.editor()->cut();
        t.editor()->paste();
        QCOMPARE(t.commandText(), bytes);
        break;
    }
    LetItLoad(t);
    QVERIFY(t.loadingNote()->isHidden());
    QVERIFY(!t.editor()->isReadOnly());
    QCOMPARE(t.commandText(), want);
    QCOMPARE(WholeEditor(t), want);
    QVERIFY(g.prompter.messages.empty());
  }

  // The tester closed while a script goes in: nothing is left to fire on what is gone.
  void ClosedWhileALargeScriptGoesIn() {
    GuiContext g;
    Folder folder;
    auto t = std::make_unique<QdrlTesterDialog>(g.context);
    t->show();
    ClickLoad(*t, g, folder, HugeScript("T10,10,Z,1,1,0,0,N,N,'line ", "'\r\n"));
    QVERIFY(t->loading());
    t.reset();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    QVERIFY(g.prompter.messages.empty());
  }

  // Only a character with no byte makes Save and Multi Send check the whole text first, which
  // takes a while on a large script; the breaks of inserted lines are no such character.
  void OnlyCharactersWithoutAByteAreCheckedBeforeSending_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("checked");
    QTest::newRow("an inserted line") << QString() << false;
    QTest::newRow("two lines pasted") << QStringLiteral("A\nB") << false;
    QTest::newRow("a character beyond Latin-1") << QStringLiteral("\u3042") << true;
  }
  void OnlyCharactersWithoutAByteAreCheckedBeforeSending() {
    QFETCH(QString, typed);
    QFETCH(bool, checked);
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.SetCommandText(LargeScript(10));
    if (typed.isEmpty()) {
      t.InsertLines("P1,1\r\n");
    } else {
      t.editor()->moveCursor(QTextCursor::End);
      t.editor()->insertPlainText(typed);
    }
    QCOMPARE(t.checksTextBeforeSending(), checked);
  }

  // A shown preview follows the large script once it is in: it counts the loaded labels.
  void PreviewShowsALargeLoad() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.show();
    t.previewPane()->SetDebounceMs(0);
    QTest::mouseClick(t.previewButton(), Qt::LeftButton);
    QVERIFY(t.previewPane()->isVisible());
    std::string bytes;
    int labels = 0;
    // Labels of a box and many speed settings, so a few of them fill the file.
    const std::string label = "BD0,0,10,10,O\r\n" + [] {
      std::string settings;
      for (int i = 0; i < 4000; ++i) settings += "SS3\r\n";
      return settings;
    }() + "P1\r\n";
    for (; bytes.size() < (size_t{2} << 20) + 4096; ++labels) bytes += label;
    Folder folder;
    ClickLoad(t, g, folder, bytes);
    QCOMPARE(t.commandText(), bytes);
    QTRY_COMPARE_WITH_TIMEOUT(t.previewPane()->labelCount(), labels, 20000);
  }

  // The window goes on with its own work while a large file is read: a timer due at once
  // fires while the load's work is under way (its stop request is set only then).
  void WindowAnswersWhileALargeFileLoads() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.show();
    Folder folder;
    bool loading = true;
    int firedWhileLoading = 0;
    QTimer::singleShot(0, &t, [&] { firedWhileLoading += loading && g.context.clock.cancel() ? 1 : 0; });
    const std::string bytes = HugeScript("T10,10,Z,1,1,0,0,N,N,'line ", "'\r\n");
    ClickLoad(t, g, folder, bytes);
    loading = false;
    QCOMPARE(firedWhileLoading, 1);
    QCOMPARE(t.commandText(), bytes);
  }

  // Cancel while a large file is read: the script from before, with its Undo, is back.
  void CancelledLargeLoadKeepsTheOldScript() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.show();
    t.SetCommandText("SS3\r\n");
    t.editor()->moveCursor(QTextCursor::End);
    t.editor()->setFocus();
    QTest::keyClicks(t.editor(), QStringLiteral("P1"));
    Folder folder;
    // What the progress dialog's Cancel raises: the stop request of the work under way.
    bool raised = false;
    QTimer::singleShot(0, &t, [&] {
      if (CancelSignal* cancel = g.context.clock.cancel()) {
        cancel->Raise();
        raised = true;
      }
    });
    ClickLoad(t, g, folder, HugeScript("T10,10,Z,1,1,0,0,N,N,'line ", "'\r\n"));
    QVERIFY(raised);
    QVERIFY(g.prompter.messages.empty());
    QCOMPARE(t.commandText(), std::string("SS3\r\nP1"));
    QCOMPARE(WholeEditor(t), std::string("SS3\r\nP1"));
    QTest::keyClicks(t.editor(), QStringLiteral("X"));
    QCOMPARE(t.commandText(), std::string("SS3\r\nP1X"));
    t.editor()->undo();
    t.editor()->undo();
    QCOMPARE(t.commandText(), std::string("SS3\r\n"));
  }

  // After a large load, keys map where they are typed, and Undo takes back the keys, not the load.
  void TypingAndUndoAfterALargeLoadMapExactly() {
    GuiContext g;
    QdrlTesterDialog t(g.context);
    t.show();
    Folder folder;
    const std::string bytes = HugeScript("T10,10,Z,1,1,0,0,N,N,'\x85\xA0\x01", "'\r\n");
    ClickLoad(t, g, folder, bytes);
    LetItLoad(t);
    QCOMPARE(t.commandText(), bytes);
    QVERIFY(!t.editor()->document()->isUndoAvailable());
    QTextCursor caret(t.editor()->document()->findBlockByNumber(1000));
    t.editor()->setTextCursor(caret);
    t.editor()->setFocus();
    QTest::keyClicks(t.editor(), QStringLiteral("Q"));
    QTest::keyClick(t.editor(), Qt::Key_Return);
    std::string want = bytes;
    size_t at = 0;
    for (int i = 0; i < 1000; ++i) at = want.find("\r\n", at) + 2;
    want.insert(at, "Q\r\n");
    QCOMPARE(t.commandText(), want);
    QCOMPARE(WholeEditor(t), want);
    while (t.editor()->document()->isUndoAvailable()) t.editor()->undo();
    QCOMPARE(t.commandText(), bytes);
    QCOMPARE(WholeEditor(t), bytes);
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
