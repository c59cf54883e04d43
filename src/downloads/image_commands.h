// The image store's command bytes: store, check print, recall, delete and information.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// "IS", the byte count, ",'", the name, "'": the image bytes follow it directly.
std::string ImageStoreHeader(uint64_t byteCount, std::string_view name);
// What follows the image bytes: two CRs, then the stored image printed at 100,100.
std::string ImageStoreCheckPrint(std::string_view name);
// "IR", x, ",", y, ",'", name, "'", CR, "P1", CR; the position as typed.
std::string ImageRecallCommand(std::string_view x, std::string_view y, std::string_view name);
// "ID'name'" with the information command right after it.
std::string ImageDeleteCommand(std::string_view name);
// "ID*" with the information command right after it.
std::string ImageDeleteAllCommand();
// "II": the printer reports its stored images itself; nothing is read.
std::string ImageInformationCommand();
// A file name less its last four characters (the ".pcx"); empty when it is shorter.
std::string ImageNameFromFileName(std::string_view fileName);

}  // namespace qm
