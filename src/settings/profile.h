// A printer's stored settings as one JSON document: exported, compared and applied again.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/progress.h"
#include "settings/memory_switch.h"
#include "settings/serial_language.h"
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
  // Hears one unit per item settled, of all the profile's items; asked before each write,
  // and once it says stop the items not yet written fail as not written.
  Progress* progress = nullptr;
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
// The profile with only the named settings and identity items, so that an apply writes a
// chosen few of them; its model and firmware stay.
SettingsProfile KeepOnly(const SettingsProfile& profile, const std::set<std::string>& names);
// True for the hardware version, serial number and printer ID.
bool IsIdentityItem(std::string_view name);

// A profile's values in the setting pages' own terms, for showing them there; an item the
// profile does not name is empty (-1 in the switch structures).
struct ProfileValues {
  std::array<std::optional<int>, 6> numeric;    // in NumericItem order
  std::array<std::optional<int>, 2> signedItem;  // in SignedItem order, negative below zero
  std::optional<int> strobe, speed, gapDetect;  // list indexes
  SerialSwitch serial;
  LanguageSettings language;
  std::array<std::optional<std::string>, 3> identity;  // in HardwareItem order
};
ProfileValues ValuesOf(const SettingsProfile& profile);

// Reads the current values of the profile's items, writes only those that differ through
// the settings pages' own operations, and reads each written item back.
ApplyResult ApplyProfile(PrinterLink& link, Clock& clock, Prompter& prompter, const SettingsProfile& profile,
                         const ApplyOptions& options = {});

}  // namespace qm
