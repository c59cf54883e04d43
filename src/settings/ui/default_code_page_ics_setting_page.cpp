#include "settings/ui/default_code_page_ics_setting_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/choice_list.h"
#include "gui/held_messages.h"
#include "gui/long_work.h"
#include "gui/layout_helpers.h"
#include "settings/memory_switch.h"
#include "settings/profile.h"
#include "settings/serial_language.h"

namespace qm {

DefaultCodePageIcsSettingPage::DefaultCodePageIcsSettingPage(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  codePage_ = MakeChoiceList(kCodePageNames);
  ics_ = MakeChoiceList(kIcsNames);
  // Both lists are long; show them whole rather than scrolling a few entries.
  codePage_->setMaxVisibleItems(static_cast<int>(kCodePageNames.size()));
  ics_->setMaxVisibleItems(static_cast<int>(kIcsNames.size()));

  auto* box = new QGroupBox(tr("Default CodePage && ICS Setting"));
  auto* grid = new QGridLayout(box);
  grid->setColumnStretch(1, 1);
  auto* codePageLabel = new QLabel(tr("Default CodePage  :"));
  auto* icsLabel = new QLabel(tr("Default International Character Set(ICS) :"));
  codePageLabel->setBuddy(codePage_);
  icsLabel->setBuddy(ics_);
  grid->addWidget(codePageLabel, 0, 0);
  grid->addWidget(codePage_, 0, 1);
  grid->addWidget(icsLabel, 1, 0);
  grid->addWidget(ics_, 1, 1);
  codePage_->setEnabled(false);
  ics_->setEnabled(false);

  get_ = new QPushButton(tr("Get"));
  set_ = new QPushButton(tr("Set"));
  set_->setEnabled(false);
  connect(get_, &QPushButton::clicked, this, &DefaultCodePageIcsSettingPage::Get);
  connect(set_, &QPushButton::clicked, this, &DefaultCodePageIcsSettingPage::Set);
  LayOutBoxAndButtons(this, box, {get_, set_});
}

void DefaultCodePageIcsSettingPage::Get() {
  SelectEntry(codePage_, -1);
  SelectEntry(ics_, -1);
  HeldMessages messages(context_.prompter);
  const std::optional<LanguageSettings> read =
      RunLongWork(context_, this, [&](Work&) { return GetLanguageSettings(context_.link, context_.clock, messages); }).value;
  if (read) {
    codePage_->setEnabled(true);
    ics_->setEnabled(true);
    set_->setEnabled(true);
    SelectEntry(codePage_, read->codePage);
    SelectEntry(ics_, read->ics);
  }
  messages.Release();
}

void DefaultCodePageIcsSettingPage::Set() {
  const LanguageSettings chosen{codePage_->currentIndex(), ics_->currentIndex()};
  RunLongWork(context_, this, [&](Work& w) { SetLanguageSettings(context_.link, context_.clock, w.prompter, chosen); });
}

void DefaultCodePageIcsSettingPage::ShowValues(const ProfileValues& values) {
  const int codePage = values.language.codePage >= 0 ? values.language.codePage : codePage_->currentIndex();
  const int ics = values.language.ics >= 0 ? values.language.ics : ics_->currentIndex();
  // Set writes both: a page missing either stays as it was.
  if (codePage < 0 || ics < 0) return;
  codePage_->setEnabled(true);
  ics_->setEnabled(true);
  set_->setEnabled(true);
  SelectEntry(codePage_, codePage);
  SelectEntry(ics_, ics);
}

}  // namespace qm
