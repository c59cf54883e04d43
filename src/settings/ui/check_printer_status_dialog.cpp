#include "settings/ui/check_printer_status_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qm {

CheckPrinterStatusDialog::CheckPrinterStatusDialog(AppContext& context, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Check Printer Status"));
  tabs_ = new QTabWidget;
  pages_ = {new CpCommandPage(context), new CuCommandPage(context), new EeCommandPage(context),
            new CpsCommandPage(context)};
  // The tab labels are the same English texts in every language.
  tabs_->addTab(pages_[0], QStringLiteral("^cp Command"));
  tabs_->addTab(pages_[1], QStringLiteral("^cu Command"));
  tabs_->addTab(pages_[2], QStringLiteral("^ee Command"));
  tabs_->addTab(pages_[3], QStringLiteral("CPS Command"));
  tabs_->setCurrentIndex(0);
  // All four tabs in sight: a scrolled tab bar hides the commands a printer may answer.
  tabs_->setUsesScrollButtons(false);
  close_ = new QPushButton(tr("Close"));
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
