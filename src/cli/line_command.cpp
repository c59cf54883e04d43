// `line`: the builders' command lines for scripts, or their one-label test prints.
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/line_builders.h"
#include "cli/setting_text.h"

namespace qm::cli {

namespace {

class LineCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "line", "Print the command line(s) a builder would add to the script, or send its test print");
    sub->require_subcommand(1);
    builders_ = AddLineBuilders(*sub, fields_);
    sub->footer(
        "Each line goes to standard output exactly as the tester appends it, ended by CR LF, its "
        "data bytes unchanged. No printer is opened unless --test-print is given. Options take the "
        "dialog's labels in lower-case words; a value out of its field's range is refused before "
        "anything is sent. BUILDER --help lists every field with its range and default.");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    selected_ = Selected();
    if (std::string error = selected_->options.Apply(); !error.empty()) return error;
    if (selected_->check) {
      if (std::string error = selected_->check(); !error.empty()) return error;
    }
    lines_ = selected_->lines();
    if (selected_->testPrint) testPrint_ = selected_->testPrintBytes();
    return {};
  }

  bool NeedsPrinter() const override { return Selected()->testPrint; }

  Outcome RunWithoutPrinter() override {
    JsonObject fields;
    fields.Add("lines", lines_);
    return Outcome::Done(ScriptLines(lines_), fields);
  }

  Outcome Run(Session& session) override {
    JsonObject fields;
    fields.Add("bytes", static_cast<int64_t>(testPrint_.size()));
    if (!WroteAll(session.link, session.link.Write(testPrint_), testPrint_.size())) {
      return Outcome::PrinterFailed(WriteFailure(session.link), fields);
    }
    return Outcome::Done("sent the test print, " + std::to_string(testPrint_.size()) + " bytes", fields);
  }

 private:
  LineBuilder* Selected() const {
    for (const auto& builder : builders_) {
      if (builder->app->parsed()) return builder.get();
    }
    return builders_.front().get();  // parsing requires one
  }

  LineFields fields_;
  std::vector<std::unique_ptr<LineBuilder>> builders_;
  LineBuilder* selected_ = nullptr;
  std::vector<std::string> lines_;
  std::string testPrint_;
};

}  // namespace

std::unique_ptr<Command> MakeLineCommand() { return std::make_unique<LineCommand>(); }

}  // namespace qm::cli
