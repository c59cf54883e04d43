#include "commands/ui/qdrl_tester_dialog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextOption>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include <malloc.h>

#include "commands/multi_send.h"
#include "gui/long_work.h"
#include "commands/script_file.h"
#include "commands/script_text.h"
#include "commands/ui/barcode_1d_command_dialog.h"
#include "commands/ui/barcode_2d_command_dialog.h"
#include "commands/ui/bitmap_text_command_dialog.h"
#include "commands/ui/block_draw_command_dialog.h"
#include "commands/ui/character_set_command_dialog.h"
#include "commands/ui/convert_unit_dialog.h"
#include "commands/ui/label_preview_pane.h"
#include "commands/ui/label_setting_dialog.h"
#include "commands/ui/printing_copies_dialog.h"
#include "commands/ui/printing_setting_dialog.h"
#include "commands/ui/two_byte_codepage_dialog.h"
#include "commands/ui/vector_text_command_dialog.h"
#include "gui/builder_dialog.h"
#include "gui/file_chooser.h"
#include "gui/printer_text.h"
#include "settings/ui/check_printer_status_dialog.h"
#include "rfid/ui/rfid_kill_dialog.h"
#include "rfid/ui/rfid_password_dialog.h"
#include "rfid/ui/rfid_read_command_dialog.h"
#include "rfid/ui/rfid_security_dialog.h"
#include "rfid/ui/rfid_write_command_dialog.h"

namespace qm {

namespace {


const QString kSaveFilter = QStringLiteral("All files(*.*)|*.*|Text files(*.txt)|*.txt||");
const QString kLoadFilter =
    QStringLiteral("All files(*.*)|*.*|Text files(*.txt)|*.txt|Binary files(*.bin)|*.bin||");

// How the editor lays its text out, for a document made away from it.
struct DocumentLook {
  explicit DocumentLook(const QTextDocument& doc)
      : font(doc.defaultFont()), option(doc.defaultTextOption()), margin(doc.documentMargin()) {}
  QFont font;
  QTextOption option;
  qreal margin;
};

// An empty document the editor can show; on any thread (a document is reentrant).
std::unique_ptr<QTextDocument> NewDocument(const DocumentLook& look) {
  auto doc = std::make_unique<QTextDocument>();
  doc->setDocumentLayout(new QPlainTextDocumentLayout(doc.get()));
  doc->setDefaultFont(look.font);
  doc->setDefaultTextOption(look.option);
  doc->setDocumentMargin(look.margin);
  return doc;
}

// The editor's text of script bytes, mapped in one pass.
QString EditorText(const std::string& bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  text.truncate(static_cast<qsizetype>(ScriptToEditorText(bytes, reinterpret_cast<char16_t*>(text.data()))));
  return text;
}

QGridLayout* Frame(QVBoxLayout* column, const QString& title) {
  auto* box = new QGroupBox(title);
  auto* layout = new QGridLayout(box);
  column->addWidget(box);
  return layout;
}

}  // namespace

QdrlTesterDialog::QdrlTesterDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setWindowTitle(tr("QDRL Tester"));

  auto* tools = new QVBoxLayout;
  auto* printing = Frame(tools, tr("Printing Setting"));
  AddBuilder(printing, tr("Speed && Density && Direction"),
             [this](QWidget* p) { return std::make_unique<PrintingSettingDialog>(context_, p); });
  auto* paper = Frame(tools, tr("Paper Setting"));
  AddBuilder(paper, tr("Margin && Width && Length"),
             [](QWidget* p) { return std::make_unique<LabelSettingDialog>(p); });
  auto* status = Frame(tools, tr("Printer Status"));
  AddTool(status, tr("Check Printer Status"), [this] { CheckPrinterStatusDialog(context_, this).exec(); });
  auto* module = Frame(tools, tr("Printing Module"));
  AddBuilder(module, tr("Line && Box"),
             [this](QWidget* p) { return std::make_unique<BlockDrawCommandDialog>(context_, p); });
  AddBuilder(module, tr("1D Barcode"),
             [this](QWidget* p) { return std::make_unique<Barcode1DCommandDialog>(context_, p); });
  AddBuilder(module, tr("2D Barcode"),
             [this](QWidget* p) { return std::make_unique<Barcode2DCommandDialog>(context_, p); });
  copies_ = AddBuilder(module, tr("Copies"),
                       [](QWidget* p) { return std::make_unique<PrintingCopiesDialog>(p); });
  bitmapText_ = AddBuilder(module, tr("Bitmap Text"),
                           [this](QWidget* p) { return std::make_unique<BitmapTextCommandDialog>(context_, p); });
  vectorText_ = AddBuilder(module, tr("Vector Text"),
                           [this](QWidget* p) { return std::make_unique<VectorTextCommandDialog>(context_, p); });
  characterSet_ = AddTool(module, tr("Character Set"), [this] { CharacterSetCommandDialog(context_, this).exec(); });
  auto* twoByte = Frame(tools, tr("2Byte Code"));
  printCodes_ = AddTool(twoByte, tr("Print Codes"), [this] { TwoByteCodepageDialog(context_, this).exec(); });
  auto* rfid = Frame(tools, tr("RFID Write and Read"));
  rfidWrite_ = AddBuilder(rfid, tr("Write"), [this](QWidget* p) {
    return std::make_unique<RfidWriteCommandDialog>(context_.prompter, p);
  });
  rfidRead_ = AddBuilder(rfid, tr("Read"), [](QWidget* p) { return std::make_unique<RfidReadCommandDialog>(p); });
  rfidPassword_ = AddBuilder(rfid, tr("Password"), [this](QWidget* p) {
    return std::make_unique<RfidPasswordDialog>(context_.prompter, p);
  });
  rfidSecurity_ = AddBuilder(rfid, tr("Security"), [](QWidget* p) { return std::make_unique<RfidSecurityDialog>(p); });
  rfidKill_ = AddBuilder(rfid, tr("Kill"), [](QWidget* p) { return std::make_unique<RfidKillDialog>(p); });
  tools->addStretch();

  // The script editor and its clipboard buttons.
  auto* commandBox = new QGroupBox(tr("QDRL Command"));
  auto* commandLayout = new QVBoxLayout(commandBox);
  editor_ = new QPlainTextEdit;
  editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_->setMinimumSize(420, 360);
  commandLayout->addWidget(editor_);
  loadingNote_ = new QLabel;
  loadingNote_->hide();
  commandLayout->addWidget(loadingNote_);
  fill_ = new QTimer(this);
  fill_->setSingleShot(true);
  fill_->setInterval(0);
  connect(fill_, &QTimer::timeout, this, &QdrlTesterDialog::FillSlice);
  // Each edit maps only what it changed; a whole-text conversion per key would make typing
  // in a large script lag.
  connect(editor_->document(), &QTextDocument::contentsChange, this, &QdrlTesterDialog::EditorChanged);

  auto* editBox = new QGroupBox(tr("QDRL Command Edit"));
  auto* editLayout = new QHBoxLayout(editBox);
  auto* cut = new QPushButton(tr("Cut"));
  auto* copy = new QPushButton(tr("Copy"));
  auto* paste = new QPushButton(tr("Paste"));
  clean_ = new QPushButton(tr("Clean"));
  for (QPushButton* b : {cut, copy, paste, clean_}) editLayout->addWidget(b);
  connect(cut, &QPushButton::clicked, editor_, &QPlainTextEdit::cut);
  connect(copy, &QPushButton::clicked, editor_, &QPlainTextEdit::copy);
  connect(paste, &QPushButton::clicked, editor_, &QPlainTextEdit::paste);
  connect(clean_, &QPushButton::clicked, this, &QdrlTesterDialog::Clean);

  // The bottom row: how many times, how many sent, and the file buttons.
  sendCount_ = new QSpinBox;
  sendCount_->setRange(0, 10000);
  sendCount_->setWrapping(true);
  sendCount_->setValue(1);
  sendCount_->setAccessibleName(tr("Send count"));
  sentCounter_ = new QLabel;
  sentCounter_->setMinimumWidth(60);
  multiSend_ = new QPushButton(tr("Multi Send"));
  load_ = new QPushButton(tr("Load"));
  save_ = new QPushButton(tr("Save"));
  convert_ = new QPushButton(tr("Convert"));
  connect(convert_, &QPushButton::clicked, this, [this] { ConvertUnitDialog::Open(this); });
  close_ = new QPushButton(tr("Close"));
  preview_ = new QPushButton(tr("Preview"));
  preview_->setCheckable(true);
  connect(preview_, &QPushButton::clicked, this, &QdrlTesterDialog::TogglePreview);
  connect(multiSend_, &QPushButton::clicked, this, &QdrlTesterDialog::MultiSend);
  connect(load_, &QPushButton::clicked, this, &QdrlTesterDialog::Load);
  connect(save_, &QPushButton::clicked, this, &QdrlTesterDialog::Save);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(sendCount_);
  bottom->addWidget(sentCounter_);
  for (QPushButton* b : {multiSend_, load_, save_, convert_, preview_}) bottom->addWidget(b);
  bottom->addStretch();
  bottom->addWidget(close_);

  auto* centre = new QVBoxLayout;
  centre->addWidget(commandBox, 1);
  centre->addWidget(editBox);
  auto* top = new QHBoxLayout;
  top->addLayout(tools);
  top->addLayout(centre, 1);
  // The preview stands beside the editor, hidden until asked for.
  previewPane_ = new LabelPreviewPane;
  previewPane_->setMinimumWidth(300);
  previewPane_->hide();
  previewPane_->FollowScript([this]() -> const std::string& { return commandText_; });
  connect(previewPane_, &LabelPreviewPane::lineActivated, this, &QdrlTesterDialog::GoToLine);
  // Pick: a mark clicked on the label selects the line that drew it; the caret's line is outlined.
  previewPane_->SetFileChooser(&context_.files);
  connect(previewPane_, &LabelPreviewPane::linePicked, this, [this](int line) {
    GoToLine(line);
    QTextCursor cursor = editor_->textCursor();
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
  });
  connect(editor_, &QPlainTextEdit::cursorPositionChanged, this,
          [this] { previewPane_->SetCaretLine(editor_->textCursor().blockNumber() + 1); });
  top->addWidget(previewPane_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(bottom);
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
}

QdrlTesterDialog::~QdrlTesterDialog() {
  // The script's document goes first, so that what it held can be given back below.
  QTextDocument* shown = editor_->document();
  if (shown->parent() == this) {
    disconnect(shown, nullptr, this, nullptr);
    editor_->setDocument(nullptr);
    delete shown;
  }
  // A script loaded on a worker was allocated in that thread's heap, which is not given back
  // to the system by itself when freed from here: without this the memory of a large script
  // stays with the program after the tester is closed.
  ::malloc_trim(0);
}

QPushButton* QdrlTesterDialog::AddBuilder(QGridLayout* frame, const QString& label,
                                          BuilderFactory factory) {
  auto* button = new QPushButton(label);
  // Two buttons a row: one long column of them would not fit a laptop screen.
  const int placed = frame->count();
  frame->addWidget(button, placed / 2, placed % 2);
  if (!factory) {
    button->setEnabled(false);
    button->setToolTip(tr("Not available yet"));
    return button;
  }
  connect(button, &QPushButton::clicked, this, [this, factory] { RunBuilder(factory); });
  return button;
}

QPushButton* QdrlTesterDialog::AddTool(QGridLayout* frame, const QString& label, std::function<void()> open) {
  auto* button = new QPushButton(label);
  const int placed = frame->count();
  frame->addWidget(button, placed / 2, placed % 2);
  connect(button, &QPushButton::clicked, this, std::move(open));
  return button;
}

void QdrlTesterDialog::RunBuilder(const BuilderFactory& factory) {
  // A new object per press: the builder starts from its defaults every time.
  const std::unique_ptr<BuilderDialog> builder = factory(this);
  RunInsertionLoop(
      *builder, context_.prompter, [this](const std::string& lines) { InsertLines(lines); }, [] {
        // The bytes follow every edit as it happens: there is nothing to re-read.
      });
}

void QdrlTesterDialog::SetCommandText(std::string bytes) {
  // What had not gone into the editor yet is dropped with the rest.
  if (loading()) EndLoading();
  // Mapped in one pass and set once; the editor's change notice is not mapped back.
  QString text = EditorText(bytes);
  settingText_ = true;
  editor_->setPlainText(text);
  text.clear();
  settingText_ = false;
  commandText_ = std::move(bytes);
  blocks_ = editor_->document()->blockCount();
  lineSeparators_ = false;
  maybeUncarried_ = false;
  ScriptChanged();
}

void QdrlTesterDialog::InsertLines(const std::string& lines) {
  // Appended after the whole script, never in the middle of what is still coming.
  FinishLoading();
  QTextCursor end(editor_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(QString::fromStdU16String(ScriptToEditorText(lines)));
  editor_->setTextCursor(end);
}

void QdrlTesterDialog::EditorChanged(int position, int removed, int added) {
  if (settingText_) return;
  QTextDocument* doc = editor_->document();
  const int blocks = doc->blockCount();
  const int length = doc->characterCount() - 1;  // without the document's closing separator
  bool mapped = false;
  // Setting the whole text reports one more character than there is; such a notice, or a
  // line separator anywhere, is met by mapping the whole text again.
  if (!lineSeparators_ && position >= 0 && removed >= 0 && added >= 0 && position + added <= length) {
    QTextCursor piece(doc);
    piece.setPosition(position);
    piece.setPosition(position + added, QTextCursor::KeepAnchor);
    const QString text = piece.selectedText();
    const qsizetype breaks = text.count(QChar(QChar::ParagraphSeparator));
    // Each character is one byte, each break between blocks two ("\r\n").
    const int64_t breaksRemoved = int64_t{blocks_} - blocks + breaks;
    const size_t from = static_cast<size_t>(position) + static_cast<size_t>(doc->findBlock(position).blockNumber());
    const size_t oldBytes = static_cast<size_t>(removed) + static_cast<size_t>(std::max<int64_t>(breaksRemoved, 0));
    if (!text.contains(QChar(QChar::LineSeparator)) && breaksRemoved >= 0 && breaksRemoved <= removed &&
        from + oldBytes <= commandText_.size()) {
      const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
      commandText_.replace(from, oldBytes, EditorTextToScript(view));
      // What the document counts says whether the piece fitted where it was put.
      mapped = commandText_.size() == static_cast<size_t>(length) + static_cast<size_t>(blocks - 1);
      // The piece's block breaks are no characters of the script: they are its CR LF.
      for (const QChar c : text) {
        if (c.unicode() > 0xFF && c != QChar(QChar::ParagraphSeparator)) maybeUncarried_ = true;
      }
    }
  }
  blocks_ = blocks;
  if (!mapped) RereadEditor();
  ScriptChanged();
}

void QdrlTesterDialog::RereadEditor() {
  // The raw text: toPlainText() turns no-break spaces into plain ones.
  const QString raw = editor_->document()->toRawText();
  lineSeparators_ = raw.contains(QChar(QChar::LineSeparator));
  maybeUncarried_ = std::any_of(raw.cbegin(), raw.cend(), [](QChar c) { return c.unicode() > 0xFF; });
  commandText_ = EditorTextToScript(raw.toStdU16String());
  blocks_ = editor_->document()->blockCount();
}

void QdrlTesterDialog::ScriptChanged() {
  // Hidden, not invisible: a pane opened before the tester is shown still follows edits.
  // The pane takes the bytes when it draws, not on every key.
  if (previewPane_ && !previewPane_->isHidden()) previewPane_->ScriptChanged();
}

void QdrlTesterDialog::TogglePreview() {
  const bool on = preview_->isChecked();
  if (on && previewPane_->isHidden()) widthWithoutPreview_ = width();
  previewPane_->setVisible(on);
  if (!on && widthWithoutPreview_ > 0 && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
    // The pane's room grew the window; a hidden pane needs none of it.
    layout()->activate();
    resize(std::max(widthWithoutPreview_, minimumSizeHint().width()), height());
  }
  if (!previewPane_->isHidden()) previewPane_->ScriptChanged();
}

void QdrlTesterDialog::GoToLine(int line) {
  if (loading() && line > editor_->document()->blockCount()) FinishLoading();
  const QTextBlock block = editor_->document()->findBlockByNumber(line - 1);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  editor_->setTextCursor(cursor);
  editor_->setFocus();
}

void QdrlTesterDialog::Clean() { SetCommandText({}); }

bool QdrlTesterDialog::EditorCarried() {
  // Bytes mapped from bytes, and edits of Latin-1 and the control pictures, always carry.
  if (!maybeUncarried_) return true;
  if (ToPrinterBytes(editor_->document()->toRawText(), tr("QDRL Command"), context_.prompter, TextForm::kScript)) {
    maybeUncarried_ = false;
    return true;
  }
  editor_->setFocus(Qt::OtherFocusReason);
  return false;
}

void QdrlTesterDialog::MultiSend() {
  if (!EditorCarried()) return;
  sendCount_->interpretText();
  // A long run (a large script, many sends, Ethernet's pacing) shows how far it got and
  // stops between two pieces at Cancel; a short one is over before the dialog would show.
  // The editor takes no input while the work runs, so the bytes are sent from where they are.
  const std::string& script = commandText_;
  const int count = sendCount_->value();
  const MultiSendResult result =
      RunLongWork(context_, this, LongWorkText{tr("Multi Send"), tr("bytes"), {}, nullptr, nullptr},
                  [&](Work& work) { return qm::MultiSend(context_.link, script, count, work.progress); })
          .value;
  if (result.completed > 0) sentCounter_->setText(QString::number(result.completed));
  if (result.failed) sentCounter_->clear();
}

QdrlTesterDialog::ShownScript QdrlTesterDialog::PutInEditor(ShownScript next) {
  ShownScript previous;
  QTextDocument* old = editor_->document();
  disconnect(old, nullptr, this, nullptr);
  // The editor deletes a document of its own when another comes; this one is handed back.
  old->setParent(nullptr);
  previous.doc.reset(old);
  previous.bytes = std::move(commandText_);
  previous.lineSeparators = lineSeparators_;
  previous.maybeUncarried = maybeUncarried_;
  previous.caret = editor_->textCursor().position();
  previous.anchor = editor_->textCursor().anchor();

  QTextDocument* doc = next.doc.release();
  doc->setParent(this);
  doc->setUndoRedoEnabled(true);
  settingText_ = true;
  editor_->setDocument(doc);
  settingText_ = false;
  connect(doc, &QTextDocument::contentsChange, this, &QdrlTesterDialog::EditorChanged);
  commandText_ = std::move(next.bytes);
  blocks_ = doc->blockCount();
  lineSeparators_ = next.lineSeparators;
  maybeUncarried_ = next.maybeUncarried;
  // A script given back is given back with its selection, and no edit.
  QTextCursor caret(doc);
  caret.setPosition(std::min(next.anchor, doc->characterCount() - 1));
  caret.setPosition(std::min(next.caret, doc->characterCount() - 1), QTextCursor::KeepAnchor);
  editor_->setTextCursor(caret);
  ScriptChanged();
  return previous;
}

void QdrlTesterDialog::Load() {
  // Emptied first; the script it showed is kept until another is in, so a read that is
  // cancelled gives it back as it was, Undo and all (one still going in is completed first).
  FinishLoading();
  const DocumentLook look(*editor_->document());
  ShownScript previous = PutInEditor(ShownScript{NewDocument(look), {}, false, false});
  const auto path = context_.files.ChooseOpen(this, kLoadFilter);
  if (!path) {
    context_.prompter.Show(Message{"Don't select load file", Icon::kExclamation, {}, 0});
    return;
  }
  const std::string file = QFile::encodeName(*path).toStdString();
  std::error_code sizeError;
  const uintmax_t size = std::filesystem::file_size(file, sizeError);
  if (sizeError || size <= kLoadOnWorkerBytes) {
    ScriptLoad load = LoadScriptFile(file);
    if (!load.ok) {
      context_.prompter.Show(Message{"Cannot load the script: " + load.error, Icon::kExclamation, {}, 0});
      return;
    }
    SetCommandText(std::move(load.bytes));
    return;
  }

  // A large script is read and mapped on a worker, where a slow disk does not hold the window.
  struct Loaded {
    ScriptLoad load;
    QString text;
  };
  WorkResult<Loaded> result =
      RunLongWork(context_, this, LongWorkText{tr("Load"), {}, {}, nullptr, nullptr}, [&](Work& work) {
        Loaded out;
        out.load = LoadScriptFile(file);
        if (!out.load.ok || work.progress.Cancelled()) return out;
        out.text = EditorText(out.load.bytes);
        return out;
      });
  if (result.cancelled) {
    PutInEditor(std::move(previous));
    return;
  }
  if (!result.value.load.ok) {
    context_.prompter.Show(Message{"Cannot load the script: " + result.value.load.error, Icon::kExclamation, {}, 0});
    return;
  }
  // Qt takes the better part of a second to fill a document with hundreds of thousands of
  // lines, on any thread. The script's start is shown at once and the rest goes in a slice at
  // a time between the window's events; the bytes are all here already, so Save, Multi Send
  // and the preview have the whole script from now on. The editor takes no keys until then.
  // The first piece goes in before the editor has the document, so that the caret stays at
  // the start rather than riding along with every piece appended after it.
  std::unique_ptr<QTextDocument> doc = NewDocument(look);
  doc->setUndoRedoEnabled(false);
  pending_ = std::move(result.value.text);
  pendingAt_ = 0;
  AppendPending(*doc, fillPieceChars_);
  PutInEditor(ShownScript{std::move(doc), std::move(result.value.load.bytes), false, false});
  if (!loading()) {
    EndLoading();
    return;
  }
  editor_->document()->setUndoRedoEnabled(false);
  editor_->setReadOnly(true);
  FillSlice();
}

bool QdrlTesterDialog::AppendPending(qsizetype chars) { return AppendPending(*editor_->document(), chars); }

bool QdrlTesterDialog::AppendPending(QTextDocument& doc, qsizetype chars) {
  // Cut after a line's end, so that each piece goes in as whole blocks.
  qsizetype end = std::min(pending_.size(), pendingAt_ + chars);
  if (end < pending_.size()) {
    const qsizetype lineEnd = pending_.indexOf(QLatin1Char('\n'), end - 1);
    end = lineEnd < 0 ? pending_.size() : lineEnd + 1;
  }
  QTextCursor tail(&doc);
  tail.movePosition(QTextCursor::End);
  settingText_ = true;
  tail.insertText(QStringView(pending_).sliced(pendingAt_, end - pendingAt_).toString());
  settingText_ = false;
  pendingAt_ = end;
  return pendingAt_ < pending_.size();
}

void QdrlTesterDialog::FillSlice() {
  if (!loading()) return;
  // A few milliseconds a slice: the window answers between them.
  QElapsedTimer slice;
  slice.start();
  bool more = AppendPending(fillPieceChars_);
  while (more && slice.elapsed() < fillSliceMs_) more = AppendPending(fillPieceChars_);
  if (more) {
    loadingNote_->setText(tr("Loading the script: %1%").arg(pendingAt_ * 100 / pending_.size()));
    loadingNote_->show();
    fill_->start();
    return;
  }
  EndLoading();
}

void QdrlTesterDialog::FinishLoading() {
  if (!loading()) return;
  AppendPending(pending_.size());
  EndLoading();
}

void QdrlTesterDialog::EndLoading() {
  fill_->stop();
  pending_ = QString();
  pendingAt_ = 0;
  loadingNote_->hide();
  QTextDocument* doc = editor_->document();
  blocks_ = doc->blockCount();
  // Filling was no edit the operator could undo; from here on edits are.
  doc->setUndoRedoEnabled(true);
  editor_->setReadOnly(false);
}

void QdrlTesterDialog::Save() {
  // A saved "?" would be lost as surely as a sent one.
  if (!EditorCarried()) return;
  const auto path = context_.files.ChooseSave(this, QStringLiteral("QDRF.txt"), kSaveFilter);
  if (!path) {
    context_.prompter.Show(Message{"Don't select save file", Icon::kExclamation, {}, 0});
    return;
  }
  const std::string error = SaveScriptFile(QFile::encodeName(*path).toStdString(), commandText_);
  if (!error.empty()) {
    context_.prompter.Show(Message{"Cannot save the script: " + error, Icon::kExclamation, {}, 0});
  }
}

}  // namespace qm
