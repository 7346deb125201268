// The label's gradient colours: stops, segment interpolation with truncation, the
// position of a pixel along each style, and rendering a whole area.
#include "runtime/ui/kinds/label_gradient.h"

#include <gtest/gtest.h>

#include <vector>

namespace lw {
namespace {

constexpr uint32_t kMarker = 0xFF000000;

GradientStops stops(std::initializer_list<uint32_t> colours) {
  uint32_t c[3] = {kMarker, kMarker, kMarker};
  int i = 0;
  for (uint32_t v : colours) c[i++] = v;
  return MakeGradientStops(c);
}

TEST(GradientStops, TheDefaultMarkerIsLeftOut) {
  uint32_t colours[3] = {0x808080, kMarker, 0x0000FF};
  GradientStops s = MakeGradientStops(colours);
  ASSERT_EQ(s.count, 2);
  EXPECT_EQ(s.colour[0], 0x808080u);
  EXPECT_EQ(s.colour[1], 0x0000FFu);
  uint32_t none[3] = {kMarker, kMarker, kMarker};
  EXPECT_EQ(MakeGradientStops(none).count, 0);
}

TEST(GradientColour, InterpolatesEachChannelWithinItsSegmentAndTruncates) {
  // Black to white over 100: segment 100, t = p / 100, value = 255 t truncated.
  GradientStops bw = stops({0x000000, 0xFFFFFF});
  EXPECT_EQ(GradientColourAt(bw, 0, 100), 0x000000u);
  EXPECT_EQ(GradientColourAt(bw, 50, 100), 0x7F7F7Fu) << "127.5 truncates to 127";
  EXPECT_EQ(GradientColourAt(bw, 99, 100), 0xFCFCFCu) << "252.45 truncates to 252";
  EXPECT_EQ(GradientColourAt(bw, 100, 100), 0xFFFFFFu) << "past the last segment: the last stop";
  // Falling channels truncate the whole value: 255 - 127.5 = 127.5 -> 127.
  GradientStops wb = stops({0xFFFFFF, 0x000000});
  EXPECT_EQ(GradientColourAt(wb, 50, 100), 0x7F7F7Fu);
  // Channels move independently: blue falls (191.25) while red rises (63.75).
  GradientStops br = stops({0xFF0000, 0x0000FF});
  EXPECT_EQ(GradientColourAt(br, 25, 100), 0xBF003Fu);
}

TEST(GradientColour, ThreeStopsMakeTwoSegmentsOfIntegerLength) {
  GradientStops s = stops({0x000000, 0x0000FF, 0x00FF00});  // black, red, green
  // L = 101: s = 50; p 50 starts the second segment at red.
  EXPECT_EQ(GradientColourAt(s, 49, 101), 0x0000F9u);  // 255 * 49 / 50 = 249.9
  EXPECT_EQ(GradientColourAt(s, 50, 101), 0x0000FFu);
  EXPECT_EQ(GradientColourAt(s, 75, 101), 0x007F7Fu);  // red 255 - 127.5, green 127.5
  EXPECT_EQ(GradientColourAt(s, 100, 101), 0x00FF00u);
  // A length shorter than the segment count: every segment is empty, first stop.
  EXPECT_EQ(GradientColourAt(s, 0, 1), 0x000000u);
}

TEST(GradientPosition, EachStyleMeasuresFromItsEdgeOrCorner) {
  int64_t p, length;
  const int w = 40, h = 10;
  struct Case {
    int style, x, y;
    int64_t p, length;
  } cases[] = {
      {1, 3, 0, 0, 10},  {1, 3, 9, 9, 10},  {5, 3, 9, 0, 10},  {5, 3, 0, 9, 10},  // vertical
      {2, 0, 4, 0, 40},  {2, 39, 4, 39, 40}, {6, 39, 4, 0, 40}, {6, 0, 4, 39, 40},  // horizontal
      {3, 0, 0, 0, 20},  {3, 39, 9, 48, 20},  // top-left corner, twice the smaller side
      {4, 39, 0, 0, 20}, {7, 0, 9, 0, 20}, {8, 39, 9, 0, 20}, {8, 0, 0, 48, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    ASSERT_TRUE(GradientPosition(c.style, c.x, c.y, w, h, &p, &length));
    EXPECT_EQ(p, c.p);
    EXPECT_EQ(length, c.length);
  }
  EXPECT_FALSE(GradientPosition(0, 0, 0, w, h, &p, &length));
  EXPECT_FALSE(GradientPosition(9, 0, 0, w, h, &p, &length));
}

TEST(RenderGradient, FillsTheAreaAcrossTileEdgesAndRefusesWhatDrawsNothing) {
  // 120 wide spans three tiles: the colour still follows the position, not the tile.
  const int w = 120, h = 60;
  std::vector<uint8_t> px(size_t(w) * h * 4, 0xAA);
  GradientStops s = stops({0x000000, 0xFFFFFF});
  ASSERT_TRUE(RenderGradient(2, s, w, h, px.data()));
  for (int x : {0, 49, 50, 51, 100, 119}) {
    const uint8_t* o = &px[(size_t(59) * w + x) * 4];
    const int expected = int(255.0 * x / 120);
    EXPECT_EQ(o[0], expected) << "x " << x;
    EXPECT_EQ(o[1], expected);
    EXPECT_EQ(o[2], expected);
    EXPECT_EQ(o[3], 255);
  }
  std::vector<uint8_t> untouched(16, 0xAA), buf(untouched);
  EXPECT_FALSE(RenderGradient(1, stops({0x123456}), 2, 2, buf.data())) << "one stop draws nothing";
  EXPECT_FALSE(RenderGradient(0, s, 2, 2, buf.data()));
  EXPECT_FALSE(RenderGradient(1, s, 0, 2, buf.data()));
  EXPECT_EQ(buf, untouched);
}

TEST(RenderGradient, PixelsAreBlueGreenRed) {
  std::vector<uint8_t> px(4 * 4);
  ASSERT_TRUE(RenderGradient(1, stops({0x0000FF, 0x0000FF}), 2, 2, px.data()));  // red both ends
  EXPECT_EQ(px[0], 0);
  EXPECT_EQ(px[1], 0);
  EXPECT_EQ(px[2], 255);
}

TEST(GradientBorder, RunsFromTheFirstStopOutsideToTheLastInside) {
  GradientStops s = stops({0x808080, 0xFFFFFF, 0x808080});
  EXPECT_EQ(GradientBorderColour(s, 0, 8), 0x808080u);
  EXPECT_EQ(GradientBorderColour(s, 3, 8), 0xFFFFFFu);
  EXPECT_EQ(GradientBorderColour(s, 7, 8), 0x808080u);
  GradientStops two = stops({0x000000, 0xFFFFFF});
  EXPECT_EQ(GradientBorderColour(two, 0, 1), 0x000000u) << "a one-ring band takes the first stop";
}

}  // namespace
}  // namespace lw
