#include "link/usb_discovery.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <vector>

#include "link/fd_port.h"

namespace qm {

const std::array<UsbModelEntry, 8> kUsbModelTable{{
    {"vid_2961&pid_0101", 1, {"VORMAND_LRX-500II", "KELTRISLRX-500II"}},
    {"vid_2962&pid_0201", 0, {"VORMAND_LRX-500", "KELTRISLRX-500"}},
    {"vid_2961&pid_0102", 2, {"VORMAND_LMX-C410", "KELTRISLMX-C410"}},
    {"vid_2961&pid_0103", 3, {"VORMAND_LMX-C411", "KELTRISLMX-C411"}},
    {"vid_2961&pid_0104", 4, {"VORMAND_LMX-A410", ""}},
    {"vid_2961&pid_0107", 5, {"VORMAND_LMX-A411", ""}},
    {"vid_2961&pid_0105", 6, {"VORMAND_LMX-A210", ""}},
    {"vid_2961&pid_0106", 7, {"VORMAND_LMX-A211", ""}},
}};

namespace {

// The first line of a small sysfs attribute, lower-cased and trimmed.
std::string ReadAttribute(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
  std::transform(line.begin(), line.end(), line.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return line;
}

bool IsHex4(const std::string& s) {
  return s.size() == 4 &&
         std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isxdigit(c); });
}

// Indexes of the usblp nodes that sysfs lists, in ascending order.
std::vector<int> UsbNodeIndexes(const UsbRoots& roots) {
  std::vector<int> indexes;
  const std::string dir = roots.sysfs + "/class/usbmisc";
  DIR* d = ::opendir(dir.c_str());
  if (!d) return indexes;
  while (const dirent* e = ::readdir(d)) {
    const std::string_view name(e->d_name);
    if (name.size() < 3 || name.size() > 6 || name.substr(0, 2) != "lp") continue;
    const std::string_view digits = name.substr(2);
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
      continue;
    indexes.push_back(std::stoi(std::string(digits)));
  }
  ::closedir(d);
  std::sort(indexes.begin(), indexes.end());
  return indexes;
}

}  // namespace

int MatchUsbModel(std::string_view identity) {
  for (const auto& entry : kUsbModelTable) {
    if (entry.identity == identity) return entry.modelIndex;
  }
  return -1;
}

std::string UsbNodeIdentity(const UsbRoots& roots, int index) {
  // `device` is the interface; its parent, the USB device, carries the ids. The kernel
  // resolves "device/.." through the link, which is what we want.
  const std::string base = roots.sysfs + "/class/usbmisc/lp" + std::to_string(index) + "/device/../";
  const std::string vendor = ReadAttribute(base + "idVendor");
  const std::string product = ReadAttribute(base + "idProduct");
  if (!IsHex4(vendor) || !IsHex4(product)) return {};
  return "vid_" + vendor + "&pid_" + product;
}

std::optional<UsbPrinter> FindUsbPrinter(const UsbRoots& roots, std::string* skipped) {
  for (const int index : UsbNodeIndexes(roots)) {
    const int model = MatchUsbModel(UsbNodeIdentity(roots, index));
    if (model < 0) continue;
    const std::string path = roots.dev + "/usb/lp" + std::to_string(index);
    std::string error;
    const int fd = OpenDevice(path, false, error);
    if (fd == -1) {
      if (skipped) *skipped = error;
      continue;
    }
    ::close(fd);
    return UsbPrinter{path, model};
  }
  return std::nullopt;
}

void MarkUsbPrinterConfigured(int) {}

}  // namespace qm
