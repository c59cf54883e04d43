// Taking one command line apart: its word, its comma-separated fields and its quoted data.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace qm::render {

struct CommandParts {
  std::string_view word;
  std::vector<std::string_view> fields;
  bool hasData = false;
  std::string_view data;  // between the first and the last quote
};

// The command word `line` begins with, longest first ("SOT" before "S"); empty for none.
std::string_view CommandWord(std::string_view line);

// The line split after its word: fields up to the first quote, data to the last one.
// nullopt when a quote is opened and never closed.
std::optional<CommandParts> SplitCommand(std::string_view line);

// A decimal field, a leading "+" or "-" allowed; nullopt for anything else.
std::optional<int> Number(std::string_view field);

}  // namespace qm::render
