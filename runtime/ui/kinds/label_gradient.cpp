#include "runtime/ui/kinds/label_gradient.h"

#include <algorithm>

namespace lw {

namespace {

constexpr uint32_t kDefaultMarker = 0xFF000000;

int channel(uint32_t colour, int shift) { return int(colour >> shift & 0xFF); }

}  // namespace

GradientStops MakeGradientStops(const uint32_t colours[3]) {
  GradientStops s = {{0, 0, 0}, 0};
  for (int i = 0; i < 3; ++i)
    if (colours[i] != kDefaultMarker) s.colour[s.count++] = colours[i] & 0x00FFFFFF;
  return s;
}

uint32_t GradientColourAt(const GradientStops& stops, int64_t p, int64_t length) {
  if (stops.count <= 0) return 0;
  const int k = stops.count;
  if (k == 1) return stops.colour[0];
  const int64_t s = length / (k - 1);
  const int64_t segment = s ? p / s : 0;
  if (segment >= k - 1) return stops.colour[k - 1];
  double t = s ? double(p % s) / double(s) : 0.0;
  if (t > 1) t = 1;
  const uint32_t from = stops.colour[segment], to = stops.colour[segment + 1];
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = channel(from, shift), b = channel(to, shift);
    int v = int(a + (b - a) * t);
    v = std::min(255, std::max(0, v));
    out |= uint32_t(v) << shift;
  }
  return out;
}

bool GradientPosition(int style, int x, int y, int width, int height, int64_t* p, int64_t* length) {
  const int64_t fromLeft = x, fromTop = y, fromRight = width - 1 - x, fromBottom = height - 1 - y;
  const int64_t diagonal = 2 * int64_t(std::min(width, height));
  switch (style) {
    case 1: *p = fromTop, *length = height; return true;
    case 5: *p = fromBottom, *length = height; return true;
    case 2: *p = fromLeft, *length = width; return true;
    case 6: *p = fromRight, *length = width; return true;
    case 3: *p = fromLeft + fromTop, *length = diagonal; return true;
    case 4: *p = fromRight + fromTop, *length = diagonal; return true;
    case 7: *p = fromLeft + fromBottom, *length = diagonal; return true;
    case 8: *p = fromRight + fromBottom, *length = diagonal; return true;
    default: return false;
  }
}

bool RenderGradient(int style, const GradientStops& stops, int width, int height, uint8_t* pixels) {
  if (style < 1 || style > 8 || width <= 0 || height <= 0 || stops.count < 2 || !pixels) return false;
  // Tile by tile, so a large label keeps its working set small.
  for (int ty = 0; ty < height; ty += kGradientTile)
    for (int tx = 0; tx < width; tx += kGradientTile) {
      const int ey = std::min(height, ty + kGradientTile), ex = std::min(width, tx + kGradientTile);
      for (int y = ty; y < ey; ++y) {
        uint8_t* o = pixels + (size_t(y) * size_t(width) + size_t(tx)) * 4;
        for (int x = tx; x < ex; ++x, o += 4) {
          int64_t p, length;
          GradientPosition(style, x, y, width, height, &p, &length);
          const uint32_t c = GradientColourAt(stops, p, length);
          o[0] = uint8_t(c >> 16);
          o[1] = uint8_t(c >> 8);
          o[2] = uint8_t(c);
          o[3] = 255;
        }
      }
    }
  return true;
}

uint32_t GradientBorderColour(const GradientStops& stops, int ring, int bandWidth) {
  // Over bandWidth - 1 so the innermost ring reaches the last stop.
  return GradientColourAt(stops, ring, bandWidth > 1 ? bandWidth - 1 : 1);
}

}  // namespace lw
