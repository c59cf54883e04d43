#include "gui/long_work.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <memory>
#include <thread>

namespace qm {

void QueuedMessages::Show(const Message& message) {
  std::lock_guard lock(mutex_);
  held_.push_back(message);
}

std::vector<Message> QueuedMessages::Take() {
  std::lock_guard lock(mutex_);
  std::vector<Message> out;
  out.swap(held_);
  return out;
}

namespace {

// Ignores what the operator does to the calling window while the work runs and before the
// window-modal progress dialog takes over; painting and timers go on.
class InputBlocker : public QObject {
 public:
  InputBlocker(QWidget* window, QWidget* allowed) : window_(window), allowed_(allowed) {
    if (window_) qApp->installEventFilter(this);
  }
  ~InputBlocker() override {
    if (window_) qApp->removeEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride:
      case QEvent::Wheel:
      case QEvent::Close: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !window_ || widget->window() != window_) return false;
        return !(allowed_ && (widget == allowed_ || allowed_->isAncestorOf(widget)));
      }
      default:
        return false;
    }
  }

 private:
  QPointer<QWidget> window_;
  QPointer<QWidget> allowed_;
};

// Reports kept for the progress dialog, and handed one by one to a dialog that follows them.
class RunProgress : public SignalProgress {
 public:
  RunProgress(const CancelSignal& cancel, QObject* guiObject, const std::function<void(uint64_t, uint64_t)>& follow)
      : SignalProgress(cancel), guiObject_(guiObject), follow_(follow) {}
  void Report(uint64_t done, uint64_t total) override {
    SignalProgress::Report(done, total);
    if (follow_) {
      QMetaObject::invokeMethod(guiObject_, [this, done, total] { follow_(done, total); },
                                Qt::BlockingQueuedConnection);
    }
  }

 private:
  QObject* guiObject_;
  const std::function<void(uint64_t, uint64_t)>& follow_;
};

QString Label(const LongWorkText& text, const SignalProgress& progress, qint64 elapsedMs) {
  QString label = text.what.isEmpty() ? QApplication::translate("LongWork", "Waiting for the printer...") : text.what;
  const uint64_t done = progress.done();
  const uint64_t total = progress.total();
  if (text.unit.isEmpty() || total == 0) return label;
  label += QLatin1Char('\n') +
           QApplication::translate("LongWork", "%1 of %2 %3").arg(done).arg(total).arg(text.unit);
  if (done > 0 && elapsedMs > 0) {
    const double perSecond = static_cast<double>(done) * 1000.0 / static_cast<double>(elapsedMs);
    const qint64 leftMs = static_cast<qint64>(static_cast<double>(elapsedMs) * static_cast<double>(total - done) /
                                              static_cast<double>(done));
    label += QLatin1Char('\n') + QApplication::translate("LongWork", "%1 %2 per second, about %3 s left")
                                     .arg(perSecond, 0, 'f', perSecond < 10 ? 1 : 0)
                                     .arg(text.unit)
                                     .arg((leftMs + 999) / 1000);
  }
  return label;
}

// The progress bar's range is an int: large byte counts are shown in thousandths.
constexpr int kBarSteps = 1000;

}  // namespace

bool RunWorkOnWorker(AppContext& context, QWidget* parent, const LongWorkText& text,
                     const std::function<void(Work&)>& work) {
  CancelSignal ownCancel;
  CancelSignal& cancel = text.cancel ? *text.cancel : ownCancel;
  QEventLoop loop;
  RunProgress progress(cancel, &loop, text.follow);
  QueuedMessages queued;
  Work w{progress, queued};

  // The link's own messages and the clock's waits belong to this work until it ends.
  CancelSignal* previousCancel = context.clock.cancel();
  context.clock.SetCancel(&cancel);
  Prompter& previousPrompter = context.link.SetPrompter(queued);
  InputBlocker blocker(parent ? parent->window() : nullptr, text.cancelButton);

  std::atomic<bool> finished{false};
  QElapsedTimer started;
  started.start();
  std::thread worker([&] {
    work(w);
    finished.store(true, std::memory_order_release);
    QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
  });

  std::unique_ptr<QProgressDialog> dialog;
  const auto update = [&] {
    if (!dialog) return;
    const uint64_t total = progress.total();
    if (text.unit.isEmpty() || total == 0) {
      dialog->setRange(0, 0);  // a busy bar: nothing to count
    } else {
      dialog->setRange(0, kBarSteps);
      dialog->setValue(static_cast<int>(std::min<uint64_t>(progress.done(), total) * kBarSteps / total));
    }
    if (!cancel.raised()) dialog->setLabelText(Label(text, progress, started.elapsed()));
  };
  QTimer showTimer;
  showTimer.setSingleShot(true);
  QObject::connect(&showTimer, &QTimer::timeout, &loop, [&] {
    if (finished.load(std::memory_order_acquire) || text.cancelButton) return;
    dialog = std::make_unique<QProgressDialog>(parent);
    dialog->setObjectName(QStringLiteral("longWorkProgress"));
    if (parent) dialog->setWindowTitle(parent->windowTitle());
    dialog->setWindowModality(Qt::WindowModal);
    // It closes when the work has ended, not by itself at the last step or at Cancel.
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    dialog->setCancelButtonText(QApplication::translate("LongWork", "Cancel"));
    QObject::connect(dialog.get(), &QProgressDialog::canceled, &loop, [&] {
      cancel.Raise();
      dialog->setLabelText(QApplication::translate("LongWork", "Stopping..."));
    });
    update();
    dialog->show();
  });
  showTimer.start(kProgressAfterMs);
  QTimer updateTimer;
  QObject::connect(&updateTimer, &QTimer::timeout, &loop, update);
  updateTimer.start(100);

  if (!finished.load(std::memory_order_acquire)) loop.exec();
  worker.join();
  showTimer.stop();
  updateTimer.stop();
  // The progress is gone before any message appears, so no box is ever under it.
  dialog.reset();

  context.link.SetPrompter(previousPrompter);
  context.clock.SetCancel(previousCancel);
  const bool cancelled = cancel.raised();
  for (const Message& m : queued.Take()) context.prompter.Show(m);
  return cancelled;
}

}  // namespace qm
