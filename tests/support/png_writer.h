// Pixels written as PNG bytes by the program's own PNG writer, for the tests and
// benchmarks that play a picture service or feed the decoders.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/core/values/memory.h"
#include "runtime/picture/png_write.h"

namespace lw::testing {

// Rows of `width` pixels, top to bottom, of `channels` bytes a pixel (1 grey, 3 red,
// green and blue, 4 with alpha too), as the bytes of a PNG file; empty when the
// writer refuses them.
inline std::string PngOf(const uint8_t* pixels, int width, int height, int channels = 1) {
  const PngPixels layout = channels == 4 ? PngPixels::Rgba : channels == 3 ? PngPixels::Rgb : PngPixels::Grey;
  ByteSet png = EncodePng(pixels, uint32_t(width), uint32_t(height), layout);
  if (!png) return std::string();
  std::string bytes(reinterpret_cast<const char*>(byteSetData(png)), byteSetLength(png));
  FreeMemory(png);
  return bytes;
}

}  // namespace lw::testing
