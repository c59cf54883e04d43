// A command builder that hands its lines to the tester through the insertion loop.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "core/prompter.h"

namespace qm {

// "Insert to label" sets the insert and keep flags and ends the dialog as cancelled, so the
// tester appends the line and shows the same dialog again; "Close" ends it as accepted.
class BuilderDialog : public QDialog {
  Q_OBJECT

 public:
  explicit BuilderDialog(QWidget* parent = nullptr);

  // Shows the dialog modally; its fields start from the defaults unless kept.
  int Run();
  // The lines to append, each ending in CR LF; nullopt (after telling the operator why)
  // when the fields cannot make a command.
  virtual std::optional<std::string> TakeLines(Prompter& prompter) = 0;

  bool insertFlag() const { return insertFlag_; }
  void ClearInsertFlag() { insertFlag_ = false; }
  bool keepFlag() const { return keepFlag_; }

 public slots:
  void InsertToLabel();

 protected:
  // Puts the default values into the fields.
  virtual void LoadDefaults() = 0;
  // Whether fields survive from one opening to the next after an insertion.
  virtual bool KeepsValues() const { return true; }

 private:
  bool insertFlag_ = false;
  bool keepFlag_ = false;
};

// Runs `builder` in the insertion loop: every "Insert to label" appends its lines through
// `append`, until the builder is closed. `reread` brings the command text up to date first.
template <typename Append, typename Reread>
void RunInsertionLoop(BuilderDialog& builder, Prompter& prompter, Append append, Reread reread) {
  for (;;) {
    const int result = builder.Run();
    reread();
    if (!builder.insertFlag()) return;
    const std::optional<std::string> lines = builder.TakeLines(prompter);
    builder.ClearInsertFlag();
    if (!lines) return;
    append(*lines);
    if (result == QDialog::Accepted) return;
  }
}

}  // namespace qm
