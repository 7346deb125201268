// The button kind: click and focus events, default-button and alignment styles,
// icon and bitmap picture buttons, caption writes.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/ui/kinds/control_kinds_win.h"
#include "tests/runtime/picture/test_files.h"
#include "tests/runtime/ui/control_host_win.h"
#include "tests/support/object_counts_win.h"

namespace lw {
namespace {

using testing::Bind;
using testing::Log;
using testing::MakeUnit;
using testing::PropsBlock;

constexpr uint32_t kButton = 0x16000400;

struct Button : testing::ControlHost {
  HWND show(const ButtonProps& p, std::vector<EventBinding> events = {}) {
    EXPECT_NE(Load({MakeUnit(kButton, unit_type::Button, 20, 20, 120, 60, std::move(events),
                             PropsBlock(unit_type::Button, p), unit_state::Visible | unit_state::TabStop)}),
              nullptr);
    return Hwnd(kButton);
  }
  static LONG style(HWND h) { return GetWindowLongA(h, GWL_STYLE); }
};

std::vector<uint8_t> solidBmp(int w, int h, uint32_t rgb) {
  return testing::makeBmp(std::vector<std::vector<uint32_t>>(h, std::vector<uint32_t>(w, rgb)), 24, {});
}

// The mouse pointer, written as cursor data or as a standard cursor's number: the
// cursors made from data go when replaced and with their window, and the shared
// standard cursor is never destroyed.
TEST_F(Button, MousePointerCursorsGoWithTheirUnitAndSharedOnesStay) {
  testing::IconImage image;
  image.rows.assign(32, std::vector<uint32_t>(32, 0xFF00FFFF));
  image.bits = 32;
  const std::vector<uint8_t> cursorFile = testing::makeIcon({image}, 2);
  const std::vector<uint8_t> arrow = {1, 0, 0, 0};  // standard cursor 1, the arrow
  HCURSOR shared = LoadCursorW(nullptr, IDC_ARROW);
  auto round = [&] {
    show(ButtonProps{});  // the window of the last round, with its cursor, closed
    for (int i = 0; i < 20; ++i) WriteBytes(kButton, unit_prop::MousePointer, i % 2 ? arrow : cursorFile);
  };
  round();  // the system's standard cursors are loaded once per process
  round();
  testing::ObjectCounts before = testing::CountObjects();
  for (int i = 0; i < 5; ++i) round();
  testing::ObjectCounts after = testing::CountObjects();
  EXPECT_EQ(before.user, after.user) << "icons and cursors";
  // Wine may drop a cached object, or make one at a moment that depends on timing;
  // a leak grows with every round.
  EXPECT_LT(after.gdi, before.gdi + 5) << "GDI objects";
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(shared, &info)) << "expected the shared arrow cursor alive";
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  EXPECT_EQ(shared, LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(Button, AClickRaisesClickedAndFocusRaisesItsEvents) {
  ButtonProps p;
  p.caption = "go";
  HWND h = show(p, {Bind(button_event::Clicked, 0), Bind(unit_event::FocusGained, 1), Bind(unit_event::FocusLost, 2)});
  SendMessageA(h, BM_CLICK, 0, 0);
  EXPECT_EQ(Log().calls[0], 1);
  SendMessageA(h, BM_CLICK, 0, 0);
  EXPECT_EQ(Log().calls[0], 2);
  SetFocus(nullptr);
  const int gained = Log().calls[1];
  SetFocus(h);
  EXPECT_EQ(Log().calls[1], gained + 1);
  SetFocus(nullptr);
  EXPECT_GE(Log().calls[2], 1);
}

TEST_F(Button, StylesFollowDefaultButtonAndAlignment) {
  ButtonProps p;
  HWND h = show(p);
  // The default look goes to the button Enter would press: the focused one, else
  // the one marked as the window's default, else none.
  EXPECT_EQ(style(h) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "the focused button";
  SetFocus(nullptr);
  WriteInt(kButton, button_prop::DefaultButton, 0);
  EXPECT_EQ(style(h) & BS_TYPEMASK, BS_PUSHBUTTON) << "no focus and no mark";
  EXPECT_EQ(style(h) & BS_CENTER, BS_CENTER);
  EXPECT_EQ(style(h) & BS_VCENTER, BS_VCENTER);
  WriteInt(kButton, button_prop::DefaultButton, 1);
  EXPECT_EQ(style(h) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "marked as the default";
  WriteInt(kButton, button_prop::HAlign, 0);
  WriteInt(kButton, button_prop::VAlign, 2);
  EXPECT_EQ(style(h) & BS_CENTER, BS_LEFT);
  EXPECT_EQ(style(h) & BS_VCENTER, BS_BOTTOM);
  WriteInt(kButton, button_prop::HAlign, 9);
  EXPECT_EQ(ReadInt(kButton, button_prop::HAlign), 2);
  EXPECT_EQ(Hwnd(kButton), h) << "buttons change in place";
  WriteText(kButton, button_prop::Caption, "新标题");
  EXPECT_EQ(WindowTextOf(h), "新标题");
  EXPECT_EQ(ReadText(kButton, button_prop::Caption), "新标题");
}

TEST_F(Button, IconPicturesMakeIconButtonsAndOthersBitmapButtons) {
  ButtonProps p;
  p.picture = testing::readSample("multi.ico");
  ASSERT_FALSE(p.picture.empty());
  HWND h = show(p);
  EXPECT_TRUE(style(h) & BS_ICON);
  EXPECT_NE(SendMessageA(h, BM_GETIMAGE, IMAGE_ICON, 0), 0);
  WriteBytes(kButton, button_prop::Picture, solidBmp(24, 24, 0x00FF00));
  EXPECT_FALSE(style(h) & BS_ICON);
  EXPECT_TRUE(style(h) & BS_BITMAP);
  EXPECT_NE(SendMessageA(h, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  testing::Capture c = testing::CaptureClient(h);
  EXPECT_GT(testing::CountColour(c, 0x00FF00), 24 * 24 / 2) << "the picture shows on the face";
  WriteBytes(kButton, button_prop::Picture, {});
  EXPECT_FALSE(style(h) & (BS_ICON | BS_BITMAP)) << "no picture: a caption button again";
}

}  // namespace
}  // namespace lw
