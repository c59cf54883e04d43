#include "gui/qt_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace qm {

namespace {

// Short waits are not worth an event pass; longer ones are cut into slices this long.
constexpr int kSliceMs = 16;

}  // namespace

void QtClock::Sleep(int ms) {
  if (ms <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

int QtClock::Poll(pollfd* fds, nfds_t count, int timeoutMs) {
  if (timeoutMs <= kSliceMs || !QCoreApplication::instance()) return ::poll(fds, count, timeoutMs);
  const Deadline deadline(timeoutMs);
  for (;;) {
    const int ready = ::poll(fds, count, std::min(kSliceMs, deadline.RemainingMs()));
    if (ready != 0 || deadline.Passed()) return ready;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
}

}  // namespace qm
