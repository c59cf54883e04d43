// A printer's stored settings as one JSON document: exported, compared and applied again.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/prompter.h"

namespace qm {

class PrinterLink;

inline constexpr std::string_view kProfileFormat = "quillmark-settings";
inline constexpr int kProfileVersion = 1;

// Values are text as the command line shows them ("12", "-3", "Software", "GEN2"), keyed
// by the command line's setting names; identity holds the hardware version, serial number
// and printer ID, which an apply writes only when asked.
struct SettingsProfile {
  std::string model;
  std::string firmware;
  std::map<std::string, std::string> settings;
  std::map<std::string, std::string> identity;
  bool operator==(const SettingsProfile&) const = default;
};

struct ProfileParse {
  std::optional<SettingsProfile> profile;
  std::string error;  // names the key at fault; empty when parsed
};
// Refuses anything an apply could not write as it stands: another format, a newer version,
// an unknown key, a value of the wrong type or out of the settings' ranges.
ProfileParse ParseProfile(std::string_view text);
// The JSON document with a line end: indented by `indent` blanks, on one line when negative.
std::string WriteProfile(const SettingsProfile& profile, int indent = 2);

// Every setting the printer answers; one that gets no usable reply is left out (the RFID
// encoder's, on a printer without one). Identity is read too.
SettingsProfile ReadProfile(PrinterLink& link, Clock& clock, Prompter& prompter);

struct ApplyOptions {
  bool dryRun = false;        // compare only: nothing is written
  bool withIdentity = false;  // also write the identity items that differ
};
struct ProfileChange {
  std::string name, from, to;
  bool operator==(const ProfileChange&) const = default;
};
struct ProfileFailure {
  std::string name, reason;
  bool operator==(const ProfileFailure&) const = default;
};
struct ApplyResult {
  std::vector<ProfileChange> changed;  // written and read back equal (dry run: would change)
  std::vector<std::string> unchanged;
  std::vector<ProfileFailure> failed;
};
// Reads the current values of the profile's items, writes only those that differ through
// the settings pages' own operations, and reads each written item back.
ApplyResult ApplyProfile(PrinterLink& link, Clock& clock, Prompter& prompter, const SettingsProfile& profile,
                         const ApplyOptions& options = {});

}  // namespace qm
