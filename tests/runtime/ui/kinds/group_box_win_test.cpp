// The group box kind as a container: the units it holds move into it, their
// notifications still reach their units, and its colours and alignment apply.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/runtime/ui/control_host_win.h"

namespace lw {
namespace {

using testing::Bind;
using testing::Log;
using testing::MakeUnit;
using testing::PropsBlock;

constexpr uint32_t kGroup = 0x16000500, kInnerButton = 0x16000501, kInnerEdit = 0x16000502;

struct GroupBox : testing::ControlHost {
  HWND show(const GroupBoxProps& p) {
    std::vector<UnitRecord> units;
    units.push_back(MakeUnit(kInnerButton, unit_type::Button, 10, 30, 80, 24, {Bind(button_event::Clicked, 0)}, {},
                             unit_state::Visible, kGroup));
    units.push_back(MakeUnit(kInnerEdit, unit_type::EditBox, 100, 30, 80, 24, {Bind(edit_event::Changed, 1)}, {},
                             unit_state::Visible, kGroup));
    UnitRecord group = MakeUnit(kGroup, unit_type::GroupBox, 20, 20, 240, 120, {}, PropsBlock(unit_type::GroupBox, p));
    group.children = {kInnerButton, kInnerEdit};
    units.push_back(group);
    EXPECT_NE(Load(std::move(units)), nullptr);
    return Hwnd(kGroup);
  }
};

TEST_F(GroupBox, HoldsItsUnitsAndPassesTheirNotificationsOn) {
  HWND group = show(GroupBoxProps{});
  HWND button = Hwnd(kInnerButton), edit = Hwnd(kInnerEdit);
  EXPECT_EQ(GetParent(button), group);
  EXPECT_EQ(GetParent(edit), group);
  RECT r;
  GetWindowRect(button, &r);
  MapWindowPoints(nullptr, group, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10) << "positions are relative to the group box";
  EXPECT_EQ(r.top, 30);
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(Log().calls[0], 1) << "the click reaches the button's unit through the group box";
  WriteText(kInnerEdit, edit_prop::Text, "x");
  SendMessageA(edit, WM_CHAR, 'y', 0);
  EXPECT_EQ(Log().calls[1], 2);
}

// Units are made in their containers, whatever the order of the records: a button
// listed before the box it is in, and that box before the box holding it. Two
// boxes of a damaged section that name each other still load, neither inside
// itself.
TEST_F(GroupBox, NestedBoxesHoldTheirUnitsAndBoxesNamingEachOtherStillLoad) {
  constexpr uint32_t kOuter = 0x16000510, kInner = 0x16000511, kButton = 0x16000512, kLoopA = 0x16000513,
                     kLoopB = 0x16000514;
  std::vector<UnitRecord> units;
  units.push_back(MakeUnit(kButton, unit_type::Button, 5, 20, 60, 24, {}, {}, unit_state::Visible, kInner));
  units.push_back(MakeUnit(kInner, unit_type::GroupBox, 10, 20, 120, 80, {},
                           PropsBlock(unit_type::GroupBox, GroupBoxProps{}), unit_state::Visible, kOuter));
  units.push_back(
      MakeUnit(kOuter, unit_type::GroupBox, 10, 10, 200, 140, {}, PropsBlock(unit_type::GroupBox, GroupBoxProps{})));
  units.push_back(MakeUnit(kLoopA, unit_type::GroupBox, 220, 10, 60, 60, {},
                           PropsBlock(unit_type::GroupBox, GroupBoxProps{}), unit_state::Visible, kLoopB));
  units.push_back(MakeUnit(kLoopB, unit_type::GroupBox, 220, 80, 60, 60, {},
                           PropsBlock(unit_type::GroupBox, GroupBoxProps{}), unit_state::Visible, kLoopA));
  units[1].children = {kButton};
  units[2].children = {kInner};
  units[3].children = {kLoopB};
  units[4].children = {kLoopA};
  ASSERT_NE(Load(std::move(units)), nullptr);
  EXPECT_EQ(GetParent(Hwnd(kButton)), Hwnd(kInner));
  EXPECT_EQ(GetParent(Hwnd(kInner)), Hwnd(kOuter));
  for (uint32_t id : {kLoopA, kLoopB}) {
    HWND h = Hwnd(id);
    ASSERT_TRUE(IsWindow(h));
    int depth = 0;
    for (HWND p = GetParent(h); p && depth < 8; p = GetParent(p)) {
      EXPECT_NE(p, h) << "expected no box inside itself";
      ++depth;
    }
    EXPECT_LT(depth, 8) << "expected the chain of containers to end";
  }
}

TEST_F(GroupBox, ColoursAndCaptionAlignment) {
  GroupBoxProps p;
  p.caption = "MMMMMM";
  p.textColour = 0x0000FF;  // red
  p.backColour = 0x00FFFF;  // yellow
  p.captionAlign = 2;
  HWND group = show(p);
  EXPECT_EQ(GetWindowLongA(group, GWL_STYLE) & BS_CENTER, BS_RIGHT);
  testing::Capture c = testing::CaptureClient(group);
  EXPECT_EQ(c.at(120, 100), 0xFFFF00u) << "the inside is filled with the background colour";
  EXPECT_GT(testing::CountWhere(c, testing::Reddish), 10) << "the caption in the text colour";
  RECT red = testing::BoundsOf(c, 0xFF0000, 100);
  EXPECT_GT(red.left, 120) << "right-aligned caption";
  WriteInt(kGroup, group_box_prop::CaptionAlign, 0);
  EXPECT_EQ(GetWindowLongA(group, GWL_STYLE) & BS_CENTER, BS_LEFT);
}

}  // namespace
}  // namespace lw
