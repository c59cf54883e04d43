// `codepage-test`: the 2 Byte Codepage dialog's print, one label per lead byte (block).
#include <CLI/CLI.hpp>
#include <array>
#include <cstdio>

#include "cli/builder_options.h"
#include "cli/command.h"
#include "cli/piece_writer.h"
#include "commands/two_byte_codepage.h"

namespace qm::cli {

namespace {

std::array<std::string_view, kTwoByteCodeTables.size()> TableNames() {
  std::array<std::string_view, kTwoByteCodeTables.size()> names{};
  for (size_t i = 0; i < names.size(); ++i) names[i] = kTwoByteCodeTables[i].name;
  return names;
}

std::string HexBlock(int block) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", block);
  return text;
}

std::string TableHelp() {
  std::string out = "Code tables: default blocks, blocks with --all, bitmap fonts (default first):\n";
  for (const TwoByteCodeTableInfo& info : kTwoByteCodeTables) {
    std::string fonts(1, info.defaultBitmapFont);
    for (char font : info.bitmapFonts) {
      if (font != info.defaultBitmapFont) fonts += std::string(", ") + font;
    }
    const std::string all = HexBlock(info.firstBlock) + ".." + HexBlock(info.lastBlock);
    out += "  " + std::string(info.name) + std::string(8 - info.name.size(), ' ') + std::string(info.defaultStart) +
           ".." + std::string(info.defaultEnd) + "   " + all + "   " + fonts + "\n";
  }
  return out;
}

// Bytes that would end the text command early.
bool EndsALine(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

class CodepageTestCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "codepage-test", "Print every two-byte code of each block (lead byte) in a range, one label per block");
    sub->add_option("TABLE", tableText_, "KS5601, GB2312, BIG5 or JIS")->required()->type_name("");
    start_ = sub->add_option("--start", startText_,
                                         "Start Block: two hexadecimal digits (default the table's, below)")
                             ->type_name("HH");
    end_ = sub->add_option("--end", endText_, "End Block: two hexadecimal digits (default the table's)")
                           ->type_name("HH");
    sub->add_flag("--all", all_, "Print all block character code: the table's whole range, below")
        ->excludes(start_)
        ->excludes(end_);
    bitmap_ =
        sub->add_option("--bitmap", bitmapText_, "Bitmap Font Name: one of the table's (the default font)")
            ->type_name("NAME");
    sub->add_option("--vector", vectorSize_,
                    "Vector Font: its Width then its Height, written as typed (the dialog's 35 35)")
        ->expected(2)
        ->type_name("SIZE")
        ->excludes(bitmap_);
    sub->footer(TableHelp() +
                "A start past the end prints nothing. Each label is one write; SIGINT stops between two.");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    int table = 0;
    if (std::string error = TakeChoice("TABLE", tableText_, TableNames(), table); !error.empty()) return error;
    SelectTwoByteCodeTable(fields_, static_cast<TwoByteCodeTable>(table));
    SetPrintAllBlocks(fields_, all_);
    if (start_->count() > 0) fields_.startBlock = startText_;
    if (end_->count() > 0) fields_.endBlock = endText_;
    if (bitmap_->count() > 0) {
      const std::string_view fonts = InfoOf(fields_.codeTable).bitmapFonts;
      if (std::string error = TakeLetter("--bitmap", bitmapText_, fonts, fields_.bitmapFontName); !error.empty()) {
        return error + " (the fonts of " + tableText_ + ")";
      }
    }
    if (vectorSize_.size() == 2) {
      for (const std::string& size : vectorSize_) {
        if (size.empty() || EndsALine(size)) return "--vector: \"" + size + "\" cannot be a font size";
      }
      fields_.fontKind = FontKind::kVector;
      fields_.vectorFontWidth = vectorSize_[0];
      fields_.vectorFontHeight = vectorSize_[1];
    }
    const TwoBytePrint print = BuildTwoBytePrint(fields_);
    if (print.error) {
      const bool start = *print.error == kStartBlockWrong;
      return std::string(start ? "--start \"" + fields_.startBlock : "--end \"" + fields_.endBlock) + "\": " +
             std::string(*print.error) + " (two hexadecimal digits, 00..FF)";
    }
    rows_ = print.rows;
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("table", std::string(InfoOf(fields_.codeTable).name));
    fields.Add("blocks", Blocks());
    return fields;
  }

  Outcome Run(Session& session) override {
    const std::string name(InfoOf(fields_.codeTable).name);
    const PiecesWritten written = WritePieces(session, rows_, name, "rows");
    return PiecesOutcome(written, session.link,
                         name + " blocks " + Blocks() + ": " + std::to_string(written.sent) + " rows sent", "rows");
  }

 private:
  // "A1..F7", as the rows run.
  std::string Blocks() const {
    const TwoByteCodeTableInfo& info = InfoOf(fields_.codeTable);
    if (fields_.printAllBlocks) return HexBlock(info.firstBlock) + ".." + HexBlock(info.lastBlock);
    return fields_.startBlock + ".." + fields_.endBlock;
  }

  CLI::Option* start_ = nullptr;
  CLI::Option* end_ = nullptr;
  CLI::Option* bitmap_ = nullptr;
  std::string tableText_, startText_, endText_, bitmapText_;
  std::vector<std::string> vectorSize_;
  bool all_ = false;
  TwoByteCodepageFields fields_;
  std::vector<std::string> rows_;
};

}  // namespace

std::unique_ptr<Command> MakeCodepageTestCommand() { return std::make_unique<CodepageTestCommand>(); }

}  // namespace qm::cli
