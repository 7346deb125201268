// The label's gradient background and gradient border: which colour every pixel
// gets, worked out without the platform so the drawing code only copies pixels.
// Colours are colour values (red in the low byte); pixels are blue, green, red,
// alpha bytes, top row first.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lw {

// The colour stops of a gradient: the given colours in order, leaving out the
// default marker 0xFF000000. Fewer than two stops draw nothing.
struct GradientStops {
  uint32_t colour[3];
  int count;
};
GradientStops MakeGradientStops(const uint32_t colours[3]);

// Largest side of the tiles a gradient background is rendered in.
constexpr int kGradientTile = 50;

// The colour at position p of a gradient of length L over the stops: the stops are
// spread over L in equal segments of L / (count - 1) (integer division) and each
// channel is interpolated linearly within its segment, truncated; past the last
// segment the last stop is used.
uint32_t GradientColourAt(const GradientStops& stops, int64_t p, int64_t length);

// Where pixel (x, y) of a width × height area lies along gradient style 1 to 8:
// 1 from the top, 5 from the bottom, 2 from the left, 6 from the right; the
// diagonals start from a corner (3 top-left, 4 top-right, 7 bottom-left,
// 8 bottom-right) and run over twice the smaller side. False for other styles.
bool GradientPosition(int style, int x, int y, int width, int height, int64_t* p, int64_t* length);

// Renders gradient style `style` over a width × height area into `pixels` (width ×
// height × 4 bytes). False, leaving the pixels alone, when the style is not 1 to 8,
// the area is empty or there are fewer than two stops.
bool RenderGradient(int style, const GradientStops& stops, int width, int height, uint8_t* pixels);

// The colour of ring `ring` (0 the outermost) of a gradient border `bandWidth`
// rings wide: the stops run from the outer edge (first stop) to the innermost
// ring (last stop).
uint32_t GradientBorderColour(const GradientStops& stops, int ring, int bandWidth);

}  // namespace lw
