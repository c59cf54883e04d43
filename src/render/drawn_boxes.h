// What the boxes of drawn commands tell about a label: which objects lie on one another,
// and which command drew the mark at a point.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "render/label_renderer.h"

namespace qm::render {

// Whether two objects lie on one another: their boxes share at least one dot, and neither
// is a layout the other is meant to sit in: an object wholly inside a "BD" frame (B), an
// inverted (E) or a cleared (D) block is not counted against it, nor do two "BD" lines or
// frames crossing (the rules of a table).
bool Overlap(const DrawnBox& a, const DrawnBox& b);

// One warning per overlapping pair, on the later command's line, naming the earlier one:
// "\"T\" overlaps \"BD\" of line 3", in drawing order. At most kMaxOverlapWarnings pairs are
// named; one more warning then says there are more.
constexpr size_t kMaxOverlapWarnings = 100;
std::vector<Warning> OverlapWarnings(const std::vector<DrawnBox>& boxes);

// The command that drew at dot (x, y): of the boxes holding it the smallest, and of equal
// ones the last drawn (it lies on top); nullopt when none holds it.
std::optional<DrawnBox> PickAt(const std::vector<DrawnBox>& boxes, int x, int y);

// The box holding every box of `line`; empty when that line drew nothing.
Box BoxOfLine(const std::vector<DrawnBox>& boxes, int line);

}  // namespace qm::render
