// The keyboard's order through a window: reading order from the controls' rectangles.
#include "runtime/ui/accessibility/tab_order.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Named {
  const char* name;
  lw::TabBox box;
};

std::string orderOf(const std::vector<Named>& units) {
  std::vector<lw::TabBox> boxes;
  for (const Named& u : units) boxes.push_back(u.box);
  std::string out;
  for (size_t i : lw::ReadingOrder(boxes)) out += std::string(out.empty() ? "" : " ") + units[i].name;
  return out;
}

TEST(TabOrder, ReadingOrderTopToBottomThenLeftToRight) {
  struct Case {
    const char* what;
    std::vector<Named> units;  // as the records list them
    const char* expected;
  };
  const Case cases[] = {
      {"the start window's own controls, in record order (the group box holds the rest)",
       {{"group", {0, 232, 384, 216}}, {"qr", {192, 39, 144, 32}}, {"convert", {24, 38, 144, 32}},
        {"generated", {8, 80, 368, 128}}, {"address", {108, 8, 272, 24}}},
       "address convert qr generated group"},
      {"the group box's controls: the list above the QQ box and its button",
       {{"fetch", {237, 183, 104, 24}}, {"qq", {60, 182, 156, 24}}, {"list", {8, 8, 368, 168}}},
       "list qq fetch"},
      {"a control a little higher but further right stays in the row of the one on its left",
       {{"right", {200, 10, 50, 30}}, {"left", {10, 14, 50, 30}}}, "left right"},
      {"a control lower than half the row's first control starts the next row",
       {{"below-left", {10, 26, 50, 30}}, {"above-right", {200, 10, 50, 30}}}, "above-right below-left"},
      {"controls at the same place keep their given order",
       {{"first", {5, 5, 10, 10}}, {"second", {5, 5, 10, 10}}}, "first second"},
      {"rectangles at the far end of the coordinates do not overflow the row's extent",
       {{"far", {0, INT32_MAX, 10, INT32_MAX}}, {"near", {0, 0, 10, 10}}}, "near far"},
      {"none", {}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, orderOf(c.units)) << c.what;
}

// A unit record with what the order reads: id, rectangle, tab stop, container.
lw::UnitRecord unit(uint32_t id, lw::TabBox b, bool tabStop, uint32_t parent = 0) {
  lw::UnitRecord u;
  u.id = id;
  u.left = b.left, u.top = b.top, u.width = b.width, u.height = b.height;
  u.state = lw::unit_state::Visible | (tabStop ? lw::unit_state::TabStop : 0);
  u.parentId = parent;
  return u;
}

std::string unitOrder(const lw::WindowRecord& w) {
  std::string out;
  for (size_t i : lw::TabOrderOfUnits(w)) out += (out.empty() ? "" : " ") + std::to_string(w.units[i].id);
  return out;
}

TEST(TabOrder, UnitsOnTheKeyboardsPathComeFirstPerContainerAndTheRestKeepRecordOrder) {
  // The start window's shape: a group box (10) holding a label and three tab stops,
  // a hidden menu entry, and the window's own controls; records in template order.
  lw::WindowRecord w;
  w.units.push_back(unit(1, {50, 50, 400, 504}, false));
  w.units.push_back(unit(11, {16, 181, 32, 32}, false, 10));
  w.units.push_back(unit(12, {237, 183, 104, 24}, true, 10));
  w.units.push_back(unit(13, {60, 182, 156, 24}, true, 10));
  w.units.push_back(unit(14, {8, 8, 368, 168}, true, 10));
  w.units.push_back(unit(10, {0, 232, 384, 216}, false));
  lw::UnitRecord menu;
  menu.id = 30;
  menu.menuItem = true;
  w.units.push_back(menu);
  w.units.push_back(unit(20, {192, 39, 144, 32}, true));
  w.units.push_back(unit(21, {24, 208, 320, 32}, false));
  w.units.push_back(unit(22, {24, 38, 144, 32}, true));
  w.units.push_back(unit(23, {3, 7, 98, 24}, false));
  w.units.push_back(unit(24, {8, 80, 368, 128}, true));
  w.units.push_back(unit(25, {108, 8, 272, 24}, true));
  EXPECT_EQ("14 13 12 25 22 20 24 10 11 21 23", unitOrder(w))
      << "list, QQ box, fetch inside the group; address, convert, QR, output, group; then the labels";

  // Container ids that point at each other, as a damaged section may have them: the
  // walk up ends, and every unit is placed once.
  lw::WindowRecord loop;
  loop.units.push_back(unit(1, {0, 0, 100, 100}, false));
  loop.units.push_back(unit(2, {0, 0, 10, 10}, true, 3));
  loop.units.push_back(unit(3, {0, 20, 10, 10}, false, 2));
  loop.units.push_back(unit(4, {0, 40, 10, 10}, false, 99));
  EXPECT_EQ("2 3 4", unitOrder(loop));
}

}  // namespace
