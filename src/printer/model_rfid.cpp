// The RFID encoder: its settings and counters, tag writes and reads, passwords and locks.
#include "printer/printer_model.h"

namespace qm::printer {

namespace {

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

constexpr std::string_view kLineEnd = "\r\n";
// The fixed key the encoder expects before the new passwords.
constexpr std::string_view kEncoderKey = "5E2A7C13";

// Splits "<fields>,'<data>'" into the fields before the quote and the quoted data; false
// when the data is missing or bytes follow its closing quote.
bool SplitQuoted(std::string_view text, std::vector<std::string_view>& fields, std::string_view& data) {
  const size_t open = text.find('\'');
  if (open == std::string_view::npos || open == 0 || text[open - 1] != ',' || text.back() != '\'' ||
      text.size() - 1 == open) {
    return false;
  }
  data = text.substr(open + 1, text.size() - open - 2);
  fields = SplitCommas(text.substr(0, open - 1));
  return true;
}

// Start block and byte count of a tag command, within what the encoder addresses. The
// start may be any number the wire holds: it is compared with the room the count leaves,
// never added to it.
bool ParseRange(std::string_view start, std::string_view count, int& s, int& n) {
  return ParseNumber(start, s) && ParseNumber(count, n) && s >= 0 && n >= 1 && n <= 64 &&
         static_cast<size_t>(s) <= RfidTag::kBankBytes - static_cast<size_t>(n);
}

}  // namespace

void PrinterModel::HandleRfid(std::string_view text, Outcome& out) {
  if (StartsWith(text, ">RFW,") || StartsWith(text, ">RFw,")) {
    RfidWrite(text, out);
  } else if (StartsWith(text, ">RFR,") || StartsWith(text, ">RFr,")) {
    RfidRead(text, out);
  } else if (StartsWith(text, ">RFZ,") || StartsWith(text, ">RFLP,") || text == ">RFLK" ||
             text == ">RFUL" || text == ">RFKL") {
    RfidProtect(text, out);
  } else {
    RfidConfigure(text, out);
  }
}

void PrinterModel::RfidConfigure(std::string_view text, Outcome& out) {
  RfidSettings& r = stored_.rfid;
  if (StartsWith(text, ">RFI,") && text.size() == 6 && text[5] >= '1' && text[5] <= '7') {
    std::string value;
    switch (text[5]) {
      case '1': value = r.tagType == 2 ? "ISO-B" : "GEN2"; break;
      case '2': value = std::to_string(r.power); break;
      case '3': value = std::to_string(r.position); break;
      case '4': value = std::to_string(r.retries); break;
      case '5': value = std::to_string(r.labels); break;
      case '6': value = std::to_string(r.validCount); break;
      default: value = std::to_string(r.voidCount); break;
    }
    out.reply = value + std::string(kLineEnd);
    return;
  }
  const RfidSettings before = r;
  if (StartsWith(text, ">RFS,")) {
    // Without a tag type the tool leaves out its field; an unchosen list arrives as -1
    // and a power of 0. Each value in range is taken, the others are refused.
    std::vector<std::string_view> f = SplitCommas(text.substr(5));
    if (f.size() != 3 && f.size() != 4) {
      Refuse(out, "malformed RFID setting");
      return;
    }
    std::string refused;
    const auto take = [&](std::string_view field, const char* name, int lo, int hi, int& target) {
      int v = 0;
      if (ParseNumber(field, v) && v >= lo && v <= hi && (&target != &r.tagType || v == 2 || v == 5)) {
        target = v;
      } else {
        refused += std::string(refused.empty() ? "" : ", ") + name + " " + std::string(field);
      }
    };
    const size_t base = f.size() - 3;
    if (base == 1) take(f[0], "tag type", 2, 5, r.tagType);
    take(f[base], "retries", 0, 10, r.retries);
    take(f[base + 1], "labels", 0, 5, r.labels);
    take(f[base + 2], "power", 1, 31, r.power);
    if (!refused.empty()) Refuse(out, "refused " + refused);
  } else if (StartsWith(text, ">RFTP,")) {
    int v = 0;
    if (!ParseNumber(text.substr(6), v) || v < 0 || v > 9999) {
      Refuse(out, "transponder position must be 0 to 9999");
      return;
    }
    r.position = v;
  } else if (text == ">RFVR") {
    r.validCount = 0;
    r.voidCount = 0;
  } else if (text == ">RFCP") {
    // The encoder finds its own working power at the transponder position.
    r.calibrated = true;
  } else {
    Refuse(out, "unknown RFID command");
    return;
  }
  out.storedChanged = !(before == r);
}

void PrinterModel::RfidWrite(std::string_view text, Outcome& out) {
  const bool label = text[3] == 'W';  // upper case: a label follows; lower case: a metal tag
  std::vector<std::string_view> f;
  std::string_view data;
  int start = 0;
  int count = 0;
  if (!SplitQuoted(text.substr(5), f, data) || f.size() != 3 || f[0].size() != 1 ||
      !ParseRange(f[1], f[2], start, count)) {
    Refuse(out, "malformed RFID write");
    return;
  }
  const char type = f[0][0];
  const bool user = type == 'U' || type == 'u';
  if (type != 'H' && type != 'A' && !user) {
    Refuse(out, "unknown RFID data type");
    return;
  }
  std::string bytes;
  if (type == 'H') {
    if (!FromHex(data, bytes)) {
      Refuse(out, "RFID data is not hexadecimal");
      return;
    }
  } else if (!(user && data.size() == static_cast<size_t>(count) * 2 && FromHex(data, bytes))) {
    // User memory commands carry no data type: two hexadecimal digits per byte when the
    // data has exactly that shape, one character per byte otherwise.
    bytes = std::string(data);
  }
  if (bytes.size() > static_cast<size_t>(count)) {
    Refuse(out, "more RFID data than the byte count");
    return;
  }
  if (bytes.size() < static_cast<size_t>(count)) {
    out.note = "short RFID data: " + std::to_string(bytes.size()) + " of " + std::to_string(count) + " bytes";
  }
  std::string why = "no tag in reach";
  const auto bank = user ? RfidTag::Bank::kUser : RfidTag::Bank::kEpc;
  const bool ok = !faults_.tagAbsent && volatile_.tag.Write(bank, static_cast<size_t>(start), bytes, why);
  if (!ok) out.note = "tag write failed: " + why;
  if (label) {
    // Counted as valid or void when its label is printed.
    if (tagWrite_ != TagWrite::kFailed) tagWrite_ = ok ? TagWrite::kWritten : TagWrite::kFailed;
    return;
  }
  ++(ok ? stored_.rfid.validCount : stored_.rfid.voidCount);
  out.storedChanged = true;
}

void PrinterModel::RfidRead(std::string_view text, Outcome& out) {
  const std::vector<std::string_view> f = SplitCommas(text.substr(5));
  int start = 0;
  int count = 0;
  if (f.size() != 4 || f[0].size() != 1 || !ParseRange(f[1], f[2], start, count) ||
      (f[3] != "S" && f[3] != "P")) {
    Refuse(out, "malformed RFID read");
    return;
  }
  const char type = f[0][0];
  if (type != 'H' && type != 'A' && type != 'U' && type != 'u') {
    Refuse(out, "unknown RFID data type");
    return;
  }
  const auto bank = (type == 'U' || type == 'u') ? RfidTag::Bank::kUser : RfidTag::Bank::kEpc;
  std::string bytes;
  std::string why = "no tag in reach";
  if (faults_.tagAbsent || !volatile_.tag.Read(bank, static_cast<size_t>(start), static_cast<size_t>(count), bytes, why)) {
    // Nothing comes back from a tag that cannot be read.
    out.note = "tag read failed: " + why;
    return;
  }
  // The data as characters: two hexadecimal digits per byte, or one character per byte.
  // User memory carries no type, so it is always given in hexadecimal.
  std::string chars = type == 'A' ? bytes : ToHex(bytes);
  if (f[3] == "S") {
    out.reply = std::move(chars);
    return;
  }
  PrintExtra(LabelKind::kTagData, {PrinterTextLine(20, chars)}, out);
}

void PrinterModel::RfidProtect(std::string_view text, Outcome& out) {
  RfidTag& tag = volatile_.tag;
  std::string why;
  bool ok = true;
  if (faults_.tagAbsent) {
    out.note = "no tag in reach";
    return;
  }
  if (text == ">RFLK") {
    tag.LockMemory();
  } else if (text == ">RFUL") {
    tag.UnlockAll();
  } else if (text == ">RFKL") {
    ok = tag.Kill(why);
  } else if (StartsWith(text, ">RFZ,")) {
    // ">RFZ,'key,key,access,kill'"
    if (text.size() < 8 || text[5] != '\'' || text.back() != '\'') {
      Refuse(out, "malformed RFID password command");
      return;
    }
    const std::vector<std::string_view> p = SplitCommas(text.substr(6, text.size() - 7));
    if (p.size() != 4) {
      Refuse(out, "malformed RFID password command");
      return;
    }
    if (p[0] != kEncoderKey || p[1] != kEncoderKey) {
      Refuse(out, "RFID password command with the wrong encoder key");
      return;
    }
    ok = tag.SetPasswords(p[2], p[3], why);
  } else {
    // ">RFLP,L,'80,20,00'": lock or unlock by a three-byte payload.
    std::vector<std::string_view> f;
    std::string_view data;
    std::string payload;
    std::string hex;
    if (SplitQuoted(text.substr(6), f, data) && f.size() == 1 && (f[0] == "L" || f[0] == "U")) {
      for (const std::string_view part : SplitCommas(data)) hex += part;
    }
    if (hex.size() != 6 || data.size() != 8 || !FromHex(hex, payload)) {
      Refuse(out, "malformed RFID lock command");
      return;
    }
    const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(payload[i])); };
    tag.ApplyLockPayload((byte(0) << 16) | (byte(1) << 8) | byte(2), f[0] == "U");
  }
  if (!ok) out.note = "refused by the tag: " + why;
}

}  // namespace qm::printer
