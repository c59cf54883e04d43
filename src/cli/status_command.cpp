// `status`: the printer's status through one of its four status commands, once or watched.
#include <time.h>

#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/interrupt_guard.h"
#include "cli/setting_text.h"
#include "settings/printer_status.h"

namespace qm::cli {

namespace {

// The longest pause between two looks at SIGINT during a watch's wait.
constexpr int kWatchSliceMs = 200;

struct Reading {
  ExitStatus status = ExitStatus::kPrinterFailed;
  std::vector<std::string> lines;  // each status that is set, or "Status OK"
  bool operator==(const Reading&) const = default;
};

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    if (!out.empty()) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
  }
  return out;
}

Reading Read(Session& session, StatusCommand command, std::string& reply) {
  const StatusRead read = CheckPrinterStatus(session.link, session.clock, session.prompter, command);
  Reading r;
  reply = read.reply;
  if (!read.ok) {
    r.lines.push_back(read.refused ? "Not asked: ^ee is answered on a serial link only"
                                   : "The status could not be read");
    return r;
  }
  for (const int box : read.ticked) r.lines.emplace_back(StatusBoxes(command)[static_cast<size_t>(box)]);
  // An error code without a box of its own is still an error.
  if (r.lines.empty()) {
    r.lines.push_back(command == StatusCommand::kEe ? "Error code " + OneLine(read.reply.substr(0, 2))
                                                    : "Unknown status " + Hex(read.reply));
  }
  r.status = StatusIsOk(command, read.ticked) ? ExitStatus::kDone : ExitStatus::kFault;
  return r;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

std::string Now() {
  const time_t now = ::time(nullptr);
  struct tm local {};
  ::localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

class StatusCommandLine : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand("status", "Ask the printer's status: cp, cu, ee or cps");
    sub->add_option("COMMAND", which_, "cp (two bytes), cu (one byte), ee (error code, serial only) or cps")
        ->required()
        ->type_name("cp|cu|ee|cps");
    sub->add_option("--watch", watchSeconds_, "ask again every SECONDS and print only changes, until Ctrl-C")
        ->type_name("SECONDS");
    sub->footer(
        "Prints each status that is set, one a line, or \"Status OK\" (\"No Error\" for ee). Exit status: 0 "
        "all well, 3 the printer reports something, 1 no status could be read. With --watch each change "
        "is printed with its time (with --json one object a change), and the exit status is the last "
        "reading's.");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    for (int c = 0; c < kStatusCommandCount; ++c) {
      if (ShapeOf(StatusCommand(c)).name == which_) command_ = StatusCommand(c);
    }
    if (ShapeOf(command_).name != which_) return "COMMAND: \"" + which_ + "\" is not cp, cu, ee or cps";
    if (watchSeconds_ < 0 || watchSeconds_ > 86400) {
      return "--watch: " + std::to_string(watchSeconds_) + " is not 1..86400";
    }
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("status_command", which_);
    return fields;
  }

  Outcome Run(Session& session) override {
    std::string reply;
    if (watchSeconds_ == 0) return Shown(Read(session, command_, reply), reply);
    InterruptGuard guard(&session.clock, session.interrupt);  // SIGINT ends a watch between two reads, or the wait under way
    Reading last;
    int changes = 0;
    for (bool first = true; !guard.requested(); first = false) {
      const Reading now = Read(session, command_, reply);
      if (first || !(now == last)) {
        ++changes;
        Print(session, now, reply);
      }
      last = now;
      for (int waited = 0; waited < watchSeconds_ * 1000 && !guard.requested(); waited += kWatchSliceMs) {
        session.clock.Sleep(std::min(kWatchSliceMs, watchSeconds_ * 1000 - waited));
      }
    }
    Outcome outcome = Shown(last, reply);
    outcome.text.clear();  // already printed as it came
    outcome.fields.Add("changes", changes);
    return outcome;
  }

 private:
  Outcome Shown(const Reading& r, const std::string& reply) const {
    Outcome outcome;
    outcome.status = r.status;
    if (r.status == ExitStatus::kPrinterFailed) {
      outcome.error = r.lines.front();
    } else {
      outcome.text = Joined(r.lines);
    }
    outcome.fields.Add("statuses", r.lines);
    outcome.fields.Add("reply", Hex(reply));
    return outcome;
  }

  void Print(Session& session, const Reading& r, const std::string& reply) const {
    if (!session.out) return;
    const std::string time = Now();
    if (session.json) {
      JsonObject change;
      change.Add("time", time);
      change.Add("exit", static_cast<int>(r.status));
      change.Add("statuses", r.lines);
      change.Add("reply", Hex(reply));
      *session.out << change.Dump() << '\n';
    } else {
      for (const std::string& line : r.lines) *session.out << time << ' ' << line << '\n';
    }
    session.out->flush();
  }

  std::string which_;
  StatusCommand command_ = StatusCommand::kCp;
  int watchSeconds_ = 0;
};

}  // namespace

std::unique_ptr<Command> MakeStatusCommand() { return std::make_unique<StatusCommandLine>(); }

}  // namespace qm::cli
