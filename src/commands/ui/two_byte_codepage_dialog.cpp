#include "commands/ui/two_byte_codepage_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "commands/ui/builder_field_widgets.h"
#include "gui/choice_list.h"
#include "commands/piece_writes.h"
#include "gui/long_work.h"
#include "gui/printer_text.h"

namespace qm {

namespace {

std::array<std::string_view, kTwoByteCodeTables.size()> TableNames() {
  std::array<std::string_view, kTwoByteCodeTables.size()> names{};
  for (size_t i = 0; i < names.size(); ++i) names[i] = kTwoByteCodeTables[i].name;
  return names;
}

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

QGroupBox* Frame(const QString& title, QLayout* contents) {
  auto* box = new QGroupBox(title);
  box->setLayout(contents);
  return box;
}

}  // namespace

TwoByteCodepageDialog::TwoByteCodepageDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setWindowTitle(tr("2 Byte Codepage"));
  c_.codeTable = MakeChoiceList(TableNames());
  c_.startBlock = new QLineEdit;
  c_.endBlock = new QLineEdit;
  c_.blockArea = new QLabel;
  c_.printAllBlocks = new QCheckBox(tr("Print all block character code"));
  c_.bitmapFont = new QRadioButton(tr("Bitmap Font"));
  c_.vectorFont = new QRadioButton(tr("Vector Font"));
  c_.bitmapFontName = new QComboBox;
  c_.vectorFontWidth = new QLineEdit;
  c_.vectorFontHeight = new QLineEdit;
  c_.print = new QPushButton(tr("Print Characters"));
  c_.close = new QPushButton(tr("Close"));
  c_.status = new QLabel;
  for (QLineEdit* field : {c_.startBlock, c_.endBlock, c_.vectorFontWidth, c_.vectorFontHeight}) {
    field->setMaximumWidth(80);
  }

  auto* top = FieldGrid({{new QLabel(tr("Code Table :")), c_.codeTable}}, 1);
  auto* blocks = FieldGrid({{new QLabel(tr("Start Block :")), c_.startBlock},
                            {new QLabel(tr("End Block :")), c_.endBlock},
                            {new QLabel(tr("Block Area :")), c_.blockArea}},
                           1);
  blocks->addWidget(c_.printAllBlocks, blocks->rowCount(), 0, 1, 2);
  for (QWidget* w : {static_cast<QWidget*>(c_.startBlock), static_cast<QWidget*>(c_.endBlock)}) {
    blocks->setAlignment(w, Qt::AlignLeft);
  }
  fontKinds_ = new QButtonGroup(this);
  fontKinds_->addButton(c_.bitmapFont, static_cast<int>(FontKind::kBitmap));
  fontKinds_->addButton(c_.vectorFont, static_cast<int>(FontKind::kVector));
  auto* kinds = new QVBoxLayout;
  kinds->addWidget(c_.bitmapFont);
  kinds->addWidget(c_.vectorFont);
  kinds->addStretch();
  auto* sizes = FieldGrid({{new QLabel(tr("Bitmap Font Name: ")), c_.bitmapFontName},
                           {new QLabel(tr("Vector Font Width :")), c_.vectorFontWidth},
                           {new QLabel(tr("Vector Font Height :")), c_.vectorFontHeight}},
                          1);
  for (QWidget* w : {static_cast<QWidget*>(c_.vectorFontWidth), static_cast<QWidget*>(c_.vectorFontHeight)}) {
    sizes->setAlignment(w, Qt::AlignLeft);
  }
  auto* fonts = new QHBoxLayout;
  fonts->addWidget(Frame(tr("Font Type"), kinds));
  fonts->addWidget(Frame(tr("Size"), sizes), 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(Frame(tr("Character Block"), blocks));
  layout->addLayout(fonts);
  layout->addWidget(c_.status);
  layout->addLayout(ButtonRow({c_.print, c_.close}));

  connect(c_.codeTable, &QComboBox::activated, this, [this](int index) {
    TwoByteCodepageFields f = TakeFields();
    SelectTwoByteCodeTable(f, static_cast<TwoByteCodeTable>(index));
    ShowFields(f);
  });
  connect(c_.printAllBlocks, &QCheckBox::clicked, this, [this](bool checked) {
    TwoByteCodepageFields f = TakeFields();
    SetPrintAllBlocks(f, checked);
    ShowFields(f);
  });
  connect(fontKinds_, &QButtonGroup::idClicked, this, &TwoByteCodepageDialog::EnableFields);
  // The status line speaks of the last run only while the choice it was made with stands.
  connect(c_.codeTable, &QComboBox::currentIndexChanged, c_.status, &QLabel::clear);
  connect(c_.startBlock, &QLineEdit::textChanged, c_.status, &QLabel::clear);
  connect(c_.endBlock, &QLineEdit::textChanged, c_.status, &QLabel::clear);
  connect(c_.printAllBlocks, &QCheckBox::toggled, c_.status, &QLabel::clear);
  connect(c_.print, &QPushButton::clicked, this, &TwoByteCodepageDialog::PrintCharacters);
  connect(c_.close, &QPushButton::clicked, this, &QDialog::accept);
  ShowFields(TwoByteCodepageFields{});
}

void TwoByteCodepageDialog::ShowFields(const TwoByteCodepageFields& f) {
  const TwoByteCodeTableInfo& info = InfoOf(f.codeTable);
  SelectEntry(c_.codeTable, static_cast<int>(f.codeTable));
  c_.startBlock->setText(Latin1(f.startBlock));
  c_.endBlock->setText(Latin1(f.endBlock));
  c_.blockArea->setText(Latin1(info.blockArea));
  c_.printAllBlocks->setChecked(f.printAllBlocks);
  fontKinds_->button(static_cast<int>(f.fontKind))->setChecked(true);
  c_.bitmapFontName->clear();
  for (const char name : info.bitmapFonts) c_.bitmapFontName->addItem(QString(QLatin1Char(name)));
  SelectEntry(c_.bitmapFontName, static_cast<int>(info.bitmapFonts.find(f.bitmapFontName)));
  c_.vectorFontWidth->setText(Latin1(f.vectorFontWidth));
  c_.vectorFontHeight->setText(Latin1(f.vectorFontHeight));
  EnableFields();
}

void TwoByteCodepageDialog::EnableFields() {
  const bool bitmap = fontKinds_->checkedId() == static_cast<int>(FontKind::kBitmap);
  c_.bitmapFontName->setEnabled(bitmap);
  c_.vectorFontWidth->setEnabled(!bitmap);
  c_.vectorFontHeight->setEnabled(!bitmap);
  c_.startBlock->setEnabled(!c_.printAllBlocks->isChecked());
  c_.endBlock->setEnabled(!c_.printAllBlocks->isChecked());
}

TwoByteCodepageFields TwoByteCodepageDialog::TakeFields() const {
  TwoByteCodepageFields f;
  f.codeTable = static_cast<TwoByteCodeTable>(std::max(c_.codeTable->currentIndex(), 0));
  const TwoByteCodeTableInfo& info = InfoOf(f.codeTable);
  f.startBlock = DataBytes(c_.startBlock->text());
  f.endBlock = DataBytes(c_.endBlock->text());
  f.printAllBlocks = c_.printAllBlocks->isChecked();
  f.fontKind = static_cast<FontKind>(std::max(fontKinds_->checkedId(), 0));
  const int font = std::max(c_.bitmapFontName->currentIndex(), 0);
  f.bitmapFontName = info.bitmapFonts[std::min(static_cast<size_t>(font), info.bitmapFonts.size() - 1)];
  f.vectorFontWidth = DataBytes(c_.vectorFontWidth->text());
  f.vectorFontHeight = DataBytes(c_.vectorFontHeight->text());
  return f;
}

void TwoByteCodepageDialog::PrintCharacters() {
  // The typed fields are block numbers and sizes, written in the command's own 8-bit text
  // whatever table is printed; each is named as its label reads, without the colon.
  const std::pair<QLineEdit*, QString> typed[] = {{c_.startBlock, tr("Start Block :")},
                                                  {c_.endBlock, tr("End Block :")},
                                                  {c_.vectorFontWidth, tr("Vector Font Width :")},
                                                  {c_.vectorFontHeight, tr("Vector Font Height :")}};
  for (const auto& [field, label] : typed) {
    if (field->isEnabled() && !FieldBytes(field, FieldName(label), context_.prompter)) return;
  }
  TwoBytePrint print = BuildTwoBytePrint(TakeFields());
  if (print.error) {
    // One of the tool's own English messages, as the printer tools have always shown it.
    context_.prompter.Show(Message{std::string(*print.error), Icon::kExclamation, {}, 0});
    return;
  }
  if (print.rows.empty()) return;
  const std::vector<std::string> rows = std::move(print.rows);
  const PiecesWritten sent =
      RunLongWork(context_, this, LongWorkText{tr("Printing blocks"), tr("labels"), {}, nullptr, nullptr},
                  [&](Work& work) { return WritePieces(context_.link, rows, work.progress, OnFailure::kGoOn); })
          .value;
  c_.status->setText(Summary(sent));
}

QString TwoByteCodepageDialog::Summary(const PiecesWritten& sent) {
  // What really went out: a failed label is never counted as sent.
  const bool one = sent.total == 1;
  if (sent.cancelled) {
    if (sent.failed > 0) {
      return one ? tr("Cancelled after %1 of 1 label; %2 failed.").arg(sent.sent).arg(sent.failed)
                 : tr("Cancelled after %1 of %2 labels; %3 failed.").arg(sent.sent).arg(sent.total).arg(sent.failed);
    }
    return one ? tr("Cancelled after %1 of 1 label.").arg(sent.sent)
               : tr("Cancelled after %1 of %2 labels.").arg(sent.sent).arg(sent.total);
  }
  if (sent.failed > 0) {
    return one ? tr("%1 of 1 label sent; %2 failed").arg(sent.sent).arg(sent.failed)
               : tr("%1 of %2 labels sent; %3 failed").arg(sent.sent).arg(sent.total).arg(sent.failed);
  }
  return one ? tr("1 label sent.") : tr("All %1 labels sent.").arg(sent.total);
}

}  // namespace qm
