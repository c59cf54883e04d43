#include "printer/label_png.h"

namespace qm::printer {

render::PaperSettings PaperOf(const MediaSettings& settings) {
  render::PaperSettings paper;
  paper.width = settings.paperWidth;
  paper.length = settings.paperLength;
  paper.marginX = settings.horizontalMargin;
  paper.marginY = settings.verticalMargin;
  paper.topFirst = settings.topFirst;
  paper.codePage = settings.codePage;
  paper.ics = settings.ics;
  return paper;
}

render::Bitmap DrawLabel(render::LabelRenderer& renderer, const PrintedLabel& label,
                         std::vector<render::Warning>& warnings) {
  std::vector<render::DrawItem> items;
  items.reserve(label.commands.size());
  for (size_t i = 0; i < label.commands.size(); ++i) {
    const LabelCommand& c = label.commands[i];
    // Settings commands are already in the label's settings; only drawings are drawn.
    if (IsSettingWord(c.word()) || c.word() == "P") continue;
    const MediaSettings& drawn = label.SettingsFor(i);
    render::DrawItem item;
    item.command = c.raw();
    item.line = static_cast<int>(i + 1);
    item.codePage = drawn.codePage;
    item.ics = drawn.ics;
    item.image = c.image;
    items.push_back(std::move(item));
  }
  return renderer.RenderLabel(items, PaperOf(label.settings), warnings);
}

std::string LabelPngName(const std::string& recordName) {
  const size_t dot = recordName.rfind('.');
  return (dot == std::string::npos ? recordName : recordName.substr(0, dot)) + ".png";
}

}  // namespace qm::printer
