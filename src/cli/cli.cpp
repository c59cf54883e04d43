#include "cli/cli.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <functional>
#include <iostream>

#include "cli/command.h"
#include "cli/connection.h"
#include "cli/connection_options.h"
#include "cli/escape.h"
#include "cli/fleet.h"
#include "cli/stream_prompter.h"

namespace qm::cli {

namespace {

// Whether `flag` stands among the options, before any "--" that ends them.
bool HasFlag(const std::vector<std::string>& args, const std::string& flag) {
  for (const auto& arg : args) {
    if (arg == "--") return false;
    if (arg == flag) return true;
  }
  return false;
}

// --log: every write and read on stderr, escaped, so a log line is one line.
PrinterLink::Trace LogTo(std::ostream& err) {
  return [&err](PrinterLink::Direction direction, std::string_view bytes) {
    err << (direction == PrinterLink::Direction::kWrite ? "write " : "read ") << bytes.size();
    if (!bytes.empty()) err << ": " << EscapeBytes(bytes);
    err << '\n';
    err.flush();
  };
}

// Parses, checks and prepares the line; runs it unless `check` is given, which then takes
// the selected command instead.
int RunLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            const CliEnvironment& env, CheckedLine* check) {
  CLI::App app("Configures and tests thermal label printers that speak QDRL.", kProgramName);
  const std::string exitFooter =
      "Exit status: 0 done, 1 the printer failed (the port did not open, a write failed or "
      "nothing came back), 2 bad usage, 3 a printer status that reports a fault, 4 settings that differ from the profile (settings diff), 130 a long "
      "print stopped by SIGINT.";
  app.footer(exitFooter);
  ConnectionOptions connectionOptions;
  connectionOptions.AddTo(app);
  bool json = false;
  bool log = false;
  app.add_flag("--json", json, "print the result as one JSON object on stdout");
  app.add_flag("--log", log, "print every write and read, escaped, on stderr");
  // Taken out of the line before it is parsed (fleet.h); declared here for --help and so a
  // line of one printer may carry them too.
  std::string hostsFile, jobs;
  app.add_option("--hosts", hostsFile,
                 "run the command on every printer FILE names, one a line (tcp://HOST:PORT, a port "
                 "name or a device path; # starts a comment), as on several --port")
      ->type_name("FILE")
      ->group("Fleet");
  app.add_option("--jobs", jobs,
                 "with several printers (--port more than once, or --hosts): how many at once "
                 "(default 16); each output line is prefixed with its printer, --json gives "
                 "{\"printers\": [...]}, and the exit status is the worst of the printers'")
      ->type_name("N")
      ->group("Fleet");
  app.set_version_flag("--version", std::string(kProgramName) + " " + QUILLMARK_VERSION, "print the version and exit");
  app.require_subcommand(0, 1);
  // The global options may also follow the command.
  app.fallthrough();

  std::vector<std::unique_ptr<Command>> commands = AllCommands();
  std::vector<CLI::App*> subcommands;
  const std::string optionsNote = "The connection options and --json and --log may come before or "
                                  "after the command; see " + std::string(kProgramName) + " --help.";
  // A command's own footer (its items, its lists) comes first; what a subcommand only
  // inherited from the program gives way to the note.
  const std::function<void(CLI::App*)> addNote = [&](CLI::App* sub) {
    const std::string own = sub->get_footer();
    sub->footer(own.empty() || own == exitFooter ? optionsNote : own + "\n\n" + optionsNote);
    for (CLI::App* child : sub->get_subcommands(std::function<bool(CLI::App*)>{})) {
      if (!child->get_name().empty()) addNote(child);
    }
  };
  for (const auto& command : commands) {
    CLI::App* sub = command->Register(app);
    addNote(sub);
    subcommands.push_back(sub);
  }

  // "serial set": a command group's name and the action chosen within it.
  const auto nameOf = [](const CLI::App* sub) {
    std::string full = sub->get_name();
    for (const CLI::App* child : sub->get_subcommands()) {
      if (!child->get_name().empty()) full += " " + child->get_name();
    }
    return full;
  };
  const auto usage = [&](const std::string& message, const std::string& command) {
    return Report(Outcome::Usage(message + " (see --help)"), command, json, out, err);
  };

  try {
    app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e, out, err);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e, out, err);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e, out, err);
  } catch (const CLI::ParseError& e) {
    json = json || HasFlag(args, "--json");
    std::string command;
    for (CLI::App* sub : subcommands) {
      if (sub->parsed()) command = nameOf(sub);
    }
    return usage(e.what(), command);
  }

  Command* selected = nullptr;
  std::string name;
  for (size_t i = 0; i < commands.size(); ++i) {
    if (subcommands[i]->parsed()) {
      selected = commands[i].get();
      name = nameOf(subcommands[i]);
    }
  }
  if (!selected) {
    std::string names;
    for (CLI::App* sub : subcommands) names += (names.empty() ? "" : ", ") + sub->get_name();
    return usage("no command given; use one of " + names, name);
  }

  // A command that needs no printer opens no port, so the connection options go unchecked.
  const bool needsPrinter = selected->NeedsPrinter();
  const PlanResult planned = needsPrinter ? PlanConnection(connectionOptions.Request()) : PlanResult{};
  if (needsPrinter && !planned.plan) return usage(planned.error, name);
  if (std::string error = selected->Prepare(env.in ? *env.in : std::cin); !error.empty()) {
    return usage(error, name);
  }
  if (check) {
    check->json = json;
    check->needsPrinter = needsPrinter;
    check->fleetRefusal = selected->FleetRefusal();
    for (auto& command : commands) {
      if (command.get() == selected) check->command = std::move(command);
    }
    return -1;
  }
  if (!needsPrinter) {
    Outcome outcome = selected->RunWithoutPrinter();
    JsonObject fields = selected->InputFields();
    outcome.fields = fields.Merge(outcome.fields);
    return Report(outcome, name, json, out, err);
  }

  SystemClock systemClock;
  std::unique_ptr<Clock> ownClock = env.makeClock && !env.clock ? env.makeClock() : nullptr;
  Clock& clock = env.clock ? *env.clock : ownClock ? *ownClock : systemClock;
  // A fleet's SIGINT ends the wait under way on every printer, not only between pieces.
  if (env.interrupt) clock.SetCancel(env.interrupt);
  StreamPrompter prompter(err);
  Outcome outcome;
  JsonObject fields;
  {
    auto connection = Connection::Open(*planned.plan, env, clock, prompter, outcome);
    fields.Add("port", connection ? connection->plan().Describe() : planned.plan->Describe());
    fields.Merge(selected->InputFields());
    if (connection) {
      if (log) connection->link().SetTrace(LogTo(err));
      Session session{connection->link(), clock, env.timing, prompter};
      session.out = &out;
      session.json = json;
      session.interrupt = env.interrupt;
      // Progress would garble a log, and only a person at a terminal reads it.
      if (!log && &err == &std::cerr && ::isatty(STDERR_FILENO) == 1) session.progress = &err;
      outcome = selected->Run(session);
    }
  }  // the link is closed before the result is shown
  outcome.fields = fields.Merge(outcome.fields);
  if (!prompter.shown().empty()) outcome.fields.Add("messages", prompter.shown());
  return Report(outcome, name, json, out, err);
}

}  // namespace

CheckedLine::CheckedLine() = default;
CheckedLine::CheckedLine(CheckedLine&&) noexcept = default;
CheckedLine::~CheckedLine() = default;

CheckedLine CheckLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      const CliEnvironment& env) {
  CheckedLine check;
  check.status = RunLine(args, out, err, env, &check);
  return check;
}

int RunSingle(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const CliEnvironment& env) {
  return RunLine(args, out, err, env, nullptr);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env) {
  const FleetLine fleet = SplitFleetLine(args);
  if (fleet.IsFleet()) return RunFleet(fleet, out, err, env);
  return RunSingle(args, out, err, env);
}

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return RunCli(args, out, err);
}

}  // namespace qm::cli
