#include "settings/ui/calibration_setting_manager_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "settings/ui/manual_calibration_setting_page.h"
#include "settings/ui/sensing_value_distribution_page.h"

namespace qm {

CalibrationSettingManagerDialog::CalibrationSettingManagerDialog(AppContext& context, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Manual Calibration"));
  tabs_ = new QTabWidget;
  sensing_ = new SensingValueDistributionPage(context);
  manual_ = new ManualCalibrationSettingPage(context);
  // The tab labels are the same English texts in every language.
  tabs_->addTab(sensing_, QStringLiteral("F/W Ver. 1.39 or Later"));
  tabs_->addTab(manual_, QStringLiteral("F/W Ver. less than 1.39"));
  tabs_->setCurrentIndex(kSensingPage);
  close_ = new QPushButton(tr("CLOSE"));
  // Enter in a field must not close the dialog and lose what it read.
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
