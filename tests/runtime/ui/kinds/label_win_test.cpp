// The label kind on screen: background colour, gradient backgrounds and border,
// pictures by mode, caption colour, effects and alignment; and its set rules.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/label_gradient.h"
#include "runtime/ui/properties/values.h"
#include "tests/runtime/picture/test_files.h"
#include "tests/runtime/ui/control_host_win.h"

namespace lw {
namespace {

using testing::Capture;
using testing::CaptureClient;
using testing::CountColour;
using testing::CountWhere;
using testing::MakeUnit;
using testing::PixelOf;
using testing::PropsBlock;

constexpr uint32_t kLabel = 0x16000200;
constexpr uint32_t kGreen = 0x00FF00, kRed = 0x0000FF, kBlue = 0xFF0000;  // colour values, red low
constexpr uint32_t kMarker = 0xFF000000;

struct Label : testing::ControlHost {
  Capture show(const LabelProps& p, int width = 100, int height = 50) {
    EXPECT_NE(Load({MakeUnit(kLabel, unit_type::Label, 10, 10, width, height, {}, PropsBlock(unit_type::Label, p))}),
              nullptr);
    return CaptureClient(Hwnd(kLabel));
  }
};

LabelProps plain(uint32_t back = kGreen) {
  LabelProps p;
  p.backColour = back;
  return p;
}

std::vector<uint8_t> solidBmp(int w, int h, uint32_t rgb) {
  return testing::makeBmp(std::vector<std::vector<uint32_t>>(h, std::vector<uint32_t>(w, rgb)), 24, {});
}

TEST_F(Label, AnEmptyCaptionPaintsOnlyTheBackgroundInTheButtonFaceByDefault) {
  Capture c = show(LabelProps{});
  ASSERT_EQ(c.width, 100);
  EXPECT_EQ(CountColour(c, PixelOf(GetSysColor(COLOR_BTNFACE))), 100 * 50) << "not black: the default marker";
  Capture green = show(plain());
  EXPECT_EQ(CountColour(green, PixelOf(kGreen)), 100 * 50);
}

TEST_F(Label, TheCaptionIsDrawnInTheTextColourAndAlignedAsAsked) {
  LabelProps p = plain();
  p.caption = "WWW";
  p.textColour = 0;
  Capture left = show(p, 200, 40);
  RECT dark = testing::BoundsOf(left, 0, 60);
  ASSERT_GT(dark.right, dark.left);
  EXPECT_LT(dark.right, 100) << "left aligned";
  EXPECT_GT(dark.top, 5) << "vertically centred";
  EXPECT_LT(dark.bottom, 35);
  p.hAlign = 2;
  Capture right = show(p, 200, 40);
  dark = testing::BoundsOf(right, 0, 60);
  EXPECT_GT(dark.left, 100) << "right aligned";
  EXPECT_GE(dark.right, 190);
  EXPECT_EQ(WindowTextOf(Hwnd(kLabel)), "WWW");
}

TEST_F(Label, WordWrapRunsFromTheTopAndTheFontSetsTheSize) {
  LabelProps p = plain();
  p.caption = "WWW WWW WWW WWW WWW WWW";
  p.wordWrap = 1;
  p.vAlign = 2;  // no effect with word wrap
  RECT wrapped = testing::BoundsOf(show(p, 80, 80), 0, 60);
  EXPECT_LT(wrapped.top, 6) << "from the top";
  EXPECT_GT(wrapped.bottom - wrapped.top, 20) << "more than one line";
  EXPECT_LE(wrapped.right, 80);
  p.wordWrap = 0;
  p.caption = "WWW";
  RECT small = testing::BoundsOf(show(p, 200, 80), 0, 60);
  WriteUnitProperty(testing::kHostWindow, kLabel, label_prop::Font, font_element::Size, Word(28), 0);  // in points
  RECT large = testing::BoundsOf(CaptureClient(Hwnd(kLabel)), 0, 60);
  EXPECT_GT(large.bottom - large.top, 2 * (small.bottom - small.top)) << "a 28-point font";
  EXPECT_GT(large.bottom, 65) << "bottom aligned without word wrap";
}

TEST_F(Label, TextEffectsAddWhiteOrBlackCopies) {
  LabelProps p = plain();
  p.caption = "WWWW";
  p.textColour = kRed;
  const uint32_t white = 0xFFFFFF, black = 0;
  Capture none = show(p);
  EXPECT_EQ(CountColour(none, white, {}, 30), 0);
  EXPECT_EQ(CountColour(none, black, {}, 30), 0);
  EXPECT_GT(CountWhere(none, testing::Reddish), 10);
  p.textEffect = 1;
  EXPECT_GT(CountColour(show(p), white, {}, 30), 5) << "raised: a white copy";
  p.textEffect = 3;
  Capture shadow = show(p);
  EXPECT_GT(CountColour(shadow, black, {}, 30), 5) << "shadow: a black copy";
  EXPECT_GT(CountWhere(shadow, testing::Reddish), 10);
}

TEST_F(Label, AGradientBackgroundFollowsTheStopsRowByRow) {
  LabelProps p = plain();
  p.gradientBackground = 1;  // from the top
  p.gradientColours[0] = kRed;
  p.gradientColours[1] = kMarker;  // left out
  p.gradientColours[2] = kBlue;
  Capture c = show(p, 100, 50);
  uint32_t stopsIn[3] = {kRed, kBlue, kMarker};
  GradientStops stops = MakeGradientStops(stopsIn);
  for (int y : {0, 10, 25, 49}) {
    SCOPED_TRACE(y);
    const uint32_t expected = PixelOf(GradientColourAt(stops, y, 50));
    EXPECT_EQ(c.at(0, y), expected);
    EXPECT_EQ(c.at(99, y), expected) << "the same along the row";
  }
  p.gradientBackground = 6;  // from the right
  Capture h = show(p, 100, 50);
  EXPECT_EQ(h.at(99, 20), PixelOf(kRed));
  EXPECT_EQ(h.at(0, 20), PixelOf(GradientColourAt(stops, 99, 100)));
  p.gradientColours[2] = kMarker;  // one stop left: the background colour instead
  EXPECT_EQ(CountColour(show(p), PixelOf(kGreen)), 100 * 50);
}

TEST_F(Label, TheGradientBorderNeedsTwoColoursAndShrinksTheArea) {
  LabelProps p = plain();
  p.border = 6;
  p.gradientBorderWidth = 8;
  p.gradientBorderColours[0] = 0x000000;
  p.gradientBorderColours[1] = 0xFFFFFF;
  p.gradientBorderColours[2] = 0x000000;
  Capture c = show(p, 100, 50);
  EXPECT_EQ(c.at(0, 0), 0u) << "outer ring: first colour";
  EXPECT_EQ(c.at(3, 25), 0xFFFFFFu) << "middle ring: second colour";
  EXPECT_EQ(c.at(96, 25), 0xFFFFFFu);
  EXPECT_EQ(c.at(7, 7), 0u) << "inner ring: last colour";
  EXPECT_EQ(c.at(8, 8), PixelOf(kGreen)) << "the area inside the band";
  EXPECT_EQ(CountColour(c, PixelOf(kGreen)), (100 - 16) * (50 - 16));
  p.gradientBorderColours[0] = p.gradientBorderColours[2] = kMarker;
  EXPECT_EQ(CountColour(show(p), PixelOf(kGreen)), 100 * 50) << "one colour: no border, the full area";
}

TEST_F(Label, PicturesAreDrawnByMode) {
  LabelProps p = plain();
  p.picture = solidBmp(10, 10, 0xFF0000);  // red (the builder's 0xRRGGBB)
  p.pictureMode = 0;
  Capture corner = show(p, 60, 40);
  EXPECT_EQ(testing::BoundsOf(corner, 0xFF0000).right, 10);
  EXPECT_EQ(CountColour(corner, 0xFF0000), 100);
  EXPECT_EQ(CountColour(corner, PixelOf(kGreen)), 60 * 40 - 100);
  p.pictureMode = 1;
  EXPECT_EQ(CountColour(show(p, 60, 40), 0xFF0000), 60 * 40) << "tiled over the whole area";
  // Tiles start at the corner of the text area, inside a gradient border.
  LabelProps tiled = p;
  std::vector<std::vector<uint32_t>> halves(10, std::vector<uint32_t>(10, 0xFF0000));
  for (auto& row : halves) std::fill(row.begin() + 5, row.end(), 0x0000FF);
  tiled.picture = testing::makeBmp(halves, 24, {});
  tiled.border = 6;
  tiled.gradientBorderWidth = 8;
  tiled.gradientBorderColours[0] = tiled.gradientBorderColours[1] = tiled.gradientBorderColours[2] = 0;
  Capture t = show(tiled, 60, 40);
  for (int x : {8, 12, 18, 22, 48}) EXPECT_EQ(t.at(x, 9), 0xFF0000u) << "x " << x;
  for (int x : {13, 17, 23, 43}) EXPECT_EQ(t.at(x, 9), 0x0000FFu) << "x " << x;
  EXPECT_EQ(t.at(13, 25), 0x0000FFu) << "the next row of tiles";
  EXPECT_EQ(t.at(4, 9), 0u) << "the border stays";
  p.pictureMode = 2;
  Capture fitted = show(p, 60, 40);
  RECT r = testing::BoundsOf(fitted, 0xFF0000);
  EXPECT_EQ(r.left, 25);
  EXPECT_EQ(r.top, 15);
  EXPECT_EQ(r.right - r.left, 10) << "never enlarged";
  p.picture = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
  EXPECT_EQ(CountColour(show(p, 60, 40), PixelOf(kGreen)), 60 * 40) << "undecodable: background only";
}

TEST_F(Label, SettingPropertiesClampsAndRepaints) {
  ASSERT_NE(Load({MakeUnit(kLabel, unit_type::Label, 10, 10, 100, 50, {}, PropsBlock(unit_type::Label, plain()))}),
            nullptr);
  struct Case {
    int number, written, read;
  } cases[] = {{label_prop::TextEffect, 9, 3},          {label_prop::Border, 8, 6},
               {label_prop::GradientBorderWidth, 2, 5}, {label_prop::GradientBorderWidth, 12, 12},
               {label_prop::PictureMode, 7, 2},         {label_prop::GradientBackground, 12, 8},
               {label_prop::HAlign, 5, 2},              {label_prop::VAlign, 5, 2},
               {label_prop::TextEffect, -4, 0}};
  for (const Case& c : cases) {
    WriteInt(kLabel, c.number, c.written);
    EXPECT_EQ(ReadInt(kLabel, c.number), c.read) << "property " << c.number << " written " << c.written;
  }
  WriteText(kLabel, label_prop::Caption, "新的标题");
  EXPECT_EQ(ReadText(kLabel, label_prop::Caption), "新的标题");
  EXPECT_EQ(WindowTextOf(Hwnd(kLabel)), "新的标题") << "the caption is also the window text";
  WriteInt(kLabel, label_prop::BackColour, int32_t(kBlue));
  WriteText(kLabel, label_prop::Caption, "");
  WriteInt(kLabel, label_prop::Border, 0);
  WriteInt(kLabel, label_prop::GradientBackground, 0);  // the clamping above left a gradient on
  EXPECT_EQ(CountColour(CaptureClient(Hwnd(kLabel)), PixelOf(kBlue)), 100 * 50) << "repainted in the new colour";
}

}  // namespace
}  // namespace lw
