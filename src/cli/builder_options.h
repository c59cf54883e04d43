// The builders' dialog fields as command-line options. Each option is taken as text and
// checked against its field's range or list before it reaches the builder's value struct,
// so a bad value is refused before anything is sent.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/setting_text.h"
#include "commands/command_framing.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace qm::cli {

// How far a typed coordinate or length may go: what the dialogs let one type.
inline constexpr int kTypedMaximum = 99999;

// Puts one option's text into its field; an error text when the value cannot be used.
using FieldSetter = std::function<std::string(const std::string& text)>;

class FieldOptions {
 public:
  // Adds --NAME with its --help line. Setters run in the order the options were added, so a
  // field that resets others (a type, a unit, a kind of font) is added before them.
  CLI::Option* Add(CLI::App& app, const std::string& name, const std::string& valueName,
                   const std::string& help, FieldSetter set);
  // Runs the setter of every option given; the first refusal, or empty.
  std::string Apply() const;

 private:
  struct Entry {
    std::string name;
    std::string text;
    CLI::Option* option = nullptr;
    FieldSetter set;
  };
  std::vector<std::unique_ptr<Entry>> entries_;
};

// "H Multi: 1..4 (default 1)": the dialog's label, what it takes, its first state.
std::string FieldHelp(std::string_view label, std::string_view accepts, std::string_view first);
// "0..999".
std::string RangeText(const FieldRange& range);
// "Off|On".
std::string ChoiceText(EntryList entries);

// The checks, each naming `option` in its refusal ("--h-multi: 5 is out of range 1..4").
std::string TakeInteger(std::string_view option, std::string_view text, const FieldRange& range, int& out);
// A finite decimal real in `range`, read without regard to the locale.
std::string TakeReal(std::string_view option, std::string_view text, const FieldRange& range, double& out);
// An entry of the list, compared without regard to case, a "-" or "_" standing for a blank;
// its position as well, when `positions` is set.
std::string TakeChoice(std::string_view option, std::string_view text, EntryList entries, int& out,
                       bool positions = false);
// One of the characters of `letters`, exactly.
std::string TakeLetter(std::string_view option, std::string_view text, std::string_view letters, char& out);

// The shortest decimal text that reads back as the same value: 203.2, not 203.199997.
std::string RealText(float value);
std::string RealText(double value);

}  // namespace qm::cli
