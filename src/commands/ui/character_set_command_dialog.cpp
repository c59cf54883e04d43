#include "commands/ui/character_set_command_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "commands/ui/builder_field_widgets.h"
#include "gui/choice_list.h"
#include "commands/piece_writes.h"
#include "gui/long_work.h"

namespace qm {

namespace {

constexpr std::array<std::string_view, kCharacterSetFonts.size()> FontNames() {
  std::array<std::string_view, kCharacterSetFonts.size()> names{};
  for (size_t i = 0; i < names.size(); ++i) names[i] = kCharacterSetFonts.substr(i, 1);
  return names;
}

}  // namespace

CharacterSetCommandDialog::CharacterSetCommandDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setWindowTitle(tr("Character Set Command"));
  c_.ics = MakeChoiceList(kInternationalCharacterSets);
  c_.codeTable = MakeChoiceList(kCodeTables);
  c_.bitmapFont = new QRadioButton(tr("Bitmap Font"));
  c_.vectorFont = new QRadioButton(tr("Vector Font"));
  c_.xPos = CoordinateSpin();
  c_.yPos = CoordinateSpin();
  c_.font = MakeChoiceList(FontNames());
  c_.sizeOneLabel = new QLabel;
  c_.sizeOne = IntegerSpin(kCharacterSetBitmapSizeOne);
  c_.sizeTwoLabel = new QLabel;
  c_.sizeTwo = IntegerSpin(kCharacterSetBitmapSizeTwo);
  c_.under80H = new QPushButton(tr("Under 80H"));
  c_.international = new QPushButton(tr("International"));
  c_.over80H = new QPushButton(tr("Over 80H"));
  c_.close = new QPushButton(tr("Close"));
  c_.status = new QLabel;

  // What the labels print: the tables, then the kind of font and where and how large.
  auto* tables = new QGroupBox;
  tables->setLayout(FieldGrid({{new QLabel(tr("International\nCharacter Set")), c_.ics},
                               {new QLabel(tr("Code Table :")), c_.codeTable}},
                              1));
  fontKinds_ = new QButtonGroup(this);
  fontKinds_->addButton(c_.bitmapFont, static_cast<int>(FontKind::kBitmap));
  fontKinds_->addButton(c_.vectorFont, static_cast<int>(FontKind::kVector));
  auto* kinds = new QHBoxLayout;
  kinds->addWidget(c_.bitmapFont);
  kinds->addWidget(c_.vectorFont);
  kinds->addStretch();
  auto* text = new QGroupBox;
  auto* textLayout = new QVBoxLayout(text);
  textLayout->addLayout(kinds);
  // Where, then the font on a line of its own, then its two sizes side by side.
  auto* grid = FieldGrid({{new QLabel(tr("X Pos")), c_.xPos}, {new QLabel(tr("Y Pos")), c_.yPos}}, 2);
  auto* fontLabel = new QLabel(tr("Font"));
  fontLabel->setBuddy(c_.font);
  grid->addWidget(fontLabel, 1, 0);
  grid->addWidget(c_.font, 1, 1);
  for (const auto& [column, label, spin] : {std::tuple{0, c_.sizeOneLabel, c_.sizeOne}, std::tuple{2, c_.sizeTwoLabel, c_.sizeTwo}}) {
    label->setBuddy(spin);
    grid->addWidget(label, 2, column);
    grid->addWidget(spin, 2, column + 1);
  }
  textLayout->addLayout(grid);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tables);
  layout->addWidget(text);
  layout->addWidget(c_.status);
  layout->addLayout(ButtonRow({c_.under80H, c_.international, c_.over80H, c_.close}));

  connect(fontKinds_, &QButtonGroup::idClicked, this, [this](int id) { ChooseFont(static_cast<FontKind>(id)); });
  connect(c_.under80H, &QPushButton::clicked, this, &CharacterSetCommandDialog::PrintUnder80H);
  connect(c_.international, &QPushButton::clicked, this, &CharacterSetCommandDialog::PrintInternational);
  connect(c_.over80H, &QPushButton::clicked, this, &CharacterSetCommandDialog::PrintOver80H);
  connect(c_.close, &QPushButton::clicked, this, &QDialog::accept);
  ShowFields(CharacterSetFields{});
}

void CharacterSetCommandDialog::ShowFields(const CharacterSetFields& f) {
  SelectEntry(c_.ics, f.ics);
  SelectEntry(c_.codeTable, f.codeTable);
  const bool bitmap = f.fontKind == FontKind::kBitmap;
  fontKinds_->button(static_cast<int>(f.fontKind))->setChecked(true);
  c_.xPos->setValue(f.xPos);
  c_.yPos->setValue(f.yPos);
  SelectEntry(c_.font, static_cast<int>(kCharacterSetFonts.find(f.font)));
  c_.font->setEnabled(bitmap);
  const FieldRange& one = bitmap ? kCharacterSetBitmapSizeOne : kCharacterSetVectorSizeOne;
  const FieldRange& two = bitmap ? kCharacterSetBitmapSizeTwo : kCharacterSetVectorSizeTwo;
  // Labels set in code read the same English in every language.
  static const QString kSizeLabels[2][2] = {{QStringLiteral("Width"), QStringLiteral("Height")},
                                            {QStringLiteral("H Multi"), QStringLiteral("V Multi")}};
  c_.sizeOneLabel->setText(kSizeLabels[bitmap][0]);
  c_.sizeTwoLabel->setText(kSizeLabels[bitmap][1]);
  c_.sizeOne->setRange(one.minimum, one.maximum);
  c_.sizeTwo->setRange(two.minimum, two.maximum);
  c_.sizeOne->setValue(f.sizeOne);
  c_.sizeTwo->setValue(f.sizeTwo);
}

CharacterSetFields CharacterSetCommandDialog::TakeFields() const {
  CharacterSetFields f;
  f.ics = std::max(c_.ics->currentIndex(), 0);
  f.codeTable = std::max(c_.codeTable->currentIndex(), 0);
  f.fontKind = static_cast<FontKind>(std::max(fontKinds_->checkedId(), 0));
  f.xPos = c_.xPos->shown();
  f.yPos = c_.yPos->shown();
  f.font = kCharacterSetFonts[static_cast<size_t>(std::max(c_.font->currentIndex(), 0))];
  f.sizeOne = c_.sizeOne->value();
  f.sizeTwo = c_.sizeTwo->value();
  return f;
}

void CharacterSetCommandDialog::ChooseFont(FontKind kind) {
  CharacterSetFields f = TakeFields();
  SelectCharacterSetFont(f, kind);
  ShowFields(f);
}

void CharacterSetCommandDialog::Send(const std::vector<std::string>& writes) {
  RunLongWork(context_, this, [&](Work& work) { WritePieces(context_.link, writes, work.progress, OnFailure::kGoOn); });
}

void CharacterSetCommandDialog::PrintUnder80H() { Send(BuildUnder80HPrint(TakeFields())); }

void CharacterSetCommandDialog::PrintOver80H() { Send(BuildOver80HPrint(TakeFields())); }

void CharacterSetCommandDialog::PrintInternational() {
  // The last write is the print command; the operator counts the sets.
  const int sets = static_cast<int>(kInternationalCharacterSets.size());
  const std::vector<std::string> writes = BuildInternationalPrint(TakeFields());
  const PiecesWritten sent =
      RunLongWork(context_, this, LongWorkText{tr("International character sets"), tr("writes"), {}, nullptr, nullptr},
                  [&](Work& work) { return WritePieces(context_.link, writes, work.progress, OnFailure::kGoOn); })
          .value;
  c_.status->setText(sent.complete()
                         ? tr("All %1 international character sets sent.").arg(sets)
                         : tr("Cancelled after %1 of %2 character sets; no label was printed.").arg(sent.sent).arg(sets));
}

}  // namespace qm
