// GIF files: the header and colour tables, the block stream with its extensions,
// and LZW-coded images (plain or interlaced). Without animation the first image is
// the picture; with it every image becomes a frame of the logical screen, with the
// delays, disposal and transparency of the graphic control extensions applied.
#include <cstring>
#include <vector>

#include "runtime/core/values/memory.h"
#include "runtime/picture/decode.h"
#include "runtime/picture/reading.h"

namespace lw {

using namespace picture;

namespace {

// Header: 0 "GIF87a"/"GIF89a", 6 screen width, 8 screen height, 10 packed (bit 7:
// global colour table, low 3 bits: its size), 11 background index, 12 aspect.
constexpr size_t kHeaderSize = 13;
constexpr uint32_t kMaxCodes = 4096;
constexpr uint32_t kMaxCodeBits = 12;

// The graphic control extension in force for the next image.
struct GraphicControl {
  uint32_t disposal = 0;  // 2 restore to background, 3 restore to previous
  bool transparent = false;
  uint8_t transparentIndex = 0;
  uint32_t delayMs = 0;
};

// What the block walk learns about one image; its pixels are decoded later.
struct GifImage {
  uint32_t left, top, width, height;
  bool interlaced;
  const uint8_t* colours;  // red, green, blue entries; null when the file has none
  size_t colourCount;
  size_t codeOffset;  // the minimum code size byte, then the coded sub-blocks
  size_t codedBytes;  // in those sub-blocks
  GraphicControl control;
};

// Steps over sub-blocks up to and including the zero-length one, adding up their
// bytes in *total when asked. False when the data ends first.
bool skipSubBlocks(ByteReader& in, size_t* total = nullptr) {
  size_t sum = 0;
  while (size_t n = in.u8()) {
    in.skip(n);
    sum += n;
  }
  if (total) *total = sum;
  return in.ok();
}

// The most pixels `bytes` of coded data can give. Codes take at least minBits + 1
// bits, and the k-th code after a clear stands for at most k pixels (each new
// string is one longer than an earlier one), never more than the table holds.
// An image larger than this is cut short, and is refused before any allocation.
bool codedDataCanFill(const uint8_t* data, const GifImage& image) {
  const uint64_t codes = uint64_t(image.codedBytes) * 8 / (data[image.codeOffset] + 1u), full = kMaxCodes;
  const uint64_t most = codes <= full ? codes * (codes + 1) / 2 : full * (full + 1) / 2 + (codes - full) * full;
  return uint64_t(image.width) * image.height <= most;
}

// Walks the block stream from where `in` stands, collecting up to `maxImages`
// images. Answers a reason when the stream is damaged; the images found before the
// damage stay. The stream ends at the trailer, at a zero byte, or where the data ends.
const char* walkBlocks(ByteReader in, const uint8_t* globalColours, size_t globalCount, size_t maxImages,
                       std::vector<GifImage>* images) {
  GraphicControl control;
  while (images->size() < maxImages) {
    if (in.remaining() == 0) return nullptr;
    const uint8_t block = in.u8();
    if (block == 0x3B || block == 0) return nullptr;
    if (block == 0x21) {
      if (in.remaining() == 0) return "short extension";
      const uint8_t label = in.u8();
      if (label == 0xF9) {
        // Read ahead: the extension is skipped as sub-blocks below either way.
        ByteReader g = in;
        const bool whole = g.u8() >= 4;
        const uint8_t packed = g.u8();
        const uint32_t delay = g.u16();
        const uint8_t index = g.u8();
        if (whole && g.ok()) {
          control.disposal = (packed & 0x1C) >> 2;
          control.transparent = packed & 1;
          control.delayMs = delay * 10u;
          control.transparentIndex = index;
        }
      } else if (label != 0x01 && label != 0xFE && label != 0xFF) {
        return "unknown extension";
      }
      // Plain text and application extensions open with a fixed-size sub-block,
      // so every kind is skipped as sub-blocks.
      if (!skipSubBlocks(in)) return "short extension";
    } else if (block == 0x2C) {
      // Descriptor: left, top, width, height, packed (bit 7 local colour table,
      // bit 6 interlaced, low 3 bits the table's size).
      const uint32_t left = in.u16(), top = in.u16(), width = in.u16(), height = in.u16();
      const uint8_t packed = in.u8();
      if (!in.ok()) return "short image descriptor";
      GifImage image{left, top, width, height, (packed & 0x40) != 0, globalColours, globalCount, 0, 0, control};
      if (packed & 0x80) {
        image.colourCount = size_t(2) << (packed & 7);
        image.colours = in.bytes(image.colourCount * 3);
        if (!image.colours) return "short colour table";
      }
      image.codeOffset = in.offset();
      if (in.remaining() == 0) return "short image data";
      const uint8_t minBits = in.u8();
      if (minBits < 2 || minBits > 8) return "code size";
      if (!skipSubBlocks(in, &image.codedBytes)) return "short image data";
      images->push_back(image);
      control = GraphicControl();
    } else {
      return "unknown block";
    }
  }
  return nullptr;
}

// Reads codes least significant bit first from the sub-blocks of one image.
struct CodeReader {
  ByteReader in;  // at the length byte of the next sub-block
  const uint8_t* block = nullptr;
  size_t blockLeft = 0;
  uint32_t bits = 0;
  uint32_t bitCount = 0;
  bool ended = false;

  // False when the sub-blocks end (or the data does) before the code is complete.
  bool read(uint32_t width, uint32_t* code) {
    while (bitCount < width) {
      while (blockLeft == 0) {
        if (ended || in.remaining() == 0) return false;
        blockLeft = in.u8();
        if (blockLeft == 0) ended = true;
        block = in.bytes(blockLeft);
        if (!block) return false;
      }
      bits |= uint32_t(*block++) << bitCount;
      bitCount += 8;
      --blockLeft;
    }
    *code = bits & ((1u << width) - 1);
    bits >>= width;
    bitCount -= width;
    return true;
  }
};

// One string table entry: the code of the string without its last byte, that byte,
// the string's first byte and its length.
struct LzwEntry {
  uint16_t prefix;
  uint8_t last;
  uint8_t first;
  uint16_t length;
};

// Decodes the image's pixel indices in stored row order into `indices` (width ×
// height bytes, which the caller has cleared). Pixels past the end are dropped;
// data that ends early leaves the rest at index 0.
const char* decodeIndices(const uint8_t* data, size_t size, const GifImage& image, uint8_t* indices) {
  const uint32_t minBits = data[image.codeOffset];  // 2 to 8, as the walk checked
  const uint32_t clear = 1u << minBits, end = clear + 1;
  LzwEntry table[kMaxCodes];
  for (uint32_t c = 0; c < clear; ++c) table[c] = {0, uint8_t(c), uint8_t(c), 1};

  CodeReader reader{ByteReader(data, size).at(image.codeOffset + 1)};
  const size_t total = size_t(image.width) * image.height;
  size_t done = 0;
  uint32_t width = minBits + 1, next = clear + 2, code;
  int32_t previous = -1;
  while (done < total && reader.read(width, &code)) {
    if (code == clear) {
      width = minBits + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (code == end) break;
    if (code > next || (code == next && previous < 0)) return "bad code";
    if (previous >= 0 && next < kMaxCodes) {
      // The new entry is the previous string plus the first byte of this one; for
      // the code not yet in the table that byte is the previous string's first.
      const LzwEntry& p = table[previous];
      const uint8_t first = code == next ? p.first : table[code].first;
      table[next] = {uint16_t(previous), first, p.first, uint16_t(p.length + 1)};
      ++next;
      if (next >= (1u << width) && width < kMaxCodeBits) ++width;
    }
    // Write the string backwards from its last byte, skipping the part that falls
    // past the image; the walk is bounded by the stored length.
    uint32_t length = table[code].length, c = code;
    size_t room = total - done;
    uint32_t skip = length > room ? uint32_t(length - room) : 0;
    for (uint32_t i = 0; i < skip; ++i) c = table[c].prefix;
    uint8_t* o = indices + done + (length - skip);
    for (uint32_t i = skip; i < length; ++i) {
      *--o = table[c].last;
      c = table[c].prefix;
    }
    done += length - skip;
    previous = int32_t(code);
  }
  return nullptr;
}

// Row of the picture that the n-th stored row belongs to.
uint32_t pictureRow(uint32_t n, uint32_t height, bool interlaced) {
  if (!interlaced) return n;
  // Passes: every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
  static const uint32_t kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    uint32_t rows = height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
    if (n < rows) return kStart[pass] + n * kStep[pass];
    n -= rows;
  }
  return 0;  // not reached: n < height
}

void imagePalette(const GifImage& image, Palette* palette) {
  memset(palette, 0, sizeof *palette);
  for (size_t i = 0; i < 256; ++i) {
    uint8_t* e = palette->entry[i];
    if (i < image.colourCount) {
      const uint8_t* rgb = image.colours + 3 * i;
      e[0] = rgb[2];
      e[1] = rgb[1];
      e[2] = rgb[0];
    }
    e[3] = 255;
  }
}

// Draws the image's pixels into a 32-bit target of targetWidth × targetHeight at
// the image's offset (left, top), clipped. Transparent pixels are left alone when
// `keepUnder`, or else written with alpha 0.
void drawImage(const GifImage& image, const uint8_t* indices, uint32_t left, uint32_t top, uint8_t* target,
               uint32_t targetWidth, uint32_t targetHeight, bool keepUnder) {
  Palette palette;
  imagePalette(image, &palette);
  const bool transparent = image.control.transparent;
  const uint8_t clearIndex = image.control.transparentIndex;
  if (transparent && !keepUnder) palette.entry[clearIndex][3] = 0;
  if (left >= targetWidth || top >= targetHeight) return;
  const uint32_t columns = image.width < targetWidth - left ? image.width : targetWidth - left;
  for (uint32_t n = 0; n < image.height; ++n) {
    const uint32_t y = top + pictureRow(n, image.height, image.interlaced);
    if (y >= targetHeight) continue;
    const uint8_t* in = indices + size_t(n) * image.width;
    uint8_t* o = target + (size_t(y) * targetWidth + left) * 4;
    if (transparent && keepUnder) {
      for (uint32_t x = 0; x < columns; ++x)
        if (in[x] != clearIndex) memcpy(o + 4 * x, palette.entry[in[x]], 4);
    } else {
      for (uint32_t x = 0; x < columns; ++x) memcpy(o + 4 * x, palette.entry[in[x]], 4);
    }
  }
}

// The first image at its own size.
const char* decodeStill(const uint8_t* data, size_t size, const GifImage& image, DecodedPicture* out) {
  if (!codedDataCanFill(data, image)) return "short image data";
  if (const char* why = allocPixels(out, image.width, image.height)) return why;
  Scratch indices(out->size / 4);
  if (!indices.data) return "out of memory";
  memset(indices.data, 0, out->size / 4);
  if (const char* why = decodeIndices(data, size, image, indices.data)) return why;
  drawImage(image, indices.data, 0, 0, out->pixels, out->width, out->height, false);
  if (image.control.transparent) {
    const uint8_t* e = image.colours && image.control.transparentIndex < image.colourCount
                           ? image.colours + 3 * image.control.transparentIndex
                           : nullptr;
    out->transparentColour = e ? uint32_t(e[0]) | uint32_t(e[1]) << 8 | uint32_t(e[2]) << 16 : 0;
    out->flags |= kPictureHasTransparentColour;
  }
  noteAlpha(out);
  return nullptr;
}

// Every image as a frame of the logical screen. Frames that do not fit in the
// pixel limit, and those from a damaged image on, are left out.
const char* decodeFrames(const uint8_t* data, size_t size, uint32_t screenWidth, uint32_t screenHeight,
                         std::vector<GifImage>& images, DecodedPicture* out) {
  const GifImage& first = images[0];
  uint32_t width = screenWidth, height = screenHeight;
  if (width == 0 || height == 0) {
    width = first.left + first.width;
    height = first.top + first.height;
  }
  size_t frameBytes;
  if (!pixelBytes(width, height, 1, &frameBytes)) return width && height ? "too large" : "empty image";
  size_t count = images.size();
  if (count > kMaxPicturePixelBytes / frameBytes) count = kMaxPicturePixelBytes / frameBytes;
  if (const char* why = allocPixels(out, width, height, count)) return why;
  Scratch canvas(frameBytes), saved(frameBytes);
  if (!canvas.data || !saved.data) return "out of memory";
  memset(canvas.data, 0, frameBytes);

  // Images may be larger than the screen; what all of them decode to is bounded too.
  size_t indexBudget = kMaxPicturePixelBytes;
  size_t decoded = 0;
  for (; decoded < count; ++decoded) {
    const GifImage& image = images[decoded];
    size_t pixels;
    if (!checkedMul(image.width, image.height, &pixels) || pixels > indexBudget ||
        !codedDataCanFill(data, image))
      break;
    indexBudget -= pixels;
    Scratch indices(pixels);
    if (!indices.data) break;
    memset(indices.data, 0, pixels);
    if (decodeIndices(data, size, image, indices.data)) break;
    if (image.control.disposal == 3) memcpy(saved.data, canvas.data, frameBytes);
    drawImage(image, indices.data, image.left, image.top, canvas.data, width, height, true);
    memcpy(out->pixels + decoded * frameBytes, canvas.data, frameBytes);
    if (image.control.disposal == 2 && image.left < width && image.top < height) {
      // Back to the background, which we take to be transparent.
      const uint32_t right = image.width < width - image.left ? image.left + image.width : width;
      const uint32_t bottom = image.height < height - image.top ? image.top + image.height : height;
      for (uint32_t y = image.top; y < bottom; ++y)
        memset(canvas.data + (size_t(y) * width + image.left) * 4, 0, size_t(right - image.left) * 4);
    } else if (image.control.disposal == 3) {
      memcpy(canvas.data, saved.data, frameBytes);
    }
  }
  if (decoded == 0) return "bad image data";

  out->frames = static_cast<PictureFrame*>(TryAllocMemory(decoded * sizeof(PictureFrame)));
  if (!out->frames) return "out of memory";
  out->frameCount = uint32_t(decoded);
  for (size_t i = 0; i < decoded; ++i) out->frames[i] = {out->pixels + i * frameBytes, images[i].control.delayMs};
  if (decoded > 1) out->flags |= kPictureAnimated;
  for (size_t i = 3; i < decoded * frameBytes; i += 4) {
    if (out->pixels[i] != 255) {
      out->flags |= kPictureHasAlpha;
      break;
    }
  }
  return nullptr;
}

}  // namespace

const char* DecodeGifPicture(const uint8_t* data, size_t size, bool animate, DecodedPicture* out) {
  memset(out, 0, sizeof *out);
  if (!data || size <= kHeaderSize) return "short header";
  if (memcmp(data, "GIF87a", 6) != 0 && memcmp(data, "GIF89a", 6) != 0) return "not a gif file";
  ByteReader in(data, size);
  in.skip(6);  // signature
  const uint32_t screenWidth = in.u16(), screenHeight = in.u16();
  const uint8_t packed = in.u8();
  in.skip(2);  // background index, aspect
  const uint8_t* globalColours = nullptr;
  size_t globalCount = 0;
  if (packed & 0x80) {
    globalCount = size_t(2) << (packed & 7);
    globalColours = in.bytes(globalCount * 3);
    if (!globalColours || in.remaining() == 0) return "short colour table";
  }

  std::vector<GifImage> images;
  const char* walkFailure = walkBlocks(in, globalColours, globalCount, animate ? SIZE_MAX : 1, &images);
  if (images.empty()) return walkFailure ? walkFailure : "no image";

  const char* why = animate && images.size() > 1
                        ? decodeFrames(data, size, screenWidth, screenHeight, images, out)
                        : decodeStill(data, size, images[0], out);
  if (why && animate && images.size() > 1) {
    // Frames that together pass the limits (or whose memory cannot be had) do not
    // animate; the first image still shows when it fits alone.
    ReleasePictureContents(out);
    why = decodeStill(data, size, images[0], out);
  }
  if (why) {
    ReleasePictureContents(out);
    return why;
  }
  out->kind = kPictureGif;
  return nullptr;
}

}  // namespace lw
