// The printer's non-volatile state as a JSON file, so settings survive a restart.
#pragma once

#include <string>
#include <string_view>

#include "printer/printer_state.h"

namespace qm::printer {

// Files larger than this are not state files.
inline constexpr size_t kMaxStateFileBytes = 1024 * 1024;

std::string StateToJson(const StoredState& state);

// Reads a state document over `state`: members it lacks keep their values. On failure
// `error` names the place or member, and `state` is unchanged.
bool StateFromJson(std::string_view text, StoredState& state, std::string& error);

// A missing file is not an error: `state` is left as it is and `exists` is false.
bool LoadStateFile(const std::string& path, StoredState& state, bool& exists, std::string& error);

// Writes through a temporary file and renames it, so a crash never leaves half a file.
bool SaveStateFile(const std::string& path, const StoredState& state, std::string& error);

}  // namespace qm::printer
