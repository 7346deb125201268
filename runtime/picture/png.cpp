// PNG files through libpng's simplified reading interface, straight into blue,
// green, red, alpha pixels (not premultiplied).
#include <png.h>

#include <cstring>

#include "runtime/core/values/memory.h"
#include "runtime/picture/decode.h"
#include "runtime/picture/reading.h"

namespace lw {

using namespace picture;

const char* DecodePngPicture(const uint8_t* data, size_t size, DecodedPicture* out) {
  memset(out, 0, sizeof *out);
  if (!data || size < 8) return "short header";
  png_image image;
  memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    png_image_free(&image);
    return "png header damaged";
  }
  image.format = PNG_FORMAT_BGRA;
  if (const char* why = allocPixels(out, image.width, image.height)) {
    png_image_free(&image);
    return why;
  }
  if (!png_image_finish_read(&image, nullptr, out->pixels, 0, nullptr)) {
    png_image_free(&image);
    ReleasePictureContents(out);
    return "png data damaged";
  }
  png_image_free(&image);
  out->kind = kPicturePng;
  noteAlpha(out);
  return nullptr;
}

}  // namespace lw
