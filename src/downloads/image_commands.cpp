#include "downloads/image_commands.h"

namespace qm {

namespace {

std::string Quoted(std::string_view name) {
  std::string out = "'";
  out += name;
  out += '\'';
  return out;
}

}  // namespace

std::string ImageStoreHeader(uint64_t byteCount, std::string_view name) {
  return "IS" + std::to_string(byteCount) + "," + Quoted(name);
}

std::string ImageStoreCheckPrint(std::string_view name) {
  return "\r\r" + ImageRecallCommand("100", "100", name);
}

std::string ImageRecallCommand(std::string_view x, std::string_view y, std::string_view name) {
  std::string out = "IR";
  out += x;
  out += ',';
  out += y;
  out += ',';
  return out + Quoted(name) + "\rP1\r";
}

std::string ImageDeleteCommand(std::string_view name) { return "ID" + Quoted(name) + ImageInformationCommand(); }

std::string ImageDeleteAllCommand() { return "ID*" + ImageInformationCommand(); }

std::string ImageInformationCommand() { return "II"; }

std::string ImageNameFromFileName(std::string_view fileName) {
  if (fileName.size() < 4) return {};
  return std::string(fileName.substr(0, fileName.size() - 4));
}

}  // namespace qm
