// `serial get` and `serial set`: the settings the printer keeps for its own serial port.
#include <CLI/CLI.hpp>
#include <array>

#include "cli/command.h"
#include "cli/setting_text.h"
#include "cli/stream_prompter.h"
#include "settings/serial_language.h"

namespace qm::cli {

namespace {

struct SerialField {
  std::string_view option;  // of `serial set`
  std::string_view key;     // for --json
  std::string_view label;   // as the Serial page labels its list
  EntryList names;          // the list's entries
  std::array<std::string_view, 3> words;  // what the option takes, in list order
  int SerialSwitch::*field;
};

const std::array<SerialField, 6> kFields{{
    {"--handshake", "handShake", "Hand Shake :", kHandShakeNames, {"hardware", "software"}, &SerialSwitch::handShake},
    {"--stop-bits", "stopBit", "Stop Bit :", kStopBitNames, {"1", "2"}, &SerialSwitch::stopBits},
    {"--data-length", "dataLength", "Data Length :", kDataLengthNames, {"8", "7"}, &SerialSwitch::dataLength},
    {"--parity-check", "parityCheck", "Parity Check :", kParityCheckNames, {"off", "on"}, &SerialSwitch::parityCheck},
    {"--parity", "paritySelection", "Parity Selection :", kParitySelectionNames, {"even", "odd"},
     &SerialSwitch::paritySelection},
    {"--baud", "baudrate", "Baudrate :", kBaudRateNames, {"dip", "38400", "57600"}, &SerialSwitch::baudRate},
}};

std::string Words(const SerialField& f) {
  std::string out;
  for (std::string_view w : f.words) {
    if (!w.empty()) out += (out.empty() ? "" : "|") + std::string(w);
  }
  return out;
}

Outcome Show(const SerialSwitch& settings) {
  JsonObject fields;
  std::string text;
  for (const SerialField& f : kFields) {
    const std::string entry = EntryOrNone(f.names, settings.*f.field);
    fields.Add(std::string(f.key), entry);
    text += Labelled(f.label, entry) + "\n";
  }
  return Outcome::Done(text, fields);
}

class SerialCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "serial", "Read or change the printer's own serial port settings (memory switch 2)");
    sub->require_subcommand(1);
    get_ = sub->add_subcommand("get", "Read the printer's serial port settings");
    set_ = sub->add_subcommand(
        "set", "Change the printer's serial port settings given, keeping the others as read");
    const std::string help[] = {
        "the printer's hand shake", "the printer's stop bits",  "the printer's data length",
        "the printer's parity check", "the printer's parity", "the printer's baud rate (dip: by its DIP switch)"};
    for (size_t i = 0; i < kFields.size(); ++i) {
      options_[i] = set_->add_option(std::string(kFields[i].option), given_[i], help[i])
                        ->type_name(Words(kFields[i]));
    }
    set_->footer(
        "These options are the settings the printer stores for its serial port; they take effect "
        "once the printer has been turned off and on. The link's own line settings are the "
        "global --baud, --parity, --data-bits and --stop-bits, given before \"serial\" (after "
        "\"serial set\" those names are the printer's). Switch 2 is read first; with no reply "
        "nothing is written. The settings not given, and bit 7, which no option names, stay as "
        "read.");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    if (get_->parsed()) return {};
    bool any = false;
    for (size_t i = 0; i < kFields.size(); ++i) {
      if (!options_[i]->count()) continue;
      any = true;
      const SerialField& f = kFields[i];
      std::optional<int> index = FindEntry(f.words, given_[i]);
      // The list's own entries ("Software", "2 Stop Bit") are taken as well.
      if (!index) index = FindEntry(f.names, given_[i]);
      if (!index) return std::string(f.option) + ": \"" + given_[i] + "\" is not " + Words(f);
      chosen_[i] = *index;
    }
    if (!any) {
      std::string options;
      for (const SerialField& f : kFields) options += (options.empty() ? "" : ", ") + std::string(f.option);
      return "serial set: give at least one of " + options;
    }
    return {};
  }

  Outcome Run(Session& session) override {
    if (get_->parsed()) {
      const std::optional<SerialSwitch> read = GetSerialSettings(session.link, session.clock, session.prompter);
      if (!read) return Outcome::PrinterFailed(NoReply(session.link));
      return Show(*read);
    }
    // The read only matters here when it fails: then its message says why nothing was set.
    HeldPrompter held;
    const std::optional<SerialSwitch> read = GetSerialSettings(session.link, session.clock, held);
    if (!read) {
      held.ReleaseTo(session.prompter);
      return Outcome::PrinterFailed(NoReply(session.link, "no reply to the read of switch 2; nothing was written"));
    }
    SerialSwitch settings = *read;
    for (size_t i = 0; i < kFields.size(); ++i) {
      if (options_[i]->count()) settings.*kFields[i].field = chosen_[i];
    }
    // The write reads switch 2 once more, right before it, to keep bit 7 as the printer has it.
    if (!SetSerialSettings(session.link, session.clock, session.prompter, settings)) {
      return Outcome::PrinterFailed(WriteFailure(session.link));
    }
    return Show(settings);
  }

 private:
  CLI::App* get_ = nullptr;
  CLI::App* set_ = nullptr;
  std::array<CLI::Option*, 6> options_{};
  std::array<std::string, 6> given_;
  std::array<int, 6> chosen_{};
};

}  // namespace

std::unique_ptr<Command> MakeSerialCommand() { return std::make_unique<SerialCommand>(); }

}  // namespace qm::cli
