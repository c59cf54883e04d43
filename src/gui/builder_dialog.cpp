#include "gui/builder_dialog.h"

namespace qm {

BuilderDialog::BuilderDialog(QWidget* parent) : QDialog(parent) {}

int BuilderDialog::Run() {
  if (!keepFlag_ || !KeepsValues()) LoadDefaults();
  return exec();
}

void BuilderDialog::InsertToLabel() {
  insertFlag_ = true;
  keepFlag_ = true;
  reject();
}

}  // namespace qm
