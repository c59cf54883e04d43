// What a command comes to: the exit status, the message, and the fields of its result.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace qm::cli {

// The exit statuses of the command line, the same for every command.
enum class ExitStatus : int {
  kDone = 0,           // the command did all it was asked
  kPrinterFailed = 1,  // the port did not open, a write failed or nothing came back
  kUsage = 2,          // the command line, or a file it names, cannot be used
  kFault = 3,          // the printer answered and reports a fault (status)
  kDiffers = 4,        // the printer's settings differ from the profile (settings diff)
  kInterrupted = 130,  // SIGINT stopped a long print between two pieces, as shells count it
};

// JSON text already formed (a list of objects), put in as it is.
struct JsonRaw {
  std::string text;
};

// The result of a command as named fields, in the order they are printed.
class JsonObject {
 public:
  using Value = std::variant<std::string, int64_t, bool, std::vector<std::string>, JsonRaw>;

  JsonObject& Add(std::string key, std::string text) { return Set(std::move(key), Value(std::move(text))); }
  JsonObject& Add(std::string key, const char* text) { return Set(std::move(key), Value(std::string(text))); }
  JsonObject& Add(std::string key, int64_t number) { return Set(std::move(key), Value(number)); }
  JsonObject& Add(std::string key, int number) { return Set(std::move(key), Value(int64_t{number})); }
  JsonObject& Add(std::string key, bool flag) { return Set(std::move(key), Value(flag)); }
  JsonObject& Add(std::string key, JsonRaw json) { return Set(std::move(key), Value(std::move(json))); }
  JsonObject& Add(std::string key, std::vector<std::string> texts) {
    return Set(std::move(key), Value(std::move(texts)));
  }
  // Later fields follow earlier ones; a key added twice keeps its first place and last value.
  JsonObject& Merge(const JsonObject& other);
  const std::vector<std::pair<std::string, Value>>& fields() const { return fields_; }
  // One line of JSON; texts that are not UTF-8 get U+FFFD for each stray byte.
  std::string Dump() const;

 private:
  JsonObject& Set(std::string key, Value value);
  std::vector<std::pair<std::string, Value>> fields_;
};

// A JSON string literal, quotes included.
std::string JsonString(std::string_view text);

struct Outcome {
  ExitStatus status = ExitStatus::kDone;
  std::string error;   // why it failed; empty when done
  std::string text;    // what stdout shows when not printing JSON
  JsonObject fields;   // the result for --json

  static Outcome Done(std::string text, JsonObject fields = {});
  static Outcome Usage(std::string error);
  static Outcome PrinterFailed(std::string error, JsonObject fields = {});
};

// The one place an outcome becomes output and an exit status. With `json`, stdout holds
// exactly one object {"command", "ok", "exit", ["error"], fields...}; otherwise stdout holds
// the text and stderr the error, prefixed with the program's name.
int Report(const Outcome& outcome, const std::string& command, bool json, std::ostream& out,
           std::ostream& err);

// The program's name as messages show it.
inline constexpr const char* kProgramName = "quillmark-cli";

}  // namespace qm::cli
