// The order in which the keyboard visits a window's controls: reading order, top
// to bottom, then left to right within a row, from the units' own rectangles in
// their container. This is the one place the order is decided; pure, so that the
// rule is tested natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/ui/properties/template_format.h"

namespace lw {

struct TabBox {
  int32_t left, top, width, height;
};

// The indexes of `boxes` in reading order. A box starts a new row unless its top
// lies within the upper half of the row's first box; a row runs left to right.
// Boxes at the same place keep their given order.
std::vector<size_t> ReadingOrder(const std::vector<TabBox>& boxes);

// The order of a window's units (indexes into w.units, the window's own unit and
// menu items left out) in which the loader stacks them, front to back among
// siblings. The units on the keyboard's path (tab stops, and the containers that
// hold them) come first, in reading order among the units of one container; the
// rest (labels and the like) follow in record order, so they stay below.
std::vector<size_t> TabOrderOfUnits(const WindowRecord& w);

}  // namespace lw
