#include "app/main_app.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QProgressDialog>
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

// Ends the program from wherever it stands: a tool, a builder over the tester, a message
// box. Each of them runs a loop of its own inside the main window's, and closing the main
// window alone would leave them on screen and the process running.
void EndEverything(MainDialog& dialog) {
  // Work behind a progress dialog stops at its next piece, as at Cancel.
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* progress = qobject_cast<QProgressDialog*>(window);
    if (progress && progress->isVisible()) emit progress->canceled();
  }
  dialog.Exit();
  // Every running loop returns, and a dialog opened while the tools unwind returns at once,
  // so each opener's scope ends, its dialog goes, and the main window's destruction gives
  // the print queues back.
  QCoreApplication::exit(0);
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

  // For the start-up benchmark: leave as soon as the window is on screen.
  if (std::getenv("QUILLMARK_EXIT_AFTER_SHOW")) {
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.Exit(); });
  }
  return RunMainDialog(dialog);
}

int MainApp::RunMainDialog(MainDialog& dialog) {
  // SIGINT and SIGTERM end the program as "Exit" does, so diverted queues come back.
  std::unique_ptr<QSocketNotifier> notifier;
  struct sigaction previousInt {};
  struct sigaction previousTerm {};
  const bool heard = ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0;
  if (heard) {
    notifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, &dialog, [&dialog] {
      char c;
      [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &c, 1);
      EndEverything(dialog);
    });
    struct sigaction sa {};
    sa.sa_handler = OnTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, &previousInt);
    ::sigaction(SIGTERM, &sa, &previousTerm);
  }

  dialog.show();
  dialog.exec();

  if (heard) {
    // The handlers go before the pipe, so a late signal never writes to a reused descriptor.
    ::sigaction(SIGINT, &previousInt, nullptr);
    ::sigaction(SIGTERM, &previousTerm, nullptr);
    notifier.reset();
    for (int& end : signalPipe) {
      ::close(end);
      end = -1;
    }
  }
  return 0;
}

}  // namespace qm
