#include "link/device_map.h"

#include <cctype>
#include <cstdlib>

namespace qm {

namespace {

constexpr int kHighestPortNumber = 64;

const char* Env(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value && *value ? value : nullptr;
}

}  // namespace

DeviceMap DeviceMap::FromEnvironment() {
  DeviceMap map;
  for (const char* prefix : {"COM", "LPT"}) {
    for (int n = 1; n <= kHighestPortNumber; ++n) {
      const std::string key = prefix + std::to_string(n);
      if (const char* path = Env("QUILLMARK_" + key)) map.Override(key, path);
    }
  }
  if (const char* root = Env("QUILLMARK_SYSFS_ROOT")) map.usb.sysfs = root;
  if (const char* root = Env("QUILLMARK_DEV_ROOT")) map.usb.dev = root;
  return map;
}

std::string DeviceMap::PathFor(std::string_view portName) const {
  if (portName.size() < 4) return {};
  const std::string_view prefix = portName.substr(0, 3);
  if (prefix != "COM" && prefix != "LPT") return {};
  std::string_view digits = portName.substr(3);
  if (digits.back() == ':') digits.remove_suffix(1);
  if (digits.empty() || digits.size() > 2 || digits.front() == '0') return {};
  for (const char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return {};
  }
  const int n = std::stoi(std::string(digits));
  if (n > kHighestPortNumber) return {};
  const std::string key = std::string(prefix) + std::string(digits);
  if (const auto it = overrides_.find(key); it != overrides_.end()) return it->second;
  return prefix == "COM" ? "/dev/ttyS" + std::to_string(n - 1) : "/dev/lp" + std::to_string(n - 1);
}

}  // namespace qm
