// "Import Settings": how a profile file differs from the printer, item by item, and the
// writing of the ticked items with the outcome of each.
#pragma once

#include <QDialog>
#include <QStringList>

#include "core/progress.h"
#include "gui/app_context.h"
#include "settings/profile.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace qm {

class ImportSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  enum Column { kSettingColumn, kPrinterColumn, kFileColumn, kResultColumn, kColumnCount };

  // `differences` is a dry run of `file` against the printer, identity included: one row
  // for each item it would change, the identity rows unticked.
  ImportSettingsDialog(AppContext& context, const SettingsProfile& file, const ApplyResult& differences,
                       QWidget* parent = nullptr);

  // Writes the ticked items and shows what became of every row.
  void Apply();

  // The names of the rows, in order, and of the ticked ones.
  QStringList rowNames() const;
  QStringList tickedNames() const;
  void SetTicked(int row, bool ticked);

  bool applied() const { return applied_; }
  const ApplyResult& result() const { return result_; }

  QTableWidget* table() const { return table_; }
  QProgressBar* progressBar() const { return bar_; }
  QLabel* summaryLabel() const { return summary_; }
  QPushButton* applyButton() const { return apply_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  void OnCancel();
  void UpdateApply();
  void ShowResult();

  AppContext& context_;
  SettingsProfile file_;
  QTableWidget* table_;
  QLabel* unread_;
  QProgressBar* bar_;
  QLabel* summary_;
  QPushButton* apply_;
  QPushButton* cancel_;
  CancelSignal stop_;
  bool running_ = false;
  bool applied_ = false;
  ApplyResult result_;
};

}  // namespace qm
