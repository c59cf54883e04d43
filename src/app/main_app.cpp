#include "app/main_app.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QRadioButton>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "printer/demo_printer.h"
#include "app/main_dialog.h"
#include "gui/file_chooser.h"
#include "gui/qt_clock.h"
#include "gui/qt_prompter.h"
#include "gui/qt_strings.h"
#include "link/cups/system_spooler.h"
#include "link/printer_link.h"

namespace qm {

namespace {

int signalPipe[2] = {-1, -1};

void OnTerminate(int) {
  const char c = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

}  // namespace

void MainApp::SetUpApplication(const QLocale& locale) {
  QApplication::setApplicationName(QString::fromLatin1(kProgramName));
  QApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
  // No display name: the window system would show it after every title (" — Quillmark"),
  // and the titles and captions must read exactly as the dialogs give them.
  InstallTranslations(locale);
}

int MainApp::Run(int argc, char** argv) {
  QApplication app(argc, argv);
  SetUpApplication(QLocale::system());

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Configuration and test utility for QDRL label printers."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption demo(QStringLiteral("demo"),
                                QStringLiteral("Connect to a built-in virtual printer (Ethernet, COM1:, USB)."));
  parser.addOption(demo);
  parser.process(app);

  QtClock clock;
  QtPrompter prompter;
  QtStringTable strings;
  DialogFileChooser files;

  std::unique_ptr<printer::DemoPrinter> demoPrinter;
  DeviceMap devices = DeviceMap::FromEnvironment();
  if (parser.isSet(demo)) {
    demoPrinter = std::make_unique<printer::DemoPrinter>();
    std::string error;
    if (!demoPrinter->Start(devices, error)) {
      std::fprintf(stderr, "quillmark: cannot start the virtual printer: %s\n", error.c_str());
      return 1;
    }
  }
  // CUPS when a server answers, which first gives back what a crashed run left diverted.
  SystemSpooler spooler(devices);
  PrinterLink link(clock, prompter, strings, LinkTiming{}, devices);
  AppContext context{link, clock, prompter, strings, spooler.spooler(), files};
  MainDialog dialog(context);
  dialog.statusLine()->setText(QString::fromStdString(spooler.startNotice()));
  if (demoPrinter) {
    dialog.SetEthernetTarget(QStringLiteral("127.0.0.1"), demoPrinter->tcpPort());
    dialog.radio(MainDialog::kChoiceEthernet)->click();
  }

  // SIGINT and SIGTERM end the program as "Exit" does, so diverted queues come back.
  std::unique_ptr<QSocketNotifier> notifier;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
    notifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, &dialog, [&dialog] {
      char c;
      [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &c, 1);
      dialog.Exit();
    });
    struct sigaction sa {};
    sa.sa_handler = OnTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
  }

  // For the start-up benchmark: leave as soon as the window is on screen.
  if (std::getenv("QUILLMARK_EXIT_AFTER_SHOW")) {
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.Exit(); });
  }
  dialog.show();
  dialog.exec();
  return 0;
}

}  // namespace qm
