// The QDRL label renderer: command text in, one bitmap per printed label out, and a warning
// with its line number for every command it could not draw. Any bytes are accepted.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/bitmap.h"

namespace qm::render {

// The paper a label starts with: the printer's stored settings, changed by "SW", "SL",
// "SM", "SOT"/"SOB" and "CS" as the script goes.
struct PaperSettings {
  int width = 812;    // dots across ("SW")
  int length = 1219;  // dots along the feed ("SL")
  int marginX = 0;    // dots ("SM")
  int marginY = 0;
  bool topFirst = true;  // "SOT"; "SOB" turns the printed label by 180 degrees
  int codePage = 0;      // "CS" code table position
  int ics = 0;           // "CS" international character set
};

struct Warning {
  int line = 0;  // 1 for the first line of the script
  std::string text;
  bool operator==(const Warning&) const = default;
};

// Where one command drew on its label: the box of its object (a text line's cells, a
// symbol with its quiet zone and HRI, a block's rectangle, a line's runs, an image), in dots
// on the finished label, so "SM" and "SOB" are applied. It may reach past the label's
// edges; a command that drew nothing has none.
struct DrawnBox {
  int line = 0;       // of the command, 1 for the first
  std::string word;   // its command word: "T", "V", "B1", "B2", "BD", "IR"
  Box box;
  char blockType = 0;  // "BD" only: O, E, D, S or B
  bool operator==(const DrawnBox&) const = default;
};

struct RenderedLabel {
  std::shared_ptr<const Bitmap> bitmap;  // copies of one "P" share it
  std::shared_ptr<const std::vector<DrawnBox>> boxes;  // in drawing order; shared like the bitmap
  int line = 0;          // of its "P"; of its last command when it was never printed
  bool printed = true;   // false for commands after the last "P", drawn for a preview
};

struct RenderResult {
  std::vector<RenderedLabel> labels;
  std::vector<Warning> warnings;
};

// The bytes of an image stored under `name`, or null.
using ImageLookup = std::function<std::shared_ptr<const std::string>(const std::string& name)>;

// One drawing command as the printer met it, with the character set then in force.
struct DrawItem {
  std::string_view command;  // without its line end
  int line = 0;
  int codePage = 0;
  int ics = 0;
  // "IR": the stored image's bytes; null when none of that name was stored.
  std::shared_ptr<const std::string> image;
};

// A label met on a walk through a script, before it is drawn.
struct LabelVisit {
  int index = 0;         // 0 for the first label of the script
  int line = 0;          // as RenderedLabel::line
  bool printed = true;
  int drawingCommands = 0;  // how many drawing commands make it
  // Changes whenever anything that would draw it differently changes: its commands, their
  // lines, the paper and the character set. Copies of one print share it.
  uint64_t key = 0;
};

// What a walk does with the labels it meets: which ones to draw, and where drawn ones go.
class LabelSink {
 public:
  virtual ~LabelSink() = default;
  // Whether to draw this label; those not wanted are only counted, at no drawing cost.
  virtual bool Wanted(const LabelVisit& label) = 0;
  // A wanted label, drawn, with where each command drew and the warnings its drawing gave
  // (also in the walk's result). The walk keeps no reference to either once this returns.
  virtual void Take(const LabelVisit& label, std::shared_ptr<const Bitmap> bitmap,
                    std::shared_ptr<const std::vector<DrawnBox>> boxes,
                    const std::vector<Warning>& drawingWarnings) = 0;
};

struct WalkResult {
  int labels = 0;  // every label of the script, drawn or not
  // Warnings about the script's commands, and those of drawing the labels that were drawn.
  std::vector<Warning> warnings;
};

class GlyphRenderer;

class LabelRenderer {
 public:
  LabelRenderer();
  ~LabelRenderer();
  LabelRenderer(const LabelRenderer&) = delete;
  LabelRenderer& operator=(const LabelRenderer&) = delete;

  // Every label of a script. "IS" in the script stores an image for its "IR"; `images`
  // answers the others. With `drawUnprinted`, commands after the last "P" make one more label.
  RenderResult RenderScript(std::string_view script, const PaperSettings& paper,
                            const ImageLookup& images = {}, bool drawUnprinted = true);

  // The labels of a script one at a time, each drawn only when `sink` wants it and handed
  // over at once, so no more than one label's bitmap is held at any time.
  WalkResult RenderEach(std::string_view script, const PaperSettings& paper, LabelSink& sink,
                        const ImageLookup& images = {}, bool drawUnprinted = true);

  // One label from its drawing commands, on paper of `paper`'s size, margins and direction.
  // `boxes`, when given, receives where each command drew.
  Bitmap RenderLabel(const std::vector<DrawItem>& items, const PaperSettings& paper,
                     std::vector<Warning>& warnings, std::vector<DrawnBox>* boxes = nullptr);

  // At most this many labels come out of one script; a larger "P" is cut short with a warning.
  static constexpr int kMaxLabels = 1000;

 private:
  std::unique_ptr<GlyphRenderer> glyphs_;
};

}  // namespace qm::render
