// Information queries, memory switches, user settings, identification strings,
// calibration and status.
#include "printer/printer_model.h"
#include "printer/sensing.h"

namespace qm::printer {

namespace {

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

constexpr char kResetByte = 0x0F;  // "^MBU" and "^MBY" reset forms carry this byte
constexpr std::string_view kLineEnd = "\r\n";

// The digit the memory switch read carries for the interface it wants the answer on.
char InterfaceCode(InterfaceKind kind) {
  switch (kind) {
    case kSerial: return '1';
    case kUsb: return '3';
    default: return '2';  // parallel and Ethernet
  }
}

std::string Line(int value) { return std::to_string(value) + std::string(kLineEnd); }

}  // namespace

bool PrinterModel::HandleSettings(std::string_view text, InterfaceKind origin, Outcome& out) {
  // The fixed forms have exact lengths; the parser never hands over a shorter one, but
  // commands from inside the process are checked the same way.
  static constexpr std::pair<std::string_view, size_t> kFixed[] = {
      {"^MBR", 7}, {"^MBS", 7}, {"^MBA", 5}, {"^MBL", 5}, {"^MBX", 5}};
  for (const auto& [word, length] : kFixed) {
    if (StartsWith(text, word) && text.size() != length) {
      Refuse(out, "malformed command");
      return true;
    }
  }
  if (StartsWith(text, "^PI")) {
    QueryInfo(text, out);
  } else if (StartsWith(text, "^MBR")) {
    ReadSwitch(text, origin, out);
  } else if (StartsWith(text, "^MBS") || StartsWith(text, "^MBA")) {
    WriteSwitch(text, out);
  } else if (StartsWith(text, "^MBL")) {
    if (text[4] != '0' && text[4] != '1') {
      Refuse(out, "label length check is 0 or 1");
      return true;
    }
    const bool check = text[4] == '1';
    out.storedChanged = check != stored_.media.labelLengthCheck;
    stored_.media.labelLengthCheck = check;
  } else if (StartsWith(text, "^MBX")) {
    const int item = text[4] - '0';
    const Identification& id = stored_.ident;
    if (item == 0) out.reply = id.hardwareVersion + std::string(kLineEnd);
    else if (item == 1) out.reply = id.serialNumber + std::string(kLineEnd);
    else if (item == 2) out.reply = id.printerId + std::string(kLineEnd);
    else Refuse(out, "no identification item " + std::to_string(item));
  } else if (StartsWith(text, "^MBU")) {
    SetUserSetting(text.substr(4), out);
  } else if (StartsWith(text, "^MBY")) {
    SetIdentification(text.substr(4), out);
  } else if (text == "^SA") {
    out.reply = SignedThreeDigits(stored_.media.offset) + std::string(kLineEnd);
  } else if (StartsWith(text, "SA")) {
    SetShift(text.substr(2), stored_.media.offset, out);
  } else if (StartsWith(text, "TA")) {
    SetShift(text.substr(2), stored_.media.tearOff, out);
  } else if (StartsWith(text, "^MX") || StartsWith(text, "^MA")) {
    Calibrate(text, out);
  } else if (text == "^cp" || text == "^cu" || text == "^ee" || text == "CPS") {
    Status(text, out);
  } else {
    return false;
  }
  return true;
}

void PrinterModel::QueryInfo(std::string_view text, Outcome& out) {
  const ModelInfo& model = ModelAt(stored_.modelIndex);
  const MediaSettings& m = stored_.media;
  if (text == "^PI0") {
    out.reply = std::string(model.name);
  } else if (text == "^PI1") {
    out.reply = std::string(model.type);
  } else if (text == "^PI2") {
    out.reply = std::string(model.firmware);
  } else if (text == "^PI4,0") {
    out.reply = Line(faults_.headOverheat ? 68 : volatile_.headTemperature);
  } else if (text == "^PI4,1") {
    out.reply = Line(m.density);
  } else if (text == "^PI4,2") {
    out.reply = SignedThreeDigits(m.tearOff) + std::string(kLineEnd);
  } else if (StartsWith(text, "^PI5,") && text.size() == 6 && text[5] >= '0' && text[5] <= '4') {
    const int values[] = {m.paperWidth, m.paperLength, m.gapLength, m.horizontalMargin, m.verticalMargin};
    out.reply = Line(values[text[5] - '0']);
  } else {
    Refuse(out, "unknown information query");
  }
}

void PrinterModel::ReadSwitch(std::string_view text, InterfaceKind origin, Outcome& out) {
  const int number = text[4] - '0';
  if (number < 1 || number > 4) {
    Refuse(out, "no memory switch " + std::to_string(number));
    return;
  }
  // The answer goes to the interface the digit names; asked over another, this one hears
  // nothing.
  if (origin != kAnyInterface && text[6] != InterfaceCode(origin)) {
    out.note = std::string("interface code ") + text[6] + " names another interface; expected " +
               InterfaceCode(origin);
    return;
  }
  out.reply = std::string(1, static_cast<char>(stored_.switches[static_cast<size_t>(number - 1)]));
}

void PrinterModel::WriteSwitch(std::string_view text, Outcome& out) {
  const bool stage = text[3] == 'S';
  const int number = stage ? text[4] - '0' : static_cast<unsigned char>(text[4]);
  if (number < 1 || number > 4) {
    Refuse(out, "no memory switch " + std::to_string(number));
    return;
  }
  int& staged = volatile_.stagedSwitches[static_cast<size_t>(number - 1)];
  if (stage) {
    staged = static_cast<unsigned char>(text[6]);
    return;
  }
  // A value takes effect only with its completion command.
  if (staged < 0) {
    out.note = "completion without a value: switch " + std::to_string(number) + " unchanged";
    return;
  }
  uint8_t& value = stored_.switches[static_cast<size_t>(number - 1)];
  out.storedChanged = value != staged;
  value = static_cast<uint8_t>(staged);
  staged = -1;
}

void PrinterModel::SetUserSetting(std::string_view rest, Outcome& out) {
  if (!rest.empty() && rest[0] == kResetByte) {
    if (rest != "\x0F,99") {
      Refuse(out, "malformed initialise command");
      return;
    }
    MediaSettings factory = FactoryState(stored_.modelIndex).media;
    out.storedChanged = !(factory == stored_.media);
    stored_.media = factory;
    return;
  }
  int value = 0;
  if (rest.size() < 3 || rest[1] != ',' || !ParseNumber(rest.substr(2), value)) {
    Refuse(out, "malformed user setting");
    return;
  }
  struct Item {
    int MediaSettings::*field;
    int max;
  };
  static constexpr Item kItems[] = {
      {&MediaSettings::paperWidth, kMaxWidthDots},      {&MediaSettings::density, kMaxDensity},
      {&MediaSettings::paperLength, kMaxLengthDots},    {&MediaSettings::horizontalMargin, kMaxWidthDots},
      {&MediaSettings::verticalMargin, kMaxLengthDots}, {&MediaSettings::gapLength, kMaxGapDots},
  };
  const int index = rest[0] - '0';
  if (index < 0 || index > 5) {
    Refuse(out, "no user setting " + std::string(1, rest[0]));
    return;
  }
  const Item& item = kItems[index];
  if (value < 0 || value > item.max) {
    Refuse(out, "value " + std::to_string(value) + " out of range 0 to " + std::to_string(item.max));
    return;
  }
  out.storedChanged = stored_.media.*(item.field) != value;
  stored_.media.*(item.field) = value;
}

void PrinterModel::SetIdentification(std::string_view rest, Outcome& out) {
  Identification& id = stored_.ident;
  std::string* fields[] = {&id.hardwareVersion, &id.serialNumber, &id.printerId};
  const size_t limits[] = {kHardwareVersionMax, kSerialNumberMax, kPrinterIdMax};
  if (rest.size() == 3 && rest[0] == kResetByte && rest[1] == ',' && rest[2] >= '0' && rest[2] <= '2') {
    const int item = rest[2] - '0';
    const Identification factory;
    const std::string* defaults[] = {&factory.hardwareVersion, &factory.serialNumber, &factory.printerId};
    out.storedChanged = *fields[item] != *defaults[item];
    *fields[item] = *defaults[item];
    return;
  }
  if (rest.size() < 2 || rest[1] != ',' || rest[0] < '0' || rest[0] > '2') {
    Refuse(out, "malformed identification command");
    return;
  }
  const int item = rest[0] - '0';
  std::string value(rest.substr(2));
  if (value.size() > limits[item]) {
    out.note = "cut to " + std::to_string(limits[item]) + " characters";
    value.resize(limits[item]);
  }
  out.storedChanged = *fields[item] != value;
  *fields[item] = value;
}

void PrinterModel::SetShift(std::string_view value, int& target, Outcome& out) {
  int v = 0;
  if (!ParseNumber(value, v) || v < -kMaxShiftDots || v > kMaxShiftDots) {
    Refuse(out, "shift must be -100 to 100 dots");
    return;
  }
  out.storedChanged = target != v;
  target = v;
}

void PrinterModel::Calibrate(std::string_view text, Outcome& out) {
  SensorSettings& sensor = stored_.sensor;
  const std::vector<std::string_view> f = SplitCommas(text);
  int a = 0;
  int b = 0;
  if (text == "^MXc") {
    volatile_.sensingInProgress = false;
  } else if (text == "^MAC") {
    volatile_.manualCalibrationRunning = false;
  } else if (f[0] == "^MXd" && f.size() == 3 && ParseNumber(f[1], a) && a > 0 && (f[2] == "G" || f[2] == "B")) {
    // The sensor type is the one asked for; what passes it is the loaded media.
    const auto media = static_cast<MediaType>(f[2][0]);
    const MediaSettings& loaded = stored_.media;
    const int gap = loaded.media == MediaType::kContinuous ? 0 : loaded.gapLength;
    out.reply = EncodeDistribution(SensingDistribution(a, media, loaded.paperLength, gap));
    sensor.calibratedFor = media;
    volatile_.sensingInProgress = true;
  } else if (f[0] == "^MXs" && f.size() == 3 && ParseNumber(f[1], a) && ParseNumber(f[2], b) && a >= 0 &&
             a <= 256 && b >= 4 && b <= 10) {
    sensor.threshold = a;
    sensor.gapCount = b;
    sensor.calibrated = true;
    volatile_.sensingInProgress = false;
    out.storedChanged = true;
  } else if (StartsWith(f[0], "^MA") && f.size() == 3 && ParseNumber(f[0].substr(3), a) &&
             ParseNumber(f[1], b) && a >= 4 && a <= 15 && b >= 4 && b <= 40) {
    int length = 0;
    if (!ParseNumber(f[2], length) || length <= 0) {
      Refuse(out, "manual calibration needs a label length");
      return;
    }
    // The printer feeds and measures by itself, and settles on its own threshold.
    const MediaType media = stored_.media.media == MediaType::kBlackMark ? MediaType::kBlackMark : MediaType::kGap;
    sensor.manualDetections = a;
    sensor.manualMargin = b;
    sensor.threshold = NaturalThreshold(media);
    sensor.calibratedFor = media;
    sensor.calibrated = true;
    out.storedChanged = true;
  } else {
    Refuse(out, "malformed calibration command");
  }
}

std::string PrinterModel::ErrorCode() {
  if (!faults_.errorCode.empty()) return faults_.errorCode;
  if (faults_.coverOpen) return "11";   // print head up
  if (faults_.paused) return "12";
  if (faults_.paperEmpty) return "07";
  if (faults_.cutterJam) return "91";
  if (faults_.gapError) return "92";    // sensing
  if (faults_.paperJam) return "94";    // excessive feeding
  if (faults_.busy) return "50";
  // An error is reported once, then forgotten.
  std::string code = volatile_.lastError;
  volatile_.lastError = "00";
  return code;
}

void PrinterModel::Status(std::string_view text, Outcome& out) {
  const Faults& f = faults_;
  const auto bit = [](bool on, int n) { return on ? 1 << n : 0; };
  const int common = bit(f.paperEmpty, 7) | bit(f.coverOpen, 6) | bit(f.cutterJam, 5) |
                     bit(f.headOverheat, 4) | bit(f.gapError, 3) | bit(f.ribbonEnd, 2);
  bool building = f.building;
  for (const LabelCommand& c : pending_) building = building || !IsSettingWord(c.word());
  if (text == "^cp") {
    const int second = bit(building, 7) | bit(f.printing, 6) | bit(f.paused, 5);
    out.reply = std::string{static_cast<char>(common), static_cast<char>(second)};
  } else if (text == "^cu") {
    out.reply = std::string(1, static_cast<char>(common));
  } else if (text == "CPS") {
    const int cps = bit(f.coverOpen, 0) | bit(f.paperEmpty, 1) | bit(f.paperJam || f.cutterJam, 2) |
                    bit(f.headOverheat, 3) | (f.cpsExtra & 0xFF);
    out.reply = std::string(1, static_cast<char>(cps));
  } else {
    out.reply = ErrorCode() + std::string(kLineEnd);
  }
}

}  // namespace qm::printer
