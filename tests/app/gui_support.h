// Shared pieces of the GUI tests: an application context of fakes, and a script that
// answers modal dialogs as they appear.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QSignalSpy>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <optional>

#include "gui/app_context.h"
#include "gui/file_chooser.h"
#include "link/printer_link.h"
#include "fake_clock.h"
#include "fake_spooler.h"

namespace qm::test {

// Waits for a drawing to come back from the preview's worker; true as soon as `count` have.
inline bool Drawn(QSignalSpy& spy, int count = 1) {
  while (spy.count() < count) {
    if (!spy.wait(10000)) return false;
  }
  return true;
}

class FakeFileChooser : public FileChooser {
 public:
  std::optional<QString> nextOpen;
  std::optional<QString> nextSave;
  QString lastProposedName;
  QString lastFilter;
  std::optional<QString> ChooseOpen(QWidget*, const QString& filter) override {
    lastFilter = filter;
    return nextOpen;
  }
  std::optional<QString> ChooseSave(QWidget*, const QString& proposedName, const QString& filter) override {
    lastProposedName = proposedName;
    lastFilter = filter;
    return nextSave;
  }
};

// Ports that lead nowhere, so no test touches the machine's real devices by accident.
inline DeviceMap IsolatedDevices() {
  DeviceMap map;
  for (int n = 1; n <= 10; ++n) map.Override("COM" + std::to_string(n), "/nonexistent/com" + std::to_string(n));
  for (int n = 1; n <= 4; ++n) map.Override("LPT" + std::to_string(n), "/nonexistent/lpt" + std::to_string(n));
  map.usb = UsbRoots{"/nonexistent/sys", "/nonexistent/dev"};
  return map;
}

// Everything a dialog needs, with the link's waits short and messages recorded.
struct GuiContext {
  explicit GuiContext(DeviceMap devices = IsolatedDevices())
      : link(clock, prompter, EnglishStrings(), Timing(), std::move(devices)),
        context{link, clock, prompter, EnglishStrings(), spooler, files} {}
  static LinkTiming Timing() {
    LinkTiming t;
    t.serialDefaults.writeTotalConstantMs = 5;
    t.serialDefaults.readTotalConstantMs = 30;
    t.tcpReadWaitMs = 50;
    t.tcpConnectWaitMs = 500;
    return t;
  }
  FakeClock clock;
  RecordingPrompter prompter;
  FakeSpooler spooler;
  FakeFileChooser files;
  PrinterLink link;
  AppContext context;
};

// Answers each modal dialog as it is shown with the next step of the script. A dialog
// shown when no step is left is rejected, so a wrong count never hangs a test; it is
// counted in `unexpected`.
class ModalScript : public QObject {
 public:
  using Step = std::function<void(QDialog*)>;
  explicit ModalScript(std::deque<Step> steps) : steps_(std::move(steps)) { qApp->installEventFilter(this); }
  ~ModalScript() override { qApp->removeEventFilter(this); }
  int shown = 0;
  int unexpected = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      auto* dialog = qobject_cast<QDialog*>(watched);
      // Long work's progress is no step of a script: it closes by itself.
      if (dialog && dialog->objectName() == QLatin1String("longWorkProgress")) return QObject::eventFilter(watched, event);
      if (dialog && dialog->isModal()) {
        ++shown;
        Step step;
        if (!steps_.empty()) {
          step = std::move(steps_.front());
          steps_.pop_front();
        } else {
          ++unexpected;
          step = [](QDialog* d) { d->reject(); };
        }
        QTimer::singleShot(0, dialog, [dialog, step] { step(dialog); });
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::deque<Step> steps_;
};

}  // namespace qm::test
