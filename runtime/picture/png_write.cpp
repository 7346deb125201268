#include "runtime/picture/png_write.h"

#include <png.h>

#include "runtime/core/values/memory.h"
#include "runtime/core/values/owned_block.h"

namespace lw {

namespace {

// A platform bitmap's blue, green, red, unused quads as red, green, blue triples in
// a block of their own; null when the block cannot be had.
uint8_t* rgbOfBgrx(const uint8_t* pixels, size_t count) {
  size_t bytes = 0;
  if (!checkedMul(count, 3, &bytes)) return nullptr;
  auto* rgb = static_cast<uint8_t*>(TryAllocMemory(bytes));
  if (!rgb) return nullptr;
  for (size_t i = 0; i < count; ++i) {
    rgb[i * 3] = pixels[i * 4 + 2];
    rgb[i * 3 + 1] = pixels[i * 4 + 1];
    rgb[i * 3 + 2] = pixels[i * 4];
  }
  return rgb;
}

uint32_t formatOf(PngPixels layout) {
  switch (layout) {
    case PngPixels::Grey: return PNG_FORMAT_GRAY;
    case PngPixels::Rgba: return PNG_FORMAT_RGBA;
    default: return PNG_FORMAT_RGB;  // Bgrx is handed over converted
  }
}

}  // namespace

ByteSet EncodePng(const uint8_t* pixels, uint32_t width, uint32_t height, PngPixels layout) {
  size_t count = 0, bytes = 0;
  if (!pixels || width == 0 || height == 0 || !checkedMul(width, height, &count) || !checkedMul(count, 4, &bytes))
    return nullptr;
  Owned<uint8_t> converted(layout == PngPixels::Bgrx ? rgbOfBgrx(pixels, count) : nullptr);
  if (layout == PngPixels::Bgrx && !converted) return nullptr;
  const uint8_t* rows = converted ? converted.get() : pixels;

  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = formatOf(layout);
  // The first call only measures; the second writes into a block of that size.
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rows, 0, nullptr) || size == 0 || size > UINT32_MAX)
    return nullptr;
  size_t total = 0;
  if (!checkedAdd(sizeof(ByteSetHeader), size_t(size), &total)) return nullptr;
  Owned<ByteSetHeader> png(static_cast<ByteSetHeader*>(TryAllocMemory(total)));
  if (!png) return nullptr;
  png_image written = {};
  written.version = PNG_IMAGE_VERSION;
  written.width = width;
  written.height = height;
  written.format = image.format;
  if (!png_image_write_to_memory(&written, byteSetData(png.get()), &size, 0, rows, 0, nullptr)) return nullptr;
  png->dims = 1;
  png->length = uint32_t(size);
  return png.release();
}

}  // namespace lw
