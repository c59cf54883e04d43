// A small JSON reader and writer for the printer's state file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm::printer {

class JsonValue {
 public:
  enum class Type { kNull, kBool, kInteger, kReal, kString, kArray, kObject };

  JsonValue() = default;
  static JsonValue Bool(bool b);
  static JsonValue Integer(int64_t n);
  static JsonValue String(std::string s);
  static JsonValue Array();
  static JsonValue Object();

  Type type() const { return type_; }
  bool boolean() const { return bool_; }
  int64_t integer() const { return integer_; }
  double real() const { return real_; }
  const std::string& string() const { return string_; }
  const std::vector<JsonValue>& items() const { return items_; }
  const std::vector<std::pair<std::string, JsonValue>>& members() const { return members_; }

  // The member called `key`, or null when there is none.
  const JsonValue* Find(std::string_view key) const;
  JsonValue& Add(std::string key, JsonValue value);  // objects
  JsonValue& Push(JsonValue value);                  // arrays

 private:
  friend class JsonReader;
  Type type_ = Type::kNull;
  bool bool_ = false;
  int64_t integer_ = 0;
  double real_ = 0;
  std::string string_;
  std::vector<JsonValue> items_;
  std::vector<std::pair<std::string, JsonValue>> members_;
};

// Parses a whole document. On failure `error` says where ("line 3, column 14: ...").
bool ParseJson(std::string_view text, JsonValue& value, std::string& error);

// Writes `value` indented by two blanks per level. Bytes outside printable ASCII in strings
// are written as \u00XX, so any byte string survives the round trip.
std::string WriteJson(const JsonValue& value);

}  // namespace qm::printer
