// What the text, character set and code page tests share: a printer behind COM1 that
// reads everything it is sent (a code page print is tens of kilobytes), the tester, and
// the prompter's record.
#pragma once

#include <QByteArray>
#include <QTest>
#include <string>
#include <vector>

#include "commands/ui/qdrl_tester_dialog.h"
#include "../gui_support.h"
#include "scripted_printer.h"

namespace qm::test {

struct PrintBench {
  PrintBench()
      : link(clock, prompter, EnglishStrings(), ScriptedPrinterTiming(),
             ScriptedPrinterDevices(printer.path(), IsolatedDevices())),
        context{link, clock, prompter, EnglishStrings(), spooler, files},
        tester(context) {
    link.SetPortName("COM1:");
    link.Open();
  }
  // The bytes the printer received since the last call. A marker written last proves
  // that everything before it has arrived, so a write that was never made cannot turn
  // up later.
  std::string Sent() {
    const std::string marker = "<sent>";
    link.Write(marker);
    const auto ends = [&](const std::string& got) {
      return got.size() >= marker.size() && got.compare(got.size() - marker.size(), marker.size(), marker) == 0;
    };
    std::string got;
    for (int i = 0; i < 2000 && !ends(got); ++i) {
      got = printer.received();
      if (!ends(got)) QTest::qWait(1);
    }
    printer.Forget();
    return ends(got) ? got.substr(0, got.size() - marker.size()) : "<marker lost>" + got;
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : prompter.messages) out.push_back(m.text);
    return out;
  }

  ScriptedPrinter printer;
  FakeClock clock;
  RecordingPrompter prompter;
  FakeSpooler spooler;
  FakeFileChooser files;
  PrinterLink link;
  AppContext context;
  QdrlTesterDialog tester;
};

// Bytes as a QByteArray, which QCOMPARE prints escaped when they differ.
inline QByteArray Wire(const std::string& bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace qm::test
