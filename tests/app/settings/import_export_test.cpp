// The User Setting Manager's "Export Settings…" and "Import Settings…", clicked against the
// virtual printer over a serial pseudo-terminal: what the file holds, which rows the import
// shows, and exactly what is written when Apply is pressed, or nothing when it is not.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <mutex>

#include "gui/number_field.h"
#include "gui/qt_strings.h"
#include "../gui_support.h"
#include "printer/virtual_printer.h"
#include "settings/profile.h"
#include "settings/ui/default_code_page_ics_setting_page.h"
#include "settings/ui/hardware_info_page.h"
#include "settings/ui/import_settings_dialog.h"
#include "settings/ui/printer_page_setting_page.h"
#include "settings/ui/serial_communication_setting_page.h"
#include "settings/ui/user_setting_manager_dialog.h"
#include "settings/ui/user_setting_tab_control.h"

namespace qm {

namespace {

// The virtual printer on a pseudo-terminal as COM1, and every byte the link writes to it.
// The read deadline is generous: a reply ends each read the moment it is whole, so only a
// reply that never comes would cost it.
struct PrinterBench {
  PrinterBench()
      : vp([] {
          printer::PrinterOptions options;
          options.listen.reset();
          options.serial = true;
          return options;
        }()) {
    started = vp.Start(error);
    DeviceMap devices = test::IsolatedDevices();
    devices.Override("COM1", vp.serialPath());
    LinkTiming timing = test::GuiContext::Timing();
    timing.serialDefaults.readTotalConstantMs = 3000;
    link = std::make_unique<PrinterLink>(clock, prompter, EnglishStrings(), timing, devices);
    link->SetTrace([this](PrinterLink::Direction d, std::string_view bytes) {
      if (d != PrinterLink::Direction::kWrite) return;
      std::lock_guard lock(mutex);
      written.append(bytes);
    });
    link->SetPortName("COM1:");
    opened = link->Open() == 1;
    context = std::make_unique<AppContext>(AppContext{*link, clock, prompter, EnglishStrings(), spooler, files});
  }
  ~PrinterBench() {
    link->Close();
    vp.Stop();
  }
  std::string TakeWritten() {
    std::lock_guard lock(mutex);
    std::string out;
    out.swap(written);
    return out;
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Message& m : prompter.messages) out.push_back(ShownText(m).toStdString());
    return out;
  }
  // The printer's profile as an export would write it, read outside any dialog.
  std::string Exported() {
    test::RecordingPrompter quiet;
    return WriteProfile(ReadProfile(*link, clock, quiet));
  }
  QString Write(const QString& name, const std::string& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
  }

  printer::VirtualPrinter vp;
  std::string error;
  bool started = false;
  bool opened = false;
  test::FakeClock clock;
  test::RecordingPrompter prompter;
  test::FakeSpooler spooler;
  test::FakeFileChooser files;
  std::unique_ptr<PrinterLink> link;
  std::unique_ptr<AppContext> context;
  QTemporaryDir dir;
  std::mutex mutex;
  std::string written;
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string Slurp(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
  return file.readAll().toStdString();
}

// What the import dialog showed and did, recorded inside its modal run and checked after.
struct ImportSeen {
  QStringList rows;
  QStringList ticked;
  QStringList results;
  QString summary;
  bool applyEnabled = false;
  bool checkableAfter = true;
  QStringList tickedAfterClick;
  int barValue = -1, barMaximum = -1;
  std::string writtenByApply;
};

}  // namespace

class ImportExportTest : public QObject {
  Q_OBJECT

 private slots:
  void ExportWritesAFileThatParsesAndMatchesThePrinter() {
    PrinterBench b;
    QVERIFY2(b.started && b.opened, b.error.c_str());
    const QString path = b.dir.filePath(QStringLiteral("printer.json"));
    b.files.nextSave = path;
    UserSettingManagerDialog d(*b.context);
    QTest::mouseClick(d.exportButton(), Qt::LeftButton);
    QCOMPARE(b.files.lastFilter, QStringLiteral("Settings profiles(*.json)|*.json||"));
    QCOMPARE(b.texts(), std::vector<std::string>{"Export Settings is successful."});
    const std::string text = Slurp(path);
    const ProfileParse parsed = ParseProfile(text);
    QVERIFY2(parsed.profile, parsed.error.c_str());
    const printer::StoredState state = b.vp.stored();
    QCOMPARE(parsed.profile->settings.at("density"), std::to_string(state.media.density));
    QCOMPARE(parsed.profile->settings.at("paper-width"), std::to_string(state.media.paperWidth));
    QCOMPARE(parsed.profile->identity.at("serial-number"), state.ident.serialNumber);
    // Every item the printer answers is there, exactly as a second read finds it.
    QCOMPARE(text, b.Exported());
    QCOMPARE(parsed.profile->settings.size(), size_t{24});
  }

  // A save that cannot be made is said, never reported as done; a cancelled choice asks
  // the printer nothing and writes no file.
  void ExportThatCannotBeSavedOrIsCancelled_data() {
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("into a folder that is not there")
        << true << QStringLiteral("missing/p.json") << QStringLiteral("Cannot save the settings: ");
    QTest::newRow("onto a folder") << true << QStringLiteral("folder") << QStringLiteral("Cannot save the settings: ");
    QTest::newRow("file dialog cancelled") << false << QString() << QString();
  }
  void ExportThatCannotBeSavedOrIsCancelled() {
    QFETCH(bool, chosen);
    QFETCH(QString, name);
    QFETCH(QString, shown);
    PrinterBench b;
    QVERIFY2(b.started && b.opened, b.error.c_str());
    QVERIFY(QDir(b.dir.path()).mkdir(QStringLiteral("folder")));
    if (chosen) b.files.nextSave = b.dir.filePath(name);
    UserSettingManagerDialog d(*b.context);
    b.TakeWritten();
    QTest::mouseClick(d.exportButton(), Qt::LeftButton);
    if (shown.isEmpty()) {
      QVERIFY(b.prompter.messages.empty());
      QCOMPARE(b.TakeWritten(), std::string());
    } else {
      QCOMPARE(b.prompter.messages.size(), size_t{1});
      QVERIFY2(QString::fromStdString(b.texts()[0]).startsWith(shown), b.texts()[0].c_str());
      QCOMPARE(b.prompter.messages[0].icon, Icon::kExclamation);
    }
    // No file took the name, and no temporary was left beside it.
    QCOMPARE(QDir(b.dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
  }

  // Two settings differ: two rows, both ticked. Unticking one and pressing Apply writes
  // the other alone: its current value read, its set, its read-back, and nothing else.
  void ImportShowsTheDifferencesAndWritesOnlyTheTickedOne() {
    PrinterBench b;
    QVERIFY2(b.started && b.opened, b.error.c_str());
    std::string text = Replaced(b.Exported(), R"("density": 10)", R"("density": 14)");
    text = Replaced(text, R"("gap-length": 24)", R"("gap-length": 30)");
    b.files.nextOpen = b.Write(QStringLiteral("two.json"), text);
    UserSettingManagerDialog d(*b.context);
    b.TakeWritten();
    ImportSeen seen;
    test::ModalScript script({[&](QDialog* dialog) {
      auto* import = static_cast<ImportSettingsDialog*>(dialog);
      seen.rows = import->rowNames();
      seen.ticked = import->tickedNames();
      // Unticked through the row's check box.
      QTableWidget* table = import->table();
      const int gapRow = static_cast<int>(seen.rows.indexOf(QStringLiteral("gap-length")));
      QTableWidgetItem* gap = table->item(gapRow, ImportSettingsDialog::kSettingColumn);
      // The check box sits at the left of the cell, the cell's height square.
      const QRect cell = table->visualItemRect(gap);
      QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + cell.height() / 2, cell.center().y()));
      seen.tickedAfterClick = import->tickedNames();
      b.TakeWritten();
      QTest::mouseClick(import->applyButton(), Qt::LeftButton);
      seen.writtenByApply = b.TakeWritten();
      for (int r = 0; r < table->rowCount(); ++r) seen.results << table->item(r, ImportSettingsDialog::kResultColumn)->text();
      seen.summary = import->summaryLabel()->text();
      seen.applyEnabled = import->applyButton()->isEnabled();
      seen.checkableAfter = gap->flags().testFlag(Qt::ItemIsUserCheckable);
      seen.barValue = import->progressBar()->value();
      seen.barMaximum = import->progressBar()->maximum();
      QTest::mouseClick(import->cancelButton(), Qt::LeftButton);
    }});
    QTest::mouseClick(d.importButton(), Qt::LeftButton);
    QCOMPARE(script.shown, 1);
    QCOMPARE(seen.rows, (QStringList{"gap-length", "density"}));
    QCOMPARE(seen.ticked, seen.rows);
    QCOMPARE(seen.tickedAfterClick, QStringList{"density"});
    // Once written, the ticks say what was asked and can no longer be changed.
    QVERIFY(!seen.checkableAfter);
    QCOMPARE(seen.writtenByApply, std::string("^PI4,1\r\n^MBU1,14\r^PI4,1\r\n"));
    QCOMPARE(seen.results, (QStringList{QStringLiteral("not written"), QStringLiteral("changed 10 → 14")}));
    QCOMPARE(seen.summary, QStringLiteral("1 changed, 0 unchanged, 0 failed"));
    QVERIFY(!seen.applyEnabled);
    QCOMPARE(seen.barValue, seen.barMaximum);
    QCOMPARE(b.vp.stored().media.density, 14);
    QCOMPARE(b.vp.stored().media.gapLength, 24);
    // The page shows what was written, as a Get would have.
    PrinterPageSettingPage* page = d.tabControl()->printPagePage();
    QCOMPARE(page->numberField(NumericItem::kDensity)->text(), QStringLiteral("14"));
    QVERIFY(page->numberField(NumericItem::kDensity)->isEnabled());
    QVERIFY(page->setButton(NumericItem::kDensity)->isEnabled());
    QVERIFY(!page->numberField(NumericItem::kGapLength)->isEnabled());
    QVERIFY(b.prompter.messages.empty());
  }

  // Identity that differs is shown but unticked: Apply leaves it alone unless ticked.
  void IdentityRowsAreWrittenOnlyWhenTicked_data() {
    QTest::addColumn<bool>("tickIdentity");
    QTest::newRow("left unticked") << false;
    QTest::newRow("ticked") << true;
  }
  void IdentityRowsAreWrittenOnlyWhenTicked() {
    QFETCH(bool, tickIdentity);
    PrinterBench b;
    QVERIFY2(b.started && b.opened, b.error.c_str());
    std::string text = Replaced(b.Exported(), R"("speed": "Default")", R"("speed": "6ips")");
    text = Replaced(text, R"("printer-id": "PRN01")", R"("printer-id": "LINE7")");
    b.files.nextOpen = b.Write(QStringLiteral("id.json"), text);
    UserSettingManagerDialog d(*b.context);
    ImportSeen seen;
    test::ModalScript script({[&](QDialog* dialog) {
      auto* import = static_cast<ImportSettingsDialog*>(dialog);
      seen.rows = import->rowNames();
      seen.ticked = import->tickedNames();
      if (tickIdentity) import->SetTicked(static_cast<int>(seen.rows.indexOf(QStringLiteral("printer-id"))), true);
      QTest::mouseClick(import->applyButton(), Qt::LeftButton);
      seen.summary = import->summaryLabel()->text();
      QTest::mouseClick(import->cancelButton(), Qt::LeftButton);
    }});
    QTest::mouseClick(d.importButton(), Qt::LeftButton);
    QCOMPARE(script.shown, 1);
    QCOMPARE(seen.rows, (QStringList{"speed", "printer-id"}));
    QCOMPARE(seen.ticked, QStringList{"speed"});
    QCOMPARE(b.vp.stored().ident.printerId, std::string(tickIdentity ? "LINE7" : "PRN01"));
    QCOMPARE(seen.summary, tickIdentity ? QStringLiteral("2 changed, 0 unchanged, 0 failed")
                                        : QStringLiteral("1 changed, 0 unchanged, 0 failed"));
    QCOMPARE(d.tabControl()->hardwareInfoPage()->field(HardwareItem::kPrinterId)->text(),
             tickIdentity ? QStringLiteral("LINE7") : QString());
  }

  // A profile that cannot be used names the key at fault; the printer hears nothing and no
  // dialog opens. So does a file that is not there.
  void BrokenFileIsRefusedBeforeAnythingIsSent_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("unknown key") << QStringLiteral(R"({"format":"quillmark-settings","version":1,"settings":{"darkness":3}})")
                                 << QStringLiteral(R"(Cannot import the settings: unknown key "settings.darkness")");
    QTest::newRow("out of range") << QStringLiteral(R"({"format":"quillmark-settings","version":1,"settings":{"density":21}})")
                                  << QStringLiteral("Cannot import the settings: settings.density: 21 is out of range 0..20");
    QTest::newRow("cut short") << QStringLiteral(R"({"format":"quillmark-settings","version":1,"settings":{)")
                               << QStringLiteral("Cannot import the settings: not a JSON document");
    QTest::newRow("empty file") << QString() << QStringLiteral("Cannot import the settings: not a JSON document");
    QTest::newRow("no such file") << QStringLiteral("<none>")
                                  << QStringLiteral("Cannot import the settings: the file cannot be read.");
  }
  void BrokenFileIsRefusedBeforeAnythingIsSent() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    PrinterBench b;
    QVERIFY2(b.started && b.opened, b.error.c_str());
    const printer::StoredState before = b.vp.stored();
    b.files.nextOpen = text == QStringLiteral("<none>") ? b.dir.filePath(QStringLiteral("gone.json"))
                                                         : b.Write(QStringLiteral("bad.json"), text.toStdString());
    UserSettingManagerDialog d(*b.context);
    b.TakeWritten();
    test::ModalScript script({});
    QTest::mouseClick(d.importButton(), Qt::LeftButton);
    QCOMPARE(script.shown, 0);
    QCOMPARE(b.texts(), std::vector<std::string>{shown.toStdString()});
    QCOMPARE(b.TakeWritten(), std::string());
    QVERIFY(b.vp.stored() == before);
  }

  // Cancel in the import dialog: the differences were read, nothing is written.
  void CancelWritesNothing() {
    PrinterBench b;
    QVERIFY2(b.started && b.opened, b.error.c_str());
    const std::string text = Replaced(b.Exported(), R"("density": 10)", R"("density": 3)");
    b.files.nextOpen = b.Write(QStringLiteral("one.json"), text);
    const printer::StoredState before = b.vp.stored();
    UserSettingManagerDialog d(*b.context);
    QStringList rows;
    std::string writtenBeforeCancel;
    test::ModalScript script({[&](QDialog* dialog) {
      auto* import = static_cast<ImportSettingsDialog*>(dialog);
      rows = import->rowNames();
      writtenBeforeCancel = b.TakeWritten();
      QTest::mouseClick(import->cancelButton(), Qt::LeftButton);
    }});
    QTest::mouseClick(d.importButton(), Qt::LeftButton);
    QCOMPARE(script.shown, 1);
    QCOMPARE(rows, QStringList{"density"});
    // Only queries went out to compare: "^MB" sets and "^MBS" switch writes never did.
    QVERIFY2(writtenBeforeCancel.find("^MBU") == std::string::npos, writtenBeforeCancel.c_str());
    QVERIFY2(writtenBeforeCancel.find("^MBS") == std::string::npos, writtenBeforeCancel.c_str());
    QVERIFY2(writtenBeforeCancel.find("^PI4,1\r\n") != std::string::npos, writtenBeforeCancel.c_str());
    QCOMPARE(b.TakeWritten(), std::string());
    QVERIFY(b.vp.stored() == before);
    QCOMPARE(d.tabControl()->printPagePage()->numberField(NumericItem::kDensity)->text(), QStringLiteral("0"));
  }

  // Cancel while Apply writes: the item under way is finished and read back, the next one
  // is never sent and says so.
  void CancelDuringApplyStopsBeforeTheNextItem() {
    PrinterBench b;
    QVERIFY2(b.started && b.opened, b.error.c_str());
    std::string text = Replaced(b.Exported(), R"("density": 10)", R"("density": 14)");
    text = Replaced(text, R"("gap-length": 24)", R"("gap-length": 30)");
    b.files.nextOpen = b.Write(QStringLiteral("two.json"), text);
    UserSettingManagerDialog d(*b.context);
    ImportSeen seen;
    test::ModalScript script({[&](QDialog* dialog) {
      auto* import = static_cast<ImportSettingsDialog*>(dialog);
      // The first item settled moves the bar: Cancel is pressed at that moment.
      connect(import->progressBar(), &QProgressBar::valueChanged, import, [import](int value) {
        if (value == 1) QTest::mouseClick(import->cancelButton(), Qt::LeftButton);
      });
      b.TakeWritten();
      QTest::mouseClick(import->applyButton(), Qt::LeftButton);
      seen.writtenByApply = b.TakeWritten();
      for (int r = 0; r < import->table()->rowCount(); ++r) {
        seen.results << import->table()->item(r, ImportSettingsDialog::kResultColumn)->text();
      }
      seen.summary = import->summaryLabel()->text();
      seen.applyEnabled = dialog->isVisible();  // still open: Cancel only stopped the work
      QTest::mouseClick(import->cancelButton(), Qt::LeftButton);
    }});
    QTest::mouseClick(d.importButton(), Qt::LeftButton);
    QCOMPARE(script.shown, 1);
    QCOMPARE(seen.writtenByApply, std::string("^PI5,2\r\n^PI4,1\r\n^MBU5,30\r^PI5,2\r\n"));
    QCOMPARE(seen.results, (QStringList{QStringLiteral("changed 24 → 30"), QStringLiteral("failed: not written: stopped")}));
    QCOMPARE(seen.summary, QStringLiteral("1 changed, 0 unchanged, 1 failed"));
    QVERIFY(seen.applyEnabled);
    QCOMPARE(b.vp.stored().media.gapLength, 30);
    QCOMPARE(b.vp.stored().media.density, 10);
    // Only what was written shows on the page.
    PrinterPageSettingPage* page = d.tabControl()->printPagePage();
    QCOMPARE(page->numberField(NumericItem::kGapLength)->text(), QStringLiteral("30"));
    QVERIFY(!page->numberField(NumericItem::kDensity)->isEnabled());
  }

  // The switch pages show an import's values too, keeping the lists the file does not name.
  void SwitchPagesShowWhatWasWritten() {
    PrinterBench b;
    QVERIFY2(b.started && b.opened, b.error.c_str());
    std::string text = Replaced(b.Exported(), R"("handshake": "Hardware")", R"("handshake": "Software")");
    text = Replaced(text, R"("ics": "Factory Default ICS")", R"("ics": "Germany")");
    b.files.nextOpen = b.Write(QStringLiteral("switches.json"), text);
    UserSettingManagerDialog d(*b.context);
    test::ModalScript script({[&](QDialog* dialog) {
      auto* import = static_cast<ImportSettingsDialog*>(dialog);
      QTest::mouseClick(import->applyButton(), Qt::LeftButton);
      QTest::mouseClick(import->cancelButton(), Qt::LeftButton);
    }});
    QTest::mouseClick(d.importButton(), Qt::LeftButton);
    QCOMPARE(script.shown, 1);
    SerialCommunicationSettingPage* serial = d.tabControl()->serialPage();
    QCOMPARE(serial->list(SerialCommunicationSettingPage::kHandShake)->currentText(), QStringLiteral("Software"));
    const ProfileParse parsed = ParseProfile(text);
    QVERIFY2(parsed.profile, parsed.error.c_str());
    QCOMPARE(serial->list(SerialCommunicationSettingPage::kBaudRate)->currentText(),
             QString::fromStdString(parsed.profile->settings.at("baud")));
    QVERIFY(serial->setButton()->isEnabled());
    DefaultCodePageIcsSettingPage* language = d.tabControl()->languagePage();
    QCOMPARE(language->icsList()->currentText(), QStringLiteral("Germany"));
    QVERIFY(language->codePageList()->currentIndex() >= 0);
    QVERIFY(language->setButton()->isEnabled());
  }

  void FileLikeThePrinterSaysSoAndOpensNoDialog() {
    PrinterBench b;
    QVERIFY2(b.started && b.opened, b.error.c_str());
    b.files.nextOpen = b.Write(QStringLiteral("same.json"), b.Exported());
    UserSettingManagerDialog d(*b.context);
    b.TakeWritten();
    test::ModalScript script({});
    QTest::mouseClick(d.importButton(), Qt::LeftButton);
    QCOMPARE(script.shown, 0);
    QCOMPARE(b.texts(), std::vector<std::string>{"The printer already has every setting of the file."});
    QCOMPARE(b.prompter.messages[0].icon, Icon::kInformation);
    const std::string written = b.TakeWritten();
    QVERIFY2(written.find("^MBU") == std::string::npos && written.find("^MBS") == std::string::npos, written.c_str());
  }

  // Nothing ticked, nothing to apply.
  void ApplyNeedsATickedRow() {
    test::GuiContext g;
    ApplyResult differences;
    differences.changed = {{"density", "10", "14"}, {"serial-number", "A", "B"}};
    SettingsProfile file;
    file.settings = {{"density", "14"}};
    file.identity = {{"serial-number", "B"}};
    ImportSettingsDialog dialog(g.context, file, differences);
    QVERIFY(dialog.applyButton()->isEnabled());
    dialog.SetTicked(0, false);
    QVERIFY(!dialog.applyButton()->isEnabled());
    dialog.SetTicked(1, true);
    QVERIFY(dialog.applyButton()->isEnabled());
    QCOMPARE(dialog.table()->item(0, ImportSettingsDialog::kPrinterColumn)->text(), QStringLiteral("10"));
    QCOMPARE(dialog.table()->item(0, ImportSettingsDialog::kFileColumn)->text(), QStringLiteral("14"));
  }
};

}  // namespace qm

QTEST_MAIN(qm::ImportExportTest)
#include "import_export_test.moc"
