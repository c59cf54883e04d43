#include "cli/outcome.h"

#include <algorithm>

namespace qm::cli {

namespace {

// Length of the UTF-8 sequence starting at `i`, 0 when the bytes there are not one.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  size_t length;
  unsigned char lowest = 0x80, highest = 0xBF;  // the allowed range of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) lowest = 0xA0;   // no overlong forms
    if (lead == 0xED) highest = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) lowest = 0x90;
    if (lead == 0xF4) highest = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    const unsigned char lo = k == 1 ? lowest : 0x80;
    const unsigned char hi = k == 1 ? highest : 0xBF;
    if (b < lo || b > hi) return 0;
  }
  return length;
}

}  // namespace

JsonObject& JsonObject::Set(std::string key, Value value) {
  const auto it = std::find_if(fields_.begin(), fields_.end(),
                               [&](const auto& field) { return field.first == key; });
  if (it != fields_.end()) {
    it->second = std::move(value);
  } else {
    fields_.emplace_back(std::move(key), std::move(value));
  }
  return *this;
}

JsonObject& JsonObject::Merge(const JsonObject& other) {
  for (const auto& [key, value] : other.fields_) Set(key, value);
  return *this;
}

std::string JsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 0x80) {
      const size_t length = Utf8SequenceLength(text, i);
      if (length == 0) {
        out += "\\ufffd";
        ++i;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (b) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (b < 0x20 || b == 0x7F) {
          out += "\\u00";
          out.push_back(kHex[b >> 4]);
          out.push_back(kHex[b & 0x0F]);
        } else {
          out.push_back(static_cast<char>(b));
        }
    }
    ++i;
  }
  out += '"';
  return out;
}

std::string JsonObject::Dump() const {
  std::string out = "{";
  bool first = true;
  for (const auto& [key, value] : fields_) {
    if (!first) out += ',';
    first = false;
    out += JsonString(key);
    out += ':';
    if (const auto* text = std::get_if<std::string>(&value)) {
      out += JsonString(*text);
    } else if (const auto* number = std::get_if<int64_t>(&value)) {
      out += std::to_string(*number);
    } else if (const auto* texts = std::get_if<std::vector<std::string>>(&value)) {
      out += '[';
      for (size_t i = 0; i < texts->size(); ++i) out += (i ? "," : "") + JsonString((*texts)[i]);
      out += ']';
    } else if (const auto* raw = std::get_if<JsonRaw>(&value)) {
      out += raw->text;
    } else {
      out += std::get<bool>(value) ? "true" : "false";
    }
  }
  out += '}';
  return out;
}

Outcome Outcome::Done(std::string text, JsonObject fields) {
  return Outcome{ExitStatus::kDone, {}, std::move(text), std::move(fields)};
}

Outcome Outcome::Usage(std::string error) {
  return Outcome{ExitStatus::kUsage, std::move(error), {}, {}};
}

Outcome Outcome::PrinterFailed(std::string error, JsonObject fields) {
  return Outcome{ExitStatus::kPrinterFailed, std::move(error), {}, std::move(fields)};
}

int Report(const Outcome& outcome, const std::string& command, bool json, std::ostream& out,
           std::ostream& err) {
  const int status = static_cast<int>(outcome.status);
  if (!outcome.error.empty()) err << kProgramName << ": " << outcome.error << '\n';
  if (json) {
    JsonObject object;
    object.Add("command", command);
    object.Add("ok", outcome.status == ExitStatus::kDone);
    object.Add("exit", status);
    if (!outcome.error.empty()) object.Add("error", outcome.error);
    object.Merge(outcome.fields);
    out << object.Dump() << '\n';
  } else if (!outcome.text.empty()) {
    out << outcome.text;
    if (outcome.text.back() != '\n') out << '\n';
  }
  out.flush();
  err.flush();
  return status;
}

}  // namespace qm::cli
