// `convert`: the Convert Unit dialog's arithmetic between inches, millimetres and dots.
#include <CLI/CLI.hpp>

#include "cli/builder_options.h"
#include "cli/command.h"
#include "commands/command_framing.h"
#include "commands/unit_conversion.h"

namespace qm::cli {

namespace {

// The dialog's input field holds no more than this.
constexpr FieldRange kValueRange{"VALUE", 0, 1000000};

class ConvertCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand("convert", "Convert a length between inch, mm and dots (8 dots per mm)");
    sub->add_option("VALUE", valueText_, "the length, " + RangeText(kValueRange))->required()->type_name("");
    sub->add_option("FROM", fromText_, "its unit: " + ChoiceText(kLengthUnitNames))->required()->type_name("");
    sub->add_option("TO", toText_, "the unit wanted: " + ChoiceText(kLengthUnitNames))->required()->type_name("");
    sub->footer(
        "The value and the result are single-precision reals and the factors those of the dialog (25.4 mm and "
        "203.2 dots per inch), unrounded. A result in dots also shows the whole dots a command carries, "
        "truncated toward zero. No printer is opened.");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    double value = 0;
    if (std::string error = TakeReal("VALUE", valueText_, kValueRange, value); !error.empty()) return error;
    int from = 0, to = 0;
    if (std::string error = TakeChoice("FROM", fromText_, kLengthUnitNames, from); !error.empty()) return error;
    if (std::string error = TakeChoice("TO", toText_, kLengthUnitNames, to); !error.empty()) return error;
    from_ = static_cast<LengthUnit>(from);
    to_ = static_cast<LengthUnit>(to);
    value_ = static_cast<float>(value);
    result_ = ConvertLength(value_, from_, to_);
    return {};
  }

  bool NeedsPrinter() const override { return false; }

  Outcome RunWithoutPrinter() override {
    const std::string from(kLengthUnitNames[static_cast<size_t>(from_)]);
    const std::string to(kLengthUnitNames[static_cast<size_t>(to_)]);
    JsonObject fields;
    fields.Add("value", RealText(value_));
    fields.Add("from", from);
    fields.Add("to", to);
    fields.Add("result", RealText(result_));
    std::string text = RealText(value_) + " " + from + " = " + RealText(result_) + " " + to;
    if (to_ == LengthUnit::kDots) {
      const std::string whole = TruncatedInteger(result_);
      fields.Add("wholeDots", static_cast<int64_t>(std::stoll(whole)));
      text += " (" + whole + " whole dots)";
    }
    return Outcome::Done(text, fields);
  }

  Outcome Run(Session&) override { return RunWithoutPrinter(); }

 private:
  std::string valueText_, fromText_, toText_;
  LengthUnit from_ = LengthUnit::kInch;
  LengthUnit to_ = LengthUnit::kMm;
  float value_ = 0;
  float result_ = 0;
};

}  // namespace

std::unique_ptr<Command> MakeConvertCommand() { return std::make_unique<ConvertCommand>(); }

}  // namespace qm::cli
