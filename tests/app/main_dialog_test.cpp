// The main window: its controls, the radio table, Connect and Disconnect on real ports.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "app/main_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "gui/ip_address_edit.h"
#include "gui/number_field.h"
#include "printer/virtual_printer.h"
#include "settings/ui/printer_information_page.h"
#include "settings/ui/printer_page_setting_page.h"
#include "settings/ui/user_setting_manager_dialog.h"
#include "settings/ui/user_setting_tab_control.h"
#include "gui_support.h"
#include "loopback_server.h"
#include "pty_pair.h"
#include <QSpinBox>

namespace qm {

using test::GuiContext;

// The main window connected over Ethernet to a virtual printer of its own.
struct OnVirtualPrinter {
  OnVirtualPrinter() : printer(Options()), dialog(g.context) {}
  static printer::PrinterOptions Options() {
    printer::PrinterOptions options;
    options.listen = "127.0.0.1:0";
    return options;
  }
  bool Connect() {
    if (!printer.Start(error)) return false;
    dialog.radio(MainDialog::kChoiceEthernet)->click();
    dialog.SetEthernetTarget(QStringLiteral("127.0.0.1"), printer.tcpPort());
    dialog.Connect();
    return dialog.connected();
  }
  printer::VirtualPrinter printer;
  GuiContext g;
  MainDialog dialog;
  std::string error;
};

class MainDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void InitialControlsAreThePrintersDefaults() {
    GuiContext g;
    MainDialog d(g.context);
    QCOMPARE(d.windowTitle(), QStringLiteral("Quillmark  (Version 1.4.9)"));
    QVERIFY(d.radio(MainDialog::kChoiceSerial)->isChecked());
    QCOMPARE(d.comBox()->count(), 10);
    QCOMPARE(d.comBox()->itemText(9), QStringLiteral("COM10:"));
    QCOMPARE(d.comBox()->currentText(), QStringLiteral("COM1:"));
    QCOMPARE(d.lptBox()->currentText(), QStringLiteral("LPT1:"));
    QCOMPARE(d.baudBox()->currentText(), QStringLiteral("115200"));
    QCOMPARE(d.dataBitsBox()->currentText(), QStringLiteral("8"));
    QCOMPARE(d.parityBox()->currentText(), QStringLiteral("None"));
    QCOMPARE(d.stopBitsBox()->currentText(), QStringLiteral("1"));
    QCOMPARE(d.portBox()->text(), QStringLiteral("9100"));
    QVERIFY(d.ipBox()->text().startsWith(QStringLiteral("192.168.")));
    QVERIFY(d.connectButton()->isEnabled());
    QVERIFY(!d.disconnectButton()->isEnabled());
    QVERIFY(!d.testerButton()->isEnabled());
    QVERIFY(!d.windowIcon().isNull());
  }

  void RadioChoiceSetsWhichBoxesAreEnabled_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("lpt");
    QTest::addColumn<bool>("serial");
    QTest::addColumn<bool>("ethernet");
    QTest::newRow("Serial") << 0 << false << true << false;
    QTest::newRow("Parallel") << 1 << true << false << false;
    QTest::newRow("USB") << 2 << false << false << false;
    QTest::newRow("Ethernet") << 3 << false << false << true;
  }
  void RadioChoiceSetsWhichBoxesAreEnabled() {
    QFETCH(int, choice);
    QFETCH(bool, lpt);
    QFETCH(bool, serial);
    QFETCH(bool, ethernet);
    GuiContext g;
    MainDialog d(g.context);
    d.show();
    QTest::mouseClick(d.radio(choice), Qt::LeftButton);
    QCOMPARE(d.interfaceChoice(), choice);
    QCOMPARE(d.lptBox()->isEnabled(), lpt);
    for (QComboBox* b : {d.comBox(), d.baudBox(), d.dataBitsBox(), d.parityBox(), d.stopBitsBox()}) {
      QCOMPARE(b->isEnabled(), serial);
    }
    QCOMPARE(d.ipBox()->isEnabled(), ethernet);
    QCOMPARE(d.portBox()->isEnabled(), ethernet);
  }

  void EthernetConnectAndDisconnect() {
    test::LoopbackServer printer;
    GuiContext g;
    MainDialog d(g.context);
    d.show();
    QTest::mouseClick(d.radio(MainDialog::kChoiceEthernet), Qt::LeftButton);
    d.SetEthernetTarget(QStringLiteral("127.0.0.1"), printer.port());
    QTest::mouseClick(d.connectButton(), Qt::LeftButton);
    QCOMPARE(g.prompter.ids(), std::vector<int>{sid::kPortOpened});
    QCOMPARE(g.prompter.messages[0].icon, Icon::kInformation);
    QVERIFY(d.connected());
    QCOMPARE(g.link.portName(), std::string("ETHERNET"));
    QCOMPARE(g.link.ethernetAddress(), std::string("127.0.0.1"));
    QCOMPARE(g.link.ethernetPort(), static_cast<uint32_t>(printer.port()));
    for (int i = 0; i < 4; ++i) QVERIFY(!d.radio(i)->isEnabled());
    QVERIFY(!d.connectButton()->isEnabled());
    QVERIFY(d.disconnectButton()->isEnabled());
    QVERIFY(d.testerButton()->isEnabled());
    QVERIFY(d.userSettingButton()->isEnabled());
    QVERIFY2(d.ipBox()->isEnabled(), "the address boxes keep their state");
    QVERIFY(g.link.isOpen());

    QTest::mouseClick(d.disconnectButton(), Qt::LeftButton);
    QVERIFY(!d.connected());
    QVERIFY(!g.link.isOpen());
    for (int i = 0; i < 4; ++i) QVERIFY(d.radio(i)->isEnabled());
    QVERIFY(d.connectButton()->isEnabled());
    QVERIFY(!d.disconnectButton()->isEnabled());
    QVERIFY(!d.testerButton()->isEnabled());
    QVERIFY(!d.userSettingButton()->isEnabled());
  }

  void CalibrationOnEthernetSaysSoAndOpensNothing() {
    test::LoopbackServer printer;
    GuiContext g;
    MainDialog d(g.context);
    QVERIFY(!d.calibrationButton()->isEnabled());
    d.radio(MainDialog::kChoiceEthernet)->click();
    d.SetEthernetTarget(QStringLiteral("127.0.0.1"), printer.port());
    d.Connect();
    g.prompter.messages.clear();
    QVERIFY(d.calibrationButton()->isEnabled());
    test::ModalScript script({});
    QTest::mouseClick(d.calibrationButton(), Qt::LeftButton);
    QCOMPARE(script.shown, 0);
    QCOMPARE(g.prompter.ids(), std::vector<int>{sid::kNoCalibrationOnEthernet});
    QCOMPARE(g.prompter.messages[0].icon, Icon::kInformation);
    d.Disconnect();
    QVERIFY(!d.calibrationButton()->isEnabled());
  }

  void UserSettingsRoundTripThroughTheVirtualPrinter() {
    OnVirtualPrinter on;
    QVERIFY2(on.Connect(), on.error.c_str());
    printer::VirtualPrinter& vp = on.printer;
    MainDialog& d = on.dialog;
    QVERIFY(d.userSettingButton()->isEnabled());
    QString width, model, temperature;
    test::ModalScript script({[&](QDialog* dialog) {
      auto* tabs = static_cast<UserSettingManagerDialog*>(dialog)->tabControl();
      PrinterPageSettingPage* page = tabs->printPagePage();
      page->numberField(NumericItem::kPaperWidth)->setText(QStringLiteral("640"));
      page->SetNumeric(NumericItem::kPaperWidth);
      page->numberField(NumericItem::kPaperWidth)->setText(QStringLiteral("1"));
      page->GetNumeric(NumericItem::kPaperWidth);
      width = page->numberField(NumericItem::kPaperWidth)->text();
      PrinterInformationPage* info = tabs->printerInfoPage();
      info->Get();
      model = info->modelName()->text();
      temperature = info->temperature()->text();
      dialog->accept();
    }});
    QTest::mouseClick(d.userSettingButton(), Qt::LeftButton);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(width, QStringLiteral("640"));
    QVERIFY(!model.isEmpty());
    QVERIFY(temperature.endsWith(QStringLiteral(" Celsius")));
    QCOMPARE(vp.stored().media.paperWidth, 640);
    vp.Stop();
  }

  void ConnectToTheVirtualPrinterAndPrintFromTheTester() {
    OnVirtualPrinter on;
    QVERIFY2(on.Connect(), on.error.c_str());
    printer::VirtualPrinter& vp = on.printer;
    GuiContext& g = on.g;
    MainDialog& d = on.dialog;
    QVERIFY(d.connected());
    QdrlTesterDialog tester(g.context);
    tester.SetCommandText("SW800\r\nT10,10,0,3,1,1,0,'Quillmark'\r\nP1,1\r\n");
    tester.sendCount()->setValue(2);
    tester.MultiSend();
    QTRY_COMPARE(vp.labelsPrinted(), uint64_t{2});
    d.Disconnect();
    QVERIFY(!d.connected());
    vp.Stop();
  }

  void EthernetConnectToNothingShowsBothMessagesAndStaysDisconnected() {
    GuiContext g;
    MainDialog d(g.context);
    d.radio(MainDialog::kChoiceEthernet)->click();
    d.SetEthernetTarget(QStringLiteral("127.0.0.1"), test::ClosedLoopbackPort());
    d.Connect();
    QCOMPARE(g.prompter.ids(), (std::vector<int>{sid::kConnectFailed, sid::kCannotOpenPort}));
    QCOMPARE(g.prompter.messages[1].icon, Icon::kExclamation);
    QVERIFY(!d.connected());
    QVERIFY(d.connectButton()->isEnabled());
    QVERIFY2(!d.statusLine()->text().isEmpty(), "the reason is shown beside the messages");
  }

  // Each Connect's outcome replaces what the last one said, whatever the interfaces, and
  // is on the status line by the time its message box is up.
  void EachConnectReplacesTheStatusLine() {
    struct StatusAtEachMessage : Prompter {
      QLabel* status = nullptr;
      std::vector<QString> seen;
      void Show(const Message&) override { seen.push_back(status->text()); }
    };
    test::LoopbackServer printer;
    GuiContext g;  // nothing behind COM1:
    StatusAtEachMessage messages;
    AppContext context{g.link, g.clock, messages, g.context.strings, g.spooler, g.files};
    MainDialog d(context);
    messages.status = d.statusLine();
    d.show();
    QTest::mouseClick(d.connectButton(), Qt::LeftButton);
    QVERIFY(!d.connected());
    QCOMPARE(d.statusLine()->text(), QStringLiteral("/nonexistent/com1: No such file or directory"));
    QTest::mouseClick(d.radio(MainDialog::kChoiceEthernet), Qt::LeftButton);
    d.SetEthernetTarget(QStringLiteral("127.0.0.1"), test::ClosedLoopbackPort());
    QTest::mouseClick(d.connectButton(), Qt::LeftButton);
    QVERIFY(!d.connected());
    const QString refused = d.statusLine()->text();
    QVERIFY2(!refused.isEmpty() && !refused.contains(QStringLiteral("com1")), qPrintable(refused));
    // A port the window refuses before connecting leaves no earlier outcome standing either.
    d.portBox()->setText(QStringLiteral("0"));
    QTest::mouseClick(d.connectButton(), Qt::LeftButton);
    QCOMPARE(d.statusLine()->text(), QString());
    d.SetEthernetTarget(QStringLiteral("127.0.0.1"), printer.port());
    QTest::mouseClick(d.connectButton(), Qt::LeftButton);
    QVERIFY(d.connected());
    QCOMPARE(d.statusLine()->text(), QStringLiteral("Connected: ETHERNET"));
    // Serial's failure; the link's own connect message, raised during the work and shown
    // when it ends, over a line already cleared of serial's outcome; Ethernet's refusal;
    // the port refused; the success.
    QCOMPARE(messages.seen, (std::vector<QString>{QStringLiteral("/nonexistent/com1: No such file or directory"),
                                                  QString(), refused, QString(),
                                                  QStringLiteral("Connected: ETHERNET")}));
  }

  void SerialConnectWithDefaultsDivertsAndRestoresQueues() {
    test::PtyPair pty;
    DeviceMap devices = test::IsolatedDevices();
    devices.Override("COM1", pty.path());
    GuiContext g(devices);
    g.spooler.queues = {{"Labels", "LPT1:,COM1:"}, {"Other", "COM10:"}};
    g.spooler.notice = "Print queue Office could not be changed: not authorised to change print queues.";
    MainDialog d(g.context);
    d.Connect();
    QCOMPARE(g.prompter.ids(), std::vector<int>{sid::kPortOpened});
    QCOMPARE(d.statusLine()->text(), QStringLiteral("Connected: COM1:\nPrint queue Office could not be "
                                                    "changed: not authorised to change print queues."));
    QCOMPARE(g.link.portName(), std::string("COM1:"));
    const SerialParameters& p = g.link.serialParameters();
    QCOMPARE(p.baudRate, 115200u);
    QCOMPARE(p.dataBits, 8);
    QCOMPARE(p.parity, 0);
    QCOMPARE(p.stopBits, 0);
    QCOMPARE(g.spooler.PortOf("Labels"), std::string("FILE:"));
    QCOMPARE(g.spooler.PortOf("Other"), std::string("COM10:"));
    QVERIFY(g.link.isOpen());

    d.Disconnect();
    QVERIFY(!g.link.isOpen());
    QCOMPARE(d.statusLine()->text(), QString());  // said once
    QCOMPARE(g.spooler.PortOf("Labels"), std::string("LPT1:,COM1:"));
    QVERIFY(d.queueMap().empty());
  }

  void SerialChoicesMapToLinkCodes() {
    test::PtyPair pty;
    DeviceMap devices = test::IsolatedDevices();
    devices.Override("COM3", pty.path());
    GuiContext g(devices);
    MainDialog d(g.context);
    d.comBox()->setCurrentIndex(2);
    d.baudBox()->setCurrentIndex(0);
    d.dataBitsBox()->setCurrentIndex(0);
    d.parityBox()->setCurrentIndex(2);
    d.stopBitsBox()->setCurrentIndex(2);
    d.Connect();
    QVERIFY(d.connected());
    const SerialParameters& p = g.link.serialParameters();
    QCOMPARE(p.baudRate, 9600u);
    QCOMPARE(p.dataBits, 7);
    QCOMPARE(p.parity, 2);
    QCOMPARE(p.stopBits, 2);
  }

  void TypedParityOutsideTheListIsRefusedBeforeAnythingHappens() {
    GuiContext g;
    g.spooler.queues = {{"Labels", "COM1:"}};
    MainDialog d(g.context);
    d.parityBox()->setEditText(QStringLiteral("Mark"));
    d.Connect();
    QCOMPARE(g.prompter.messages.size(), size_t{1});
    QCOMPARE(g.prompter.messages[0].icon, Icon::kExclamation);
    QVERIFY(!d.connected());
    QCOMPARE(g.spooler.PortOf("Labels"), std::string("COM1:"));
    d.parityBox()->setEditText(QStringLiteral("even"));
    QCOMPARE(d.parityBox()->findText(QStringLiteral("even"), Qt::MatchFixedString), 2);
  }

  void FailedSerialConnectQueuesComeBackWhenTheWindowGoesEvenAfterUsb() {
    GuiContext g;  // no device behind COM2:, no USB printer
    g.spooler.queues = {{"Labels", "COM2:"}};
    {
      MainDialog d(g.context);
      d.comBox()->setCurrentIndex(1);
      d.Connect();
      QCOMPARE(g.prompter.ids(), std::vector<int>{sid::kCannotOpenPort});
      QCOMPARE(g.spooler.PortOf("Labels"), std::string("FILE:"));
      d.radio(MainDialog::kChoiceUsb)->click();
      d.Connect();
      QCOMPARE(g.link.GetInterfaceKind(), kUsb);
    }
    QCOMPARE(g.spooler.PortOf("Labels"), std::string("COM2:"));
  }

  void OnlyExitEndsTheWindow() {
    GuiContext g;
    MainDialog d(g.context);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(d.isVisible());
    d.close();
    QVERIFY(d.isVisible());
    QTest::keyClick(&d, Qt::Key_F4, Qt::AltModifier);
    QVERIFY(d.isVisible());
    QTest::mouseClick(d.exitButton(), Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Accepted));
  }

  void EnterOutsideAButtonIsExitButOnAButtonPressesIt() {
    GuiContext g;
    MainDialog d(g.context);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.connectButton()->setFocus();
    QTest::keyClick(d.connectButton(), Qt::Key_Return);
    QVERIFY(d.isVisible());
    QCOMPARE(g.prompter.ids(), std::vector<int>{sid::kCannotOpenPort});  // Connect was pressed
    d.radio(MainDialog::kChoiceEthernet)->click();
    d.portBox()->setFocus();
    QTest::keyClick(d.portBox(), Qt::Key_Return);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Accepted));
  }
};

}  // namespace qm

QTEST_MAIN(qm::MainDialogTest)
#include "main_dialog_test.moc"
