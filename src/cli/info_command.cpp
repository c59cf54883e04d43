// `info`: the printer's model name, model type, firmware version and head temperature.
#include <CLI/CLI.hpp>
#include <cctype>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "cli/setting_text.h"
#include "link/query.h"
#include "settings/user_settings.h"

namespace qm::cli {

namespace {

constexpr std::string_view kCelsius = " Celsius";

bool IsNumber(const std::string& text) {
  size_t at = text.size() > 1 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  bool digits = false, point = false;
  for (; at < text.size(); ++at) {
    if (std::isdigit(static_cast<unsigned char>(text[at]))) digits = true;
    else if (text[at] == '.' && !point) point = true;
    else return false;
  }
  return digits;
}

// "no reply to the model name query", or to several: "... to the model name, model type,
// firmware version and temperature queries".
std::string NoReplyTo(const std::vector<InfoQuery>& unanswered) {
  if (unanswered.empty()) return "no reply to the temperature query";
  std::string names;
  for (size_t i = 0; i < unanswered.size(); ++i) {
    if (i > 0) names += i + 1 == unanswered.size() ? " and " : ", ";
    names += Noun(unanswered[i]);
  }
  return "no reply to the " + names + (unanswered.size() > 1 ? " queries" : " query");
}

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
    if (info.failedQuery) {
      const std::string& why = session.link.lastError();
      return Outcome::PrinterFailed("the " + std::string(Noun(*info.failedQuery)) + " query failed" + (why.empty() ? "" : ": " + why) +
                                    "; the queries after it were not sent");
    }
    if (!info.ok) return Outcome::PrinterFailed(NoReply(session.link, NoReplyTo(info.unanswered)));
    // Shown as it came, but a reading that is no number is said to be none.
    const bool numeric = IsNumber(StripLineEnds(info.temperature.substr(0, info.temperature.size() - kCelsius.size())));
    JsonObject fields;
    fields.Add("modelName", Latin1ToUtf8(info.modelName));
    fields.Add("modelType", Latin1ToUtf8(info.modelType));
    fields.Add("firmwareVersion", Latin1ToUtf8(info.firmwareVersion));
    fields.Add("temperature", Latin1ToUtf8(info.temperature));
    fields.Add("temperatureIsNumber", numeric);
    const std::string text = Labelled("Model Name :", OneLine(info.modelName)) + "\n" +
                             Labelled("Model Type :", OneLine(info.modelType)) + "\n" +
                             Labelled("Firmware Version :", OneLine(info.firmwareVersion)) + "\n" +
                             Labelled("TPH Temperature :", OneLine(info.temperature)) +
                             (numeric ? "" : "  (not a number)");
    return Outcome::Done(text, fields);
  }
};

}  // namespace

std::unique_ptr<Command> MakeInfoCommand() { return std::make_unique<InfoCommand>(); }

}  // namespace qm::cli
