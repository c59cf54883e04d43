#include "settings/ui/import_settings_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "gui/long_work.h"

namespace qm {

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QTableWidgetItem* ReadOnly(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

ImportSettingsDialog::ImportSettingsDialog(AppContext& context, const SettingsProfile& file,
                                           const ApplyResult& differences, QWidget* parent)
    : QDialog(parent), context_(context), file_(file) {
  setWindowTitle(tr("Import Settings"));
  auto* intro = new QLabel(
      tr("These settings of the file differ from the printer's. Apply writes the ticked ones; the hardware version, serial number and printer ID only when you tick them."));
  intro->setWordWrap(true);

  table_ = new QTableWidget(static_cast<int>(differences.changed.size()), kColumnCount);
  table_->setHorizontalHeaderLabels({tr("Setting"), tr("Printer"), tr("File"), tr("Result")});
  table_->verticalHeader()->setVisible(false);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (int row = 0; row < table_->rowCount(); ++row) {
    const ProfileChange& change = differences.changed[static_cast<size_t>(row)];
    // The setting names are the profile's keys, the same in every language.
    auto* name = new QTableWidgetItem(Utf8(change.name));
    name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    name->setCheckState(IsIdentityItem(change.name) ? Qt::Unchecked : Qt::Checked);
    table_->setItem(row, kSettingColumn, name);
    table_->setItem(row, kPrinterColumn, ReadOnly(Utf8(change.from)));
    table_->setItem(row, kFileColumn, ReadOnly(Utf8(change.to)));
    table_->setItem(row, kResultColumn, ReadOnly({}));
  }
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setStretchLastSection(true);

  QStringList unread;
  for (const ProfileFailure& f : differences.failed) unread << Utf8(f.name);
  unread_ = new QLabel(tr("Not read from the printer, so not compared: %1").arg(unread.join(QStringLiteral(", "))));
  unread_->setWordWrap(true);
  unread_->setVisible(!unread.isEmpty());

  bar_ = new QProgressBar;
  bar_->setRange(0, 1);
  bar_->setValue(0);
  // Nothing is counted until Apply.
  bar_->setTextVisible(false);
  summary_ = new QLabel;
  summary_->setWordWrap(true);

  apply_ = new QPushButton(tr("Apply"));
  cancel_ = new QPushButton(tr("Cancel"));
  // Enter must not write settings by accident.
  apply_->setAutoDefault(false);
  cancel_->setAutoDefault(false);
  connect(apply_, &QPushButton::clicked, this, &ImportSettingsDialog::Apply);
  connect(cancel_, &QPushButton::clicked, this, &ImportSettingsDialog::OnCancel);
  connect(table_, &QTableWidget::itemChanged, this, &ImportSettingsDialog::UpdateApply);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(summary_, 1);
  buttons->addWidget(apply_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(table_, 1);
  layout->addWidget(unread_);
  layout->addWidget(bar_);
  layout->addLayout(buttons);
  resize(760, 520);
  UpdateApply();
}

QStringList ImportSettingsDialog::rowNames() const {
  QStringList out;
  for (int row = 0; row < table_->rowCount(); ++row) out << table_->item(row, kSettingColumn)->text();
  return out;
}

QStringList ImportSettingsDialog::tickedNames() const {
  QStringList out;
  for (int row = 0; row < table_->rowCount(); ++row) {
    const QTableWidgetItem* item = table_->item(row, kSettingColumn);
    if (item->checkState() == Qt::Checked) out << item->text();
  }
  return out;
}

void ImportSettingsDialog::SetTicked(int row, bool ticked) {
  table_->item(row, kSettingColumn)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void ImportSettingsDialog::UpdateApply() { apply_->setEnabled(!applied_ && !running_ && !tickedNames().isEmpty()); }

void ImportSettingsDialog::OnCancel() {
  // While the items are written Cancel stops before the next one; otherwise it closes.
  if (running_) {
    stop_.Raise();
    return;
  }
  if (applied_) {
    accept();
  } else {
    reject();
  }
}

void ImportSettingsDialog::Apply() {
  std::set<std::string> names;
  bool identity = false;
  for (const QString& name : tickedNames()) {
    names.insert(name.toStdString());
    identity = identity || IsIdentityItem(name.toStdString());
  }
  if (names.empty() || applied_ || running_) return;
  const SettingsProfile chosen = KeepOnly(file_, names);
  running_ = true;
  UpdateApply();
  table_->setEnabled(false);
  bar_->setRange(0, static_cast<int>(names.size()));
  bar_->setValue(0);
  bar_->setTextVisible(true);
  stop_.Reset();
  LongWorkText view;
  view.follow = [this](uint64_t done, uint64_t total) {
    if (total > 0) bar_->setRange(0, static_cast<int>(total));
    bar_->setValue(static_cast<int>(done));
  };
  view.cancel = &stop_;
  view.cancelButton = cancel_;
  result_ = RunLongWork(context_, this, view, [&](Work& w) {
              // Each item's own "is successful" would be one box per item: the table says it.
              SilentPrompter quiet;
              ApplyOptions options;
              options.withIdentity = identity;
              options.progress = &w.progress;
              return ApplyProfile(context_.link, context_.clock, quiet, chosen, options);
            }).value;
  running_ = false;
  applied_ = true;
  table_->setEnabled(true);
  ShowResult();
  UpdateApply();
  cancel_->setText(tr("Close"));
}

void ImportSettingsDialog::ShowResult() {
  for (int row = 0; row < table_->rowCount(); ++row) {
    const std::string name = table_->item(row, kSettingColumn)->text().toStdString();
    QString text = tr("not written");
    for (const ProfileChange& c : result_.changed) {
      if (c.name == name) text = tr("changed %1 → %2").arg(Utf8(c.from), Utf8(c.to));
    }
    for (const std::string& u : result_.unchanged) {
      if (u == name) text = tr("unchanged");
    }
    for (const ProfileFailure& f : result_.failed) {
      if (f.name == name) text = tr("failed: %1").arg(Utf8(f.reason));
    }
    table_->item(row, kResultColumn)->setText(text);
    // Written once: the ticks now say what was asked, and stay so.
    table_->item(row, kSettingColumn)->setFlags(Qt::ItemIsEnabled);
  }
  table_->resizeColumnsToContents();
  summary_->setText(tr("%1 changed, %2 unchanged, %3 failed")
                        .arg(result_.changed.size())
                        .arg(result_.unchanged.size())
                        .arg(result_.failed.size()));
}

}  // namespace qm
