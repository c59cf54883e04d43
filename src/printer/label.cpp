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

std::vector<std::string> SplitFields(std::string_view s) {
  std::vector<std::string> fields;
  if (s.empty()) return fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = s.find(',', start);
    fields.emplace_back(s.substr(start, comma == std::string_view::npos ? s.npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

const WordShape* ShapeOf(std::string_view text) {
  for (const WordShape& w : kWords) {
    if (!w.word.empty() && text.substr(0, w.word.size()) == w.word) return &w;
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
  return word == "SW" || word == "SL" || word == "SM" || word == "SS" || word == "SD" ||
         word == "SOT" || word == "SOB" || word == "CS";
}

std::string_view LabelWord(std::string_view text) {
  const WordShape* shape = ShapeOf(text);
  return shape ? shape->word : std::string_view();
}

std::optional<LabelCommand> ParseLabelCommand(std::string_view text) {
  const WordShape* shape = ShapeOf(text);
  if (!shape) return std::nullopt;
  LabelCommand cmd;
  cmd.word = std::string(shape->word);
  cmd.raw = std::string(text);
  std::string_view rest = text.substr(shape->word.size());
  const size_t open = rest.find('\'');
  if (open != std::string_view::npos) {
    if (!shape->data) return std::nullopt;
    const size_t close = rest.rfind('\'');
    if (close == open) return std::nullopt;  // unterminated data
    cmd.hasData = true;
    cmd.data = std::string(rest.substr(open + 1, close - open - 1));
    if (close + 1 != rest.size()) return std::nullopt;  // bytes after the data
    rest = rest.substr(0, open);
    // The data is the last field: the comma before it closes the field list.
    if (rest.empty() || rest.back() != ',') return std::nullopt;
    rest.remove_suffix(1);
  } else if (shape->data) {
    return std::nullopt;
  }
  cmd.fields = SplitFields(rest);
  if (cmd.fields.size() < shape->minFields || cmd.fields.size() > shape->maxFields) return std::nullopt;
  return cmd;
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
  for (const LabelCommand& c : label.commands) {
    out += "  " + Escape(c.raw);
    if (c.word == "IR") {
      out += c.image ? "  (image of " + std::to_string(c.image->size()) + " bytes)" : "  (no such image)";
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
