// `settings export`, `settings diff` and `settings apply`: a printer's stored settings as a
// profile file, compared with it and put back from it.
#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <fstream>
#include <sstream>

#include "cli/command.h"
#include "cli/stream_prompter.h"
#include "link/queue_journal.h"
#include "settings/profile.h"

namespace qm::cli {

namespace {

std::string ChangesJson(const std::vector<ProfileChange>& changes) {
  std::string out = "[";
  for (size_t i = 0; i < changes.size(); ++i) {
    const ProfileChange& c = changes[i];
    out += (i ? "," : "") + std::string("{\"name\":") + JsonString(c.name) + ",\"from\":" + JsonString(c.from) +
           ",\"to\":" + JsonString(c.to) + "}";
  }
  return out + "]";
}

std::string FailuresJson(const std::vector<ProfileFailure>& failures) {
  std::string out = "[";
  for (size_t i = 0; i < failures.size(); ++i) {
    out += (i ? "," : "") + std::string("{\"name\":") + JsonString(failures[i].name) +
           ",\"reason\":" + JsonString(failures[i].reason) + "}";
  }
  return out + "]";
}

JsonObject ResultFields(const ApplyResult& result) {
  JsonObject fields;
  fields.Add("changed", JsonRaw{ChangesJson(result.changed)});
  fields.Add("unchanged", result.unchanged);
  fields.Add("failed", JsonRaw{FailuresJson(result.failed)});
  return fields;
}

class SettingsCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "settings", "Export the printer's stored settings as a profile, compare them with one, or apply one");
    sub->require_subcommand(1);
    export_ = sub->add_subcommand("export", "Write the connected printer's profile (to stdout without -o)");
    export_->add_option("-o,--output", output_, "the file to write")->type_name("FILE");
    diff_ = sub->add_subcommand("diff", "Show each setting that differs: NAME: PRINTER -> FILE");
    diff_->add_option("FILE", file_, "the profile")->required()->type_name("");
    diff_->footer("Exit status 0 when none differ, 4 when some do, 1 when some could not be read.");
    apply_ = sub->add_subcommand("apply", "Write the profile's settings that differ, then read each back");
    apply_->add_option("FILE", file_, "the profile")->required()->type_name("");
    apply_->add_flag("--dry-run", dryRun_, "show what would change; write nothing");
    apply_->add_flag("--with-identity", withIdentity_,
                     "also write the hardware version, serial number and printer ID (5.7 s each)");
    apply_->footer("Exit status 0 when every setting is applied and read back, 1 when any failed, 2 for a "
                   "profile that cannot be used (then nothing is written).");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    if (export_->parsed()) return {};
    std::ifstream in(file_, std::ios::binary);
    if (!in) return file_ + ": cannot be read";
    std::ostringstream text;
    text << in.rdbuf();
    ProfileParse parsed = ParseProfile(text.str());
    if (!parsed.profile) return file_ + ": " + parsed.error;
    profile_ = std::move(*parsed.profile);
    return {};
  }

  Outcome Run(Session& s) override {
    // The operations' own messages would break the output apart; they are shown only when
    // something failed.
    HeldPrompter held;
    if (export_->parsed()) return Export(s, held);
    const bool diff = diff_->parsed();
    ApplyOptions options;
    options.dryRun = diff || dryRun_;
    options.withIdentity = !diff && withIdentity_;
    const ApplyResult result = ApplyProfile(s.link, s.clock, held, profile_, options);
    if (!result.failed.empty()) held.ReleaseTo(s.prompter);
    std::string text;
    for (const ProfileChange& c : result.changed) {
      text += (diff ? "" : "changed ") + c.name + ": " + c.from + " -> " + c.to + "\n";
    }
    for (const ProfileFailure& f : result.failed) text += "failed " + f.name + ": " + f.reason + "\n";
    if (!diff) {
      text += std::to_string(result.changed.size()) + (dryRun_ ? " to change, " : " changed, ") +
              std::to_string(result.unchanged.size()) + " unchanged, " + std::to_string(result.failed.size()) +
              " failed\n";
    }
    Outcome outcome = Outcome::Done(text, ResultFields(result));
    if (!result.failed.empty()) {
      outcome.status = ExitStatus::kPrinterFailed;
      outcome.error = std::to_string(result.failed.size()) + " setting(s) failed";
    } else if (diff && !result.changed.empty()) {
      outcome.status = ExitStatus::kDiffers;
    }
    return outcome;
  }

 private:
  Outcome Export(Session& s, HeldPrompter& held) {
    const SettingsProfile profile = ReadProfile(s.link, s.clock, held);
    if (profile.settings.empty()) {
      held.ReleaseTo(s.prompter);
      return Outcome::PrinterFailed("the printer answered none of the settings");
    }
    std::string text = WriteProfile(profile);
    if (output_.empty()) {
      JsonObject fields;
      // --json output is one line.
      const std::string line = WriteProfile(profile, -1);
      fields.Add("profile", JsonRaw{line.substr(0, line.size() - 1)});
      return Outcome::Done(text, fields);
    }
    // A file is replaced whole or not at all, so a failed export never leaves half a profile
    // where the last one was; a device or pipe (-o /dev/stdout) is written as it is.
    struct stat st {};
    if (::stat(output_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
      std::ofstream out(output_, std::ios::binary);
      out << text;
      out.close();
      if (!out) return Outcome::Usage(output_ + ": cannot be written");
    } else if (const std::string error = ReplaceFile(output_, text, 0644); !error.empty()) {
      return Outcome::Usage(output_ + ": cannot be written: " + error);
    }
    JsonObject fields;
    fields.Add("file", output_);
    return Outcome::Done({}, fields);
  }

  std::string FleetRefusal() const override {
    if (export_->parsed() && !output_.empty()) {
      return "settings export -o: several printers would each write " + output_ +
             "; leave -o off and take each printer's profile from --json";
    }
    return {};
  }

  CLI::App* export_ = nullptr;
  CLI::App* diff_ = nullptr;
  CLI::App* apply_ = nullptr;
  std::string output_;
  std::string file_;
  bool dryRun_ = false;
  bool withIdentity_ = false;
  SettingsProfile profile_;
};

}  // namespace

std::unique_ptr<Command> MakeSettingsCommand() { return std::make_unique<SettingsCommand>(); }

}  // namespace qm::cli
