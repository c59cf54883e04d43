// What every command group of the command line provides, and what it runs with.
#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/outcome.h"
#include "core/clock.h"
#include "core/progress.h"
#include "core/prompter.h"
#include "link/printer_link.h"

namespace CLI {
class App;
}  // namespace CLI

namespace qm::cli {

struct FleetRun;

// What a command may use once the link is open.
struct Session {
  PrinterLink& link;
  Clock& clock;
  const LinkTiming& timing;  // the link's waits and limits
  Prompter& prompter;        // the printer's messages, on stderr
  // Where a long print shows how far it got: stderr while it is a terminal, else null.
  std::ostream* progress = nullptr;
  // Where a command that reports as it goes writes its lines (stdout), and whether as JSON.
  std::ostream* out = nullptr;
  bool json = false;
  // A fleet's stop request, which SIGINT raises for every printer at once; null: a long
  // print installs its own handler (InterruptGuard).
  CancelSignal* interrupt = nullptr;
};

// Whether a write went through: 1 on serial, parallel and USB; on Ethernet every byte, as
// a short count is a send cut off part way.
bool WroteAll(const PrinterLink& link, int result, size_t size);

// One subcommand. The runner parses the line, checks the connection options, lets the
// selected command prepare, opens the link, runs the command and reports its outcome.
class Command {
 public:
  virtual ~Command() = default;
  // Adds the subcommand, its options and its --help to `parent`; returns it.
  virtual CLI::App* Register(CLI::App& parent) = 0;
  // Checks what parsing cannot and reads the command's input, before any port is opened;
  // an error text makes it a usage error.
  virtual std::string Prepare(std::istream& in) = 0;
  // Talks to the printer.
  virtual Outcome Run(Session& session) = 0;
  // Fields for --json that are known before the printer is reached.
  virtual JsonObject InputFields() const { return {}; }
  // Whether this run talks to the printer, known once the line is parsed. One that does not
  // opens no port: the runner calls RunWithoutPrinter in place of Run.
  virtual bool NeedsPrinter() const { return true; }
  virtual Outcome RunWithoutPrinter() { return Outcome::Usage("this command needs a printer"); }
  // A command whose result on a fleet is one table, a row for each printer, instead of each
  // printer's lines: from each printer's --json result (`FleetRun::out`). Empty: none.
  virtual std::string FleetTable(const std::vector<FleetRun>& runs) const {
    (void)runs;
    return {};
  }
  virtual bool HasFleetTable() const { return false; }
  // Why the line as parsed cannot run on several printers at once (every one of them would
  // write the same file); empty when it can.
  virtual std::string FleetRefusal() const { return {}; }
};

// Every command of the program, in the order --help lists them. A new command group adds
// its factory here.
std::vector<std::unique_ptr<Command>> AllCommands();

std::unique_ptr<Command> MakeSendCommand();
std::unique_ptr<Command> MakeQueryCommand();
std::unique_ptr<Command> MakeInfoCommand();
std::unique_ptr<Command> MakeGetCommand();
std::unique_ptr<Command> MakeSetCommand();
std::unique_ptr<Command> MakeInitUserSettingsCommand();
std::unique_ptr<Command> MakeSerialCommand();
std::unique_ptr<Command> MakeLanguageCommand();
std::unique_ptr<Command> MakeHwinfoCommand();
std::unique_ptr<Command> MakeSwitchCommand();
std::unique_ptr<Command> MakeLineCommand();
std::unique_ptr<Command> MakeCharsetTestCommand();
std::unique_ptr<Command> MakeCodepageTestCommand();
std::unique_ptr<Command> MakeFindFontCommand();
std::unique_ptr<Command> MakeConvertCommand();
std::unique_ptr<Command> MakeCalibrateCommand();
std::unique_ptr<Command> MakeStatusCommand();
std::unique_ptr<Command> MakeRfidCommand();
std::unique_ptr<Command> MakeSettingsCommand();
std::unique_ptr<Command> MakeRenderCommand();
std::unique_ptr<Command> MakeDownloadCommand();
std::unique_ptr<Command> MakePcxCommand();
std::unique_ptr<Command> MakeInventoryCommand();

}  // namespace qm::cli
