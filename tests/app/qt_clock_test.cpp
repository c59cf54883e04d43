// The GUI's clock: the link's waits run on long work's worker, so timers and painting go
// on meanwhile, and the stop request in force ends them at once.
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "gui/long_work.h"
#include "gui/qt_clock.h"
#include "gui_support.h"

namespace qm {

namespace {

struct ClockContext {
  ClockContext()
      : link(clock, prompter, EnglishStrings(), LinkTiming{}, test::IsolatedDevices()),
        context{link, clock, prompter, EnglishStrings(), spooler, files} {}
  QtClock clock;
  test::RecordingPrompter prompter;
  test::FakeSpooler spooler;
  test::FakeFileChooser files;
  PrinterLink link;
  AppContext context;
};

}  // namespace

class QtClockTest : public QObject {
  Q_OBJECT

 private slots:
  void SleepLastsItsTimeAndKeepsTimersRunning() {
    ClockContext c;
    QWidget parent;
    bool timerFired = false;
    QTimer::singleShot(5, [&] { timerFired = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    RunLongWork(c.context, &parent, [&](Work&) { c.clock.Sleep(60); });
    QVERIFY(elapsed.elapsed() >= 55);
    QVERIFY(timerFired);
  }

  void PollReturnsAsSoonAsDataArrivesAndKeepsEventsFlowing() {
    ClockContext c;
    QWidget parent;
    int fds[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    QTimer::singleShot(80, [&] { QCOMPARE(::write(fds[1], "x", 1), 1); });
    pollfd p{fds[0], POLLIN, 0};
    QElapsedTimer elapsed;
    elapsed.start();
    const int ready = RunLongWork(c.context, &parent, [&](Work&) { return c.clock.Poll(&p, 1, 2000); }).value;
    QCOMPARE(ready, 1);
    QVERIFY(elapsed.elapsed() < 1000);
    QVERIFY(ticks >= 3);
    pollfd none{fds[0], POLLIN, 0};
    char ch;
    QCOMPARE(::read(fds[0], &ch, 1), ssize_t{1});
    QCOMPARE(c.clock.Poll(&none, 1, 40), 0);
    ::close(fds[0]);
    ::close(fds[1]);
  }

  // Cancel pressed during a long Sleep and a long Poll: each ends at once.
  void CancelEndsSleepAndPollAtOnce() {
    QtClock clock;
    CancelSignal cancel;
    clock.SetCancel(&cancel);
    std::thread raiser([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      cancel.Raise();
    });
    QElapsedTimer elapsed;
    elapsed.start();
    clock.Sleep(5000);
    raiser.join();
    QVERIFY(elapsed.elapsed() < 1000);
    elapsed.restart();
    int fds[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    pollfd p{fds[0], POLLIN, 0};
    QCOMPARE(clock.Poll(&p, 1, 5000), -1);
    QCOMPARE(errno, ECANCELED);
    QVERIFY(elapsed.elapsed() < 100);
    ::close(fds[0]);
    ::close(fds[1]);
  }
};

}  // namespace qm

QTEST_MAIN(qm::QtClockTest)
#include "qt_clock_test.moc"
