#include "settings/memory_switch.h"

#include "link/printer_link.h"

namespace qm {

const std::array<std::string_view, 24> kCodePageNames{
    "Factory Default CodePage", "PC437 - USA", "PC850 - Latin 1", "PC852 - Latin 2",
    "PC860 - Portuguese", "PC863 - Canadian French", "PC865 - Nordic", "WPC1252 - Latin I",
    "PC865 + WPC1252 - European Combined", "PC857 - Turkish", "PC737 - Greek", "WPC1250 - Latin 2",
    "WPC1253 - Greek", "WPC1254 - Turkish", "PC855 - Cyrillic", "PC862 - Hebrew",
    "PC866 - Cyrillic", "WPC1251 - Cyrillic", "WPC1255 - Hebrew", "PC928 -  Greek",
    "PC864 -  Arabic", "PC775 - Baltic Dos", "WPC1257 - Baltic Windows", "PC858 - Latin 1 + Euro",
};
const std::array<std::string_view, 17> kIcsNames{
    "Factory Default ICS", "U.S.A", "France", "Germany", "U.K", "Denmark I", "Sweden", "Italy",
    "Spain I", "Norway", "Denmark II", "Japan", "Spain II", "Latin America", "Korea",
    "Slovenia/Croatia", "China",
};
const std::array<std::string_view, 7> kSpeedNames{"Default", "3ips", "4ips", "5ips", "6ips", "7ips", "8ips"};
const std::array<std::string_view, 3> kStrobeNames{"2", "3", "4"};
const std::array<std::string_view, 2> kGapPositionNames{"Lower Position of Gap", "Upper Position of Gap"};
const std::array<std::string_view, 2> kHandShakeNames{"Hardware", "Software"};
const std::array<std::string_view, 2> kStopBitNames{"1 Stop Bit", "2 Stop Bit"};
const std::array<std::string_view, 2> kDataLengthNames{"8", "7"};
const std::array<std::string_view, 2> kParityCheckNames{"No Parity", "Parity"};
const std::array<std::string_view, 2> kParitySelectionNames{"Even", "Odd"};
const std::array<std::string_view, 3> kBaudRateNames{"By Dip Switch", "38400", "57600"};

char InterfaceCodeDigit(InterfaceKind kind) {
  switch (kind) {
    case kSerial: return '1';
    case kUsb: return '3';
    default: return '2';  // parallel and Ethernet
  }
}

std::string BuildSwitchRead(int number, char interfaceCode) {
  return std::string("^MBR") + static_cast<char>('0' + number) + ',' + interfaceCode;
}

std::string BuildSwitchWrite(int number, uint8_t value, SwitchWriteForm form) {
  std::string command = std::string("^MBS") + static_cast<char>('0' + number) + ',';
  command.push_back(static_cast<char>(value));
  if (form == SwitchWriteForm::kLong) command.push_back('\r');
  return command;
}

std::string BuildSwitchCommit(int number) {
  std::string command = "^MBA";
  command.push_back(static_cast<char>(number));
  command.push_back('\r');
  return command;
}

SwitchRead ReadSwitch(PrinterLink& link, Clock& clock, int number, int delayMs) {
  link.Write(BuildSwitchRead(number, InterfaceCodeDigit(link.GetInterfaceKind())));
  clock.Sleep(delayMs);
  SwitchRead read;
  char byte = 0;
  read.count = link.Read(&byte, 1, ReplyEnd::kCount);
  if (read.count == 1) read.value = static_cast<uint8_t>(byte);
  return read;
}

int WriteSwitch(PrinterLink& link, int number, uint8_t value, SwitchWriteForm form) {
  link.Write(BuildSwitchWrite(number, value, form));
  return link.Write(BuildSwitchCommit(number));
}

uint8_t MergeSwitch(uint8_t current, uint8_t owned, uint8_t value) {
  return static_cast<uint8_t>((current & ~owned) | (value & owned));
}

SwitchUpdate UpdateSwitch(PrinterLink& link, Clock& clock, int number, uint8_t owned, uint8_t value,
                          SwitchWriteForm form, int delayMs) {
  const SwitchRead read = ReadSwitch(link, clock, number, delayMs);
  SwitchUpdate update;
  update.keptOthers = read.ok();
  // With nothing read there is nothing to keep: the item's bits alone, the rest 0.
  update.result = WriteSwitch(link, number, MergeSwitch(read.ok() ? read.value : 0, owned, value), form);
  return update;
}

SerialSwitch DecodeSerialSwitch(uint8_t value) {
  SerialSwitch s;
  s.handShake = value & 0x01 ? 1 : 0;
  s.stopBits = value & 0x02 ? 1 : 0;
  s.dataLength = value & 0x04 ? 1 : 0;
  s.parityCheck = value & 0x08 ? 1 : 0;
  s.paritySelection = value & 0x10 ? 1 : 0;
  if (!(value & 0x20)) {
    s.baudRate = 0;
  } else {
    s.baudRate = value & 0x40 ? 2 : 1;
  }
  return s;
}

uint8_t EncodeSerialSwitch(const SerialSwitch& s) {
  uint8_t value = 0;
  if (s.handShake > 0) value |= 0x01;
  if (s.stopBits > 0) value |= 0x02;
  if (s.dataLength > 0) value |= 0x04;
  if (s.parityCheck > 0) value |= 0x08;
  if (s.paritySelection > 0) value |= 0x10;
  if (s.baudRate == 1) value |= 0x20;
  if (s.baudRate == 2) value |= 0x60;
  return value;
}

int DecodeSpeed(uint8_t value) {
  const int code = value >> 5;
  return code == 7 ? 0 : code;
}

uint8_t EncodeSpeed(int code) {
  return code >= 1 && code <= 6 ? static_cast<uint8_t>(code * 32) : 0;
}

std::optional<int> DecodeStrobe(uint8_t value) {
  // Strobe and gap position share the byte and each Set keeps the other's bits, so each
  // reads only its own.
  switch (value & kStrobeBits) {
    case 0x00: return 0;
    case 0x40: return 1;
    case 0x80: return 2;
    default: return std::nullopt;
  }
}

uint8_t EncodeStrobe(int index) {
  return index == 1 ? 0x40 : index == 2 ? 0x80 : 0x00;
}

std::optional<int> DecodeGapPosition(uint8_t value) { return value & kGapPositionBits ? 1 : 0; }

uint8_t EncodeGapPosition(int index) { return index == 1 ? 0x20 : 0x00; }

}  // namespace qm
