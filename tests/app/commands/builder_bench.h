// What the barcode and layout builder tests share: a printer on a pseudo-terminal behind
// COM1, so a test print's bytes can be read back exactly, and the tester around it.
#pragma once

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QtTest>

#include "commands/ui/qdrl_tester_dialog.h"
#include "../gui_support.h"
#include "pty_pair.h"

namespace qm::test {

struct BuilderBench {
  BuilderBench() : g(Devices(pty.path())), tester(g.context) {
    g.link.SetPortName("COM1:");
    g.link.Open();
  }
  static DeviceMap Devices(const std::string& path) {
    DeviceMap m = IsolatedDevices();
    m.Override("COM1", path);
    return m;
  }
  // Everything the printer got from one test print of `expected.size()` bytes.
  std::string Received(const std::string& expected) const { return pty.Receive(expected.size()); }

  // The tester's button that shows `label` (ampersands doubled as stored).
  QAbstractButton* Button(const QString& label) {
    for (auto* b : tester.findChildren<QAbstractButton*>()) {
      if (b->text() == label) return b;
    }
    return nullptr;
  }

  PtyPair pty;
  GuiContext g;
  QdrlTesterDialog tester;
};

// A step of a ModalScript that works on the builder it is shown.
template <typename Dialog, typename Work>
ModalScript::Step On(Work work) {
  return [work](QDialog* d) { work(static_cast<Dialog*>(d)); };
}

}  // namespace qm::test
