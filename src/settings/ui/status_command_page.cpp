#include "settings/ui/status_command_page.h"
#include "gui/long_work.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

namespace {

// The box texts of every page, so that each has its Japanese.
[[maybe_unused]] const char* const kBoxTexts[] = {
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Paper Empty"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Cover Open"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Cutter jammed"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Thermal Head overheat"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Gap Detection Error"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Ribbon End Error"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "On Building label"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "On Printing label"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Issued label is pasued"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Status OK"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Paper Jam"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "TPH overheat"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Not defined"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "No Error"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Syntax Error"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Exceeded Border"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "BarCode Error"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Insufficant Mem"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Memory Error"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "RS-232 Error"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Empty"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Duplicate Name"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Name Not Found"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Not in Data Entry"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Print Head Up"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Pause Mode"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Printer Busy"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Undefined"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Cutter Jammed"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "AutoSense"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Illegal Interrupt"),
    QT_TRANSLATE_NOOP("qm::StatusCommandPage", "Excessive Feeding"),
};

// How many boxes stand in the left column; the rest go right. The CPS page keeps its
// six bit boxes left and its last two undefined bits at the top of the right column.
int LeftColumn(StatusCommand command, int boxes) {
  return command == StatusCommand::kCps ? 6 : (boxes + 1) / 2;
}

}  // namespace

StatusCommandPage::StatusCommandPage(AppContext& context, StatusCommand command, QWidget* parent)
    : QWidget(parent), context_(context), command_(command) {
  auto* box = new QGroupBox(command == StatusCommand::kEe ? tr("Printer Status(Only Seral)") : tr("Printer Status"));
  auto* grid = new QGridLayout(box);
  const std::vector<std::string_view>& names = StatusBoxes(command);
  const int left = LeftColumn(command, static_cast<int>(names.size()));
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string name(names[i]);
    auto* check = new QCheckBox(tr(name.c_str()));
    boxes_.push_back(check);
    const int at = static_cast<int>(i);
    grid->addWidget(check, at < left ? at : at - left, at < left ? 0 : 1);
  }
  grid->setRowStretch(left, 1);
  const QString buttonTexts[] = {tr("^CP Command Test"), tr("^CU Command Test"), tr("^ee Command Test"),
                                 tr("CPS Command Test")};
  test_ = new QPushButton(buttonTexts[static_cast<size_t>(command)]);
  test_->setAutoDefault(false);
  connect(test_, &QPushButton::clicked, this, &StatusCommandPage::Test);
  note_ = new QLabel;
  note_->setWordWrap(true);
  auto* row = new QHBoxLayout;
  row->addWidget(note_, 1);
  row->addWidget(test_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(box, 1);
  layout->addLayout(row);
  setFocusProxy(test_);
}

void StatusCommandPage::Test() {
  const StatusRead read = RunLongWork(context_, this, [&](Work& w) {
                            return CheckPrinterStatus(context_.link, context_.clock, w.prompter, command_);
                          }).value;
  // Refused off a serial link: the boxes keep what they showed.
  if (read.refused) return;
  for (QCheckBox* check : boxes_) check->setChecked(false);
  for (const int index : read.ticked) boxes_[static_cast<size_t>(index)]->setChecked(true);
  note_->setText(read.ok ? QString() : tr("The status could not be read."));
}

QStringList StatusCommandPage::tickedTexts() const {
  QStringList out;
  for (const QCheckBox* check : boxes_) {
    if (check->isChecked()) out << check->text();
  }
  return out;
}

}  // namespace qm
