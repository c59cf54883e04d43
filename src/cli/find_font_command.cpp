// `find-font`: the Font Finder's two answers for a character cell in millimetres, and its
// comparison print.
#include <CLI/CLI.hpp>

#include "cli/builder_options.h"
#include "cli/command.h"
#include "cli/setting_text.h"
#include "commands/font_finder.h"

namespace qm::cli {

namespace {

constexpr FieldRange kWidthRange{"WIDTH_MM", 0, kTypedMaximum};
constexpr FieldRange kHeightRange{"HEIGHT_MM", 0, kTypedMaximum};

std::string Answer(std::string_view title, const FontChoice& c) {
  const FontCell& cell = kFontCells[static_cast<size_t>(c.font)];
  return std::string(title) + "Font " + std::to_string(c.font) + ", X Multi " + std::to_string(c.xMulti) +
         ", Y Multi " + std::to_string(c.yMulti) + " (" + std::to_string(cell.width * c.xMulti) + " x " +
         std::to_string(cell.height * c.yMulti) + " dots)\n";
}

void AddChoice(JsonObject& fields, const std::string& prefix, const FontChoice& c) {
  fields.Add(prefix + "Font", c.font);
  fields.Add(prefix + "XMulti", c.xMulti);
  fields.Add(prefix + "YMulti", c.yMulti);
}

class FindFontCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "find-font", "Find the bitmap font and magnifications closest to a character cell in millimetres");
    sub->add_option("WIDTH_MM", widthText_, "the cell's width, " + RangeText(kWidthRange) + " mm (the dialog's 3)")
        ->required()
        ->type_name("");
    sub->add_option("HEIGHT_MM", heightText_, "the cell's height, " + RangeText(kHeightRange) + " mm (the dialog's 5)")
        ->required()
        ->type_name("");
    sub->add_flag("--print", print_,
                  "send the comparison label: TEST148 in each answer's font, on a 600-dot continuous label that "
                  "stays set");
    sub->footer(
        "Most Similar: the closest of fonts 0..6 with magnifications 1..4, at 8 dots per mm. Similar & Round: "
        "a larger font with smaller magnifications when one lies within 100 dots, else the same. When no "
        "candidate lies within 100 dots there is no answer, and --print is refused.");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    if (std::string error = TakeReal("WIDTH_MM", widthText_, kWidthRange, fields_.width); !error.empty()) {
      return error;
    }
    if (std::string error = TakeReal("HEIGHT_MM", heightText_, kHeightRange, fields_.height); !error.empty()) {
      return error;
    }
    const std::optional<FontChoice> closest = FindMostSimilarFont(fields_.width, fields_.height);
    found_ = closest.has_value();
    if (!found_ && print_) return "--print: no font lies within 100 dots of " + Target() + ", nothing to compare";
    FindMostSimilar(fields_);
    FindSimilarAndRound(fields_);
    return {};
  }

  bool NeedsPrinter() const override { return print_; }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("found", found_);
    if (found_) {
      AddChoice(fields, "mostSimilar", fields_.mostSimilar);
      AddChoice(fields, "similarAndRound", fields_.similarAndRound);
    }
    return fields;
  }

  Outcome RunWithoutPrinter() override { return Outcome::Done(Answers()); }

  Outcome Run(Session& session) override {
    const std::string bytes = BuildFontComparisonPrint(fields_);
    if (!WroteAll(session.link, session.link.Write(bytes), bytes.size())) {
      return Outcome::PrinterFailed(WriteFailure(session.link));
    }
    return Outcome::Done(Answers() + "sent the comparison print, " + std::to_string(bytes.size()) + " bytes");
  }

 private:
  std::string Target() const {
    return RealText(fields_.width * 8.0) + " x " + RealText(fields_.height * 8.0) + " dots";
  }

  std::string Answers() const {
    std::string text = "Target: " + Target() + "\n";
    if (!found_) return text + "Most Similar: none within 100 dots\nSimilar & Round: none within 100 dots\n";
    return text + Answer("Most Similar: ", fields_.mostSimilar) + Answer("Similar & Round: ", fields_.similarAndRound);
  }

  std::string widthText_, heightText_;
  bool print_ = false;
  bool found_ = false;
  FontFinderFields fields_;
};

}  // namespace

std::unique_ptr<Command> MakeFindFontCommand() { return std::make_unique<FindFontCommand>(); }

}  // namespace qm::cli
