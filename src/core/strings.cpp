#include "core/strings.h"

#include <array>
#include <utility>

namespace qm {

namespace {

constexpr std::array<std::pair<int, std::string_view>, 16> kEnglish{{
    {sid::kTitle, "Quillmark  (Version 1.4.9)"},
    {sid::kInterfaceType, "Interface Type"},
    {sid::kCantOpenFile, "Can't open file!"},
    {sid::kBinaryDownloadDone, "Binary file download is completed."},
    {sid::kSelectBinaryFile, "Please,Select a binary file!"},
    {sid::kSerialReadError, "Port error! Check setting of serial port, please."},
    {sid::kPortWriteError, "Port error! Check printer's port, please."},
    {sid::kPcxDownloadDone, "PCX file download is completed."},
    {sid::kSelectPcxFiles, "Please, Select PCX files!"},
    {sid::kTypeImageName, "Please, type image name!"},
    {sid::kSocketCreateFailed, "Error : Failed to Create socket!"},
    {sid::kConnectFailed,
     "Error : Failed to connect. Please, \ncheck IP port configuration in printer control pannel"},
    {sid::kCannotOpenPort, "Cannot open port! Please check printer and cable."},
    {sid::kPortOpened, "Success open port."},
    {sid::kNoParallelOnWin9x, "Sorry, parallel port don't support in Windows 98, 98SE, ME."},
    {sid::kNoCalibrationOnEthernet, "Calibration is not supported on Ethernet connection."},
}};

}  // namespace

std::string_view EnglishText(int id) {
  for (const auto& [number, text] : kEnglish) {
    if (number == id) return text;
  }
  return {};
}

const StringTable& EnglishStrings() {
  static const StringTable table;
  return table;
}

Message NumberedMessage(const StringTable& table, int id, Icon icon) {
  return Message{table.Text(id), icon, {}, id};
}

}  // namespace qm
