#include "runtime/ui/accessibility/tab_order.h"

#include <algorithm>

namespace lw {

std::vector<size_t> ReadingOrder(const std::vector<TabBox>& boxes) {
  std::vector<size_t> order(boxes.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto byTop = [&](size_t a, size_t b) {
    return boxes[a].top != boxes[b].top ? boxes[a].top < boxes[b].top : boxes[a].left < boxes[b].left;
  };
  std::stable_sort(order.begin(), order.end(), byTop);
  auto byLeft = [&](size_t a, size_t b) { return boxes[a].left < boxes[b].left; };
  for (size_t start = 0; start < order.size();) {
    const TabBox& first = boxes[order[start]];
    // Half the height, so that controls that sit a few pixels apart on one line share
    // a row while the next line, a whole control lower, does not.
    const int64_t rowEnd = int64_t(first.top) + std::max<int32_t>(first.height, 0) / 2;
    size_t end = start + 1;
    while (end < order.size() && boxes[order[end]].top <= rowEnd) ++end;
    std::stable_sort(order.begin() + ptrdiff_t(start), order.begin() + ptrdiff_t(end), byLeft);
    start = end;
  }
  return order;
}

namespace {

// The units the keyboard passes through: the tab stops and, above each, the
// containers that hold it. A walk up takes at most as many steps as the window has
// units, so parent ids that loop in a damaged section end it.
std::vector<bool> keyboardPath(const WindowRecord& w) {
  std::vector<bool> on(w.units.size(), false);
  for (size_t i = 1; i < w.units.size(); ++i) {
    const UnitRecord* r = &w.units[i];
    if (r->menuItem || !(r->state & unit_state::TabStop)) continue;
    on[i] = true;
    for (size_t steps = 0; r->parentId != 0 && steps < w.units.size(); ++steps) {
      r = FindUnitRecord(w, r->parentId);
      if (!r) break;
      on[size_t(r - w.units.data())] = true;
    }
  }
  return on;
}

}  // namespace

std::vector<size_t> TabOrderOfUnits(const WindowRecord& w) {
  const std::vector<bool> onPath = keyboardPath(w);
  std::vector<size_t> path, rest;
  std::vector<uint32_t> containers;
  for (size_t i = 1; i < w.units.size(); ++i) {
    const UnitRecord& r = w.units[i];
    if (r.menuItem) continue;
    if (!onPath[i]) {
      rest.push_back(i);
      continue;
    }
    path.push_back(i);
    if (std::find(containers.begin(), containers.end(), r.parentId) == containers.end())
      containers.push_back(r.parentId);
  }
  std::vector<size_t> order;
  for (uint32_t container : containers) {
    std::vector<size_t> members;
    std::vector<TabBox> boxes;
    for (size_t i : path) {
      const UnitRecord& r = w.units[i];
      if (r.parentId != container) continue;
      members.push_back(i);
      boxes.push_back({r.left, r.top, r.width, r.height});
    }
    for (size_t k : ReadingOrder(boxes)) order.push_back(members[k]);
  }
  order.insert(order.end(), rest.begin(), rest.end());
  return order;
}

}  // namespace lw
