#include "render/command_text.h"

#include <array>
#include <charconv>

namespace qm::render {

namespace {

// Longer words first, so "SOT" is not taken for "S..." nor "B1" for "B".
constexpr std::array<std::string_view, 23> kWords = {
    ">RF", "SOT", "SOB", "B1", "B2", "BD", "CS", "SW", "SL", "SM", "SS", "SD", "SA", "TA",
    "IR",  "IS",  "ID",  "II", "^",  "T",  "V",  "P",  "~"};

}  // namespace

std::string_view CommandWord(std::string_view line) {
  for (std::string_view w : kWords) {
    if (line.substr(0, w.size()) == w) return w;
  }
  return {};
}

std::optional<CommandParts> SplitCommand(std::string_view line) {
  CommandParts parts;
  parts.word = CommandWord(line);
  std::string_view rest = line.substr(parts.word.size());
  const size_t open = rest.find('\'');
  if (open != std::string_view::npos) {
    const size_t close = rest.rfind('\'');
    if (close == open) return std::nullopt;
    parts.hasData = true;
    parts.data = rest.substr(open + 1, close - open - 1);
    rest = rest.substr(0, open);
    // The data follows its own comma.
    if (!rest.empty() && rest.back() == ',') rest.remove_suffix(1);
  }
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    parts.fields.push_back(rest.substr(0, comma));
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
    if (rest.empty()) parts.fields.emplace_back();
  }
  return parts;
}

std::optional<int> Number(std::string_view field) {
  if (!field.empty() && field[0] == '+') field.remove_prefix(1);
  if (field.empty() || field[0] == '+') return std::nullopt;
  int value = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

}  // namespace qm::render
