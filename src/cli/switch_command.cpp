// `switch read` and `switch write`: one memory switch as its raw byte.
#include <CLI/CLI.hpp>
#include <cctype>

#include "cli/command.h"
#include "cli/setting_text.h"
#include "settings/memory_switch.h"

namespace qm::cli {

namespace {

// The other reads of the program wait this long too, but for the Language page's.
constexpr int kReadDelayMs = 10;

// "0x35 (53)".
std::string ByteText(uint8_t value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  return std::string("0x") + kHex[value >> 4] + kHex[value & 0x0F] + " (" + std::to_string(value) + ")";
}

// Decimal 0..255, or 0x followed by one or two hexadecimal digits.
std::optional<uint8_t> ParseByte(std::string_view text) {
  int value = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const std::string_view digits = text.substr(2);
    if (digits.size() > 2) return std::nullopt;
    for (char c : digits) {
      if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
      value = value * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
    }
    return static_cast<uint8_t>(value);
  }
  if (text.empty() || text.size() > 3) return std::nullopt;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 255) return std::nullopt;
  return static_cast<uint8_t>(value);
}

class SwitchCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand("switch", "Read or write one memory switch as its raw byte");
    sub->require_subcommand(1);
    read_ = sub->add_subcommand("read", "Read switch N and print its byte in hexadecimal and decimal");
    write_ = sub->add_subcommand("write", "Write BYTE to switch N, then its completion command");
    for (CLI::App* action : {read_, write_}) {
      action->add_option("N", numberText_, "the switch, 1..4")->required()->type_name("");
    }
    write_->add_option("BYTE", byteText_, "the value, decimal 0..255 or 0x00..0xFF")->required()->type_name("");
    write_->add_flag("--short", shortForm_,
                     "send the 7-byte form without the carriage return after the value");
    write_->footer(
        "The long form \"^MBS\" N \",\" BYTE CR is sent unless --short is given; either way "
        "\"^MBA\", N as a raw byte and CR follow, and the write counts as done when that "
        "completion goes out. The pages use the short form for switches 1 and 2 and for the "
        "ICS in switch 3, the long one for the print speed in switch 3 and for switch 4.");
    sub->footer(
        "Switch 1: default code page. 2: the printer's serial port (bit 0 hand shake, 1 stop "
        "bits, 2 data length, 3 parity check, 4 parity, 5-6 baud rate). 3: default ICS, or the "
        "print speed in bits 5-7. 4: gap detect position in bit 5, print strobe in bits 6-7.");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    const std::optional<int> number = ParseInt(numberText_);
    if (!number || *number < 1 || *number > 4) return "N: \"" + numberText_ + "\" is not a switch 1..4";
    number_ = *number;
    if (write_->parsed()) {
      const std::optional<uint8_t> value = ParseByte(byteText_);
      if (!value) return "BYTE: \"" + byteText_ + "\" is not 0..255 or 0x00..0xFF";
      value_ = *value;
    }
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("switch", number_);
    if (write_->parsed()) fields.Add("form", shortForm_ ? "short" : "long");
    return fields;
  }

  Outcome Run(Session& session) override {
    JsonObject fields;
    if (read_->parsed()) {
      const SwitchRead read = ReadSwitch(session.link, session.clock, number_, kReadDelayMs);
      if (!read.ok()) return Outcome::PrinterFailed(NoReply(session.link));
      value_ = read.value;
    } else {
      const SwitchWriteForm form = shortForm_ ? SwitchWriteForm::kShort : SwitchWriteForm::kLong;
      const int result = WriteSwitch(session.link, number_, value_, form);
      if (!WroteAll(session.link, result, BuildSwitchCommit(number_).size())) {
        return Outcome::PrinterFailed(WriteFailure(session.link));
      }
    }
    fields.Add("value", static_cast<int>(value_));
    return Outcome::Done("Switch " + std::to_string(number_) + ": " + ByteText(value_), fields);
  }

 private:
  CLI::App* read_ = nullptr;
  CLI::App* write_ = nullptr;
  std::string numberText_;
  std::string byteText_;
  bool shortForm_ = false;
  int number_ = 0;
  uint8_t value_ = 0;
};

}  // namespace

std::unique_ptr<Command> MakeSwitchCommand() { return std::make_unique<SwitchCommand>(); }

}  // namespace qm::cli
