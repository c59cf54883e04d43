// Finding the attached USB printer among the usblp devices.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// One accepted device: its identity text, the model index it sets, and the names its
// installed instances are known by.
struct UsbModelEntry {
  std::string_view identity;  // "vid_xxxx&pid_yyyy", lower case
  int modelIndex;
  std::array<std::string_view, 2> keyNames;  // second may be empty
};

// Accepted devices in the order they are tried.
extern const std::array<UsbModelEntry, 8> kUsbModelTable;

// Where the kernel's device and sysfs trees are; tests point these at a fake tree.
struct UsbRoots {
  std::string sysfs = "/sys";
  std::string dev = "/dev";
};

struct UsbPrinter {
  std::string devicePath;
  int modelIndex = -1;
};

// Model index of an identity text in table order, -1 when no entry matches.
int MatchUsbModel(std::string_view identity);

// Identity text of usblp node `index` ("vid_xxxx&pid_yyyy"), empty when sysfs lacks it.
std::string UsbNodeIdentity(const UsbRoots& roots, int index);

// The first usblp node, in index order, whose identity is in the table and that can be
// opened (a node held exclusively elsewhere, or not a device, is skipped). When none is
// found, `skipped` (if given) says why the last matching node was passed over.
std::optional<UsbPrinter> FindUsbPrinter(const UsbRoots& roots, std::string* skipped = nullptr);

// Clears the installed instances' configuration flags where the system keeps such flags;
// Linux keeps none, so this does nothing.
void MarkUsbPrinterConfigured(int modelIndex);

}  // namespace qm
