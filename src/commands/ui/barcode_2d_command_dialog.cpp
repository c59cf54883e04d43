#include "commands/ui/barcode_2d_command_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "commands/ui/builder_field_widgets.h"
#include "commands/ui/line_preview.h"
#include "commands/ui/convert_unit_dialog.h"
#include "gui/choice_list.h"
#include "gui/layout_helpers.h"

namespace qm {

namespace {

constexpr std::array<std::string_view, 3> kTypeLetters = {"M", "P", "Q"};
constexpr std::array<std::string_view, kPdf417LevelCount> kPdf417LevelNames = {"0", "1", "2", "3", "4",
                                                                              "5", "6", "7", "8"};

template <size_t N>
void Refill(QComboBox* list, const std::array<std::string_view, N>& names, int selected) {
  list->clear();
  for (std::string_view name : names) {
    list->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  }
  SelectEntry(list, selected);
}

int Position(const QComboBox* list) { return std::max(list->currentIndex(), 0); }

// The labels that follow the type, set in code: the same English in every language.
const QString kModeLabel = QStringLiteral("Mode");
const QString kModelLabel = QStringLiteral("Model");
const QString kEclLabel = QStringLiteral("ECL");
const QString kEccLabel = QStringLiteral("ECC");
const QString kBarHeightLabel = QStringLiteral("Bar Height");
const QString kBarSizeLabel = QStringLiteral("Bar Size");

}  // namespace

Barcode2DCommandDialog::Barcode2DCommandDialog(AppContext& context, QWidget* parent)
    : BuilderDialog(parent), context_(context) {
  setWindowTitle(tr("2D Barcode Command"));
  c_.type = MakeChoiceList(kBarcode2DTypeNames);
  c_.startX = CoordinateSpin();
  c_.startY = CoordinateSpin();
  c_.letter = new QLineEdit;
  c_.letter->setReadOnly(true);
  c_.letter->setMaximumWidth(40);
  c_.modeLabel = new QLabel;
  c_.mode = new QComboBox;
  c_.maxRow = IntegerSpin(kMaxRowRange);
  c_.maxCol = IntegerSpin(kMaxColRange);
  c_.errorCorrectionLabel = new QLabel;
  c_.errorCorrection = new QComboBox;
  c_.compress = MakeChoiceList(kPdf417CompressNames);
  c_.hri = MakeChoiceList(kHriNames);
  c_.origin = MakeChoiceList(kPdf417OriginNames);
  c_.moduleWidth = IntegerSpin(kModuleWidthRange);
  c_.sizeLabel = new QLabel;
  c_.size = IntegerSpin(kPdf417BarHeightRange);
  c_.rotation = MakeChoiceList(kRotationNames);
  c_.data = new QPlainTextEdit;
  c_.data->setTabChangesFocus(true);
  c_.data->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  c_.data->setFixedHeight(c_.data->fontMetrics().lineSpacing() * 4 + 12);
  c_.testPrint = new QPushButton(tr("Test Print"));
  c_.convert = new QPushButton(tr("Convert"));
  c_.insert = new QPushButton(tr("Insert to label"));
  c_.close = new QPushButton(tr("Close"));

  // The fields in command order; the symbology that decides them stands at the bottom.
  QGridLayout* grid = FieldGrid({{new QLabel(tr("Start X")), c_.startX},
                                 {new QLabel(tr("Start Y")), c_.startY},
                                 {new QLabel(tr("Type")), c_.letter},
                                 {c_.modeLabel, c_.mode},
                                 {new QLabel(tr("Max Row")), c_.maxRow},
                                 {new QLabel(tr("Max Col")), c_.maxCol},
                                 {c_.errorCorrectionLabel, c_.errorCorrection},
                                 {new QLabel(tr("Compress")), c_.compress},
                                 {new QLabel(tr("HRI")), c_.hri},
                                 {new QLabel(tr("Origin")), c_.origin},
                                 {new QLabel(tr("Module W")), c_.moduleWidth},
                                 {c_.sizeLabel, c_.size},
                                 {new QLabel(tr("Rotation")), c_.rotation}},
                                2);
  auto* dataLabel = new QLabel(tr("Data"));
  dataLabel->setBuddy(c_.data);
  const int dataRow = grid->rowCount();
  grid->addWidget(dataLabel, dataRow, 0, Qt::AlignTop);
  grid->addWidget(c_.data, dataRow, 1, 1, 3);
  auto* typeLabel = new QLabel(tr("2D Barcode Type :"));
  typeLabel->setBuddy(c_.type);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(Beside({typeLabel, c_.type}));
  layout->addLayout(ButtonRow({c_.testPrint, c_.convert, c_.insert, c_.close}));
  AttachLinePreview(*this, *layout);

  connect(c_.type, &QComboBox::currentIndexChanged, this, &Barcode2DCommandDialog::ChooseType);
  connect(c_.mode, &QComboBox::currentIndexChanged, this, &Barcode2DCommandDialog::ChooseMode);
  connect(c_.testPrint, &QPushButton::clicked, this, &Barcode2DCommandDialog::TestPrint);
  connect(c_.insert, &QPushButton::clicked, this, [this] {
    if (DataCarried(c_.data, c_.data->toPlainText(), tr("Data"), context_.prompter)) InsertToLabel();
  });
  connect(c_.close, &QPushButton::clicked, this, &QDialog::accept);
  connect(c_.convert, &QPushButton::clicked, this, [this] { ConvertUnitDialog::Open(this); });
  LoadDefaults();
}

void Barcode2DCommandDialog::LoadDefaults() {
  // A first opening: MaxiCode, with the PDF417 names on the lists it does not use.
  c_.errorCorrectionLabel->setText(kEclLabel);
  c_.sizeLabel->setText(kBarHeightLabel);
  c_.size->setRange(kPdf417BarHeightRange.minimum, kPdf417BarHeightRange.maximum);
  ShowFields(Barcode2DFields{});
}

void Barcode2DCommandDialog::RelabelFor(Barcode2DType type) {
  switch (type) {
    case Barcode2DType::kMaxiCode:
      c_.modeLabel->setText(kModeLabel);
      c_.errorCorrection->clear();
      break;
    case Barcode2DType::kPdf417:
      c_.errorCorrectionLabel->setText(kEclLabel);
      c_.sizeLabel->setText(kBarHeightLabel);
      c_.size->setRange(kPdf417BarHeightRange.minimum, kPdf417BarHeightRange.maximum);
      break;
    case Barcode2DType::kQrCode:
      c_.errorCorrectionLabel->setText(kEccLabel);
      c_.sizeLabel->setText(kBarSizeLabel);
      c_.size->setRange(kQrBarSizeRange.minimum, kQrBarSizeRange.maximum);
      c_.modeLabel->setText(kModelLabel);
      break;
  }
}

void Barcode2DCommandDialog::EnableFor(Barcode2DType type) {
  const bool pdf = type == Barcode2DType::kPdf417;
  const bool qr = type == Barcode2DType::kQrCode;
  c_.mode->setEnabled(!pdf);
  for (QWidget* w : std::initializer_list<QWidget*>{c_.maxRow, c_.maxCol, c_.compress, c_.hri, c_.origin,
                                                    c_.moduleWidth}) {
    w->setEnabled(pdf);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{c_.errorCorrection, c_.size, c_.rotation}) {
    w->setEnabled(pdf || qr);
  }
}

void Barcode2DCommandDialog::ShowFields(const Barcode2DFields& f) {
  showing_ = true;
  RelabelFor(f.type);
  SelectEntry(c_.type, static_cast<int>(f.type));
  c_.startX->setValue(f.startX);
  c_.startY->setValue(f.startY);
  const std::string_view letter = kTypeLetters[static_cast<size_t>(f.type)];
  c_.letter->setText(QString::fromLatin1(letter.data(), static_cast<qsizetype>(letter.size())));
  switch (f.type) {
    case Barcode2DType::kMaxiCode:
      Refill(c_.mode, kMaxiCodeModeNames, static_cast<int>(f.maxiCodeMode));
      break;
    case Barcode2DType::kPdf417:
      Refill(c_.errorCorrection, kPdf417LevelNames, f.pdf417Level);
      break;
    case Barcode2DType::kQrCode:
      Refill(c_.mode, kQrModelNames, static_cast<int>(f.qrModel));
      Refill(c_.errorCorrection, kQrErrorCorrectionNames, static_cast<int>(f.qrErrorCorrection));
      break;
  }
  c_.maxRow->setValue(f.maxRow);
  c_.maxCol->setValue(f.maxCol);
  SelectEntry(c_.compress, f.compress);
  SelectEntry(c_.hri, f.hri ? 1 : 0);
  SelectEntry(c_.origin, f.origin);
  c_.moduleWidth->setValue(f.moduleWidth);
  c_.size->setValue(f.barSize);
  SelectEntry(c_.rotation, f.rotation);
  c_.data->setPlainText(DataText(f.data));
  EnableFor(f.type);
  shownType_ = f.type;
  showing_ = false;
}

Barcode2DFields Barcode2DCommandDialog::TakeFields() const {
  Barcode2DFields f;
  f.type = shownType_;
  f.startX = c_.startX->shown();
  f.startY = c_.startY->shown();
  if (shownType_ == Barcode2DType::kMaxiCode) {
    f.maxiCodeMode = static_cast<MaxiCodeMode>(std::min(Position(c_.mode), 3));
  } else if (shownType_ == Barcode2DType::kQrCode) {
    f.qrModel = static_cast<QrModel>(std::min(Position(c_.mode), 1));
    f.qrErrorCorrection = static_cast<QrErrorCorrection>(std::min(Position(c_.errorCorrection), 3));
  } else {
    f.pdf417Level = Position(c_.errorCorrection);
  }
  f.maxRow = c_.maxRow->value();
  f.maxCol = c_.maxCol->value();
  f.compress = Position(c_.compress);
  f.hri = c_.hri->currentIndex() == 1;
  f.origin = Position(c_.origin);
  f.moduleWidth = c_.moduleWidth->value();
  f.barSize = c_.size->value();
  f.rotation = Position(c_.rotation);
  f.data = DataBytes(c_.data->toPlainText());
  return f;
}

void Barcode2DCommandDialog::ChooseType(int index) {
  if (showing_ || index < 0) return;
  // Another symbology starts from its own defaults; the PDF417 shape fields stay.
  Barcode2DFields f = TakeFields();
  SelectBarcode2DType(f, static_cast<Barcode2DType>(index));
  ShowFields(f);
}

void Barcode2DCommandDialog::ChooseMode(int index) {
  // A MaxiCode mode brings its own sample; a QR Code model leaves the data alone.
  if (showing_ || index < 0 || shownType_ != Barcode2DType::kMaxiCode) return;
  Barcode2DFields f = TakeFields();
  SelectMaxiCodeMode(f, static_cast<MaxiCodeMode>(index));
  c_.data->setPlainText(DataText(f.data));
}

void Barcode2DCommandDialog::TestPrint() {
  if (!DataCarried(c_.data, c_.data->toPlainText(), tr("Data"), context_.prompter)) return;
  SendTestPrint(context_, BuildBarcode2DLine(TakeFields()));
}

std::optional<std::string> Barcode2DCommandDialog::TakeLines(Prompter& prompter) {
  if (!DataCarried(c_.data, c_.data->toPlainText(), tr("Data"), prompter)) return std::nullopt;
  return ScriptLines({BuildBarcode2DLine(TakeFields())});
}

}  // namespace qm
