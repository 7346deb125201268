// Display-scale arithmetic: 96-DPI units to device pixels and back, over the table
// of scales the program is tested at (100 % to 200 %).
#include "runtime/ui/scale/display_scale.h"

#include <gtest/gtest.h>

namespace {

using lw::ScaleFromDpi;
using lw::ScaleToDpi;

// The scales every case runs over: 100, 125, 150, 175 and 200 %.
constexpr int kDpis[] = {96, 120, 144, 168, 192};

TEST(DisplayScale, KnownValuesRoundToTheNearestPixel) {
  struct Case {
    int units, dpi, pixels;
    const char* guards;
  } const cases[] = {
      {270, 96, 270, "100 % is the identity"},
      {270, 144, 405, "the QR box at 150 %"},
      {13, 120, 16, "16.25 rounds down"},
      {14, 120, 18, "17.5 rounds up, as MulDiv does"},
      {-14, 120, -18, "negative halves round away from zero, like positive ones"},
      {-11, 144, -17, "the default GUI font's height at 150 % (-16.5)"},
      {0, 192, 0, "zero stays zero"},
      {100, 0, 100, "an unknown scale counts as 100 %"},
      {1 << 20, 192, 1 << 21, "large positions do not overflow"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.pixels, ScaleToDpi(c.units, c.dpi)) << c.guards;
}

TEST(DisplayScale, UnitsReadBackAsWrittenAtEveryScale) {
  // A property written and read back, or a window moved to another scale and back,
  // must not drift by a pixel.
  for (int dpi : kDpis) {
    for (int v = -600; v <= 2000; ++v) {
      ASSERT_EQ(v, ScaleFromDpi(ScaleToDpi(v, dpi), dpi)) << "at " << dpi << " DPI";
      for (int other : kDpis)
        ASSERT_EQ(ScaleToDpi(v, dpi), lw::RescaleBetween(lw::RescaleBetween(ScaleToDpi(v, dpi), dpi, other), other, dpi))
            << v << " units from " << dpi << " to " << other << " DPI and back";
    }
  }
}

TEST(DisplayScale, BoxesScaleTheirExtentNotTheirEdges) {
  // 13 + 13 at 120 %: the edges are 16 and 33, but a width of 13 is 16 wherever it sits.
  const lw::ScaledBox b = lw::ScaleBoxToDpi({13, 13, 13, 13}, 120);
  EXPECT_EQ(16, b.left);
  EXPECT_EQ(16, b.width) << "the width must not depend on the position";
  for (int dpi : kDpis) {
    const lw::ScaledBox back = lw::ScaleBoxFromDpi(lw::ScaleBoxToDpi({-7, 251, 270, 33}, dpi), dpi);
    EXPECT_EQ(-7, back.left);
    EXPECT_EQ(251, back.top);
    EXPECT_EQ(270, back.width);
    EXPECT_EQ(33, back.height);
  }
}

TEST(DisplayScale, FontHeightsKeepTheirSignAndNeverVanish) {
  for (int dpi : kDpis) {
    EXPECT_EQ(0, lw::ScaleFontHeight(0, dpi)) << "the default height stays the default";
    EXPECT_GT(0, lw::ScaleFontHeight(-1, dpi)) << "a character height stays one";
    EXPECT_LT(0, lw::ScaleFontHeight(1, dpi)) << "a cell height stays one";
    EXPECT_EQ(ScaleToDpi(-12, dpi), lw::ScaleFontHeight(-12, dpi));
  }
}

}  // namespace
