// The calibration pages, the extra dialog, the chart and the status dialog: what they send,
// what they show, the states they pass through, and both tools reached from the main window
// and the tester against the virtual printer.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <map>

#include "app/main_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "gui/number_field.h"
#include "printer/sensing.h"
#include "printer/virtual_printer.h"
#include "settings/ui/calibration_extra_dialog.h"
#include "settings/ui/calibration_setting_manager_dialog.h"
#include "settings/ui/check_printer_status_dialog.h"
#include "settings/ui/manual_calibration_setting_page.h"
#include "settings/ui/sensing_histogram.h"
#include "settings/ui/sensing_value_distribution_page.h"
#include "settings_bench.h"

namespace qm {

using test::SettingsBench;
using test::Wire;

namespace {

std::string Distribution(const std::map<int, int>& set) {
  std::string out(64, '\0');
  for (const auto& [k, count] : set) {
    out[static_cast<size_t>(2 * k)] = static_cast<char>(count & 0xFF);
    out[static_cast<size_t>(2 * k + 1)] = static_cast<char>(count >> 8);
  }
  return out;
}

const std::map<int, int> kWorked = {{3, 50}, {4, 400}, {5, 900}, {6, 300}, {20, 200}, {21, 500}, {22, 100}};

std::vector<int> EnabledLevels(const SensingValueDistributionPage& page) {
  std::vector<int> out;
  for (int k = 0; k < kSensingLevels; ++k) {
    if (page.levelButton(k)->isEnabled()) out.push_back(k);
  }
  return out;
}

// The page at rest: nothing offered, chosen or marked, and nothing to save.
bool Idle(const SensingValueDistributionPage& page) {
  for (int k = 0; k < kSensingLevels; ++k) {
    if (page.levelButton(k)->isEnabled() || page.levelButton(k)->isChecked() || page.isPeak(k)) return false;
    if (page.countLabel(k)->text() != QStringLiteral("0000")) return false;
  }
  return page.selectedLevel() == -1 && page.histogram()->selected() == -1 && !page.saveButton()->isEnabled() &&
         !page.middleGapField()->isEnabled() && !page.gapCountList()->isEnabled();
}

void TypeOver(QLineEdit* field, const QString& text) {
  field->selectAll();
  QTest::keyClicks(field, text);
}

}  // namespace

class CalibrationStatusTest : public QObject {
  Q_OBJECT

 private slots:
  void WorkedExampleIsProposedShownAndSaved() {
    SettingsBench b;
    b.printer.Answer("^MXd,1200,G\r", Distribution(kWorked));
    SensingValueDistributionPage page(b.context);
    page.show();
    QVERIFY(Idle(page));
    test::ModalScript script({});
    QTest::mouseClick(page.checkButton(), Qt::LeftButton);
    QCOMPARE(script.shown, 0);
    QCOMPARE(Wire(b.Sent()), QByteArray("^MXd,1200,G\r"));
    QVERIFY(b.prompter.messages.empty());
    QCOMPARE(page.countLabel(5)->text(), QStringLiteral("0900"));
    QVERIFY(page.isPeak(5) && page.isPeak(21) && !page.isPeak(22));
    QCOMPARE(EnabledLevels(page), (std::vector<int>{13, 14, 15, 16, 17, 18, 19, 20}));
    QVERIFY(page.levelButton(17)->isChecked());
    QCOMPARE(page.middleGapField()->text(), QStringLiteral("144"));
    QCOMPARE(page.histogram()->selected(), 17);
    QVERIFY(page.histogram()->isOffered(13) && !page.histogram()->isOffered(21));
    // The chart's line follows the level the operator picks.
    QTest::mouseClick(page.levelButton(14), Qt::LeftButton);
    QCOMPARE(page.middleGapField()->text(), QStringLiteral("120"));
    QCOMPARE(page.histogram()->selected(), 14);
    page.gapCountList()->setCurrentIndex(6);
    QTest::mouseClick(page.saveButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("^MXs,120,10\r"));
    QVERIFY(Idle(page));
  }

  void TheChartDrawsBarsPeaksAndTheChosenLevel() {
    SettingsBench b;
    b.printer.Answer("^MXd,1200,G\r", Distribution(kWorked));
    SensingValueDistributionPage page(b.context);
    page.resize(900, 500);
    page.show();
    page.CheckSensingValue();
    SensingHistogram* chart = page.histogram();
    const QImage image = chart->grab().toImage();
    const QRect plot = chart->PlotRect();
    QCOMPARE(chart->BarRect(5).top(), plot.top());  // the largest count fills the height
    QCOMPARE(chart->BarRect(0).height(), 0);
    QVERIFY(chart->BarRect(4).height() < chart->BarRect(5).height());
    const auto at = [&](const QPoint& p) { return image.pixelColor(p * image.devicePixelRatio()); };
    QCOMPARE(at(chart->BarRect(5).center()), QColor(0, 0, 128));   // a peak
    QCOMPARE(at(chart->BarRect(4).center()), QColor(128, 128, 128));
    QCOMPARE(at(QPoint(chart->BarRect(17).center().x(), plot.top() + 2)), QColor(220, 0, 0));
  }

  // After two failed reads the page stays at rest: no zeros analysed, no extra dialog.
  void FailedReadsLeaveThePageIdle() {
    SettingsBench b;
    SensingValueDistributionPage page(b.context);
    TypeOver(page.labelLengthField(), QStringLiteral("1"));
    test::ModalScript script({});
    page.CheckSensingValue();
    QCOMPARE(script.shown, 0);
    QCOMPARE(b.texts(), std::vector<std::string>{"Sensing Data Read Fail!"});
    QVERIFY(Idle(page));
    page.SaveCalibration();
    QCOMPARE(b.texts().back(), std::string("Select the Sensening Level."));
    QCOMPARE(Wire(b.Sent()), QByteArray("^MXd,8,G\r"));
  }

  void CloseClustersAskTheExtraDialog() {
    SettingsBench b;
    b.printer.Answer("^MXd,1200,G\r", Distribution({{10, 900}, {11, 100}, {12, 800}}));
    SensingValueDistributionPage page(b.context);
    QStringList labels;
    QString startValue, peaks;
    test::ModalScript script({[&](QDialog* dialog) {
      auto* extra = static_cast<CalibrationExtraDialog*>(dialog);
      for (int i = 0; i < 8; ++i) labels << extra->levelButton(i)->text();
      startValue = extra->middleGapField()->text();
      peaks = extra->lowerPeakLabel()->text() + extra->lowerCountLabel()->text() + "|" +
              extra->upperPeakLabel()->text() + extra->upperCountLabel()->text();
      QTest::mouseClick(extra->levelButton(0), Qt::LeftButton);
      QTest::mouseClick(extra->okButton(), Qt::LeftButton);
    }});
    page.CheckSensingValue();
    QCOMPARE(script.shown, 1);
    QCOMPARE(labels.first(), QStringLiteral("094 :"));
    QCOMPARE(labels.last(), QStringLiteral("087 :"));
    QCOMPARE(startValue, QStringLiteral("90"));
    QCOMPARE(peaks, QStringLiteral("088 : 900|104 : 800"));
    QCOMPARE(page.middleGapField()->text(), QStringLiteral("94"));
    // Closed without "OK": the page keeps its own proposal.
    test::ModalScript closed({[](QDialog* dialog) { dialog->reject(); }});
    page.CheckSensingValue();
    QCOMPARE(page.middleGapField()->text(), QStringLiteral("96"));
  }

  void ExtraDialogStoresOnce() {
    SettingsBench b;
    CalibrationExtraDialog extra(b.context, SensingType::kBlackMark, 10, 13, 500, 700, 9);
    QCOMPARE(extra.levelButton(0)->text(), QStringLiteral("092 :"));
    QCOMPARE(extra.middleGapField()->text(), QStringLiteral("96"));
    QCOMPARE(extra.gapCountField()->text(), QStringLiteral("9"));
    QTest::mouseClick(extra.saveButton(), Qt::LeftButton);
    QTest::mouseClick(extra.saveButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("^MXs,96,9\r"));
    QCOMPARE(b.texts(), std::vector<std::string>{"Select the Sensening Level."});
    // Peaks four levels apart offer no finer levels and keep the value 0.
    CalibrationExtraDialog far(b.context, SensingType::kGap, 10, 14, 500, 700, 7);
    QCOMPARE(far.levelButton(4)->text(), QString());
    QTest::mouseClick(far.levelButton(2), Qt::LeftButton);
    QCOMPARE(far.middleGapField()->text(), QStringLiteral("0"));
  }

  void CancelResetsAndSends() {
    SettingsBench b;
    b.printer.Answer("^MXd,400,B\r", Distribution(kWorked));
    SensingValueDistributionPage page(b.context);
    TypeOver(page.labelLengthField(), QStringLiteral("50"));
    page.blackMarkButton()->click();
    page.CheckSensingValue();
    QCOMPARE(EnabledLevels(page), (std::vector<int>{6, 7, 8, 9, 10, 11, 12, 13}));
    QCOMPARE(page.middleGapField()->text(), QStringLiteral("80"));
    QTest::mouseClick(page.cancelButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("^MXd,400,B\r^MXc\r"));
    QVERIFY(Idle(page));
    QVERIFY(page.blackMarkButton()->isChecked());
    QCOMPARE(page.labelLengthField()->text(), QStringLiteral("50"));
  }

  void ManualPageSendsItsListsAndTheTypedLength() {
    SettingsBench b;
    ManualCalibrationSettingPage page(b.context);
    QTest::mouseClick(page.executeButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("^MA8,16,1500\r"));
    page.mediaTypeList()->setCurrentIndex(1);
    QTest::mouseClick(page.presetButton(6), Qt::LeftButton);
    QCOMPARE(page.detectList()->currentText(), QStringLiteral("5"));
    QCOMPARE(page.marginList()->currentText(), QStringLiteral("20"));
    TypeOver(page.labelLengthField(), QStringLiteral("800"));
    QTest::mouseClick(page.executeButton(), Qt::LeftButton);
    QTest::mouseClick(page.cancelButton(), Qt::LeftButton);
    QCOMPARE(Wire(b.Sent()), QByteArray("^MA5,20,800\r^MAC\r"));
    QVERIFY(b.prompter.messages.empty());
  }

  // A silent printer takes the ticks away and puts none in their place.
  void StatusPagesClearTheirTicksWhenNothingComes() {
    for (int c = 0; c < kStatusCommandCount; ++c) {
      SettingsBench b;
      CheckPrinterStatusDialog dialog(b.context);
      StatusCommandPage* page = dialog.page(StatusCommand(c));
      page->boxes()[0]->setChecked(true);
      QTest::mouseClick(page->testButton(), Qt::LeftButton);
      QCOMPARE(page->tickedTexts(), QStringList());
      QCOMPARE(page->noteLabel()->text(), QStringLiteral("The status could not be read."));
      QCOMPARE(b.texts(), std::vector<std::string>{"Status Data Read Fail!"});
    }
  }

  void EeOffSerialKeepsItsTicks() {
    test::GuiContext g;
    g.link.SetPortName("USB");
    g.link.Open();
    g.prompter.messages.clear();
    CheckPrinterStatusDialog dialog(g.context);
    StatusCommandPage* page = dialog.page(StatusCommand::kEe);
    page->boxes()[3]->setChecked(true);
    page->Test();
    QCOMPARE(page->tickedTexts(), QStringList{QStringLiteral("BarCode Error")});
    QCOMPARE(g.prompter.messages.size(), size_t{1});
    QCOMPARE(g.prompter.messages[0].text, std::string("This Command is applied in Serial Interface only!"));
  }

  // From the main window over serial to the virtual printer: calibration proposes the
  // printer's own threshold and stores it; the tester's status dialog shows its faults.
  void BothToolsFromTheWindowsAgainstTheVirtualPrinter() {
    printer::PrinterOptions options;
    options.listen.reset();
    options.serial = true;
    QVERIFY(printer::ParseFaults("paper-empty,building,cps=30,ee=93", options.faults, error_));
    printer::VirtualPrinter vp(options);
    QVERIFY(vp.Start(error_));
    DeviceMap devices = test::IsolatedDevices();
    devices.Override("COM1", vp.serialPath());
    test::GuiContext g(devices);
    MainDialog main(g.context);
    main.Connect();
    QVERIFY(main.calibrationButton()->isEnabled());
    QString proposed;
    test::ModalScript calibration({[&](QDialog* dialog) {
      auto* d = static_cast<CalibrationSettingManagerDialog*>(dialog);
      d->sensingPage()->CheckSensingValue();
      proposed = d->sensingPage()->middleGapField()->text();
      d->sensingPage()->SaveCalibration();
      d->closeButton()->click();
    }});
    QTest::mouseClick(main.calibrationButton(), Qt::LeftButton);
    QCOMPARE(calibration.shown, 1);
    QCOMPARE(proposed, QString::number(printer::NaturalThreshold(printer::MediaType::kGap)));
    for (int i = 0; i < 400 && !vp.stored().sensor.calibrated; ++i) QTest::qWait(5);
    QVERIFY(vp.stored().sensor.calibrated);
    QCOMPARE(vp.stored().sensor.threshold, proposed.toInt());

    std::map<StatusCommand, QStringList> shown;
    test::ModalScript status({[&](QDialog* tester) {
                                for (QPushButton* b : tester->findChildren<QPushButton*>()) {
                                  if (b->text() == QStringLiteral("Check Printer Status")) b->click();
                                }
                                tester->reject();
                              },
                              [&](QDialog* dialog) {
                                auto* d = static_cast<CheckPrinterStatusDialog*>(dialog);
                                for (int c = 0; c < kStatusCommandCount; ++c) {
                                  d->tabs()->setCurrentIndex(c);
                                  d->page(StatusCommand(c))->Test();
                                  shown[StatusCommand(c)] = d->page(StatusCommand(c))->tickedTexts();
                                }
                                d->closeButton()->click();
                              }});
    QTest::mouseClick(main.testerButton(), Qt::LeftButton);
    QCOMPARE(status.shown, 2);
    QCOMPARE(shown[StatusCommand::kCp], (QStringList{"Paper Empty", "On Building label"}));
    QCOMPARE(shown[StatusCommand::kCu], QStringList{"Paper Empty"});
    QCOMPARE(shown[StatusCommand::kEe], QStringList{"Illegal Interrupt"});
    QCOMPARE(shown[StatusCommand::kCps], (QStringList{"Paper Empty", "Not defined", "Not defined"}));
    main.Disconnect();
    vp.Stop();
  }

 private:
  std::string error_;
};

}  // namespace qm

QTEST_MAIN(qm::CalibrationStatusTest)
#include "calibration_status_test.moc"
