// The tab control of the User Setting Manager: it owns the five setting pages.
#pragma once

#include <QTabWidget>

#include "gui/app_context.h"

namespace qm {

class DefaultCodePageIcsSettingPage;
class HardwareInfoPage;
class PrinterInformationPage;
class PrinterPageSettingPage;
class SerialCommunicationSettingPage;
struct ProfileValues;

class UserSettingTabControl : public QTabWidget {
  Q_OBJECT

 public:
  // Tab indexes, in the order the tabs are shown.
  enum Page { kSerialPage, kLanguagePage, kPrintPagePage, kHardwareInfoPage, kPrinterInfoPage, kPageCount };

  explicit UserSettingTabControl(AppContext& context, QWidget* parent = nullptr);

  int pageCount() const { return kPageCount; }
  int currentPageIndex() const { return currentIndex(); }

  SerialCommunicationSettingPage* serialPage() const { return serial_; }
  DefaultCodePageIcsSettingPage* languagePage() const { return language_; }
  PrinterPageSettingPage* printPagePage() const { return printPage_; }
  HardwareInfoPage* hardwareInfoPage() const { return hardware_; }
  PrinterInformationPage* printerInfoPage() const { return information_; }

  // Every page shows the values a profile names (after an import wrote them).
  void ShowValues(const ProfileValues& values);

 private:
  void OnPageChanged(int index);

  SerialCommunicationSettingPage* serial_;
  DefaultCodePageIcsSettingPage* language_;
  PrinterPageSettingPage* printPage_;
  HardwareInfoPage* hardware_;
  PrinterInformationPage* information_;
};

}  // namespace qm
