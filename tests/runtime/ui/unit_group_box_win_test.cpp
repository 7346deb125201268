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
    UnitRecord group = MakeUnit(kGroup, unit_type::GroupBox, 20, 20, 240, 120, {},
                                PropsBlock(unit_type::GroupBox, p));
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
