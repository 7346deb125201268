// Icon and cursor files: a directory of images, of which we take the one a 32-pixel
// icon wants. Each image is a bitmap (colour bits plus a 1-bit transparency mask,
// the bitmap header giving twice the height) or, in newer files, a PNG.
#include <cstring>

#include "runtime/core/values/memory.h"
#include "runtime/picture/decode.h"
#include "runtime/picture/reading.h"

namespace lw {

using namespace picture;

namespace {

// Directory: 0 reserved (0), 2 type (1 icon, 2 cursor), 4 image count, then 16-byte
// entries: 0 width, 1 height, 2 colour count, 3 reserved, 4 planes or hot spot x,
// 6 bit count or hot spot y, 8 image size, 12 image offset.
constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;

// The first 32-pixel image with at least 16 colours (a colour count of 0 stands
// for 256 or more), otherwise the last image.
size_t chooseEntry(const uint8_t* entries, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = entries + i * kEntrySize;
    if (e[0] == 32 && (e[2] == 0 || e[2] > 15)) return i;
  }
  return count - 1;
}

// A bitmap image: header, colour table, colour rows and mask rows, all bottom-up.
const char* decodeIconBitmap(const uint8_t* img, size_t n, DecodedPicture* out) {
  if (n < 40) return "short icon header";
  const BitmapInfoHeader h = readBitmapInfoHeader(ByteReader(img, 40));
  const uint32_t headerSize = h.headerSize, bitCount = h.bitCount;
  const int32_t storedWidth = h.width, storedHeight = h.height;
  if (headerSize < 40 || headerSize > n) return "bad icon header size";
  if (h.compression != 0) return "compressed";
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return "bit count";
  if (storedWidth <= 0 || storedHeight <= 1) return "empty image";
  const uint32_t width = uint32_t(storedWidth), height = uint32_t(storedHeight) / 2;
  size_t bytes;
  if (!pixelBytes(width, height, 1, &bytes)) return "too large";

  // The colour table, colour rows and mask rows follow the header in turn.
  ByteReader rest = ByteReader(img, n).at(headerSize);
  Palette palette;
  if (const char* why = readColourTable(&rest, h, &palette)) return why;
  const size_t stride = paddedRowBytes(width, bitCount), maskStride = paddedRowBytes(width, 1);
  size_t colourBytes, maskBytes;
  const uint8_t* colour = checkedMul(stride, height, &colourBytes) ? rest.bytes(colourBytes) : nullptr;
  if (!colour) return "short pixel data";
  // 32-bit images carry their own alpha, and some files leave the mask out.
  const uint8_t* mask = checkedMul(maskStride, height, &maskBytes) ? rest.bytes(maskBytes) : nullptr;
  if (!mask && bitCount != 32) return "short mask";

  if (const char* why = allocPixels(out, width, height)) return why;
  convertBitmapRows(colour, stride, width, height, bitCount, palette, true, bitCount == 32, out->pixels);
  bool ownAlpha = false;
  if (bitCount == 32)
    for (size_t i = 3; i < out->size && !ownAlpha; i += 4) ownAlpha = out->pixels[i] != 0;
  if (!ownAlpha) {
    for (size_t i = 3; i < out->size; i += 4) out->pixels[i] = 255;
    if (mask) {
      for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = mask + maskStride * y;
        uint8_t* o = out->pixels + size_t(width) * 4 * (height - 1 - y);
        for (uint32_t x = 0; x < width; ++x)
          if ((row[x >> 3] >> (7 - (x & 7))) & 1) o[4 * x + 3] = 0;
      }
    }
  }
  out->iconBitCount = uint16_t(bitCount);
  return nullptr;
}

}  // namespace

const char* DecodeIconPicture(const uint8_t* data, size_t size, DecodedPicture* out) {
  memset(out, 0, sizeof *out);
  if (!data || size < kDirectorySize) return "short directory";
  const ByteReader file(data, size);
  ByteReader directory = file;
  const uint32_t reserved = directory.u16(), type = directory.u16(), count = directory.u16();
  if (reserved != 0 || (type != 1 && type != 2) || count == 0) return "not an icon";
  const uint8_t* entries = directory.bytes(count * kEntrySize);
  if (!entries) return "short directory";
  ByteReader entry(entries + chooseEntry(entries, count) * kEntrySize, kEntrySize);
  entry.skip(4);  // sizes and colour count
  const uint16_t hotSpotX = entry.u16(), hotSpotY = entry.u16();
  const uint32_t imageSize = entry.u32(), imageOffset = entry.u32();
  const uint8_t* img = file.at(imageOffset).bytes(imageSize);
  if (!img) return "image outside the file";

  const char* why;
  if (imageSize >= 8 && ByteReader(img, 4).u32() == 0x474E5089) {
    why = DecodePngPicture(img, imageSize, out);
    out->iconBitCount = 32;
  } else {
    why = decodeIconBitmap(img, imageSize, out);
  }
  if (why) {
    ReleasePictureContents(out);
    return why;
  }
  out->iconImage = static_cast<uint8_t*>(TryAllocMemory(imageSize));
  if (!out->iconImage) {
    ReleasePictureContents(out);
    return "out of memory";
  }
  memcpy(out->iconImage, img, imageSize);
  out->iconImageSize = imageSize;
  out->kind = type == 1 ? kPictureIcon : kPictureCursor;
  out->flags = 0;
  noteAlpha(out);
  if (type == 2) {
    out->hotSpotX = hotSpotX;
    out->hotSpotY = hotSpotY;
  }
  return nullptr;
}

}  // namespace lw
