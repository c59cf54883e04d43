#include "printer/json.h"

#include <charconv>
#include <cstdlib>

namespace qm::printer {

namespace {

// Deeper documents are refused rather than risking the stack.
constexpr int kMaxDepth = 32;

}  // namespace

JsonValue JsonValue::Bool(bool b) {
  JsonValue v;
  v.type_ = Type::kBool;
  v.bool_ = b;
  return v;
}

JsonValue JsonValue::Integer(int64_t n) {
  JsonValue v;
  v.type_ = Type::kInteger;
  v.integer_ = n;
  return v;
}

JsonValue JsonValue::String(std::string s) {
  JsonValue v;
  v.type_ = Type::kString;
  v.string_ = std::move(s);
  return v;
}

JsonValue JsonValue::Array() {
  JsonValue v;
  v.type_ = Type::kArray;
  return v;
}

JsonValue JsonValue::Object() {
  JsonValue v;
  v.type_ = Type::kObject;
  return v;
}

const JsonValue* JsonValue::Find(std::string_view key) const {
  for (const auto& [k, v] : members_) {
    if (k == key) return &v;
  }
  return nullptr;
}

JsonValue& JsonValue::Add(std::string key, JsonValue value) {
  members_.emplace_back(std::move(key), std::move(value));
  return members_.back().second;
}

JsonValue& JsonValue::Push(JsonValue value) {
  items_.push_back(std::move(value));
  return items_.back();
}

class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  bool Document(JsonValue& value, std::string& error) {
    SkipBlanks();
    if (Value(value, 0)) {
      SkipBlanks();
      if (pos_ == text_.size()) return true;
      Fail("unexpected text after the document");
    }
    error = error_;
    return false;
  }

 private:
  bool Fail(const std::string& what) {
    if (!error_.empty()) return false;
    int line = 1;
    int column = 1;
    for (size_t i = 0; i < pos_ && i < text_.size(); ++i) {
      if (text_[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    error_ = "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what;
    return false;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r')) {
      ++pos_;
    }
  }

  bool Literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return Fail("unknown word");
    pos_ += word.size();
    return true;
  }

  bool Value(JsonValue& v, int depth) {
    if (depth > kMaxDepth) return Fail("nested too deeply");
    if (pos_ >= text_.size()) return Fail("unexpected end of the document");
    const char c = text_[pos_];
    if (c == '{') return ObjectValue(v, depth);
    if (c == '[') return ArrayValue(v, depth);
    if (c == '"') {
      v.type_ = JsonValue::Type::kString;
      return StringValue(v.string_);
    }
    if (c == 't') {
      v = JsonValue::Bool(true);
      return Literal("true");
    }
    if (c == 'f') {
      v = JsonValue::Bool(false);
      return Literal("false");
    }
    if (c == 'n') {
      v = JsonValue();
      return Literal("null");
    }
    if (c == '-' || (c >= '0' && c <= '9')) return NumberValue(v);
    return Fail("expected a value");
  }

  bool ObjectValue(JsonValue& v, int depth) {
    v = JsonValue::Object();
    ++pos_;
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == '}') {
      ++pos_;
      return true;
    }
    for (;;) {
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != '"') return Fail("expected a member name");
      std::string key;
      if (!StringValue(key)) return false;
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != ':') return Fail("expected ':'");
      ++pos_;
      SkipBlanks();
      JsonValue member;
      if (!Value(member, depth + 1)) return false;
      v.members_.emplace_back(std::move(key), std::move(member));
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == '}') {
        ++pos_;
        return true;
      }
      return Fail("expected ',' or '}'");
    }
  }

  bool ArrayValue(JsonValue& v, int depth) {
    v = JsonValue::Array();
    ++pos_;
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ']') {
      ++pos_;
      return true;
    }
    for (;;) {
      SkipBlanks();
      JsonValue item;
      if (!Value(item, depth + 1)) return false;
      v.items_.push_back(std::move(item));
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == ']') {
        ++pos_;
        return true;
      }
      return Fail("expected ',' or ']'");
    }
  }

  static void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }

  bool StringValue(std::string& out) {
    ++pos_;  // the opening quote
    out.clear();
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a string");
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (pos_ >= text_.size()) break;
      const char e = text_[pos_++];
      switch (e) {
        case '"': out.push_back('"'); break;
        case '\\': out.push_back('\\'); break;
        case '/': out.push_back('/'); break;
        case 'b': out.push_back('\b'); break;
        case 'f': out.push_back('\f'); break;
        case 'n': out.push_back('\n'); break;
        case 'r': out.push_back('\r'); break;
        case 't': out.push_back('\t'); break;
        case 'u': {
          uint32_t cp = 0;
          const std::string_view hex = text_.substr(pos_, 4);
          const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), cp, 16);
          if (hex.size() != 4 || ec != std::errc() || end != hex.data() + 4) return Fail("bad \\u escape");
          pos_ += 4;
          // \u0000 to \u00FF stand for single bytes, which is how this file keeps raw
          // bytes; anything above is a character.
          if (cp <= 0xFF) {
            out.push_back(static_cast<char>(cp));
          } else {
            AppendUtf8(out, cp);
          }
          break;
        }
        default:
          --pos_;
          return Fail("bad escape in a string");
      }
    }
    return Fail("unterminated string");
  }

  bool NumberValue(JsonValue& v) {
    const size_t start = pos_;
    if (text_[pos_] == '-') ++pos_;
    bool real = false;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c >= '0' && c <= '9') {
        ++pos_;
      } else if (c == '.' || c == 'e' || c == 'E' || c == '+' || (c == '-' && pos_ > start)) {
        real = true;
        ++pos_;
      } else {
        break;
      }
    }
    const std::string number(text_.substr(start, pos_ - start));
    if (!real) {
      int64_t n = 0;
      const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
      if (ec != std::errc() || end != number.data() + number.size()) {
        pos_ = start;
        return Fail("bad or too large number");
      }
      v = JsonValue::Integer(n);
      return true;
    }
    char* end = nullptr;
    const double d = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size()) {
      pos_ = start;
      return Fail("bad number");
    }
    v = JsonValue();
    v.type_ = JsonValue::Type::kReal;
    v.real_ = d;
    return true;
  }

  std::string_view text_;
  size_t pos_ = 0;
  std::string error_;
};

bool ParseJson(std::string_view text, JsonValue& value, std::string& error) {
  JsonReader reader(text);
  JsonValue parsed;
  if (!reader.Document(parsed, error)) return false;
  value = std::move(parsed);
  return true;
}

namespace {

void WriteString(std::string& out, const std::string& s) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out.push_back('"');
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      out += "\\u00";
      out.push_back(kDigits[c >> 4]);
      out.push_back(kDigits[c & 0x0F]);
    }
  }
  out.push_back('"');
}

void Write(std::string& out, const JsonValue& v, int indent) {
  const std::string pad(static_cast<size_t>(indent + 2), ' ');
  switch (v.type()) {
    case JsonValue::Type::kNull: out += "null"; break;
    case JsonValue::Type::kBool: out += v.boolean() ? "true" : "false"; break;
    case JsonValue::Type::kInteger: out += std::to_string(v.integer()); break;
    case JsonValue::Type::kReal: {
      char buf[64];
      const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v.real());
      out.append(buf, ec == std::errc() ? end : buf);
      break;
    }
    case JsonValue::Type::kString: WriteString(out, v.string()); break;
    case JsonValue::Type::kArray: {
      // Short arrays of scalars stay on one line.
      out.push_back('[');
      for (size_t i = 0; i < v.items().size(); ++i) {
        if (i) out += ", ";
        Write(out, v.items()[i], indent);
      }
      out.push_back(']');
      break;
    }
    case JsonValue::Type::kObject: {
      if (v.members().empty()) {
        out += "{}";
        break;
      }
      out += "{\n";
      for (size_t i = 0; i < v.members().size(); ++i) {
        out += pad;
        WriteString(out, v.members()[i].first);
        out += ": ";
        Write(out, v.members()[i].second, indent + 2);
        out += i + 1 < v.members().size() ? ",\n" : "\n";
      }
      out += std::string(static_cast<size_t>(indent), ' ') + "}";
      break;
    }
  }
}

}  // namespace

std::string WriteJson(const JsonValue& value) {
  std::string out;
  Write(out, value, 0);
  out.push_back('\n');
  return out;
}

}  // namespace qm::printer
