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
  commands.push_back(MakeInfoCommand());
  commands.push_back(MakeGetCommand());
  commands.push_back(MakeSetCommand());
  commands.push_back(MakeInitUserSettingsCommand());
  commands.push_back(MakeSerialCommand());
  commands.push_back(MakeLanguageCommand());
  commands.push_back(MakeHwinfoCommand());
  commands.push_back(MakeSwitchCommand());
  commands.push_back(MakeLineCommand());
  commands.push_back(MakeCharsetTestCommand());
  commands.push_back(MakeCodepageTestCommand());
  commands.push_back(MakeFindFontCommand());
  commands.push_back(MakeConvertCommand());
  commands.push_back(MakeCalibrateCommand());
  commands.push_back(MakeStatusCommand());
  commands.push_back(MakeInventoryCommand());
  commands.push_back(MakeRfidCommand());
  commands.push_back(MakeSettingsCommand());
  commands.push_back(MakeRenderCommand());
  commands.push_back(MakeDownloadCommand());
  commands.push_back(MakePcxCommand());
  return commands;
}

}  // namespace qm::cli
