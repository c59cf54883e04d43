// Window titles as the window system shows them, and every dialog on a 1366x768 laptop
// screen, in English and Japanese.
#include <QPushButton>
#include <QtTest>

#include "app/main_app.h"
#include "app/main_dialog.h"
#include "commands/ui/barcode_1d_command_dialog.h"
#include "commands/ui/barcode_2d_command_dialog.h"
#include "commands/ui/bitmap_text_command_dialog.h"
#include "commands/ui/block_draw_command_dialog.h"
#include "commands/ui/character_set_command_dialog.h"
#include "commands/ui/convert_unit_dialog.h"
#include "commands/ui/font_finder_dialog.h"
#include "commands/ui/label_setting_dialog.h"
#include "commands/ui/printing_copies_dialog.h"
#include "commands/ui/printing_setting_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "commands/ui/two_byte_codepage_dialog.h"
#include "commands/ui/vector_text_command_dialog.h"
#include "downloads/ui/file_transfer_dialog.h"
#include "downloads/ui/pcx_file_downloader_dialog.h"
#include "gui/qt_strings.h"
#include "rfid/ui/rfid_configuration_dialog.h"
#include "rfid/ui/rfid_kill_dialog.h"
#include "rfid/ui/rfid_password_dialog.h"
#include "rfid/ui/rfid_read_command_dialog.h"
#include "rfid/ui/rfid_read_dialog.h"
#include "rfid/ui/rfid_security_dialog.h"
#include "rfid/ui/rfid_write_command_dialog.h"
#include "rfid/ui/rfid_write_dialog.h"
#include "settings/ui/calibration_extra_dialog.h"
#include "settings/ui/calibration_setting_manager_dialog.h"
#include "settings/ui/check_printer_status_dialog.h"
#include "settings/ui/import_settings_dialog.h"
#include "settings/ui/user_setting_manager_dialog.h"
#include "gui_support.h"

namespace qm {

namespace {

// What a 1366x768 screen leaves a dialog once a panel and the title bar have their share.
constexpr int kUsableWidth = 1366;
constexpr int kUsableHeight = 720;

// Every item a profile can carry, each differing, with its longest list entries: the
// import dialog at its fullest.
ApplyResult EveryItemDiffers() {
  ApplyResult differences;
  for (const char* name : {"paper-width", "paper-length", "gap-length", "h-margin", "v-margin", "density", "strobe",
                           "speed", "offset", "tear-off", "gap-detect", "handshake", "stop-bits", "data-length",
                           "parity-check", "parity", "baud", "codepage", "ics", "rfid-tag", "rfid-power",
                           "rfid-position", "rfid-retries", "rfid-labels", "hardware-version", "serial-number",
                           "printer-id"}) {
    differences.changed.push_back({name, "Upper Position of Gap", "Lower Position of Gap"});
  }
  differences.failed.push_back({"rfid-tag", "the printer's value could not be read"});
  return differences;
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() {
    InstallTranslations(QLocale(QLocale::English));
    QCoreApplication::setApplicationName(QString::fromLatin1(kProgramName));
  }

  // Once an application display name is set, Qt adds " — " and that name to every title
  // the window system shows, message box captions included.
  void TheProgramSetsNoDisplayNameForTitles() {
    MainApp::SetUpApplication(QLocale(QLocale::English));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quillmark"));
    QCoreApplication::setApplicationName(QStringLiteral("another name"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("another name"));
  }

  void TitlesAreExact() {
    test::GuiContext g;
    MainDialog main(g.context);
    QdrlTesterDialog tester(g.context);
    // The tester again with its preview open beside the editor.
    QdrlTesterDialog testerWithPreview(g.context);
    testerWithPreview.previewButton()->click();
    UserSettingManagerDialog settings(g.context);
    PrintingCopiesDialog copies;
    QCOMPARE(main.windowTitle(), QStringLiteral("Quillmark  (Version 1.4.9)"));
    QCOMPARE(tester.windowTitle(), QStringLiteral("QDRL Tester"));
    QCOMPARE(settings.windowTitle(), QStringLiteral("User Setting Manager"));
    QCOMPARE(copies.windowTitle(), QStringLiteral("Printing Copies"));
    QCOMPARE(BitmapTextCommandDialog(g.context).windowTitle(), QStringLiteral("Bitmap Text Command"));
    QCOMPARE(VectorTextCommandDialog(g.context).windowTitle(), QStringLiteral("Vector Text Command"));
    QCOMPARE(CharacterSetCommandDialog(g.context).windowTitle(), QStringLiteral("Character Set Command"));
    QCOMPARE(FontFinderDialog(g.context).windowTitle(), QStringLiteral("Font Finder"));
    QCOMPARE(ConvertUnitDialog().windowTitle(), QStringLiteral("Convert Unit"));
    QCOMPARE(TwoByteCodepageDialog(g.context).windowTitle(), QStringLiteral("2 Byte Codepage"));
    QCOMPARE(CalibrationSettingManagerDialog(g.context).windowTitle(), QStringLiteral("Manual Calibration"));
    QCOMPARE(CheckPrinterStatusDialog(g.context).windowTitle(), QStringLiteral("Check Printer Status"));
    QCOMPARE(FileTransferDialog(g.context).windowTitle(), QStringLiteral("File Transfer"));
    QCOMPARE(PcxFileDownloaderDialog(g.context).windowTitle(), QStringLiteral("PCX File Downloader"));
    QCOMPARE(ImportSettingsDialog(g.context, SettingsProfile{}, ApplyResult{}).windowTitle(), QStringLiteral("Import Settings"));
  }

  void EveryDialogFitsALaptopScreen_data() {
    QTest::addColumn<bool>("japanese");
    QTest::newRow("English") << false;
    QTest::newRow("Japanese") << true;
  }
  void EveryDialogFitsALaptopScreen() {
    QFETCH(bool, japanese);
    if (japanese) QVERIFY(InstallTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    test::GuiContext g;
    MainDialog main(g.context);
    QdrlTesterDialog tester(g.context);
    // The tester again with its preview open beside the editor.
    QdrlTesterDialog testerWithPreview(g.context);
    testerWithPreview.previewButton()->click();
    UserSettingManagerDialog settings(g.context);
    PrintingCopiesDialog copies;
    Barcode1DCommandDialog barcode1D(g.context);
    Barcode2DCommandDialog barcode2D(g.context);
    BlockDrawCommandDialog blockDraw(g.context);
    LabelSettingDialog labelSetting;
    PrintingSettingDialog printingSetting(g.context);
    BitmapTextCommandDialog bitmapText(g.context);
    VectorTextCommandDialog vectorText(g.context);
    CharacterSetCommandDialog characterSet(g.context);
    FontFinderDialog fontFinder(g.context);
    ConvertUnitDialog convertUnit;
    TwoByteCodepageDialog twoByte(g.context);
    RfidConfigurationDialog rfidConfiguration(g.context);
    RfidWriteDialog rfidWrite(g.context);
    RfidReadDialog rfidRead(g.context);
    RfidWriteCommandDialog rfidWriteCommand(g.prompter);
    RfidReadCommandDialog rfidReadCommand;
    RfidPasswordDialog rfidPassword(g.prompter);
    RfidSecurityDialog rfidSecurity;
    RfidKillDialog rfidKill;
    CalibrationSettingManagerDialog calibration(g.context);
    CalibrationExtraDialog calibrationExtra(g.context, SensingType::kGap, 10, 12, 900, 800, 7);
    CheckPrinterStatusDialog status(g.context);
    FileTransferDialog fileTransfer(g.context);
    PcxFileDownloaderDialog pcxDownloader(g.context);
    ImportSettingsDialog importSettings(g.context, SettingsProfile{}, EveryItemDiffers());
    for (QDialog* d : std::initializer_list<QDialog*>{&importSettings, &fileTransfer, &pcxDownloader, &main, &tester, &testerWithPreview, &settings, &copies, &barcode1D, &barcode2D,
                                                      &blockDraw, &labelSetting, &printingSetting, &bitmapText,
                                                      &vectorText, &characterSet, &fontFinder, &convertUnit, &twoByte,
                                                      &rfidConfiguration, &rfidWrite, &rfidRead, &rfidWriteCommand,
                                                      &rfidReadCommand, &rfidPassword, &rfidSecurity, &rfidKill,
                                                      &calibration, &calibrationExtra, &status}) {
      for (const QSize size : {d->sizeHint(), d->minimumSizeHint()}) {
        const QString what = QStringLiteral("%1: %2x%3").arg(d->metaObject()->className()).arg(size.width()).arg(size.height());
        QVERIFY2(size.width() <= kUsableWidth && size.height() <= kUsableHeight, qPrintable(what));
      }
    }
  }
};

}  // namespace qm

QTEST_MAIN(qm::WindowTest)
#include "window_test.moc"
