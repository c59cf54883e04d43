#include "cli/builder_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>

namespace qm::cli {

CLI::Option* FieldOptions::Add(CLI::App& app, const std::string& name, const std::string& valueName,
                               const std::string& help, FieldSetter set) {
  auto entry = std::make_unique<Entry>();
  entry->name = "--" + name;
  entry->set = std::move(set);
  entry->option = app.add_option(entry->name, entry->text, help)->type_name(valueName);
  CLI::Option* option = entry->option;
  entries_.push_back(std::move(entry));
  return option;
}

std::string FieldOptions::Apply() const {
  for (const auto& entry : entries_) {
    if (entry->option->count() == 0) continue;
    if (std::string error = entry->set(entry->text); !error.empty()) return error;
  }
  return {};
}

std::string FieldHelp(std::string_view label, std::string_view accepts, std::string_view first) {
  std::string help(label);
  help += ": ";
  help += accepts;
  help += " (default ";
  help += first;
  help += ")";
  return help;
}

std::string RangeText(const FieldRange& range) {
  return std::to_string(range.minimum) + ".." + std::to_string(range.maximum);
}

std::string ChoiceText(EntryList entries) {
  std::string out;
  for (std::string_view entry : entries) {
    if (!out.empty()) out += '|';
    out += entry;
  }
  return out;
}

std::string TakeInteger(std::string_view option, std::string_view text, const FieldRange& range, int& out) {
  const std::optional<int> value = ParseInt(text);
  if (!value) return std::string(option) + ": \"" + std::string(text) + "\" is not a whole number";
  if (CheckRange(range, *value)) {
    return std::string(option) + ": " + std::string(text) + " is out of range " + RangeText(range);
  }
  out = *value;
  return {};
}

std::string TakeReal(std::string_view option, std::string_view text, const FieldRange& range, double& out) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
    return std::string(option) + ": \"" + std::string(text) + "\" is not a number";
  }
  if (CheckRange(range, value)) {
    return std::string(option) + ": " + std::string(text) + " is out of range " + RangeText(range);
  }
  out = value;
  return {};
}

std::string TakeChoice(std::string_view option, std::string_view text, EntryList entries, int& out,
                       bool positions) {
  std::optional<int> found = FindEntry(entries, text);
  if (!found) {
    std::string blanks(text);
    for (char& c : blanks) {
      if (c == '-' || c == '_') c = ' ';
    }
    found = FindEntry(entries, blanks);
  }
  if (!found && positions) {
    const std::optional<int> number = ParseInt(text);
    if (number && *number >= 0 && static_cast<size_t>(*number) < entries.size()) found = number;
  }
  if (!found) {
    std::string accepted = ChoiceText(entries);
    if (positions) accepted += ", or 0.." + std::to_string(entries.size() - 1);
    return std::string(option) + ": \"" + std::string(text) + "\" is none of " + accepted;
  }
  out = *found;
  return {};
}

std::string TakeLetter(std::string_view option, std::string_view text, std::string_view letters, char& out) {
  if (text.size() != 1 || letters.find(text[0]) == std::string_view::npos) {
    std::string accepted;
    for (char letter : letters) {
      if (!accepted.empty()) accepted += '|';
      accepted += letter;
    }
    return std::string(option) + ": \"" + std::string(text) + "\" is none of " + accepted;
  }
  out = text[0];
  return {};
}

namespace {

template <typename Real>
std::string ShortestText(Real value) {
  char buffer[400];  // a double in fixed notation may take over 300 digits
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (error != std::errc()) return "0";
  return std::string(buffer, end);
}

}  // namespace

std::string RealText(float value) { return ShortestText(value); }
std::string RealText(double value) { return ShortestText(value); }

}  // namespace qm::cli
