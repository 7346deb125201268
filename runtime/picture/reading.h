// Small pieces the picture decoders share: the size limits and the allocation of
// the pixel block. Internal to the decoders, which read their files through a
// ByteReader.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/core/values/byte_reader.h"
#include "runtime/picture/decode.h"

namespace lw::picture {

// Bytes of `count` frames of width × height 32-bit pixels, or false when a side is
// 0 or above the limit, or the total passes kMaxPicturePixelBytes.
bool pixelBytes(uint32_t width, uint32_t height, size_t count, size_t* bytes);

// Sets width, height and size and allocates the pixel block (room for `frames`
// frames). Answers null or a reason; nothing is allocated on failure.
const char* allocPixels(DecodedPicture* out, uint32_t width, uint32_t height, size_t frames = 1);

// Sets kPictureHasAlpha when some pixel's alpha is below 255.
void noteAlpha(DecodedPicture* out);

// A working buffer that lives for one decode; null data when it could not be had.
struct Scratch {
  explicit Scratch(size_t n);
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  uint8_t* data;
};

// Bytes in one stored row of `bits`-per-pixel pixels padded to 4 bytes (width is
// within the side limit, so this cannot overflow).
inline size_t paddedRowBytes(uint32_t width, uint32_t bits) { return (size_t(width) * bits + 31) / 32 * 4; }

// A colour table as the pixels want it: blue, green, red, 255 per entry; entries
// the file does not give are black.
struct Palette {
  uint8_t entry[256][4];
};
// Reads `count` (at most 256) entries of `stride` bytes (3 or 4) in blue, green, red
// order from p.
void readPalette(Palette* palette, const uint8_t* p, size_t count, size_t stride);

// The first 40 bytes of a bitmap information header, which bitmap files and the
// bitmap images of icon files share: 0 header size, 4 width, 8 height, 12 planes,
// 14 bits per pixel, 16 compression, 32 colours used.
struct BitmapInfoHeader {
  uint32_t headerSize;
  int32_t width, height;
  uint32_t bitCount, compression, coloursUsed;
};
// Reads one from `r`, which the caller has checked holds 40 bytes.
BitmapInfoHeader readBitmapInfoHeader(ByteReader r);
// The colour table of a bitmap of at most 8 bits per pixel from `r` (4 bytes an
// entry, coloursUsed of them or, with 0, all the bit count allows); nothing for
// deeper bitmaps. Null or a reason.
const char* readColourTable(ByteReader* r, const BitmapInfoHeader& h, Palette* palette);

// Turns stored device-independent bitmap rows (1, 4, 8, 16, 24 or 32 bits per pixel,
// each row `stride` bytes, the first stored row at `bits`) into 32-bit top-down
// pixels of `width` × `height`. `bottomUp` says the first stored row is the
// picture's bottom row. 32-bit pixels keep their fourth byte as alpha only with
// `keepAlpha`; all others get 255.
void convertBitmapRows(const uint8_t* bits, size_t stride, uint32_t width, uint32_t height, uint32_t bitCount,
                       const Palette& palette, bool bottomUp, bool keepAlpha, uint8_t* out);

}  // namespace lw::picture
