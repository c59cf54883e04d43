// "Printing Copies": the print command with its two counts.
#pragma once

#include "gui/builder_dialog.h"

class QSpinBox;

namespace qm {

class PrintingCopiesDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit PrintingCopiesDialog(QWidget* parent = nullptr);
  std::optional<std::string> TakeLines(Prompter& prompter) override;

  QSpinBox* firstNumber() const { return first_; }
  QSpinBox* secondNumber() const { return second_; }

 protected:
  void LoadDefaults() override;
  // Every opening starts again from 1 and 1.
  bool KeepsValues() const override { return false; }

 private:
  QSpinBox* first_;
  QSpinBox* second_;
};

}  // namespace qm
