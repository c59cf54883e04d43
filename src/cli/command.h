// What every command group of the command line provides, and what it runs with.
#pragma once

#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "cli/outcome.h"
#include "core/clock.h"
#include "core/prompter.h"
#include "link/printer_link.h"

namespace CLI {
class App;
}  // namespace CLI

namespace qm::cli {

// What a command may use once the link is open.
struct Session {
  PrinterLink& link;
  Clock& clock;
  const LinkTiming& timing;  // the link's waits and limits
  Prompter& prompter;        // the printer's messages, on stderr
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

}  // namespace qm::cli
