// The end of the program: SIGTERM and SIGINT close whatever is open over the main window,
// and the main window with it, so the print queues come back and the process ends.
#include <signal.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "app/main_app.h"
#include "app/main_dialog.h"
#include "commands/ui/label_setting_dialog.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "gui_support.h"
#include "pty_pair.h"

namespace qm {

using test::GuiContext;
using test::ModalScript;

namespace {

QAbstractButton* ButtonOf(QWidget* window, const QString& label) {
  for (auto* b : window->findChildren<QAbstractButton*>()) {
    if (b->text() == label) return b;
  }
  return nullptr;
}

// Loops end for good once the program is told to end; a test that goes on needs them back.
void LetLoopsRunAgain() {
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

}  // namespace

class MainAppTest : public QObject {
  Q_OBJECT

 private slots:
  void SignalEndsEveryOpenWindowAndGivesTheQueuesBack_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("builderOverTester");
    QTest::newRow("SIGTERM, a builder over the tester") << int(SIGTERM) << true;
    QTest::newRow("SIGINT, the tester") << int(SIGINT) << false;
  }
  void SignalEndsEveryOpenWindowAndGivesTheQueuesBack() {
    QFETCH(int, signal);
    QFETCH(bool, builderOverTester);
    test::PtyPair pty;
    DeviceMap devices = test::IsolatedDevices();
    devices.Override("COM1", pty.path());
    GuiContext g(devices);
    g.spooler.queues = {{"Labels", "COM1:"}};

    QElapsedTimer sinceSignal;
    bool watchdogFired = false;
    std::vector<QString> open;
    {
      MainDialog d(g.context);
      d.Connect();
      QVERIFY(d.connected());
      QCOMPARE(g.spooler.PortOf("Labels"), std::string("FILE:"));
      const auto raise = [&](QDialog* shown) {
        open.push_back(shown->windowTitle());
        sinceSignal.start();
        ::kill(::getpid(), signal);
      };
      std::deque<ModalScript::Step> steps;
      if (builderOverTester) {
        steps.push_back([&](QDialog* tester) {
          open.push_back(tester->windowTitle());
          ButtonOf(tester, QStringLiteral("Margin && Width && Length"))->click();
        });
      }
      steps.push_back(raise);
      ModalScript script(std::move(steps));
      // Should the signal go unheard, the test fails instead of hanging.
      QTimer watchdog;
      watchdog.setSingleShot(true);
      QObject::connect(&watchdog, &QTimer::timeout, [&] {
        watchdogFired = true;
        while (QWidget* modal = QApplication::activeModalWidget()) {
          if (modal == &d) break;
          static_cast<QDialog*>(modal)->done(QDialog::Rejected);
          QCoreApplication::processEvents();
        }
        d.Exit();
      });
      watchdog.start(3000);
      QTimer::singleShot(0, &d, [&d] { d.testerButton()->click(); });
      QCOMPARE(MainApp::RunMainDialog(d), 0);
      const qint64 took = sinceSignal.elapsed();
      QVERIFY2(!watchdogFired, "the signal left a window open");
      QVERIFY2(took < 1000, qPrintable(QString::number(took)));
      QCOMPARE(script.unexpected, 0);
      for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
    }
    LetLoopsRunAgain();
    const std::vector<QString> expected =
        builderOverTester ? std::vector<QString>{"QDRL Tester", "Label Setting"} : std::vector<QString>{"QDRL Tester"};
    QCOMPARE(open, expected);
    QCOMPARE(g.spooler.PortOf("Labels"), std::string("COM1:"));
  }

  // Work that shows its progress and looks at Cancel between pieces, as the downloads do,
  // is cancelled at the signal; the windows then go as above.
  void SignalCancelsWorkBehindAProgressDialog() {
    GuiContext g;
    bool cancelled = false;
    qint64 took = -1;
    {
      MainDialog d(g.context);
      ModalScript script({[&](QDialog* tester) {
        QProgressDialog progress(QStringLiteral("Sending"), QStringLiteral("Cancel"), 0, 100, tester);
        progress.setMinimumDuration(0);
        progress.setValue(1);
        QElapsedTimer t;
        t.start();
        ::kill(::getpid(), SIGTERM);
        while (!progress.wasCanceled() && t.elapsed() < 3000) QCoreApplication::processEvents();
        cancelled = progress.wasCanceled();
        took = t.elapsed();
      }});
      QTimer::singleShot(0, &d, [&d] {
        // The tester opens without a printer here: nothing of it talks to the link.
        d.testerButton()->setEnabled(true);
        d.testerButton()->click();
      });
      QTimer watchdog;
      QObject::connect(&watchdog, &QTimer::timeout, [&d] { d.Exit(); });
      watchdog.start(5000);
      MainApp::RunMainDialog(d);
      QCOMPARE(script.shown, 1);
    }
    LetLoopsRunAgain();
    QVERIFY(cancelled);
    QVERIFY2(took < 1000, qPrintable(QString::number(took)));
  }

  // A run with nothing over the main window ends too, and leaves the signals as it found them.
  void ASecondRunHearsItsOwnSignal() {
    GuiContext g;
    MainDialog d(g.context);
    struct sigaction before {};
    ::sigaction(SIGTERM, nullptr, &before);
    QTimer::singleShot(0, &d, [] { ::kill(::getpid(), SIGTERM); });
    QElapsedTimer t;
    t.start();
    QCOMPARE(MainApp::RunMainDialog(d), 0);
    QVERIFY(t.elapsed() < 1000);
    QVERIFY(!d.isVisible());
    LetLoopsRunAgain();
    struct sigaction now {};
    ::sigaction(SIGTERM, nullptr, &now);
    QVERIFY(now.sa_handler == before.sa_handler);
  }
};

}  // namespace qm

QTEST_MAIN(qm::MainAppTest)
#include "main_app_test.moc"
