// The GUI's clock: while the link waits, timers and painting go on.
#include <QTimer>
#include <QtTest>
#include <sys/socket.h>
#include <unistd.h>

#include "gui/qt_clock.h"

namespace qm {

class QtClockTest : public QObject {
  Q_OBJECT

 private slots:
  void SleepLastsItsTimeAndKeepsTimersRunning() {
    bool timerFired = false;
    QTimer::singleShot(5, [&] { timerFired = true; });
    QtClock clock;
    QElapsedTimer elapsed;
    elapsed.start();
    clock.Sleep(60);
    QVERIFY(elapsed.elapsed() >= 55);
    QVERIFY(timerFired);
  }

  void PollReturnsAsSoonAsDataArrivesAndKeepsEventsFlowing() {
    int fds[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    QTimer::singleShot(80, [&] { QCOMPARE(::write(fds[1], "x", 1), 1); });
    QtClock clock;
    pollfd p{fds[0], POLLIN, 0};
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(clock.Poll(&p, 1, 2000), 1);
    QVERIFY(elapsed.elapsed() < 1000);
    QVERIFY(ticks >= 3);
    pollfd none{fds[0], POLLIN, 0};
    char c;
    QCOMPARE(::read(fds[0], &c, 1), ssize_t{1});
    QCOMPARE(clock.Poll(&none, 1, 40), 0);
    ::close(fds[0]);
    ::close(fds[1]);
  }
};

}  // namespace qm

QTEST_MAIN(qm::QtClockTest)
#include "qt_clock_test.moc"
