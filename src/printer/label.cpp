#include "printer/label.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "printer/escape.h"

namespace qm::printer {

namespace {

struct WordShape {
  std::string_view word;
  size_t minFields;
  size_t maxFields;
  bool data;  // carries quoted data
};

// Longer words first, so "SOT" is not taken for "S..." and "B1" not for "B".
constexpr std::array<WordShape, 15> kWords{{
    {"SOT", 0, 0, false}, {"SOB", 0, 0, false}, {"B1", 8, 9, true}, {"B2", 4, 12, true},
    {"BD", 5, 6, false},  {"CS", 2, 2, false},  {"SW", 1, 1, false}, {"SL", 1, 3, false},
    {"SM", 2, 2, false},  {"SS", 1, 1, false},  {"SD", 1, 1, false}, {"IR", 2, 2, true},
    {"T", 9, 9, true},    {"V", 12, 12, true},  {"P", 0, 2, false},
}};

const WordShape* ShapeOf(std::string_view text) {
  if (text.empty()) return nullptr;
  for (const WordShape& w : kWords) {
    // Most words are told apart by their first byte alone.
    if (w.word[0] == text[0] && text.substr(0, w.word.size()) == w.word) return &w;
  }
  return nullptr;
}

std::string_view MediaName(MediaType m) {
  switch (m) {
    case MediaType::kGap: return "gap";
    case MediaType::kContinuous: return "continuous";
    case MediaType::kBlackMark: return "black mark";
  }
  return "?";
}

std::string_view KindName(LabelKind k) {
  switch (k) {
    case LabelKind::kLabel: return "label";
    case LabelKind::kImageList: return "image list";
    case LabelKind::kTagData: return "RFID tag data";
  }
  return "?";
}

}  // namespace

bool IsSettingWord(std::string_view word) {
  if (word.empty() || (word[0] != 'S' && word[0] != 'C')) return false;
  return word == "SW" || word == "SL" || word == "SM" || word == "SS" || word == "SD" ||
         word == "SOT" || word == "SOB" || word == "CS";
}

std::string_view LabelWord(std::string_view text) {
  const WordShape* shape = ShapeOf(text);
  return shape ? shape->word : std::string_view();
}

std::vector<std::string> LabelCommand::fields() const {
  std::vector<std::string> out;
  for (size_t i = 0; i < fieldCount_; ++i) out.emplace_back(field(i));
  return out;
}

std::optional<LabelCommand> ParseLabelCommand(std::string text) {
  const WordShape* shape = ShapeOf(text);
  // Places are 32-bit; a command is far shorter than that.
  if (!shape || text.size() > UINT32_MAX) return std::nullopt;
  LabelCommand cmd;
  cmd.word_ = std::string(shape->word);
  cmd.raw_ = std::move(text);
  const std::string_view raw(cmd.raw_);
  size_t end = raw.size();  // of the field list
  const size_t open = raw.find('\'', shape->word.size());
  if (open != std::string_view::npos) {
    const size_t close = raw.rfind('\'');
    // Data only where the word takes it, closed, last, and after a comma.
    if (!shape->data || close == open || close + 1 != raw.size() || raw[open - 1] != ',' ||
        open == shape->word.size()) {
      return std::nullopt;
    }
    cmd.hasData_ = true;
    cmd.data_ = {static_cast<uint32_t>(open + 1), static_cast<uint32_t>(close - open - 1)};
    end = open - 1;
  } else if (shape->data) {
    return std::nullopt;
  }
  size_t start = shape->word.size();
  if (start < end) {
    for (;;) {
      const size_t comma = std::min(raw.find(',', start), end);
      if (cmd.fieldCount_ == LabelCommand::kMaxFields) return std::nullopt;
      cmd.fields_[cmd.fieldCount_++] = {static_cast<uint32_t>(start), static_cast<uint32_t>(comma - start)};
      if (comma == end) break;
      start = comma + 1;
    }
  }
  if (cmd.fieldCount_ < shape->minFields || cmd.fieldCount_ > shape->maxFields) return std::nullopt;
  return cmd;
}

LabelCommand PrinterTextLine(int y, std::string_view text) {
  std::string raw = "T20," + std::to_string(y) + ",3,1,1,0,0,N,N,'";
  raw += text;
  raw += '\'';
  // A text of the printer's own always parses; its quotes are data, the last one closes it.
  return *ParseLabelCommand(std::move(raw));
}

const MediaSettings& PrintedLabel::SettingsFor(size_t i) const {
  if (i >= commands.size() || commands[i].settingsIndex >= settingsInForce.size()) return settings;
  return settingsInForce[commands[i].settingsIndex];
}

std::string FormatLabelRecord(const PrintedLabel& label) {
  const MediaSettings& s = label.settings;
  std::string out;
  out += "label " + std::to_string(label.sequence) + " (" + std::string(KindName(label.kind)) + ")\n";
  out += "printed " + FormatTimestamp(label.printedAtMs) + "\n";
  out += "quantity " + std::to_string(label.quantity) + ", copies " + std::to_string(label.copies) + "\n";
  out += "paper " + std::to_string(s.paperWidth) + " x " + std::to_string(s.paperLength) +
         " dots, gap " + std::to_string(s.gapLength) + ", " + std::string(MediaName(s.media)) +
         " media\n";
  out += "margins " + std::to_string(s.horizontalMargin) + ", " + std::to_string(s.verticalMargin) +
         "; offset " + std::to_string(s.offset) + "; tear-off " + std::to_string(s.tearOff) + "\n";
  out += "density " + std::to_string(s.density) + ", speed " + std::to_string(s.printSpeed) +
         ", direction " + (s.topFirst ? "top" : "bottom") + ", code page " +
         std::to_string(s.codePage) + ", character set " + std::to_string(s.ics) + "\n";
  out += "commands " + std::to_string(label.commands.size()) + "\n";
  for (size_t i = 0; i < label.commands.size(); ++i) {
    const LabelCommand& c = label.commands[i];
    out += "  " + Escape(c.raw());
    if (c.word() == "IR") {
      out += c.image ? "  (image of " + std::to_string(c.image->size()) + " bytes)" : "  (no such image)";
    }
    // Text drawn with other tables than the label ends with says so.
    const MediaSettings& drawn = label.SettingsFor(i);
    if (drawn.codePage != s.codePage || drawn.ics != s.ics) {
      out += "  (code page " + std::to_string(drawn.codePage) + ", character set " +
             std::to_string(drawn.ics) + ")";
    }
    out += "\n";
  }
  return out;
}

std::string LabelFileName(uint64_t sequence) {
  char name[40];
  std::snprintf(name, sizeof name, "label-%06llu.txt", static_cast<unsigned long long>(sequence));
  return name;
}

}  // namespace qm::printer
