// Printed labels as plain values: what was on them and the settings they were printed with.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printer/printer_state.h"

namespace qm::printer {

// One label command taken apart: "T20,20,3,1,1,0,0,N,N,'Hello'" has the word "T", nine
// fields and the data "Hello". Fields and data are places in the raw bytes, so a label of
// many commands costs one allocation per command.
class LabelCommand {
 public:
  static constexpr size_t kMaxFields = 12;

  const std::string& word() const { return word_; }
  // The command as received, terminator excluded.
  const std::string& raw() const { return raw_; }
  size_t fieldCount() const { return fieldCount_; }
  std::string_view field(size_t i) const { return Slice(fields_.at(i)); }
  std::vector<std::string> fields() const;
  bool hasData() const { return hasData_; }
  // Between the first and the last quote, raw bytes.
  std::string_view data() const { return Slice(data_); }

  // "IR": the recalled image's stored bytes; null when no image of that name was stored.
  std::shared_ptr<const std::string> image;
  // Which of its label's `settingsInForce` the command met, its own setting applied.
  uint32_t settingsIndex = 0;

  bool operator==(const LabelCommand&) const = default;

 private:
  friend std::optional<LabelCommand> ParseLabelCommand(std::string text);
  struct Span {
    uint32_t at = 0;
    uint32_t size = 0;
    bool operator==(const Span&) const = default;
  };
  std::string_view Slice(Span s) const { return std::string_view(raw_).substr(s.at, s.size); }

  std::string word_;
  std::string raw_;
  std::array<Span, kMaxFields> fields_{};
  uint8_t fieldCount_ = 0;
  bool hasData_ = false;
  Span data_;
};

// Takes a label command apart; nullopt when it is not one or its fields do not fit the word.
std::optional<LabelCommand> ParseLabelCommand(std::string text);

// A line of the printer's own text at (20, y), as the renderer will draw it.
LabelCommand PrinterTextLine(int y, std::string_view text);

// The label command word that `text` begins with; empty when it begins with none.
std::string_view LabelWord(std::string_view text);

// Whether a command word sets the paper or print settings rather than drawing.
bool IsSettingWord(std::string_view word);

enum class LabelKind {
  kLabel,      // "P"
  kImageList,  // "II": the printer prints its stored image names
  kTagData,    // ">RFR,...,P": the printer prints the tag data it read
};

struct PrintedLabel {
  uint64_t sequence = 0;  // 1 for the first label since the printer started
  LabelKind kind = LabelKind::kLabel;
  int quantity = 1;       // "P" first number
  int copies = 1;         // "P" second number
  int64_t printedAtMs = 0;
  MediaSettings settings;  // in force when printed
  std::vector<LabelCommand> commands;
  // Each change of the settings while the label was built, in order: a "CS" between two
  // text lines gives each line its own character set, as the international print needs.
  std::vector<MediaSettings> settingsInForce;

  // The settings command `i` was drawn with; those of the whole label when none were kept.
  const MediaSettings& SettingsFor(size_t i) const;

  bool operator==(const PrintedLabel&) const = default;
};

// The label record written to the output folder: readable text, raw bytes escaped.
std::string FormatLabelRecord(const PrintedLabel& label);

// A file name for label `sequence`, made by the printer, never from the wire.
std::string LabelFileName(uint64_t sequence);

}  // namespace qm::printer
