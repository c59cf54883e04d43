// `charset-test`: the Character Set dialog's prints of the code table below and above 80H
// and of the sixteen international character sets.
#include <CLI/CLI.hpp>
#include <array>

#include "cli/builder_options.h"
#include "cli/command.h"
#include "cli/piece_writer.h"
#include "commands/character_set_print.h"

namespace qm::cli {

namespace {

enum class Print { kUnder80, kOver80, kInternational };
constexpr std::array<std::string_view, 3> kPrintNames = {"under80", "over80", "international"};
constexpr std::array<std::string_view, 3> kPrintTitles = {"Under 80H", "Over 80H", "International"};
constexpr std::array<std::string_view, 2> kFontWords = {"bitmap", "vector"};
constexpr std::array<std::string_view, 9> kFontNames = {"0", "1", "2", "3", "4", "5", "6", "a", "b"};
static_assert(kFontNames.size() == kCharacterSetFonts.size());

class CharsetTestCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "charset-test", "Print the code table under or over 80H, or the 16 international character sets");
    sub->add_option("PRINT", printText_, "under80, over80 or international")->required()->type_name("");
    // The kind of font goes first: choosing it resets both sizes, as in the dialog.
    options_.Add(*sub, "font", "bitmap|vector", FieldHelp("Bitmap Font / Vector Font", "bitmap|vector", "bitmap"),
                 [this](const std::string& text) {
                   int kind = 0;
                   std::string error = TakeChoice("--font", text, kFontWords, kind);
                   if (!error.empty() && !TakeChoice("--font", text, kFontKindNames, kind).empty()) return error;
                   SelectCharacterSetFont(fields_, static_cast<FontKind>(kind));
                   return std::string();
                 });
    options_.Add(*sub, "ics", "N|NAME",
                 FieldHelp("International Character Set", "0..15 or a name below", kInternationalCharacterSets[0]) +
                     "; not for international, which prints them all",
                 [this](const std::string& text) {
                   if (print_ == Print::kInternational) return std::string("--ics: international prints all sixteen sets");
                   return TakeChoice("--ics", text, kInternationalCharacterSets, fields_.ics, true);
                 });
    options_.Add(*sub, "table", "N|NAME", FieldHelp("Code Table", "0..22 or a name below", kCodeTables[0]),
                 [this](const std::string& text) {
                   return TakeChoice("--table", text, kCodeTables, fields_.codeTable, true);
                 });
    for (auto [name, field] : {std::pair{"x", &fields_.xPos}, std::pair{"y", &fields_.yPos}}) {
      const std::string option = "--" + std::string(name);
      const FieldRange range{name[0] == 'x' ? "X Pos" : "Y Pos", 0, kTypedMaximum};
      options_.Add(*sub, name, "DOTS",
                   FieldHelp(range.label, RangeText(range) + ", truncated to whole dots", RealText(*field)) +
                       "; international prints at 30, 50 + 70 per set",
                   [this, option, range, field](const std::string& text) {
                     if (print_ == Print::kInternational) return option + ": international places its own lines";
                     return TakeReal(option, text, range, *field);
                   });
    }
    options_.Add(*sub, "font-name", "NAME", FieldHelp("Font (bitmap only)", ChoiceText(kFontNames), "3"),
                 [this](const std::string& text) {
                   if (fields_.fontKind == FontKind::kVector) return std::string("--font-name: the vector font is always U");
                   return TakeLetter("--font-name", text, kCharacterSetFonts, fields_.font);
                 });
    options_.Add(*sub, "size1", "N",
                 "H Multi: " + RangeText(kCharacterSetBitmapSizeOne) + " (default 1) with the bitmap font; Width: " +
                     RangeText(kCharacterSetVectorSizeOne) + " (default 35) with the vector font",
                 [this](const std::string& text) { return TakeSize("--size1", text, fields_.sizeOne, true); });
    options_.Add(*sub, "size2", "N",
                 "V Multi: " + RangeText(kCharacterSetBitmapSizeTwo) + " (default 1) with the bitmap font; Height: " +
                     RangeText(kCharacterSetVectorSizeTwo) + " (default 35) with the vector font",
                 [this](const std::string& text) { return TakeSize("--size2", text, fields_.sizeTwo, false); });
    sub->footer("under80 and over80 narrow the label (SW780), select the tables, print one label and set the "
                "width back (SW830): two writes. international prints the 16 sets with the chosen code table, "
                "one write each, then P1: 17 writes. SIGINT stops between two writes.\n\n"
                "International character sets:\n" + NumberedEntries(kInternationalCharacterSets) +
                "Code tables:\n" + NumberedEntries(kCodeTables).substr(0, NumberedEntries(kCodeTables).size() - 1));
    return sub;
  }

  std::string Prepare(std::istream&) override {
    int print = 0;
    if (std::string error = TakeChoice("PRINT", printText_, kPrintNames, print); !error.empty()) return error;
    print_ = static_cast<Print>(print);
    if (std::string error = options_.Apply(); !error.empty()) return error;
    switch (print_) {
      case Print::kUnder80: writes_ = BuildUnder80HPrint(fields_); break;
      case Print::kOver80: writes_ = BuildOver80HPrint(fields_); break;
      case Print::kInternational: writes_ = BuildInternationalPrint(fields_); break;
    }
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("print", std::string(kPrintTitles[static_cast<size_t>(print_)]));
    fields.Add("codeTable", std::string(kCodeTables[static_cast<size_t>(fields_.codeTable)]));
    if (print_ != Print::kInternational) {
      fields.Add("ics", std::string(kInternationalCharacterSets[static_cast<size_t>(fields_.ics)]));
    }
    return fields;
  }

  Outcome Run(Session& session) override {
    const std::string title(kPrintTitles[static_cast<size_t>(print_)]);
    const PiecesWritten written = WritePieces(session, writes_, title, "writes");
    return PiecesOutcome(written, session.link,
                         title + " with " + std::string(kCodeTables[static_cast<size_t>(fields_.codeTable)]) + ": " +
                             std::to_string(written.sent) + " writes sent",
                         "writes");
  }

 private:
  std::string TakeSize(const std::string& option, const std::string& text, int& size, bool first) {
    const bool bitmap = fields_.fontKind == FontKind::kBitmap;
    const FieldRange& range = bitmap ? (first ? kCharacterSetBitmapSizeOne : kCharacterSetBitmapSizeTwo)
                                     : (first ? kCharacterSetVectorSizeOne : kCharacterSetVectorSizeTwo);
    return TakeInteger(option, text, range, size);
  }

  std::string printText_;
  Print print_ = Print::kUnder80;
  FieldOptions options_;
  CharacterSetFields fields_;
  std::vector<std::string> writes_;
};

}  // namespace

std::unique_ptr<Command> MakeCharsetTestCommand() { return std::make_unique<CharsetTestCommand>(); }

}  // namespace qm::cli
