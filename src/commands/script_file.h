// Command script files: the script's raw bytes, no header, no conversion.
#pragma once

#include <cstddef>
#include <string>

namespace qm {

// Scripts larger than this are refused rather than loaded into the editor.
inline constexpr size_t kMaxScriptBytes = 16u << 20;

struct ScriptLoad {
  bool ok = false;
  std::string bytes;  // the file up to its first zero byte
  std::string error;  // why it failed, for the operator
};

// Reads a script file; the script ends at the first zero byte, as the printer tools do.
ScriptLoad LoadScriptFile(const std::string& path);

// Writes the bytes exactly. The file is written beside its target and renamed over it, so
// a failed save never leaves the old file cut short. Empty on success, else the reason.
std::string SaveScriptFile(const std::string& path, const std::string& bytes);

}  // namespace qm
