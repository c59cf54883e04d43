// A serial link to a scripted printer, with recorded pauses and messages.
#pragma once

#include "fake_clock.h"
#include "link/printer_link.h"
#include "scripted_printer.h"

namespace qm::test {

struct SettingsBench {
  SettingsBench() : link(clock, prompter, EnglishStrings(), Timing(), Devices(printer.path())) {
    link.SetPortName("COM1:");
    link.Open();
  }
  static LinkTiming Timing() {
    LinkTiming t;
    t.serialDefaults.readTotalConstantMs = 40;
    t.serialDefaults.readTotalMultiplierMs = 0;
    t.serialDefaults.writeTotalConstantMs = 5;
    return t;
  }
  static DeviceMap Devices(const std::string& path) {
    DeviceMap map;
    map.Override("COM1", path);
    return map;
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
