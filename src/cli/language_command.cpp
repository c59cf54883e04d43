// `language get` and `language set`: the printer's default code page (switch 1) and
// international character set (switch 3).
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>

#include "cli/command.h"
#include "cli/setting_text.h"
#include "cli/stream_prompter.h"
#include "settings/serial_language.h"

namespace qm::cli {

namespace {

constexpr std::string_view kCodePageLabel = "Default CodePage  :";
constexpr std::string_view kIcsLabel = "Default International Character Set(ICS) :";

// An index of the list, or one of its entries.
std::string ParseChoice(const std::string& option, EntryList names, const std::string& text, int& index) {
  const std::string range = "0.." + std::to_string(names.size() - 1);
  if (AllDigits(text)) {
    const std::optional<int> number = ParseInt(text);
    if (!number || *number >= static_cast<int>(names.size())) {
      return option + ": " + text + " is out of range " + range;
    }
    index = *number;
    return {};
  }
  const std::optional<int> found = FindEntry(names, text);
  if (!found) return option + ": \"" + text + "\" is neither an index " + range + " nor an entry of the list";
  index = *found;
  return {};
}

Outcome Show(const LanguageSettings& settings) {
  const std::string codePage = EntryOrNone(kCodePageNames, settings.codePage);
  const std::string ics = EntryOrNone(kIcsNames, settings.ics);
  JsonObject fields;
  fields.Add("codePage", codePage);
  fields.Add("ics", ics);
  return Outcome::Done(Labelled(kCodePageLabel, codePage) + "\n" + Labelled(kIcsLabel, ics), fields);
}

class LanguageCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "language", "Read or change the printer's default code page and international character set");
    sub->require_subcommand(1);
    get_ = sub->add_subcommand("get", "Read the default code page and ICS");
    set_ = sub->add_subcommand("set", "Change the default code page, the ICS or both, keeping the other as read");
    codePageOption_ = set_->add_option("--codepage", codePageText_, "the default code page: its index or its entry")
                          ->type_name("INDEX|TEXT");
    icsOption_ = set_->add_option("--ics", icsText_, "the default ICS: its index or its entry")
                     ->type_name("INDEX|TEXT");
    set_->footer("An entry is matched without regard to case or to the number of blanks. Both "
                 "switches are read first; with no reply nothing is written. The print speed, which switch 3 "
                 "also holds, is kept.\n\nCode pages:\n" +
                 NumberedEntries(kCodePageNames) + "\nInternational character sets:\n" +
                 NumberedEntries(kIcsNames));
    return sub;
  }

  std::string Prepare(std::istream&) override {
    if (get_->parsed()) return {};
    if (!codePageOption_->count() && !icsOption_->count()) return "language set: give --codepage, --ics or both";
    if (codePageOption_->count()) {
      if (std::string e = ParseChoice("--codepage", kCodePageNames, codePageText_, codePage_); !e.empty()) return e;
    }
    if (icsOption_->count()) {
      if (std::string e = ParseChoice("--ics", kIcsNames, icsText_, ics_); !e.empty()) return e;
    }
    return {};
  }

  Outcome Run(Session& session) override {
    if (get_->parsed()) {
      const std::optional<LanguageSettings> read = GetLanguageSettings(session.link, session.clock, session.prompter);
      if (!read) return Outcome::PrinterFailed(NoReply(session.link));
      return Show(*read);
    }
    HeldPrompter held;
    const std::optional<LanguageSettings> read = GetLanguageSettings(session.link, session.clock, held);
    if (!read) {
      held.ReleaseTo(session.prompter);
      return Outcome::PrinterFailed(
          NoReply(session.link, "no reply to the read of switches 1 and 3; nothing was written"));
    }
    LanguageSettings settings = *read;
    if (codePageOption_->count()) settings.codePage = codePage_;
    if (icsOption_->count()) settings.ics = ics_;
    // A switch both writes send whole must hold an entry of its list; rather than send a
    // guess for the one not given, ask for it.
    if (settings.codePage < 0) {
      return Outcome::PrinterFailed("the printer's default code page did not come back or is no entry of "
                                    "the list; give --codepage as well; nothing was written");
    }
    if (settings.ics < 0) {
      return Outcome::PrinterFailed("the printer's default ICS is no entry of the list; give --ics as well; "
                                    "nothing was written");
    }
    if (!SetLanguageSettings(session.link, session.clock, session.prompter, settings)) {
      return Outcome::PrinterFailed(WriteFailure(session.link));
    }
    return Show(settings);
  }

 private:
  CLI::App* get_ = nullptr;
  CLI::App* set_ = nullptr;
  CLI::Option* codePageOption_ = nullptr;
  CLI::Option* icsOption_ = nullptr;
  std::string codePageText_, icsText_;
  int codePage_ = -1;
  int ics_ = -1;
};

}  // namespace

std::unique_ptr<Command> MakeLanguageCommand() { return std::make_unique<LanguageCommand>(); }

}  // namespace qm::cli
