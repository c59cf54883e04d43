#include "settings/ui/user_setting_manager_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/ui/user_setting_tab_control.h"

namespace qm {

UserSettingManagerDialog::UserSettingManagerDialog(AppContext& context, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("User Setting Manager"));
  tabs_ = new UserSettingTabControl(context);
  close_ = new QPushButton(tr("Close"));
  // No default button: Enter in a field must not close the dialog and lose its values.
  close_->setAutoDefault(false);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addLayout(bottom);
}

}  // namespace qm
