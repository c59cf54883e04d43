#include "cli/command.h"

namespace qm::cli {

bool WroteAll(const PrinterLink& link, int result, size_t size) {
  if (link.GetInterfaceKind() == kEthernet) return result > 0 && static_cast<size_t>(result) == size;
  return result == 1;
}

std::vector<std::unique_ptr<Command>> AllCommands() {
  std::vector<std::unique_ptr<Command>> commands;
  commands.push_back(MakeSendCommand());
  commands.push_back(MakeQueryCommand());
  return commands;
}

}  // namespace qm::cli
