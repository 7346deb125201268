// Pixels written as PNG bytes through libpng's simplified writing interface, for
// the tests and benchmarks that play a picture service or feed the decoders.
#pragma once
#include <png.h>

#include <cstdint>
#include <string>

namespace lw::testing {

// Rows of `width` pixels, top to bottom, of `channels` bytes a pixel (1 grey, 3 red,
// green and blue, 4 with alpha too), as the bytes of a PNG file; empty when libpng
// refuses them.
inline std::string PngOf(const uint8_t* pixels, int width, int height, int channels = 1) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  image.width = uint32_t(width);
  image.height = uint32_t(height);
  image.format = channels == 4 ? PNG_FORMAT_RGBA : channels == 3 ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr);  // asks for the size
  std::string png(size, '\0');
  if (!png_image_write_to_memory(&image, &png[0], &size, 0, pixels, 0, nullptr)) return std::string();
  png.resize(size);
  return png;
}

}  // namespace lw::testing
