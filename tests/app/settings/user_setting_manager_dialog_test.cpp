// The User Setting Manager's frame (tabs, page switching, kept values) and its page
// "Printer Info" with the progress bar.
#include "settings/ui/user_setting_manager_dialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

#include <QElapsedTimer>

#include "printer/demo_printer.h"
#include "gui/number_field.h"
#include "gui/qt_clock.h"
#include "settings/ui/default_code_page_ics_setting_page.h"
#include "settings/ui/hardware_info_page.h"
#include "settings/ui/printer_information_page.h"
#include "settings/ui/printer_page_setting_page.h"
#include "settings/ui/serial_communication_setting_page.h"
#include "settings/ui/user_setting_tab_control.h"
#include "settings_bench.h"

namespace qm {

using test::SettingsBench;

namespace {

// The pages that are visible, by tab index.
std::vector<int> VisiblePages(const UserSettingTabControl& tabs) {
  std::vector<int> out;
  for (int i = 0; i < tabs.count(); ++i) {
    if (tabs.widget(i)->isVisible()) out.push_back(i);
  }
  return out;
}

void ShowActive(QWidget& w) {
  w.show();
  QApplication::setActiveWindow(&w);
  QVERIFY(QTest::qWaitForWindowActive(&w));
}

}  // namespace

class UserSettingManagerDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void FiveTabsInOrderWithTheirPages() {
    SettingsBench b;
    UserSettingManagerDialog d(b.context);
    UserSettingTabControl* tabs = d.tabControl();
    QCOMPARE(d.windowTitle(), QStringLiteral("User Setting Manager"));
    QCOMPARE(tabs->count(), tabs->pageCount());
    const QStringList labels = {"Serial", "Language", "Print&&Page", "Hardware Info", "Printer Info"};
    for (int i = 0; i < tabs->count(); ++i) QCOMPARE(tabs->tabText(i), labels[i]);
    const std::vector<QWidget*> pages = {tabs->serialPage(), tabs->languagePage(), tabs->printPagePage(),
                                         tabs->hardwareInfoPage(), tabs->printerInfoPage()};
    for (int i = 0; i < tabs->count(); ++i) QCOMPARE(tabs->widget(i), pages[size_t(i)]);
    d.show();
    QCOMPARE(tabs->currentPageIndex(), 0);
    QCOMPARE(VisiblePages(*tabs), std::vector<int>{0});
    QTest::mouseClick(d.closeButton(), Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(!d.isVisible());
  }

  // Keys on the tab bar or inside a page: the page shown always follows the tab.
  void KeyboardChangesTheShownPage_data() {
    QTest::addColumn<bool>("onTabBar");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("right arrow on the tabs") << true << int(Qt::Key_Right) << 0 << 0 << 1;
    QTest::newRow("left arrow on the tabs") << true << int(Qt::Key_Left) << 0 << 3 << 2;
    QTest::newRow("Ctrl+Tab in a page") << false << int(Qt::Key_Tab) << int(Qt::ControlModifier) << 0 << 1;
    QTest::newRow("Ctrl+Shift+Tab in a page wraps")
        << false << int(Qt::Key_Backtab) << int(Qt::ControlModifier | Qt::ShiftModifier) << 0 << 4;
    QTest::newRow("Ctrl+Tab in the busiest page") << false << int(Qt::Key_Tab) << int(Qt::ControlModifier) << 2 << 3;
  }
  void KeyboardChangesTheShownPage() {
    QFETCH(bool, onTabBar);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, from);
    QFETCH(int, to);
    SettingsBench b;
    UserSettingManagerDialog d(b.context);
    UserSettingTabControl* tabs = d.tabControl();
    tabs->setCurrentIndex(from);
    ShowActive(d);
    QWidget* target = onTabBar ? static_cast<QWidget*>(tabs->tabBar()) : tabs->widget(from)->focusProxy();
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(tabs->currentPageIndex(), to);
    QCOMPARE(VisiblePages(*tabs), std::vector<int>{to});
    // Arrowing along the tabs keeps the focus there; otherwise the new page has it.
    QWidget* focus = QApplication::focusWidget();
    if (onTabBar) {
      QCOMPARE(focus, static_cast<QWidget*>(tabs->tabBar()));
    } else {
      QVERIFY(tabs->widget(to)->isAncestorOf(focus));
    }
  }

  void ClickedTabShowsItsPageAndGivesItTheFocus() {
    SettingsBench b;
    UserSettingManagerDialog d(b.context);
    UserSettingTabControl* tabs = d.tabControl();
    ShowActive(d);
    d.closeButton()->setFocus();
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(3).center());
    QCOMPARE(VisiblePages(*tabs), std::vector<int>{3});
    QCOMPARE(QApplication::focusWidget(),
             static_cast<QWidget*>(tabs->hardwareInfoPage()->getButton(HardwareItem::kVersion)));
    // The tab already shown changes nothing.
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(3).center());
    QCOMPARE(VisiblePages(*tabs), std::vector<int>{3});
  }

  void ValuesSurviveSwitchingTabs() {
    SettingsBench b;
    b.printer.Answer("^PI5,0\r\n", "104\r\n");
    b.printer.Answer("^MBR2,1", "\x35");
    UserSettingManagerDialog d(b.context);
    UserSettingTabControl* tabs = d.tabControl();
    ShowActive(d);
    tabs->serialPage()->Get();
    tabs->setCurrentIndex(UserSettingTabControl::kPrintPagePage);
    PrinterPageSettingPage* page = tabs->printPagePage();
    page->GetNumeric(NumericItem::kPaperWidth);
    NumberField* width = page->numberField(NumericItem::kPaperWidth);
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("512"));
    tabs->setCurrentIndex(UserSettingTabControl::kPrinterInfoPage);
    tabs->setCurrentIndex(UserSettingTabControl::kPrintPagePage);
    QCOMPARE(width->text(), QStringLiteral("512"));
    QVERIFY(page->setButton(NumericItem::kPaperWidth)->isEnabled());
    QCOMPARE(tabs->serialPage()->Selections(), DecodeSerialSwitch(0x35));
  }

  void InformationGetShowsTheRepliesAsReceived_data() {
    QTest::addColumn<QString>("temperatureReply");
    QTest::newRow("with line end") << QStringLiteral("31\r\n");
    QTest::newRow("digits alone") << QStringLiteral("31");
  }
  void InformationGetShowsTheRepliesAsReceived() {
    QFETCH(QString, temperatureReply);
    SettingsBench b;
    b.printer.Answer("^PI0", "LRX-500II\r\n");
    b.printer.Answer("^PI1", "LRX");
    b.printer.Answer("^PI2", std::string(32, 'F'));
    b.printer.Answer("^PI4,0", temperatureReply.toStdString());
    PrinterInformationPage page(b.context);
    std::vector<int> steps;
    connect(page.progressBar(), &QProgressBar::valueChanged, [&](int v) { steps.push_back(v); });
    QString shownWithMessage;
    b.prompter.onShow = [&](const Message&) { shownWithMessage = page.temperature()->text(); };
    QTest::mouseClick(page.getButton(), Qt::LeftButton);
    QCOMPARE(test::Wire(b.Sent()), QByteArray("^PI0^PI1^PI2^PI4,0"));
    QCOMPARE(page.modelName()->text(), QStringLiteral("LRX-500II\r\n"));
    QCOMPARE(page.modelType()->text(), QStringLiteral("LRX"));
    QCOMPARE(page.firmwareVersion()->text(), QString(32, QLatin1Char('F')));
    QCOMPARE(page.temperature()->text(), QStringLiteral("31 Celsius"));
    QCOMPARE(steps, (std::vector<int>{10, 20, 30, 40, 100, 0}));
    QCOMPARE(b.onlyText(), std::string("Get printer information is successful."));
    QCOMPARE(b.prompter.messages[0].icon, Icon::kInformation);
    QCOMPARE(shownWithMessage, QStringLiteral("31 Celsius"));
  }

  void FailedInformationGetWarnsTwiceLeavesTheBarFullAndTheNextStartsOver() {
    SettingsBench b;
    b.printer.Answer("^PI0", "LRX-500II\r\n");
    PrinterInformationPage page(b.context);
    page.modelType()->setText(QStringLiteral("from before"));
    std::vector<int> barAtMessages;
    b.prompter.onShow = [&](const Message&) { barAtMessages.push_back(page.progressBar()->value()); };
    page.Get();
    QCOMPARE(b.prompter.messages.size(), size_t(2));
    QCOMPARE(b.prompter.messages[0].text, std::string("Get printer information is failed"));
    QCOMPARE(b.prompter.messages[0].caption, std::string("Warnning"));
    QCOMPARE(b.prompter.messages[0].icon, Icon::kExclamation);
    QCOMPARE(b.prompter.messages[1].text, std::string("Get printer information is failed."));
    QCOMPARE(b.prompter.messages[1].caption, std::string());
    QCOMPARE(b.prompter.messages[1].icon, Icon::kExclamation);
    QCOMPARE(barAtMessages, (std::vector<int>{100, 100}));
    QCOMPARE(page.progressBar()->value(), 100);
    for (QLabel* l : {page.modelName(), page.modelType(), page.firmwareVersion(), page.temperature()}) {
      QVERIFY(l->text().isEmpty());
    }

    b.printer.Answer("^PI4,0", "25\r\n");
    std::vector<int> steps;
    connect(page.progressBar(), &QProgressBar::valueChanged, [&](int v) { steps.push_back(v); });
    page.Get();
    QCOMPARE(steps, (std::vector<int>{10, 20, 30, 40, 100, 0}));
    QCOMPARE(page.temperature()->text(), QStringLiteral("25 Celsius"));
  }

  // On real time, as the operator has it: the built-in printer answers the model name,
  // type and firmware without a line end, and Get must not wait each one out.
  void GetAgainstTheDemoPrinterIsDoneAtOnceOnEveryInterface_data() {
    QTest::addColumn<QString>("port");
    QTest::newRow("Ethernet") << QStringLiteral("ETHERNET");
    QTest::newRow("COM1") << QStringLiteral("COM1:");
    QTest::newRow("USB") << QStringLiteral("USB");
  }
  void GetAgainstTheDemoPrinterIsDoneAtOnceOnEveryInterface() {
    QFETCH(QString, port);
    DeviceMap devices = test::IsolatedDevices();
    printer::DemoPrinter demo;
    std::string error;
    QVERIFY2(demo.Start(devices, error), error.c_str());
    QtClock clock;
    test::RecordingPrompter prompter;
    test::FakeSpooler spooler;
    test::FakeFileChooser files;
    PrinterLink link(clock, prompter, EnglishStrings(), LinkTiming{}, devices);
    AppContext context{link, clock, prompter, EnglishStrings(), spooler, files};
    link.SetPortName(port.toStdString());
    link.SetEthernetSettings("127.0.0.1", static_cast<uint32_t>(demo.tcpPort()));
    QCOMPARE(link.Open(), 1);
    if (port == QStringLiteral("USB")) link.Close();
    PrinterInformationPage page(context);
    QElapsedTimer took;
    took.start();
    QTest::mouseClick(page.getButton(), Qt::LeftButton);
    const qint64 ms = took.elapsed();
    QVERIFY2(!page.modelName()->text().isEmpty(), "the model name came back");
    QCOMPARE(page.temperature()->text().endsWith(QStringLiteral(" Celsius")), true);
    // Four queries with 10 ms waits and a short gap after each bare reply; a read that
    // waited out its deadline would take seconds.
    QVERIFY2(ms < 600, qPrintable(QStringLiteral("Get took %1 ms").arg(ms)));
  }
};

}  // namespace qm

QTEST_MAIN(qm::UserSettingManagerDialogTest)
#include "user_setting_manager_dialog_test.moc"
