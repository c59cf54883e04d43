#include "commands/ui/bitmap_text_command_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/line_preview.h"
#include "commands/ui/convert_unit_dialog.h"
#include "commands/ui/font_finder_dialog.h"
#include "gui/choice_list.h"
#include "gui/qt_strings.h"

namespace qm {

namespace {

constexpr std::array<std::string_view, kBitmapTextFonts.size()> FontNames() {
  std::array<std::string_view, kBitmapTextFonts.size()> names{};
  for (size_t i = 0; i < names.size(); ++i) names[i] = kBitmapTextFonts.substr(i, 1);
  return names;
}
constexpr std::array<std::string_view, 2> kReverseNames = {"N", "R"};
constexpr std::array<std::string_view, 2> kBoldNames = {"N", "B"};

// The range message of each checked field, named as the dialog labels it.
Message RangeMessage(const FieldError& error) {
  if (error == kBitmapXPosRange) {
    return GuiMessage(QT_TRANSLATE_NOOP("GuiMessages", "X Pos must be a number from 0 to 999."), Icon::kExclamation);
  }
  return GuiMessage(QT_TRANSLATE_NOOP("GuiMessages", "Y Pos must be a number from 0 to 999."), Icon::kExclamation);
}

}  // namespace

BitmapTextCommandDialog::BitmapTextCommandDialog(AppContext& context, QWidget* parent)
    : BuilderDialog(parent), context_(context) {
  setWindowTitle(tr("Bitmap Text Command"));
  c_.xPos = CoordinateSpin();
  c_.yPos = CoordinateSpin();
  c_.font = MakeChoiceList(FontNames());
  c_.hMulti = IntegerSpin(kBitmapHMultiRange);
  c_.vMulti = IntegerSpin(kBitmapVMultiRange);
  c_.spaceR = IntegerSpin(kBitmapSpaceRange);
  c_.rotation = MakeChoiceList(kRotationNames);
  c_.reverse = MakeChoiceList(kReverseNames);
  c_.bold = MakeChoiceList(kBoldNames);
  c_.data = new QLineEdit;
  c_.data->setAccessibleName(tr("Text data"));
  c_.findFont = new QPushButton(tr("Find Font"));
  c_.convert = new QPushButton(tr("Convert"));
  c_.testPrint = new QPushButton(tr("Test Print"));
  c_.insert = new QPushButton(tr("Insert to label"));
  c_.close = new QPushButton(tr("Close"));

  // The fields in command order, then the text between its quotes.
  auto* layout = new QVBoxLayout(this);
  auto* fields = FieldGrid({{new QLabel(tr("X Pos")), c_.xPos},
                            {new QLabel(tr("Y Pos")), c_.yPos},
                            {new QLabel(tr("Font")), c_.font},
                            {new QLabel(tr("H Multi")), c_.hMulti},
                            {new QLabel(tr("V Multi")), c_.vMulti},
                            {new QLabel(tr("Space_R")), c_.spaceR},
                            {new QLabel(tr("Rotation")), c_.rotation},
                            {new QLabel(tr("Reverse")), c_.reverse},
                            {new QLabel(tr("Bold")), c_.bold}},
                           3);
  // Room between one field and the next one's label.
  fields->setHorizontalSpacing(12);
  layout->addLayout(fields);
  layout->addLayout(QuotedDataRow(c_.data));
  layout->addLayout(ButtonRow({c_.findFont, c_.convert, c_.testPrint, c_.insert, c_.close}));
  AttachLinePreview(*this, *layout);

  connect(c_.findFont, &QPushButton::clicked, this, [this] { FontFinderDialog::Open(context_, this); });
  connect(c_.convert, &QPushButton::clicked, this, [this] { ConvertUnitDialog::Open(this); });
  connect(c_.testPrint, &QPushButton::clicked, this, &BitmapTextCommandDialog::TestPrint);
  connect(c_.insert, &QPushButton::clicked, this, &BitmapTextCommandDialog::Insert);
  connect(c_.close, &QPushButton::clicked, this, &QDialog::accept);
  LoadDefaults();
}

void BitmapTextCommandDialog::LoadDefaults() { ShowFields(BitmapTextFields{}); }

void BitmapTextCommandDialog::ShowFields(const BitmapTextFields& f) {
  c_.xPos->setValue(f.xPos);
  c_.yPos->setValue(f.yPos);
  SelectEntry(c_.font, static_cast<int>(kBitmapTextFonts.find(f.font)));
  c_.hMulti->setValue(f.hMulti);
  c_.vMulti->setValue(f.vMulti);
  c_.spaceR->setValue(f.spaceR);
  SelectEntry(c_.rotation, f.rotation);
  SelectEntry(c_.reverse, f.reverse ? 1 : 0);
  SelectEntry(c_.bold, f.bold ? 1 : 0);
  c_.data->setText(DataText(f.data));
}

BitmapTextFields BitmapTextCommandDialog::TakeFields() const {
  BitmapTextFields f;
  f.xPos = c_.xPos->shown();
  f.yPos = c_.yPos->shown();
  f.font = kBitmapTextFonts[static_cast<size_t>(std::max(c_.font->currentIndex(), 0))];
  f.hMulti = c_.hMulti->value();
  f.vMulti = c_.vMulti->value();
  f.spaceR = c_.spaceR->value();
  f.rotation = std::max(c_.rotation->currentIndex(), 0);
  f.reverse = c_.reverse->currentIndex() == 1;
  f.bold = c_.bold->currentIndex() == 1;
  f.data = DataBytes(c_.data->text());
  return f;
}

std::optional<BitmapTextFields> BitmapTextCommandDialog::TakeValidFields(Prompter& prompter) {
  if (!DataCarried(c_.data, c_.data->text(), c_.data->accessibleName(), prompter)) return std::nullopt;
  const BitmapTextFields f = TakeFields();
  const std::optional<FieldError> error = ValidateBitmapText(f);
  if (!error) return f;
  prompter.Show(RangeMessage(*error));
  RealNumberSpin* field = *error == kBitmapXPosRange ? c_.xPos : c_.yPos;
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
  return std::nullopt;
}

void BitmapTextCommandDialog::TestPrint() {
  if (const auto f = TakeValidFields(context_.prompter)) SendTestPrint(context_, BuildBitmapTextLine(*f));
}

void BitmapTextCommandDialog::Insert() {
  // Out of range, the dialog stays open with the field to mend.
  if (TakeValidFields(context_.prompter)) InsertToLabel();
}

std::optional<std::string> BitmapTextCommandDialog::TakeLines(Prompter& prompter) {
  const auto f = TakeValidFields(prompter);
  if (!f) return std::nullopt;
  return ScriptLines({BuildBitmapTextLine(*f)});
}

}  // namespace qm
