#include "settings/ui/user_setting_tab_control.h"

#include <QTabBar>

#include "settings/ui/default_code_page_ics_setting_page.h"
#include "settings/ui/hardware_info_page.h"
#include "settings/ui/printer_information_page.h"
#include "settings/ui/printer_page_setting_page.h"
#include "settings/ui/serial_communication_setting_page.h"

namespace qm {

UserSettingTabControl::UserSettingTabControl(AppContext& context, QWidget* parent) : QTabWidget(parent) {
  serial_ = new SerialCommunicationSettingPage(context);
  language_ = new DefaultCodePageIcsSettingPage(context);
  printPage_ = new PrinterPageSettingPage(context);
  hardware_ = new HardwareInfoPage(context);
  information_ = new PrinterInformationPage(context);
  // The tab labels are the same English texts in every language.
  addTab(serial_, QStringLiteral("Serial"));
  addTab(language_, QStringLiteral("Language"));
  addTab(printPage_, QStringLiteral("Print&&Page"));
  addTab(hardware_, QStringLiteral("Hardware Info"));
  addTab(information_, QStringLiteral("Printer Info"));
  setCurrentIndex(kSerialPage);
  // Every change of tab shows its page, whether made with the mouse or the keyboard.
  connect(this, &QTabWidget::currentChanged, this, &UserSettingTabControl::OnPageChanged);
}

void UserSettingTabControl::ShowValues(const ProfileValues& values) {
  serial_->ShowValues(values);
  language_->ShowValues(values);
  printPage_->ShowValues(values);
  hardware_->ShowValues(values);
}

void UserSettingTabControl::OnPageChanged(int index) {
  // Someone stepping through the tabs with the arrow keys keeps the focus on the tabs.
  if (tabBar()->hasFocus()) return;
  if (QWidget* page = widget(index)) page->setFocus(Qt::TabFocusReason);
}

}  // namespace qm
