// The one way the GUI runs long work: the operation on a worker thread, the calling dialog
// waiting for it in an event loop (so its code stays straight-line and the window keeps
// painting and answering), a window-modal progress dialog after half a second with Cancel.
#pragma once

#include <QString>
#include <functional>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/progress.h"
#include "core/prompter.h"
#include "gui/app_context.h"

class QWidget;

namespace qm {

// The messages raised on the worker, kept in order until the GUI thread shows them.
class QueuedMessages : public Prompter {
 public:
  void Show(const Message& message) override;
  std::vector<Message> Take();

 private:
  std::mutex mutex_;
  std::vector<Message> held_;
};

// What the work gets: how to report, whether to stop, and where its messages go.
struct Work {
  Progress& progress;
  Prompter& prompter;
};


struct LongWorkText {
  QString what;  // the progress dialog's first line; empty: "Waiting for the printer..."
  QString unit;  // what `done` and `total` count, "labels", "bytes"; empty: no count shown
  // A dialog with a bar and Cancel of its own: `follow` hears every report on the GUI
  // thread while the worker waits for it (so the bar and Cancel match the pieces one for
  // one), `cancel` is the stop request its Cancel raises and `cancelButton` stays usable.
  // No progress dialog is shown then.
  std::function<void(uint64_t done, uint64_t total)> follow;
  CancelSignal* cancel = nullptr;
  QWidget* cancelButton = nullptr;
};

// How the work ended. The work always ran to its end; `cancelled` says Cancel was pressed.
template <class T>
struct WorkResult {
  T value;
  bool cancelled = false;
};
template <>
struct WorkResult<void> {
  bool cancelled = false;
};

// Runs `work` on a worker thread while the link's messages and the clock's stop request
// belong to it; returns when it has finished. The progress dialog (if it came up) is closed
// before any queued message is shown, and the messages are shown in the order raised. While
// the work runs, the input of `parent`'s window is ignored: no second operation can start.
bool RunWorkOnWorker(AppContext& context, QWidget* parent, const LongWorkText& text,
                     const std::function<void(Work&)>& work);

// The same with the work's own value.
template <class F>
auto RunLongWork(AppContext& context, QWidget* parent, const LongWorkText& text, F&& work) {
  using R = std::invoke_result_t<F&, Work&>;
  if constexpr (std::is_void_v<R>) {
    WorkResult<void> result;
    result.cancelled = RunWorkOnWorker(context, parent, text, [&](Work& w) { work(w); });
    return result;
  } else {
    WorkResult<R> result{};
    result.cancelled = RunWorkOnWorker(context, parent, text, [&](Work& w) { result.value = work(w); });
    return result;
  }
}
template <class F>
auto RunLongWork(AppContext& context, QWidget* parent, F&& work) {
  return RunLongWork(context, parent, LongWorkText{}, std::forward<F>(work));
}

// Half a second of work passes without a progress dialog.
inline constexpr int kProgressAfterMs = 500;

}  // namespace qm
