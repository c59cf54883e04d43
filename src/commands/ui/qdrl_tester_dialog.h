// "QDRL Tester": edit, load, save and send command scripts; builders append to them.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gui/app_context.h"

class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTimer;
class QTextDocument;
class QVBoxLayout;

namespace qm {

class BuilderDialog;
class LabelPreviewPane;

class QdrlTesterDialog : public QDialog {
  Q_OBJECT

 public:
  QdrlTesterDialog(AppContext& context, QWidget* parent = nullptr);
  ~QdrlTesterDialog() override;

  // The script as bytes; always what the editor shows.
  const std::string& commandText() const { return commandText_; }
  void SetCommandText(std::string bytes);
  // Whether a large loaded script is still going into the editor, a slice at a time. Its
  // bytes are all in commandText() already; the editor takes no keys until it is in.
  bool loading() const { return pendingAt_ < pending_.size(); }
  // Puts the rest of a script that is still going in into the editor at once.
  void FinishLoading();
  // How a loading script goes in: pieces of about `chars` characters, as many as fit in `ms`
  // (at least one) between two turns of the window's events.
  void SetLoadSlices(qsizetype chars, qint64 ms) {
    fillPieceChars_ = chars;
    fillSliceMs_ = ms;
  }
  QLabel* loadingNote() const { return loadingNote_; }
  // Whether the editor may hold a character with no byte, so that Save and Multi Send check it.
  bool checksTextBeforeSending() const { return maybeUncarried_; }
  // Appends script lines at the end, as one edit the operator can undo in one step.
  void InsertLines(const std::string& lines);

  QPlainTextEdit* editor() const { return editor_; }
  QSpinBox* sendCount() const { return sendCount_; }
  QLabel* sentCounter() const { return sentCounter_; }
  QPushButton* multiSendButton() const { return multiSend_; }
  QPushButton* loadButton() const { return load_; }
  QPushButton* saveButton() const { return save_; }
  QPushButton* cleanButton() const { return clean_; }
  QPushButton* closeButton() const { return close_; }
  QPushButton* copiesButton() const { return copies_; }
  QPushButton* convertButton() const { return convert_; }
  QPushButton* bitmapTextButton() const { return bitmapText_; }
  QPushButton* vectorTextButton() const { return vectorText_; }
  QPushButton* characterSetButton() const { return characterSet_; }
  QPushButton* printCodesButton() const { return printCodes_; }
  QPushButton* rfidWriteButton() const { return rfidWrite_; }
  QPushButton* rfidReadButton() const { return rfidRead_; }
  QPushButton* rfidPasswordButton() const { return rfidPassword_; }
  QPushButton* rfidSecurityButton() const { return rfidSecurity_; }
  QPushButton* rfidKillButton() const { return rfidKill_; }
  QPushButton* previewButton() const { return preview_; }
  LabelPreviewPane* previewPane() const { return previewPane_; }

  void MultiSend();
  void Load();
  void Save();
  void Clean();

 private:
  using BuilderFactory = std::function<std::unique_ptr<BuilderDialog>(QWidget*)>;
  // A button that runs a builder in the insertion loop; without a factory the tool is
  // not available yet and the button stays disabled.
  QPushButton* AddBuilder(QGridLayout* frame, const QString& label, BuilderFactory factory);
  // A button that opens a tool once, modally; nothing is appended.
  QPushButton* AddTool(QGridLayout* frame, const QString& label, std::function<void()> open);
  void RunBuilder(const BuilderFactory& factory);
  void RereadEditor();
  // Appends the next piece of a loading script, about `chars` long and cut after a line end;
  // whether any is left.
  bool AppendPending(qsizetype chars);
  bool AppendPending(QTextDocument& doc, qsizetype chars);
  // One time-boxed slice of a loading script, then a turn of the window's events.
  void FillSlice();
  // The script is all in: the editor takes keys, and Undo, again.
  void EndLoading();
  // An editor document and the script it shows.
  struct ShownScript {
    std::unique_ptr<QTextDocument> doc;
    std::string bytes;
    bool lineSeparators = false;
    bool maybeUncarried = false;
    int caret = 0;
    int anchor = 0;
  };
  // Puts `next` in the editor at once: its edits are mapped from now on, and what it holds is
  // no step of Undo. What the editor showed is handed back, no longer followed.
  ShownScript PutInEditor(ShownScript next);
  // Keeps the bytes in step with one edit of the editor: only the changed piece is mapped.
  void EditorChanged(int position, int removed, int added);
  // Whether every character of the editor has a byte; if not, says which and sends nothing.
  bool EditorCarried();
  // Shows or hides the preview; a shown one follows every edit.
  void TogglePreview();
  void GoToLine(int line);
  // Tells a shown preview that the script has changed.
  void ScriptChanged();

  AppContext& context_;
  std::string commandText_;
  int blocks_ = 1;                 // the editor's blocks when commandText_ was last brought in step
  bool settingText_ = false;       // the bytes are set whole; the editor's echo is not mapped back
  bool lineSeparators_ = false;    // a line separator inside a block: pieces no longer map simply
  bool maybeUncarried_ = false;    // a character with no byte may have been typed or pasted
  QPlainTextEdit* editor_;
  QLabel* loadingNote_;
  QTimer* fill_;
  QString pending_;             // the editor text of a loading script
  qsizetype pendingAt_ = 0;     // how much of it is in the editor
  QSpinBox* sendCount_;
  QLabel* sentCounter_;
  QPushButton* multiSend_;
  QPushButton* load_;
  QPushButton* save_;
  QPushButton* clean_;
  QPushButton* close_;
  QPushButton* copies_ = nullptr;
  QPushButton* convert_;
  QPushButton* bitmapText_;
  QPushButton* vectorText_;
  QPushButton* characterSet_;
  QPushButton* printCodes_;
  QPushButton* rfidWrite_;
  QPushButton* rfidRead_;
  QPushButton* rfidPassword_;
  QPushButton* rfidSecurity_;
  QPushButton* rfidKill_;
  QPushButton* preview_;
  LabelPreviewPane* previewPane_;
  // Scripts larger than this are built into a document off the GUI thread.
  static constexpr uintmax_t kLoadOnWorkerBytes = 1u << 20;
  // A loading script goes in for this long between two turns of the window's events, in
  // pieces of about this many characters.
  qint64 fillSliceMs_ = 16;
  qsizetype fillPieceChars_ = 64 << 10;
  // The width the tester had before the preview widened it, given back when it goes.
  int widthWithoutPreview_ = 0;
};

}  // namespace qm
