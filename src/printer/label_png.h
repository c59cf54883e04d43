// A printed label drawn as the printer would print it, for the PNG beside its record.
#pragma once

#include <string>
#include <vector>

#include "printer/label.h"
#include "render/label_renderer.h"

namespace qm::printer {

// The paper the label was printed on: its size, margins and direction.
render::PaperSettings PaperOf(const MediaSettings& settings);

// The label's drawing, each command with the character set then in force; every command
// that could not be drawn adds a warning numbered by its place in the label (1 first).
render::Bitmap DrawLabel(render::LabelRenderer& renderer, const PrintedLabel& label,
                         std::vector<render::Warning>& warnings);

// The PNG file name beside record `recordName`: "label-000001.txt" gives "label-000001.png".
std::string LabelPngName(const std::string& recordName);

}  // namespace qm::printer
