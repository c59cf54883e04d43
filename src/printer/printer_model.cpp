#include "printer/printer_model.h"

#include <charconv>

namespace qm::printer {

namespace {

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

// Settings, queries and status start with "^", or are "SA", "TA" or "CPS".
bool MaybeSetting(std::string_view text) {
  if (text.size() < 2) return false;
  return text[0] == '^' || ((text[0] == 'S' || text[0] == 'T') && text[1] == 'A') || text == "CPS";
}

std::string_view FaultName(const Faults& f) {
  if (f.coverOpen) return "cover open";
  if (f.paperEmpty) return "paper empty";
  if (f.paperJam) return "paper jam";
  if (f.cutterJam) return "cutter jammed";
  if (f.headOverheat) return "print head overheated";
  if (f.ribbonEnd) return "ribbon end";
  return "paused";
}

}  // namespace

bool ParseNumber(std::string_view text, int& value) {
  if (!text.empty() && text[0] == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text[0] == '-') return false;
  }
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

std::vector<std::string_view> SplitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

std::string SignedThreeDigits(int value) {
  const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
  const std::string digits = std::to_string(magnitude % 1000);
  return std::string(value < 0 ? "-" : "+") + std::string(3 - digits.size(), '0') + digits;
}

PrinterModel::PrinterModel(StoredState stored) : stored_(std::move(stored)) {}

Outcome PrinterModel::Handle(Command command, InterfaceKind origin) {
  Outcome out;
  const std::string_view text = command.text;
  const char first = text.empty() ? '\0' : text[0];
  // Label commands are the bulk of any stream; the other families are told apart by their
  // first byte before any label command is tried.
  if (command.IsImageStore()) {
    StoreImage(command, out);
  } else if (first == '>' && StartsWith(text, ">RF")) {
    HandleRfid(text, out);
  } else if (text == "II") {
    ListImages(out);
  } else if (first == 'I' && StartsWith(text, "ID")) {
    DeleteImage(text, out);
  } else if (!MaybeSetting(text) || !HandleSettings(text, origin, out)) {
    HandleLabelCommand(std::move(command.text), out);
  }
  return out;
}

void PrinterModel::Refuse(Outcome& out, std::string note, std::string_view errorCode) {
  out.note = std::move(note);
  volatile_.lastError = std::string(errorCode);
}

void PrinterModel::HandleLabelCommand(std::string text, Outcome& out) {
  const bool known = !LabelWord(text).empty();
  std::optional<LabelCommand> cmd = ParseLabelCommand(std::move(text));
  if (!cmd) {
    Refuse(out, known ? "malformed command" : "unknown command");
    return;
  }
  const size_t size = cmd->raw().size();
  if (cmd->word() == "P") {
    int quantity = 1;
    int copies = 1;
    if ((cmd->fieldCount() >= 1 && !ParseNumber(cmd->field(0), quantity)) ||
        (cmd->fieldCount() == 2 && !ParseNumber(cmd->field(1), copies)) || quantity < 0 ||
        copies < 0 || quantity > 9999 || copies > 9999) {
      Refuse(out, "malformed print count");
      return;
    }
    Print(quantity, copies, out);
    return;
  }
  if (pending_.size() >= kMaxLabelCommands || pendingBytes_ + size > kMaxLabelBytes) {
    Refuse(out, "label memory full: command dropped", "04");
    return;
  }
  if (IsSettingWord(cmd->word()) && !ApplySetting(*cmd, out)) return;
  if (cmd->word() == "IR") {
    const std::string name(cmd->data());
    cmd->image = Image(name);
    if (!cmd->image) Refuse(out, "no image named '" + name + "'", "09");
    const size_t imageBytes = cmd->image ? cmd->image->size() : 0;
    if (pendingImageBytes_ + imageBytes > kMaxLabelImageBytes) {
      Refuse(out, "label memory full: image recall dropped", "04");
      return;
    }
    pendingImageBytes_ += imageBytes;
  }
  if (pendingSettings_.empty() || !(pendingSettings_.back() == stored_.media)) {
    pendingSettings_.push_back(stored_.media);
  }
  cmd->settingsIndex = static_cast<uint32_t>(pendingSettings_.size() - 1);
  pendingBytes_ += size;
  pending_.push_back(std::move(*cmd));
}

bool PrinterModel::ApplySetting(const LabelCommand& cmd, Outcome& out) {
  MediaSettings m = stored_.media;
  std::vector<int> v;
  const std::string& word = cmd.word();
  for (size_t i = 0; i < cmd.fieldCount(); ++i) {
    int n = 0;
    if (word == "SL" && v.size() == 2) break;  // the media letter
    if (!ParseNumber(cmd.field(i), n)) {
      Refuse(out, "malformed setting");
      return false;
    }
    v.push_back(n);
  }
  const auto inRange = [](int x, int lo, int hi) { return x >= lo && x <= hi; };
  bool ok = true;
  if (word == "SW") {
    ok = inRange(v[0], 0, kMaxWidthDots);
    m.paperWidth = v[0];
  } else if (word == "SL") {
    ok = inRange(v[0], 0, kMaxLengthDots);
    m.paperLength = v[0];
    if (v.size() >= 2) {
      ok = ok && inRange(v[1], 0, kMaxGapDots);
      m.gapLength = v[1];
    }
    if (cmd.fieldCount() == 3) {
      const std::string_view t = cmd.field(2);
      ok = ok && (t == "G" || t == "C" || t == "B");
      if (ok) m.media = static_cast<MediaType>(t[0]);
    }
  } else if (word == "SM") {
    ok = inRange(v[0], 0, kMaxWidthDots) && inRange(v[1], 0, kMaxLengthDots);
    m.horizontalMargin = v[0];
    m.verticalMargin = v[1];
  } else if (word == "SS") {
    ok = inRange(v[0], 0, 4);
    m.printSpeed = v[0];
  } else if (word == "SD") {
    ok = inRange(v[0], 0, kMaxDensity);
    m.density = v[0];
  } else if (word == "SOT" || word == "SOB") {
    m.topFirst = word == "SOT";
  } else if (word == "CS") {
    ok = inRange(v[0], 0, 15) && inRange(v[1], 0, 22);
    m.ics = v[0];
    m.codePage = v[1];
  }
  if (!ok) {
    Refuse(out, "setting out of range");
    return false;
  }
  if (!(m == stored_.media)) {
    stored_.media = m;
    out.storedChanged = true;
  }
  return true;
}

bool PrinterModel::MayPrint(Outcome& out) {
  if (!faults_.BlocksPrinting()) return true;
  Refuse(out, "not printed: " + std::string(FaultName(faults_)), volatile_.lastError);
  return false;
}

void PrinterModel::Print(int quantity, int copies, Outcome& out) {
  if (quantity == 0 || copies == 0) {
    out.note = "print count 0: nothing printed";
    return;
  }
  if (!MayPrint(out)) return;
  PrintedLabel label;
  label.sequence = ++sequence_;
  label.quantity = quantity;
  label.copies = copies;
  label.settings = stored_.media;
  label.commands = std::move(pending_);
  label.settingsInForce = std::move(pendingSettings_);
  pending_.clear();
  pending_.reserve(16);
  pendingSettings_.clear();
  pendingBytes_ = 0;
  pendingImageBytes_ = 0;
  if (tagWrite_ != TagWrite::kNone) {
    uint32_t& counter = tagWrite_ == TagWrite::kWritten ? stored_.rfid.validCount : stored_.rfid.voidCount;
    ++counter;
    out.storedChanged = true;
    tagWrite_ = TagWrite::kNone;
  }
  // The label with a dead tag leaves the printer; the next one carries a fresh tag.
  if (volatile_.tag.killed()) volatile_.tag = RfidTag();
  out.printed = std::move(label);
}

void PrinterModel::PrintExtra(LabelKind kind, std::vector<LabelCommand> commands, Outcome& out) {
  if (!MayPrint(out)) return;
  PrintedLabel label;
  label.sequence = ++sequence_;
  label.kind = kind;
  label.settings = stored_.media;
  label.commands = std::move(commands);
  out.printed = std::move(label);
}

void PrinterModel::StoreImage(Command& command, Outcome& out) {
  // "IS", the size, ",", the quoted name.
  const std::string_view text = command.text;
  const size_t open = text.find('\'');
  if (open == std::string_view::npos || text.size() < open + 2 || text.back() != '\'') {
    Refuse(out, "malformed image header");
    return;
  }
  const std::string name(text.substr(open + 1, text.size() - open - 2));
  if (name.empty()) {
    Refuse(out, "image without a name refused");
    return;
  }
  if (command.payloadRefused) {
    Refuse(out, "image of " + std::to_string(command.payloadSize) + " bytes refused: larger than 16 MiB", "04");
    return;
  }
  const auto old = images_.find(name);
  const size_t oldSize = old == images_.end() ? 0 : old->second->size();
  if (imageBytes_ - oldSize + command.payload.size() > kImageStoreBytes) {
    Refuse(out, "image store full: '" + name + "' refused", "04");
    return;
  }
  imageBytes_ = imageBytes_ - oldSize + command.payload.size();
  const bool pcx = !command.payload.empty() && command.payload[0] == 0x0A;
  images_[name] = std::make_shared<const std::string>(std::move(command.payload));
  // Stored whatever it holds; only the renderer cares whether it is a PCX picture.
  if (!pcx) out.note = "stored, though not a PCX image";
}

void PrinterModel::DeleteImage(std::string_view text, Outcome& out) {
  if (text == "ID*") {
    images_.clear();
    imageBytes_ = 0;
    return;
  }
  if (text.size() < 4 || text[2] != '\'' || text.back() != '\'') {
    Refuse(out, "malformed image delete");
    return;
  }
  const std::string name(text.substr(3, text.size() - 4));
  const auto it = images_.find(name);
  if (it == images_.end()) {
    Refuse(out, "no image named '" + name + "'", "09");
    return;
  }
  imageBytes_ -= it->second->size();
  images_.erase(it);
}

void PrinterModel::ListImages(Outcome& out) {
  std::vector<LabelCommand> lines;
  lines.push_back(PrinterTextLine(20, "IMAGES: " + std::to_string(images_.size())));
  int y = 70;
  for (const auto& [name, bytes] : images_) {
    lines.push_back(PrinterTextLine(y, name + " " + std::to_string(bytes->size()) + " BYTES"));
    y += 40;
  }
  lines.push_back(PrinterTextLine(y, "FREE: " + std::to_string(kImageStoreBytes - imageBytes_) + " BYTES"));
  PrintExtra(LabelKind::kImageList, std::move(lines), out);
}

std::map<std::string, size_t> PrinterModel::Images() const {
  std::map<std::string, size_t> list;
  for (const auto& [name, bytes] : images_) list[name] = bytes->size();
  return list;
}

std::shared_ptr<const std::string> PrinterModel::Image(const std::string& name) const {
  const auto it = images_.find(name);
  return it == images_.end() ? nullptr : it->second;
}

}  // namespace qm::printer
