// Renders the main window, the tester and the User Setting Manager, in English and
// Japanese, into PNG files for the README: quillmark-screenshots OUTDIR (run it under
// LANG=ja_JP.UTF-8 for the Japanese pictures, so that the Japanese desktop font is used).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>

#include "app/main_dialog.h"
#include "commands/ui/barcode_2d_command_dialog.h"
#include "commands/ui/font_finder_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "gui/qt_strings.h"
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
    qm::QdrlTesterDialog tester(context);
    tester.SetCommandText("SS4\r\nSD10\r\nT50,50,0,3,1,1,0,'Quillmark'\r\nB1100,120,0,1,2,6,80,1,'012345678905'\r\nP1,1\r\n");
    tester.show();
    tester.grab().save(out + QStringLiteral("/qdrl-tester-%1.png").arg(QLatin1String(suffix)));
    qm::UserSettingManagerDialog settings(context);
    settings.tabControl()->setCurrentIndex(qm::UserSettingTabControl::kPrintPagePage);
    settings.show();
    settings.grab().save(out + QStringLiteral("/user-settings-%1.png").arg(QLatin1String(suffix)));
    qm::Barcode2DCommandDialog barcode2D(context);
    barcode2D.controls().type->setCurrentIndex(1);  // PDF417: every field in use
    barcode2D.show();
    barcode2D.grab().save(out + QStringLiteral("/barcode-2d-%1.png").arg(QLatin1String(suffix)));
    qm::FontFinderDialog fontFinder(context);
    fontFinder.FindMostSimilar();  // both answers for the default 3 by 5 mm
    fontFinder.FindSimilarAndRound();
    fontFinder.show();
    fontFinder.grab().save(out + QStringLiteral("/font-finder-%1.png").arg(QLatin1String(suffix)));
  }
  return 0;
}
