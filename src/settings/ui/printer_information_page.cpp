#include "settings/ui/printer_information_page.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/held_messages.h"
#include "gui/long_work.h"
#include "settings/user_settings.h"

namespace qm {

namespace {

constexpr int kProgressStep = 10;

// A value as the printer sent it: every byte one character, line ends included. The label
// keeps one line's height, so a reply's trailing line end does not push the rows apart.
QLabel* ValueLabel() {
  auto* label = new QLabel;
  label->setAlignment(Qt::AlignRight | Qt::AlignTop);
  label->setFrameShape(QFrame::StyledPanel);
  label->setFrameShadow(QFrame::Sunken);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMinimumWidth(220);
  label->setFixedHeight(label->fontMetrics().height() + 2 * label->frameWidth() + 4);
  return label;
}

QString Latin1(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

PrinterInformationPage::PrinterInformationPage(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  auto* box = new QGroupBox(tr("Printer Information"));
  auto* form = new QFormLayout(box);
  form->setLabelAlignment(Qt::AlignLeft);
  modelName_ = ValueLabel();
  modelType_ = ValueLabel();
  firmwareVersion_ = ValueLabel();
  temperature_ = ValueLabel();
  form->addRow(tr("Model Name :"), modelName_);
  form->addRow(tr("Model Type :"), modelType_);
  form->addRow(tr("Firmware Version :"), firmwareVersion_);
  form->addRow(tr("TPH Temperature :"), temperature_);

  progress_ = new QProgressBar;
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  get_ = new QPushButton(tr("Get"));
  get_->setAutoDefault(false);
  connect(get_, &QPushButton::clicked, this, &PrinterInformationPage::Get);
  setFocusProxy(get_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(get_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(box);
  layout->addWidget(progress_);
  layout->addLayout(buttons);
  layout->addStretch();
}

void PrinterInformationPage::Advance() {
  // A bar left full by a failed Get starts over from the beginning.
  int next = progress_->value() + kProgressStep;
  if (next > progress_->maximum()) next = progress_->minimum() + kProgressStep;
  progress_->setValue(next);
  progress_->repaint();
}

void PrinterInformationPage::ShowTexts(const QString& name, const QString& type, const QString& firmware,
                                       const QString& temperature) {
  modelName_->setText(name);
  modelType_->setText(type);
  firmwareVersion_->setText(firmware);
  temperature_->setText(temperature);
}

void PrinterInformationPage::Get() {
  ShowTexts({}, {}, {}, {});
  HeldMessages messages(context_.prompter);
  // The page's bar steps with each answer, as it always has; the worker waits for each step.
  LongWorkText view;
  view.follow = [this](uint64_t, uint64_t) { Advance(); };
  const PrinterInformation info = RunLongWork(context_, this, view, [&](Work& w) {
                                    return GetPrinterInformation(context_.link, context_.clock, messages, &w.progress);
                                  }).value;
  progress_->setValue(progress_->maximum());
  if (info.ok) {
    progress_->setValue(progress_->minimum());
    ShowTexts(Latin1(info.modelName), Latin1(info.modelType), Latin1(info.firmwareVersion), Latin1(info.temperature));
  }
  // A failed Get leaves the texts empty and the bar full under its two warnings.
  messages.Release();
}

}  // namespace qm
