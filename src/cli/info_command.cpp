// `info`: the printer's model name, model type, firmware version and head temperature.
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/setting_text.h"
#include "settings/user_settings.h"

namespace qm::cli {

namespace {

class InfoCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "info", "Read the model name, model type, firmware version and TPH temperature");
    sub->footer("The texts print as the printer sent them, less a trailing line end; --json "
                "carries them exactly, line end included.");
    return sub;
  }

  std::string Prepare(std::istream&) override { return {}; }

  Outcome Run(Session& session) override {
    const PrinterInformation info = GetPrinterInformation(session.link, session.clock, session.prompter);
    // A query the port would not take ends the run; otherwise only the temperature query
    // decides, and the other three may come back empty.
    if (!info.failedQuery.empty()) {
      const std::string& why = session.link.lastError();
      return Outcome::PrinterFailed("the " + info.failedQuery + " query failed" + (why.empty() ? "" : ": " + why) +
                                    "; the queries after it were not sent");
    }
    if (!info.ok) return Outcome::PrinterFailed(NoReply(session.link, "no reply to the temperature query"));
    JsonObject fields;
    fields.Add("modelName", Latin1ToUtf8(info.modelName));
    fields.Add("modelType", Latin1ToUtf8(info.modelType));
    fields.Add("firmwareVersion", Latin1ToUtf8(info.firmwareVersion));
    fields.Add("temperature", Latin1ToUtf8(info.temperature));
    const std::string text = Labelled("Model Name :", OneLine(info.modelName)) + "\n" +
                             Labelled("Model Type :", OneLine(info.modelType)) + "\n" +
                             Labelled("Firmware Version :", OneLine(info.firmwareVersion)) + "\n" +
                             Labelled("TPH Temperature :", OneLine(info.temperature));
    return Outcome::Done(text, fields);
  }
};

}  // namespace

std::unique_ptr<Command> MakeInfoCommand() { return std::make_unique<InfoCommand>(); }

}  // namespace qm::cli
