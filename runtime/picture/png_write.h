// Pixels to the bytes of a PNG file, through libpng's simplified writing interface:
// what a picture box saves, and what the tests and benchmarks serve as a picture
// service's answer. Pure.
#pragma once
#include <cstdint>

#include "runtime/core/values/types.h"

namespace lw {

// How the pixels handed over lie: rows top to bottom, each `width` pixels with no
// padding between rows.
enum class PngPixels : uint32_t {
  Grey,  // one byte a pixel
  Rgb,   // red, green, blue
  Rgba,  // red, green, blue, alpha
  Bgrx,  // blue, green, red and a byte that is ignored: a platform bitmap's pixels, written opaque
};

// The PNG file of `width` × `height` pixels as a new byte set (the caller frees it);
// null when a side is 0, the sizes do not fit in memory, or libpng refuses them.
ByteSet EncodePng(const uint8_t* pixels, uint32_t width, uint32_t height, PngPixels layout);

}  // namespace lw
