// PCX files of one plane: 1 bit per pixel (black and white) or 8 bits per pixel
// with the 256-entry colour table at the end of the file. Rows are run-length
// coded: a byte with its two top bits set repeats the next byte (low six bits) times.
#include <cstring>

#include "runtime/core/values/memory.h"
#include "runtime/picture/decode.h"
#include "runtime/picture/reading.h"

namespace lw {

using namespace picture;

namespace {

// Header (128 bytes): 0 manufacturer (10), 1 version, 2 encoding (1), 3 bits per
// pixel, 4 left, 6 top, 8 right, 10 bottom, 65 planes, 66 bytes per plane row.
constexpr size_t kHeaderSize = 128;
// The 8-bit colour table: a marker byte 12 and 256 red, green, blue entries.
constexpr size_t kTableSize = 769;

// Unpacks the run-length stream into rows; a run may carry over into the next row.
struct RunReader {
  const uint8_t* p;
  const uint8_t* end;
  uint32_t runLeft = 0;
  uint8_t runValue = 0;

  // Fills `n` bytes; false when the data ends first.
  bool fill(uint8_t* row, size_t n) {
    size_t i = 0;
    while (i < n) {
      if (runLeft) {
        size_t take = runLeft < n - i ? runLeft : n - i;
        memset(row + i, runValue, take);
        i += take;
        runLeft -= uint32_t(take);
        continue;
      }
      if (p == end) return false;
      uint8_t b = *p++;
      if ((b & 0xC0) != 0xC0) {
        row[i++] = b;
        continue;
      }
      if (p == end) return false;
      runLeft = b & 0x3F;
      runValue = *p++;
    }
    return true;
  }
};

}  // namespace

const char* DecodePcxPicture(const uint8_t* data, size_t size, DecodedPicture* out) {
  memset(out, 0, sizeof *out);
  if (!data || size <= kHeaderSize) return "short header";
  if (data[0] != 10 || data[1] > 5 || data[2] != 1) return "not a pcx file";
  ByteReader header(data, kHeaderSize);
  header.skip(3);
  const uint32_t bits = header.u8();
  const uint32_t left = header.u16(), top = header.u16(), right = header.u16(), bottom = header.u16();
  header.skip(53);  // resolution, 16-colour table, reserved byte
  const uint32_t planes = header.u8(), rowBytes = header.u16();
  if (right < left || bottom < top) return "empty image";
  const uint32_t width = right - left + 1, height = bottom - top + 1;
  if (planes != 1 || (bits != 1 && bits != 8)) return "bit count";
  if (rowBytes < (size_t(width) * bits + 7) / 8) return "row length";

  Palette palette;
  const uint8_t* end = data + size;
  if (bits == 8) {
    if (size >= kHeaderSize + kTableSize && data[size - kTableSize] == 12) {
      readPalette(&palette, data + size - kTableSize + 1, 256, 3);
      // The table is stored red first; pixels want blue first.
      for (auto& e : palette.entry) {
        uint8_t r = e[0];
        e[0] = e[2];
        e[2] = r;
      }
      end -= kTableSize;
    } else {
      // No table: the indices are shown as grey levels.
      for (int i = 0; i < 256; ++i) {
        uint8_t* e = palette.entry[i];
        e[0] = e[1] = e[2] = uint8_t(i);
        e[3] = 255;
      }
    }
  }

  // Two coded bytes give at most 63 pixel bytes: refuse sizes the data cannot hold
  // before allocating for them.
  size_t needed, codedBytes = size_t(end - data) - kHeaderSize;
  if (!checkedMul(rowBytes, height, &needed) || needed / 63 > codedBytes / 2 + 1) return "short pixel data";
  if (const char* why = allocPixels(out, width, height)) return why;
  uint8_t* row = static_cast<uint8_t*>(TryAllocMemory(rowBytes));
  if (!row) {
    ReleasePictureContents(out);
    return "out of memory";
  }
  RunReader reader{data + kHeaderSize, end};
  uint8_t* o = out->pixels;
  for (uint32_t y = 0; y < height; ++y) {
    if (!reader.fill(row, rowBytes)) {
      FreeMemory(row);
      ReleasePictureContents(out);
      return "short pixel data";
    }
    if (bits == 8) {
      for (uint32_t x = 0; x < width; ++x, o += 4) memcpy(o, palette.entry[row[x]], 4);
    } else {
      for (uint32_t x = 0; x < width; ++x, o += 4) {
        o[0] = o[1] = o[2] = (row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
        o[3] = 255;
      }
    }
  }
  FreeMemory(row);
  out->kind = bits == 8 ? kPicturePcx8 : kPicturePcx1;
  return nullptr;
}

}  // namespace lw
