// BMP files: uncompressed bitmaps of 1, 4, 8, 24 or 32 bits per pixel. Rows stored
// bottom-up (positive height) or top-down (negative height) both come out upright.
#include <climits>
#include <cstring>

#include "runtime/core/values/memory.h"
#include "runtime/picture/decode.h"
#include "runtime/picture/reading.h"

namespace lw {
namespace picture {

void readPalette(Palette* palette, const uint8_t* p, size_t count, size_t stride) {
  memset(palette, 0, sizeof *palette);
  for (size_t i = 0; i < 256; ++i) palette->entry[i][3] = 255;
  if (count > 256) count = 256;
  for (size_t i = 0; i < count; ++i, p += stride) {
    palette->entry[i][0] = p[0];
    palette->entry[i][1] = p[1];
    palette->entry[i][2] = p[2];
  }
}

void convertBitmapRows(const uint8_t* bits, size_t stride, uint32_t width, uint32_t height, uint32_t bitCount,
                       const Palette& palette, bool bottomUp, bool keepAlpha, uint8_t* out) {
  const size_t outStride = size_t(width) * 4;
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = bits + stride * y;
    uint8_t* o = out + outStride * (bottomUp ? height - 1 - y : y);
    switch (bitCount) {
      case 1:
        for (uint32_t x = 0; x < width; ++x, o += 4) memcpy(o, palette.entry[(row[x >> 3] >> (7 - (x & 7))) & 1], 4);
        break;
      case 4:
        for (uint32_t x = 0; x < width; ++x, o += 4) memcpy(o, palette.entry[(row[x >> 1] >> (x & 1 ? 0 : 4)) & 15], 4);
        break;
      case 8:
        for (uint32_t x = 0; x < width; ++x, o += 4) memcpy(o, palette.entry[row[x]], 4);
        break;
      case 16:  // 5 bits each of red, green and blue, widened to 8
        for (uint32_t x = 0; x < width; ++x, o += 4, row += 2) {
          const uint32_t v = uint32_t(row[0] | row[1] << 8);
          o[0] = uint8_t((v & 31) << 3 | (v & 31) >> 2);
          o[1] = uint8_t((v >> 5 & 31) << 3 | (v >> 5 & 31) >> 2);
          o[2] = uint8_t((v >> 10 & 31) << 3 | (v >> 10 & 31) >> 2);
          o[3] = 255;
        }
        break;
      case 24:
        for (uint32_t x = 0; x < width; ++x, o += 4, row += 3) {
          o[0] = row[0];
          o[1] = row[1];
          o[2] = row[2];
          o[3] = 255;
        }
        break;
      case 32:
        memcpy(o, row, outStride);
        if (!keepAlpha)
          for (uint32_t x = 0; x < width; ++x) o[4 * x + 3] = 255;
        break;
    }
  }
}

BitmapInfoHeader readBitmapInfoHeader(ByteReader r) {
  BitmapInfoHeader h;
  h.headerSize = r.u32();
  h.width = r.i32();
  h.height = r.i32();
  r.skip(2);  // planes
  h.bitCount = r.u16();
  h.compression = r.u32();
  r.skip(12);  // image size and resolution
  h.coloursUsed = r.u32();
  return h;
}

const char* readColourTable(ByteReader* r, const BitmapInfoHeader& h, Palette* palette) {
  if (h.bitCount > 8) return nullptr;
  size_t count = h.coloursUsed ? h.coloursUsed : size_t(1) << h.bitCount;
  if (count > 256) return "colour count";
  const uint8_t* table = r->bytes(count * 4);
  if (!table) return "short colour table";
  readPalette(palette, table, count, 4);
  return nullptr;
}

}  // namespace picture

using namespace picture;

// File header (14 bytes) and the information header's first 40 bytes:
//   0 "BM"  10 offset of the pixel data  14 header size  18 width  22 height
//   26 planes  28 bits per pixel  30 compression  46 colours used
const char* DecodeBmpPicture(const uint8_t* data, size_t size, DecodedPicture* out) {
  memset(out, 0, sizeof *out);
  if (!data || size < 54) return "short header";
  if (data[0] != 'B' || data[1] != 'M') return "not a bitmap";
  const ByteReader file(data, size);
  const uint32_t pixelOffset = file.at(10).u32();
  const BitmapInfoHeader h = readBitmapInfoHeader(file.at(14));
  const uint32_t headerSize = h.headerSize, bitCount = h.bitCount;
  const int32_t storedWidth = h.width, storedHeight = h.height;
  // Larger headers (108 and 124 bytes) begin with the same 40 bytes; the colour
  // table follows the header, whatever its size.
  if (headerSize < 40 || !file.at(14).bytes(headerSize)) return "bad header size";
  if (h.compression != 0) return "compressed";
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return "bit count";
  if (storedWidth == INT32_MIN || storedHeight == INT32_MIN) return "too large";
  const uint32_t width = uint32_t(storedWidth < 0 ? -storedWidth : storedWidth);
  const uint32_t height = uint32_t(storedHeight < 0 ? -storedHeight : storedHeight);
  size_t bytes;
  if (!pixelBytes(width, height, 1, &bytes)) return width && height ? "too large" : "empty image";

  Palette palette;
  ByteReader table = file.at(14 + size_t(headerSize));
  if (const char* why = readColourTable(&table, h, &palette)) return why;
  const size_t stride = paddedRowBytes(width, bitCount);
  size_t bitsSize;
  const uint8_t* bits = checkedMul(stride, height, &bitsSize) ? file.at(pixelOffset).bytes(bitsSize) : nullptr;
  if (!bits) return "short pixel data";

  if (const char* why = allocPixels(out, width, height)) return why;
  out->kind = kPictureBmp;
  convertBitmapRows(bits, stride, width, height, bitCount, palette, storedHeight > 0, false, out->pixels);
  return nullptr;
}

}  // namespace lw
