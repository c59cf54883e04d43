// A link opened for one command from its plan, through the shared connect sequence, with
// what it needs kept alive: the demo printer, a USB node view, the spooler and its queues.
#pragma once

#include <memory>

#include "cli/cli.h"
#include "cli/connection_plan.h"
#include "cli/outcome.h"
#include "core/clock.h"
#include "core/prompter.h"
#include "link/printer_link.h"
#include "link/queue_diversion.h"

namespace qm {
class SystemSpooler;
namespace printer {
class DemoPrinter;
}  // namespace printer
}  // namespace qm

namespace qm::cli {

class UsbNodeView;

// A link configured from a plan and opened, with what it needs kept alive. Closing the
// link and letting go of the rest happens when it is destroyed.
class Connection {
 public:
  ~Connection();
  PrinterLink& link() { return *link_; }
  const ConnectionPlan& plan() const { return plan_; }

  // Opens the link as the main window's Connect does: the port's print queues are diverted
  // first (given back when the connection goes, after the port is closed), and USB is closed
  // again at once, since it is opened around every call. A failure shows the port message
  // through `prompter` and comes back as a printer failure naming the port and the reason.
  // What the spooler could not do is said through `prompter` once, and the command goes on.
  static std::unique_ptr<Connection> Open(const ConnectionPlan& plan, const CliEnvironment& env,
                                          Clock& clock, Prompter& prompter, Outcome& failure);

 private:
  Connection();
  ConnectionPlan plan_;
  std::unique_ptr<printer::DemoPrinter> demo_;
  std::unique_ptr<UsbNodeView> usbView_;
  std::unique_ptr<SystemSpooler> systemSpooler_;
  Spooler* spooler_ = nullptr;  // while queues may be diverted
  Prompter* prompter_ = nullptr;
  QueueMap queues_;
  std::unique_ptr<PrinterLink> link_;
};

}  // namespace qm::cli
