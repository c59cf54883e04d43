// `send`: the tester's Multi Send of a script file's bytes.
#include <CLI/CLI.hpp>
#include <sys/stat.h>

#include "cli/command.h"
#include "cli/interrupt_guard.h"
#include "cli/progress_line.h"
#include "commands/multi_send.h"
#include "commands/script_file.h"

namespace qm::cli {

namespace {

constexpr int64_t kMaxCount = 10000;  // the tester's send count goes no higher

// Standard input as a script: the same limit and the same end at a zero byte as a file,
// and never more than the limit held in memory.
ScriptLoad ReadScriptStream(std::istream& in) {
  ScriptLoad load;
  std::string data;
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    data.append(buffer, static_cast<size_t>(in.gcount()));
    if (data.size() > kMaxScriptBytes) {
      load.error = "standard input: larger than " + std::to_string(kMaxScriptBytes >> 20) + " MiB";
      return load;
    }
  }
  if (in.bad()) {
    load.error = "standard input: cannot be read";
    return load;
  }
  if (const size_t zero = data.find('\0'); zero != std::string::npos) data.resize(zero);
  load.ok = true;
  load.bytes = std::move(data);
  return load;
}

class SendCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "send", "Write a script file's bytes to the printer unchanged, N times (Multi Send)");
    sub->add_option("--count", count_, "how many times to send it, 1..10000 (default 1)")
        ->type_name("N");
    sub->add_option("FILE", file_, "the script file, or - for standard input; it ends at its "
                                   "first zero byte and may hold at most 16 MiB")
        ->required()
        ->type_name("");
    return sub;
  }

  std::string Prepare(std::istream& in) override {
    if (count_ == 0) return "--count: 0 sends nothing; give 1.." + std::to_string(kMaxCount);
    if (count_ < 1 || count_ > kMaxCount) return "--count: must be 1.." + std::to_string(kMaxCount);
    // Looked at before it is opened: opening a FIFO would wait for a writer that may never come.
    struct stat st {};
    if (file_ != "-" && ::stat(file_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
      return file_ + ": not a regular file";
    }
    const ScriptLoad load = file_ == "-" ? ReadScriptStream(in) : LoadScriptFile(file_);
    if (!load.ok) return load.error;
    if (load.bytes.empty()) {
      return (file_ == "-" ? std::string("standard input") : file_) +
             ": nothing to send (empty, or a zero byte first)";
    }
    script_ = load.bytes;
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("file", file_);
    fields.Add("bytes", static_cast<int64_t>(script_.size()));
    fields.Add("count", count_);
    return fields;
  }

  Outcome Run(Session& session) override {
    const int count = static_cast<int>(count_);
    // SIGINT stops the run between two sends; the send under way goes out whole.
    InterruptGuard guard(nullptr, session.interrupt);
    ProgressLine line(session, guard, "send", ProgressLine::Style::kPieces, "sends");
    const MultiSendResult result = MultiSend(session.link, script_, count, &line);
    line.Finish();
    JsonObject fields;
    fields.Add("completed", result.completed);
    if (result.cancelled) {
      fields.Add("interrupted", true);
      return Outcome{ExitStatus::kInterrupted,
                     "interrupted after " + std::to_string(result.completed) + " of " + std::to_string(count) +
                         " sends were sent",
                     {},
                     fields};
    }
    if (result.failed) {
      const std::string& why = session.link.lastError();
      return Outcome::PrinterFailed("the write failed after " + std::to_string(result.completed) +
                                        " of " + std::to_string(count) + " sends" +
                                        (why.empty() ? "" : ": " + why),
                                    fields);
    }
    return Outcome::Done("sent " + std::to_string(script_.size()) + " bytes " +
                             std::to_string(result.completed) +
                             (result.completed == 1 ? " time" : " times"),
                         fields);
  }

 private:
  std::string file_;
  int64_t count_ = 1;
  std::string script_;
};

}  // namespace

std::unique_ptr<Command> MakeSendCommand() { return std::make_unique<SendCommand>(); }

}  // namespace qm::cli
