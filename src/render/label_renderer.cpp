#include "render/label_renderer.h"

#include <algorithm>
#include <map>

#include "render/command_text.h"
#include "render/draw_commands.h"
#include "render/glyphs.h"

namespace qm::render {

namespace {

// A label's commands, gathered until its "P"; their text is kept, since an "IS" inside the
// script means the lines cannot simply point into it.
struct Pending {
  std::vector<std::string> text;
  std::vector<DrawItem> items;
};

class ScriptWalker {
 public:
  ScriptWalker(LabelRenderer& renderer, std::string_view script, PaperSettings paper,
               const ImageLookup& images, LabelSink& sink, WalkResult& out)
      : renderer_(renderer), script_(script), paper_(paper), images_(images), sink_(sink), out_(out) {}

  void Run(bool drawUnprinted) {
    while (at_ < script_.size()) {
      while (at_ < script_.size() && (script_[at_] == ' ' || script_[at_] == '\t')) ++at_;
      // An image's bytes may hold line ends and quotes of their own.
      if (script_.substr(at_, 2) == "IS" && Store()) continue;
      const size_t end = std::min(script_.find_first_of("\r\n", at_), script_.size());
      std::string_view line = script_.substr(at_, end - at_);
      at_ = end;
      // A CR LF pair ends one line.
      if (at_ < script_.size() && script_[at_] == '\r') ++at_;
      if (at_ < script_.size() && script_[at_] == '\n') ++at_;
      const int number = lineNumber_;
      lineNumber_ += CountLineEnds(script_.substr(end, at_ - end));
      if (!line.empty()) Command(line, number);
    }
    if (drawUnprinted && !pending_.items.empty()) {
      const int line = pending_.items.back().line;
      Emit(1, line, false);
    }
  }

 private:
  static int CountLineEnds(std::string_view ends) {
    // "\r\n" is one end, a lone "\r" or "\n" another.
    return ends.empty() ? 0 : 1;
  }

  void Warn(int line, std::string text) { out_.warnings.push_back({line, std::move(text)}); }

  void Command(std::string_view line, int number) {
    const std::string_view word = CommandWord(line);
    if (IsDrawingWord(word)) return Gather(line, number);
    const std::optional<CommandParts> parts = SplitCommand(line);
    if (word.empty() || !parts) return Warn(number, "unknown command \"" + Shown(line) + "\"");
    if (word == "IS") return Warn(number, "image store header is malformed");
    if (word == "P") return Print(*parts, number);
    if (word == "SW" || word == "SL" || word == "SM" || word == "CS") return Setting(*parts, number, line);
    if (word == "SOT" || word == "SOB") {
      if (!parts->fields.empty() || parts->hasData) return Warn(number, "\"" + Shown(line) + "\" takes no fields");
      paper_.topFirst = word == "SOT";
      return;
    }
    // Speed, density, offsets, queries, image and RFID housekeeping: nothing to draw.
  }

  static std::string Shown(std::string_view line) {
    std::string s(line.substr(0, 40));
    for (char& c : s) {
      if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
    }
    return line.size() > 40 ? s + "..." : s;
  }

  void Gather(std::string_view line, int number) {
    pending_.text.emplace_back(line);
    DrawItem item;
    item.line = number;
    item.codePage = paper_.codePage;
    item.ics = paper_.ics;
    if (CommandWord(line) == "IR") {
      const std::optional<CommandParts> parts = SplitCommand(line);
      if (parts && parts->hasData) item.image = Image(std::string(parts->data));
    }
    pending_.items.push_back(std::move(item));
  }

  std::shared_ptr<const std::string> Image(const std::string& name) {
    const auto it = stored_.find(name);
    if (it != stored_.end()) return it->second;
    return images_ ? images_(name) : nullptr;
  }

  // "IS" + size + ",'" + name + "'" and then exactly that many bytes of image; false when
  // the header is not one, so the line is taken as a command and warned about.
  bool Store() {
    const int number = lineNumber_;
    size_t i = at_ + 2;
    size_t digits = i;
    while (digits < script_.size() && digits - i < 9 && script_[digits] >= '0' && script_[digits] <= '9') ++digits;
    if (digits == i || script_.substr(digits, 2) != ",'") return false;
    const size_t nameEnd = script_.find('\'', digits + 2);
    const size_t lineEnd = script_.find_first_of("\r\n", digits + 2);
    if (nameEnd == std::string_view::npos || (lineEnd != std::string_view::npos && lineEnd < nameEnd)) return false;
    const size_t size = static_cast<size_t>(*Number(script_.substr(i, digits - i)));
    const size_t start = nameEnd + 1;
    const size_t take = std::min(size, script_.size() - start);
    if (take < size) Warn(number, "image store ends before its " + std::to_string(size) + " bytes");
    const std::string_view bytes = script_.substr(start, take);
    stored_[std::string(script_.substr(digits + 2, nameEnd - digits - 2))] =
        std::make_shared<const std::string>(bytes);
    for (char c : bytes) lineNumber_ += c == '\n' ? 1 : 0;
    at_ = start + take;
    return true;
  }

  void Setting(const CommandParts& p, int number, std::string_view line) {
    auto bad = [&] { Warn(number, "\"" + Shown(line) + "\" is malformed: setting unchanged"); };
    if (p.hasData) return bad();
    std::vector<int> v;
    for (std::string_view f : p.fields) {
      // "SL" ends with its media letter.
      if (p.word == "SL" && v.size() == 2) break;
      const std::optional<int> n = Number(f);
      if (!n) return bad();
      v.push_back(*n);
    }
    if (p.word == "SW" && v.size() == 1 && v[0] > 0 && v[0] <= Bitmap::kMaxSide) {
      paper_.width = v[0];
    } else if (p.word == "SL" && !v.empty() && v[0] > 0 && v[0] <= Bitmap::kMaxSide && p.fields.size() <= 3) {
      paper_.length = v[0];
    } else if (p.word == "SM" && v.size() == 2) {
      paper_.marginX = v[0];
      paper_.marginY = v[1];
    } else if (p.word == "CS" && v.size() == 2 && v[0] >= 0 && v[0] < 16 && v[1] >= 0 && v[1] < 23) {
      paper_.ics = v[0];
      paper_.codePage = v[1];
    } else {
      bad();
    }
  }

  void Print(const CommandParts& p, int number) {
    std::vector<int> v;
    for (std::string_view f : p.fields) {
      const std::optional<int> n = Number(f);
      if (!n || *n < 0) return Warn(number, "print command is malformed: nothing printed");
      v.push_back(*n);
    }
    if (p.hasData || v.size() > 2) return Warn(number, "print command is malformed: nothing printed");
    const int64_t count = int64_t{v.empty() ? 1 : v[0]} * (v.size() < 2 ? 1 : v[1]);
    Emit(count, number, true);
  }

  // What the label would be drawn from, folded into one number (FNV-1a).
  uint64_t Key() const {
    uint64_t h = 14695981039346656037ull;
    const auto add = [&h](const void* data, size_t size) {
      for (size_t i = 0; i < size; ++i) h = (h ^ static_cast<const unsigned char*>(data)[i]) * 1099511628211ull;
    };
    const int paper[] = {paper_.width, paper_.length, paper_.marginX, paper_.marginY, paper_.topFirst ? 1 : 0};
    add(paper, sizeof paper);
    for (size_t i = 0; i < pending_.items.size(); ++i) {
      const DrawItem& item = pending_.items[i];
      const int fields[] = {item.line, item.codePage, item.ics, static_cast<int>(pending_.text[i].size())};
      add(fields, sizeof fields);
      add(pending_.text[i].data(), pending_.text[i].size());
      const size_t imageSize = item.image ? item.image->size() + 1 : 0;
      add(&imageSize, sizeof imageSize);
      if (item.image) add(item.image->data(), item.image->size());
    }
    return h;
  }

  void Emit(int64_t count, int line, bool printed) {
    const int64_t room = LabelRenderer::kMaxLabels - static_cast<int64_t>(out_.labels);
    if (count > room) {
      Warn(line, "only " + std::to_string(std::max<int64_t>(room, 0)) + " of " + std::to_string(count) +
                     " labels are drawn: at most " + std::to_string(LabelRenderer::kMaxLabels) + " per script");
      count = std::max<int64_t>(room, 0);
    }
    if (count > 0) {
      LabelVisit visit;
      visit.line = line;
      visit.printed = printed;
      visit.drawingCommands = static_cast<int>(pending_.items.size());
      visit.key = Key();
      // Copies of one print are drawn once, when the first of them is wanted.
      std::shared_ptr<const Bitmap> bitmap;
      std::shared_ptr<std::vector<DrawnBox>> boxes;
      std::vector<Warning> drawing;
      for (int64_t i = 0; i < count; ++i) {
        visit.index = out_.labels++;
        if (!sink_.Wanted(visit)) continue;
        if (!bitmap) {
          std::vector<DrawItem> items = pending_.items;
          for (size_t k = 0; k < items.size(); ++k) items[k].command = pending_.text[k];
          boxes = std::make_shared<std::vector<DrawnBox>>();
          bitmap = std::make_shared<const Bitmap>(renderer_.RenderLabel(items, paper_, drawing, boxes.get()));
          out_.warnings.insert(out_.warnings.end(), drawing.begin(), drawing.end());
        }
        sink_.Take(visit, bitmap, boxes, drawing);
      }
    }
    // The printer starts every label on a clean canvas.
    pending_ = {};
  }

  LabelRenderer& renderer_;
  std::string_view script_;
  PaperSettings paper_;
  const ImageLookup& images_;
  LabelSink& sink_;
  WalkResult& out_;
  size_t at_ = 0;
  int lineNumber_ = 1;
  Pending pending_;
  std::map<std::string, std::shared_ptr<const std::string>> stored_;
};

}  // namespace

LabelRenderer::LabelRenderer() : glyphs_(std::make_unique<GlyphRenderer>()) {}
LabelRenderer::~LabelRenderer() = default;

namespace {

// Every label drawn and kept, for those who want them all at once.
class KeepAll : public LabelSink {
 public:
  explicit KeepAll(RenderResult& out) : out_(out) {}
  bool Wanted(const LabelVisit&) override { return true; }
  void Take(const LabelVisit& label, std::shared_ptr<const Bitmap> bitmap,
            std::shared_ptr<const std::vector<DrawnBox>> boxes, const std::vector<Warning>&) override {
    out_.labels.push_back({std::move(bitmap), std::move(boxes), label.line, label.printed});
  }

 private:
  RenderResult& out_;
};

}  // namespace

WalkResult LabelRenderer::RenderEach(std::string_view script, const PaperSettings& paper, LabelSink& sink,
                                     const ImageLookup& images, bool drawUnprinted) {
  WalkResult out;
  ScriptWalker(*this, script, paper, images, sink, out).Run(drawUnprinted);
  // Drawing warnings come when their label is printed; the reader wants them in line order.
  std::stable_sort(out.warnings.begin(), out.warnings.end(),
                   [](const Warning& a, const Warning& b) { return a.line < b.line; });
  return out;
}

RenderResult LabelRenderer::RenderScript(std::string_view script, const PaperSettings& paper,
                                         const ImageLookup& images, bool drawUnprinted) {
  RenderResult out;
  KeepAll keep(out);
  out.warnings = RenderEach(script, paper, keep, images, drawUnprinted).warnings;
  return out;
}

Bitmap LabelRenderer::RenderLabel(const std::vector<DrawItem>& items, const PaperSettings& paper,
                                  std::vector<Warning>& warnings, std::vector<DrawnBox>* boxes) {
  Bitmap canvas(paper.width, paper.length);
  const size_t firstBox = boxes ? boxes->size() : 0;
  if (!items.empty() && !glyphs_->error().empty()) {
    warnings.push_back({items.front().line, glyphs_->error() + ": text is drawn as boxes"});
  }
  for (const DrawItem& item : items) DrawCommand(canvas, item, paper, *glyphs_, warnings, boxes);
  // "SOB" prints the label turned half way round.
  if (paper.topFirst) return canvas;
  if (boxes) {
    for (size_t i = firstBox; i < boxes->size(); ++i) {
      Box& b = (*boxes)[i].box;
      b = {canvas.width() - b.right(), canvas.height() - b.bottom(), b.width, b.height};
    }
  }
  return canvas.Rotated(2);
}

}  // namespace qm::render
