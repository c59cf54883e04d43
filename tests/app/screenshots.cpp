// Renders the main window, the tester, the User Setting Manager with its import, calibration and status, in English and
// Japanese, into PNG files for the README: quillmark-screenshots OUTDIR (run it under
// LANG=ja_JP.UTF-8 for the Japanese pictures, so that the Japanese desktop font is used).
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QPainter>

#include "app/main_dialog.h"
#include "commands/ui/barcode_2d_command_dialog.h"
#include "commands/ui/bitmap_text_command_dialog.h"
#include "commands/ui/font_finder_dialog.h"
#include "commands/ui/label_setting_dialog.h"
#include "commands/ui/printing_setting_dialog.h"
#include "commands/ui/label_preview_pane.h"
#include "commands/ui/label_view.h"
#include "commands/ui/line_preview.h"
#include "commands/piece_writes.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "commands/ui/two_byte_codepage_dialog.h"
#include "core/progress.h"
#include "gui/long_work.h"
#include "downloads/ui/file_transfer_dialog.h"
#include "downloads/ui/pcx_file_downloader_dialog.h"
#include "gui/qt_strings.h"
#include "rfid/ui/lock_payload_box.h"
#include "rfid/ui/rfid_configuration_dialog.h"
#include "rfid/ui/rfid_kill_dialog.h"
#include "rfid/ui/rfid_password_dialog.h"
#include "rfid/ui/rfid_read_command_dialog.h"
#include "rfid/ui/rfid_read_dialog.h"
#include "rfid/ui/rfid_security_dialog.h"
#include "rfid/ui/rfid_write_command_dialog.h"
#include "rfid/ui/rfid_write_dialog.h"
#include "rfid/ui/tag_cell_grid.h"
#include "printer/sensing.h"
#include "settings/ui/calibration_setting_manager_dialog.h"
#include "settings/ui/check_printer_status_dialog.h"
#include "settings/ui/sensing_value_distribution_page.h"
#include "settings/ui/import_settings_dialog.h"
#include "settings/ui/user_setting_manager_dialog.h"
#include "settings/ui/user_setting_tab_control.h"
#include "gui_support.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(qm::kProgramName));
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(out);
  for (const auto& [suffix, locale] : {std::pair{"en", QLocale(QLocale::English)},
                                       std::pair{"ja", QLocale(QLocale::Japanese, QLocale::Japan)}}) {
    qm::InstallTranslations(locale);
    const qm::QtStringTable strings;
    qm::test::GuiContext g;
    qm::AppContext context{g.link, g.clock, g.prompter, strings, g.spooler, g.files};
    qm::MainDialog main(context);
    main.show();
    main.grab().save(out + QStringLiteral("/main-window-%1.png").arg(QLatin1String(suffix)));
    {
      // The download dialogs with a file chosen, the transfer shown part way.
      QTemporaryDir files;
      QFile logo(files.filePath(QStringLiteral("LOGO.pcx")));
      logo.open(QIODevice::WriteOnly);
      logo.write(QByteArray(1234, 'x'));
      logo.close();
      g.files.nextOpen = logo.fileName();
      qm::PcxFileDownloaderDialog pcx(context);
      pcx.Browse();
      pcx.show();
      pcx.grab().save(out + QStringLiteral("/pcx-file-downloader-%1.png").arg(QLatin1String(suffix)));
      qm::FileTransferDialog transfer(context);
      transfer.Browse();
      transfer.panel()->bar()->setValue(400);
      transfer.panel()->progressLabel()->setText(qm::DownloadPanel::tr("%1 of %2 bytes").arg(494).arg(1234));
      transfer.show();
      transfer.grab().save(out + QStringLiteral("/file-transfer-%1.png").arg(QLatin1String(suffix)));
    }
    qm::QdrlTesterDialog tester(context);
    tester.SetCommandText("SS4\r\nSD10\r\nT50,50,0,3,1,1,0,'Quillmark'\r\nB1100,120,0,1,2,6,80,1,'012345678905'\r\nP1,1\r\n");
    tester.show();
    tester.grab().save(out + QStringLiteral("/qdrl-tester-%1.png").arg(QLatin1String(suffix)));
    {
      // The tester with its preview of a small label, drawn on the worker before the picture.
      qm::QdrlTesterDialog previewing(context);
      previewing.previewPane()->SetDebounceMs(0);
      QEventLoop drawn;
      QObject::connect(previewing.previewPane(), &qm::LabelPreviewPane::rendered, &drawn, &QEventLoop::quit);
      previewing.previewButton()->click();
      previewing.SetCommandText(
          "SW812\r\nSL600,24,G\r\nBD20,20,792,580,B,6\r\nT50,50,5,1,1,0,0,N,N,'Quillmark'\r\n"
          "V50,120,U,40,40,1,N,N,N,0,L,0,'Label preview'\r\nB150,200,1,3,7,120,0,1,'QM-0042'\r\n"
          "B2560,200,Q,2,M,4,0,'https://example.com/qm/0042'\r\nT50,420,9,1,1,0,0,N,N,'x'\r\nP1\r\n");
      previewing.show();
      drawn.exec();
      previewing.grab().save(out + QStringLiteral("/qdrl-tester-preview-%1.png").arg(QLatin1String(suffix)));
    }
    {
      // A large script shown at once while its lines are still going into the editor.
      QTemporaryDir files;
      const QString huge = files.filePath(QStringLiteral("large.txt"));
      {
        QFile f(huge);
        f.open(QIODevice::WriteOnly);
        for (int i = 0; f.size() < (4 << 20); ++i) {
          f.write(QStringLiteral("T20,%1,Z,1,1,0,0,N,N,'Quillmark %2'\r\n").arg(20 + i % 1000).arg(i).toLatin1());
          if (i % 5 == 4) f.write("P1\r\n");
        }
      }
      qm::QdrlTesterDialog loading(context);
      loading.SetLoadSlices(64 << 10, 0);
      loading.resize(1366, 768);
      loading.show();
      g.files.nextOpen = huge;
      loading.Load();
      for (int i = 0; i < 20; ++i) QApplication::processEvents();
      loading.grab().save(out + QStringLiteral("/qdrl-tester-loading-%1.png").arg(QLatin1String(suffix)));
      loading.FinishLoading();
    }
    {
      // A label of more drawing commands than the preview draws, at the size of a laptop screen.
      qm::QdrlTesterDialog previewing(context);
      previewing.previewPane()->SetDebounceMs(0);
      previewing.previewPane()->SetMaxDrawingCommands(2);
      QEventLoop drawn;
      QObject::connect(previewing.previewPane(), &qm::LabelPreviewPane::rendered, &drawn, &QEventLoop::quit);
      previewing.previewButton()->click();
      previewing.SetCommandText("BD20,20,400,80,O\r\nBD20,100,400,160,O\r\nT50,50,5,1,1,0,0,N,N,'Quillmark'\r\nP1\r\n");
      previewing.resize(1366, 768);
      previewing.show();
      drawn.exec();
      previewing.grab().save(out + QStringLiteral("/qdrl-tester-too-large-%1.png").arg(QLatin1String(suffix)));
    }
    {
      // The preview as a design tool at 1366x768: millimetre rulers and grid, a design picture
      // under the label, the caret's line outlined and a picked mark.
      QTemporaryDir files;
      QImage design(640, 400, QImage::Format_RGB32);  // 80 by 50 mm at 8 pixels a millimetre
      design.fill(Qt::white);
      {
        QPainter p(&design);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 180, 255));
        p.drawRoundedRect(QRect(24, 24, 592, 352), 40, 40);
        p.setBrush(QColor(255, 200, 120));
        p.drawRect(QRect(360, 150, 190, 190));
      }
      const QString picture = files.filePath(QStringLiteral("design.png"));
      design.save(picture);
      qm::QdrlTesterDialog designing(context);
      designing.resize(1366, 768);
      designing.previewPane()->SetDebounceMs(0);
      QEventLoop designed;
      QObject::connect(designing.previewPane(), &qm::LabelPreviewPane::rendered, &designed, &QEventLoop::quit);
      designing.previewButton()->click();
      designing.SetCommandText(
          "SW640\r\nSL400,24,G\r\nBD20,20,620,380,B,4\r\nT40,40,5,1,1,0,0,N,N,'Quillmark'\r\n"
          "V40,110,U,36,36,1,N,N,N,0,L,0,'Design check'\r\nB140,170,1,2,4,80,0,1,'QM-0042'\r\n"
          "B2430,150,Q,2,M,3,0,'https://example.com/qm/0042'\r\nP1\r\n");
      designing.show();
      designed.exec();
      qm::LabelView* view = designing.previewPane()->view();
      view->unitBox()->setCurrentIndex(1);
      view->gridBox()->setChecked(true);
      g.files.nextOpen = picture;
      view->overlayButton()->click();
      view->opacityBox()->setValue(40);
      // The title picked (its line selected and outlined), then the pointer over the barcode.
      const double z = view->zoom();
      QTest::mouseClick(view->canvas(), Qt::LeftButton, {}, QPoint(static_cast<int>(60 * z), static_cast<int>(60 * z)));
      QTest::mouseMove(view->canvas(), QPoint(static_cast<int>(200 * z), static_cast<int>(200 * z)));
      designing.grab().save(out + QStringLiteral("/preview-design-%1.png").arg(QLatin1String(suffix)));
    }
    qm::UserSettingManagerDialog settings(context);
    settings.tabControl()->setCurrentIndex(qm::UserSettingTabControl::kPrintPagePage);
    settings.show();
    settings.grab().save(out + QStringLiteral("/user-settings-%1.png").arg(QLatin1String(suffix)));
    {
      // An import of a profile whose five items differ; the printer ID is shown, unticked.
      qm::ApplyResult differences;
      differences.changed = {{"gap-length", "24", "30"},
                             {"density", "10", "14"},
                             {"speed", "Default", "6ips"},
                             {"handshake", "Hardware", "Software"},
                             {"ics", "Factory Default ICS", "Germany"},
                             {"printer-id", "PRN01", "LINE7"}};
      qm::ImportSettingsDialog import(context, qm::SettingsProfile{}, differences, &settings);
      import.SetTicked(2, false);
      import.show();
      import.grab().save(out + QStringLiteral("/settings-import-%1.png").arg(QLatin1String(suffix)));
    }
    // A builder's own line preview is drawn on the worker before its picture is taken.
    const auto awaitLinePreview = [](QWidget& builder) {
      QEventLoop drawn;
      QObject::connect(builder.findChild<qm::LinePreview*>(), &qm::LinePreview::rendered, &drawn, &QEventLoop::quit);
      drawn.exec();
    };
    qm::Barcode2DCommandDialog barcode2D(context);
    barcode2D.controls().type->setCurrentIndex(1);  // PDF417: every field in use
    barcode2D.show();
    awaitLinePreview(barcode2D);
    barcode2D.grab().save(out + QStringLiteral("/barcode-2d-%1.png").arg(QLatin1String(suffix)));
    qm::BitmapTextCommandDialog bitmapText(context);
    bitmapText.show();
    awaitLinePreview(bitmapText);
    bitmapText.grab().save(out + QStringLiteral("/bitmap-text-%1.png").arg(QLatin1String(suffix)));
    qm::FontFinderDialog fontFinder(context);
    fontFinder.FindMostSimilar();  // both answers for the default 3 by 5 mm
    fontFinder.FindSimilarAndRound();
    fontFinder.show();
    fontFinder.grab().save(out + QStringLiteral("/font-finder-%1.png").arg(QLatin1String(suffix)));
    {
      // The density a few steps down from 20 at the top, and the label that the label
      // setting's defaults describe, on black-mark paper.
      qm::PrintingSettingDialog printing(context);
      printing.controls().density->setValue(6);
      printing.show();
      printing.grab().save(out + QStringLiteral("/print-setting-%1.png").arg(QLatin1String(suffix)));
      qm::LabelSettingDialog label;
      label.controls().media->button(2)->click();
      label.show();
      label.grab().save(out + QStringLiteral("/label-setting-%1.png").arg(QLatin1String(suffix)));
    }
    {
      // The calibration page after a read of the virtual printer's 150 mm gap label.
      qm::CalibrationSettingManagerDialog calibration(context);
      calibration.sensingPage()->ShowDistribution(
          qm::printer::SensingDistribution(1200, qm::printer::MediaType::kGap, 1219, 24));
      calibration.show();
      calibration.grab().save(out + QStringLiteral("/calibration-%1.png").arg(QLatin1String(suffix)));
      calibration.tabs()->setCurrentIndex(qm::CalibrationSettingManagerDialog::kManualPage);
      calibration.grab().save(out + QStringLiteral("/manual-calibration-%1.png").arg(QLatin1String(suffix)));
      qm::CheckPrinterStatusDialog status(context);
      status.page(qm::StatusCommand::kCp)->boxes()[0]->setChecked(true);
      status.show();
      status.grab().save(out + QStringLiteral("/printer-status-%1.png").arg(QLatin1String(suffix)));
      status.tabs()->setCurrentIndex(2);
      status.grab().save(out + QStringLiteral("/printer-status-ee-%1.png").arg(QLatin1String(suffix)));
    }
    {
      // The two-byte code page print after a run in which one label did not reach the printer.
      qm::TwoByteCodepageDialog twoByte(context);
      twoByte.controls().startBlock->setText(QStringLiteral("B0"));
      twoByte.controls().endBlock->setText(QStringLiteral("B2"));
      qm::PiecesWritten run;
      run.sent = 2;
      run.failed = 1;
      run.total = 3;
      twoByte.controls().status->setText(qm::TwoByteCodepageDialog::Summary(run));
      twoByte.show();
      twoByte.grab().save(out + QStringLiteral("/two-byte-summary-%1.png").arg(QLatin1String(suffix)));
      // Long work's progress over it: a print of 124 labels, 40 sent.
      QTimer::singleShot(qm::kProgressAfterMs + 300, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
          if (w->objectName() == QLatin1String("longWorkProgress") && w->isVisible()) {
            twoByte.grab().save(out + QStringLiteral("/long-work-progress-%1.png").arg(QLatin1String(suffix)));
            w->grab().save(out + QStringLiteral("/long-work-progress-dialog-%1.png").arg(QLatin1String(suffix)));
          }
        }
      });
      qm::RunLongWork(context, &twoByte,
                      qm::LongWorkText{qm::TwoByteCodepageDialog::tr("Printing blocks"),
                                       qm::TwoByteCodepageDialog::tr("labels"), {}, nullptr, nullptr},
                      [&](qm::Work& work) {
                        for (int n = 0; n <= 40; ++n) {
                          work.progress.Report(static_cast<uint64_t>(n), 124);
                          qm::SystemClock().Sleep(22);
                        }
                      });
    }
    {
      // The write dialog with a tag's data typed in, to be written, locked and printed.
      qm::RfidWriteDialog rfidWrite(context);
      rfidWrite.labelRadio()->setChecked(true);
      rfidWrite.setDataButton()->click();
      for (int i = 0; i < 12; ++i) rfidWrite.cells()->cell(4 + i)->setText(QStringLiteral("%1").arg(0x30 + i * 7, 2, 16, QLatin1Char('0')).toUpper());
      rfidWrite.dataBox()->click();
      rfidWrite.lockBox()->click();
      for (int i : {4, 8}) {
        rfidWrite.payload()->maskBox(i)->setChecked(true);
        rfidWrite.payload()->actionBox(i)->setChecked(true);
      }
      rfidWrite.show();
      rfidWrite.grab().save(out + QStringLiteral("/rfid-write-%1.png").arg(QLatin1String(suffix)));
      const std::pair<QDialog*, const char*> others[] = {
          {new qm::RfidConfigurationDialog(context), "rfid-configuration"},
          {new qm::RfidReadDialog(context), "rfid-read"},
          {new qm::RfidWriteCommandDialog(context.prompter), "rfid-write-command"},
          {new qm::RfidReadCommandDialog, "rfid-read-command"},
          {new qm::RfidPasswordDialog(context.prompter), "rfid-password"},
          {new qm::RfidSecurityDialog, "rfid-security"},
          {new qm::RfidKillDialog, "rfid-kill"},
      };
      for (const auto& [dialog, name] : others) {
        dialog->show();
        dialog->grab().save(out + QStringLiteral("/%1-%2.png").arg(QLatin1String(name), QLatin1String(suffix)));
        delete dialog;
      }
    }
  }
  return 0;
}
