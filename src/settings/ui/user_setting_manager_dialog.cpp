#include "settings/ui/user_setting_manager_dialog.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <fstream>
#include <set>
#include <sstream>

#include "gui/file_chooser.h"
#include "gui/long_work.h"
#include "gui/qt_strings.h"
#include "link/queue_journal.h"
#include "settings/profile.h"
#include "settings/ui/import_settings_dialog.h"
#include "settings/ui/user_setting_tab_control.h"

namespace qm {

namespace {

const QString kProfileFilter = QStringLiteral("Settings profiles(*.json)|*.json||");

// A profile file is small; anything far larger is no profile and is not read whole.
constexpr std::streamsize kLargestProfile = 1 << 20;

// A refusal of the GUI's own, with the reason the core or the system gave.
void Refuse(Prompter& prompter, const char* english, const std::string& reason = {}) {
  Message message = GuiMessage(english, Icon::kExclamation);
  if (!reason.empty()) message.args = {QString::fromStdString(reason).toStdU16String()};
  prompter.Show(message);
}

}  // namespace

UserSettingManagerDialog::UserSettingManagerDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setWindowTitle(tr("User Setting Manager"));
  tabs_ = new UserSettingTabControl(context);
  close_ = new QPushButton(tr("Close"));
  export_ = new QPushButton(tr("Export Settings…"));
  import_ = new QPushButton(tr("Import Settings…"));
  // No default button: Enter in a field must not close the dialog and lose its values.
  for (QPushButton* b : {close_, export_, import_}) b->setAutoDefault(false);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  connect(export_, &QPushButton::clicked, this, &UserSettingManagerDialog::ExportSettings);
  connect(import_, &QPushButton::clicked, this, &UserSettingManagerDialog::ImportSettings);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(export_);
  bottom->addWidget(import_);
  bottom->addStretch();
  bottom->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addLayout(bottom);
}

void UserSettingManagerDialog::ExportSettings() {
  const std::optional<QString> path = context_.files.ChooseSave(this, QStringLiteral("settings.json"), kProfileFilter);
  if (!path || path->isEmpty()) return;
  // The pages' own "is successful" for every read would be a box each: only the end is told.
  LongWorkText view;
  view.what = tr("Reading the printer's settings...");
  const auto read = RunLongWork(context_, this, view, [&](Work&) {
    SilentPrompter quiet;
    return ReadProfile(context_.link, context_.clock, quiet);
  });
  if (read.cancelled) return;
  if (read.value.settings.empty()) {
    Refuse(context_.prompter,
           QT_TRANSLATE_NOOP("GuiMessages", "Cannot export the settings: the printer answered none of them."));
    return;
  }
  // Replaced whole or not at all: a failed save never leaves half a profile behind.
  const std::string error = ReplaceFile(QFile::encodeName(*path).toStdString(), WriteProfile(read.value), 0644);
  if (!error.empty()) {
    Refuse(context_.prompter, QT_TRANSLATE_NOOP("GuiMessages", "Cannot save the settings: %1"), error);
    return;
  }
  context_.prompter.Show(GuiMessage(QT_TRANSLATE_NOOP("GuiMessages", "Export Settings is successful."), Icon::kInformation));
}

void UserSettingManagerDialog::ImportSettings() {
  const std::optional<QString> path = context_.files.ChooseOpen(this, kProfileFilter);
  if (!path || path->isEmpty()) return;
  std::ifstream in(QFile::encodeName(*path).toStdString(), std::ios::binary);
  std::string text(static_cast<size_t>(kLargestProfile) + 1, '\0');
  if (in) in.read(text.data(), kLargestProfile + 1);
  if (!in && !in.eof()) {
    Refuse(context_.prompter, QT_TRANSLATE_NOOP("GuiMessages", "Cannot import the settings: the file cannot be read."));
    return;
  }
  text.resize(static_cast<size_t>(in.gcount()));
  if (text.size() > static_cast<size_t>(kLargestProfile)) {
    Refuse(context_.prompter,
           QT_TRANSLATE_NOOP("GuiMessages", "Cannot import the settings: the file is too large for a profile."));
    return;
  }
  // Refused before the printer is asked anything.
  const ProfileParse parsed = ParseProfile(text);
  if (!parsed.profile) {
    Refuse(context_.prompter, QT_TRANSLATE_NOOP("GuiMessages", "Cannot import the settings: %1"), parsed.error);
    return;
  }
  LongWorkText view;
  view.what = tr("Comparing the printer's settings with the file...");
  const auto compared = RunLongWork(context_, this, view, [&](Work&) {
    SilentPrompter quiet;
    ApplyOptions options;
    options.dryRun = true;
    options.withIdentity = true;
    return ApplyProfile(context_.link, context_.clock, quiet, *parsed.profile, options);
  });
  if (compared.cancelled) return;
  const ApplyResult& differences = compared.value;
  if (differences.changed.empty() && differences.failed.empty()) {
    context_.prompter.Show(
        GuiMessage(QT_TRANSLATE_NOOP("GuiMessages", "The printer already has every setting of the file."),
                   Icon::kInformation));
    return;
  }
  if (differences.changed.empty() && differences.unchanged.empty()) {
    Refuse(context_.prompter,
           QT_TRANSLATE_NOOP("GuiMessages", "Cannot import the settings: the printer answered none of them."));
    return;
  }
  ImportSettingsDialog dialog(context_, *parsed.profile, differences, this);
  dialog.exec();
  if (!dialog.applied()) return;
  // What the printer now holds of the file, the pages show as a Get would: the items that
  // were already alike, and those the apply found or made alike.
  std::set<std::string> held(differences.unchanged.begin(), differences.unchanged.end());
  held.insert(dialog.result().unchanged.begin(), dialog.result().unchanged.end());
  for (const ProfileChange& c : dialog.result().changed) held.insert(c.name);
  tabs_->ShowValues(ValuesOf(KeepOnly(*parsed.profile, held)));
}

}  // namespace qm
