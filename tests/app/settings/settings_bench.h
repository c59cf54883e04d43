// The settings pages over a serial link to a scripted printer, with every pause and
// message recorded.
#pragma once

#include <QByteArray>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "../gui_support.h"
#include "scripted_printer.h"

namespace qm::test {

// Records messages and lets a test look at the dialog at the moment each one appears.
class WatchingPrompter : public RecordingPrompter {
 public:
  void Show(const Message& message) override {
    RecordingPrompter::Show(message);
    if (onShow) onShow(message);
  }
  std::function<void(const Message&)> onShow;
};

struct SettingsBench {
  SettingsBench()
      : link(clock, prompter, EnglishStrings(), ScriptedPrinterTiming(),
             ScriptedPrinterDevices(printer.path(), IsolatedDevices())),
        context{link, clock, prompter, EnglishStrings(), spooler, files} {
    link.SetPortName("COM1:");
    link.Open();
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : prompter.messages) out.push_back(m.text);
    return out;
  }
  // The bytes the printer received since the last call. A marker written last proves that
  // everything before it has arrived (the line keeps order), so a write that was never
  // made cannot turn up later.
  std::string Sent() {
    const std::string marker = "<sent>";
    link.Write(marker);
    std::string got;
    for (int i = 0; i < 500; ++i) {
      got = printer.received();
      if (got.size() >= marker.size() && got.compare(got.size() - marker.size(), marker.size(), marker) == 0) break;
      QTest::qWait(1);
    }
    printer.Forget();
    if (got.size() < marker.size() || got.compare(got.size() - marker.size(), marker.size(), marker) != 0) {
      return "<marker lost>" + got;
    }
    return got.substr(0, got.size() - marker.size());
  }
  // The one message shown so far, or a placeholder that fails any comparison.
  std::string onlyText() const { return prompter.messages.size() == 1 ? prompter.messages[0].text : "<none or many>"; }

  ScriptedPrinter printer;
  FakeClock clock;
  WatchingPrompter prompter;
  FakeSpooler spooler;
  FakeFileChooser files;
  PrinterLink link;
  AppContext context;
};

// The bytes on the wire as a QByteArray, which QCOMPARE prints escaped when they differ.
inline QByteArray Wire(const std::string& bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace qm::test
