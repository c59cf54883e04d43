// A serial link to a scripted printer, with recorded pauses and messages.
#pragma once

#include "fake_clock.h"
#include "link/printer_link.h"
#include "scripted_printer.h"

namespace qm::test {

struct SettingsBench {
  SettingsBench()
      : link(clock, prompter, EnglishStrings(), ScriptedPrinterTiming(), ScriptedPrinterDevices(printer.path())) {
    link.SetPortName("COM1:");
    link.Open();
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : prompter.messages) out.push_back(m.text);
    return out;
  }
  ScriptedPrinter printer;
  FakeClock clock;
  RecordingPrompter prompter;
  PrinterLink link;
};

}  // namespace qm::test
