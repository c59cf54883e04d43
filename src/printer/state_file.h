// The printer's non-volatile state as a JSON file, so settings survive a restart.
#pragma once

#include <string>
#include <string_view>

#include "link/queue_journal.h"
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

// Makes this process the one printer that keeps `path` up to date, before it is loaded: a
// lock on `path` + ".lock" beside it, held until the process ends (a printer started again
// in the same process keeps it). Refused, naming the file, when another printer holds it,
// when the file is read-only, or when its folder cannot be written (each save makes a new
// file there). Temporaries that an interrupted save left are removed.
bool ClaimStateFile(const std::string& path, std::string& error);

// Writes through a temporary file of its own and renames it, so a crash never leaves half a
// file; the new file keeps the old one's permissions (0600 for a first one).
bool SaveStateFile(const std::string& path, const StoredState& state, std::string& error,
                   FileCalls& files = FileCalls::System());

}  // namespace qm::printer
