#include "runtime/picture/decode.h"

#include <cstring>

#include "runtime/core/values/memory.h"
#include "runtime/picture/reading.h"

namespace lw {

PictureKind DetectPictureFormat(const uint8_t* d, size_t size) {
  if (!d || size < 8) return kPictureUnknown;
  ByteReader head(d, 8);
  const uint16_t reserved = head.u16(), type = head.u16(), count = head.u16();
  if (d[0] == 'B' && d[1] == 'M') return kPictureBmp;
  if (d[0] == 0xFF && d[1] == 0xD8) return kPictureJpeg;
  if (ByteReader(d, 4).u32() == 0x474E5089) return kPicturePng;
  if (reserved == 0 && type == 1 && count != 0) return kPictureIcon;
  if (reserved == 0 && type == 2 && count != 0) return kPictureCursor;
  if (memcmp(d, "GIF87a", 6) == 0 || memcmp(d, "GIF89a", 6) == 0) return kPictureGif;
  if (d[0] == 10 && d[1] <= 5 && d[2] == 1 && d[3] == 8) return kPicturePcx8;
  if (d[0] == 10 && d[1] == 3 && d[2] == 1 && d[3] == 1) return kPicturePcx1;
  return kPictureUnknown;
}

namespace {

using Decoder = const char* (*)(const uint8_t* data, size_t size, bool animate, DecodedPicture* out);

const char* decodeJpeg(const uint8_t* d, size_t n, bool, DecodedPicture* out) { return DecodeJpegPicture(d, n, out); }
const char* decodeBmp(const uint8_t* d, size_t n, bool, DecodedPicture* out) { return DecodeBmpPicture(d, n, out); }
const char* decodeIcon(const uint8_t* d, size_t n, bool, DecodedPicture* out) { return DecodeIconPicture(d, n, out); }
const char* decodeGif(const uint8_t* d, size_t n, bool animate, DecodedPicture* out) {
  return DecodeGifPicture(d, n, animate, out);
}
const char* decodePcx(const uint8_t* d, size_t n, bool, DecodedPicture* out) { return DecodePcxPicture(d, n, out); }
const char* decodePng(const uint8_t* d, size_t n, bool, DecodedPicture* out) { return DecodePngPicture(d, n, out); }

// Decoder by detected format.
const Decoder kDecoders[] = {
    nullptr,     // 0 unknown
    decodeJpeg,  // 1 JPEG
    decodeBmp,   // 2 BMP
    decodeIcon,  // 3 icon
    decodeIcon,  // 4 cursor
    decodeGif,   // 5 GIF
    decodePcx,   // 6 PCX, 8 bits
    decodePcx,   // 7 PCX, 1 bit
    decodePng,   // 8 PNG
};

}  // namespace

DecodedPicture* DecodePicture(const uint8_t* data, size_t size, bool animate, const char** reason) {
  const char* dummy;
  if (!reason) reason = &dummy;
  if (!data || size == 0) {
    *reason = "empty";
    return nullptr;
  }
  PictureKind kind = DetectPictureFormat(data, size);
  if (kind == kPictureUnknown) {
    *reason = "unknown format";
    return nullptr;
  }
  DecodedPicture value;
  *reason = kDecoders[kind](data, size, animate, &value);
  if (*reason) return nullptr;
  auto* picture = static_cast<DecodedPicture*>(TryAllocMemory(sizeof(DecodedPicture)));
  if (!picture) {
    ReleasePictureContents(&value);
    *reason = "out of memory";
    return nullptr;
  }
  *picture = value;
  return picture;
}

void ReleasePictureContents(DecodedPicture* picture) {
  FreeMemory(picture->pixels);
  FreeMemory(picture->iconImage);
  FreeMemory(picture->frames);
  memset(picture, 0, sizeof *picture);
}

void FreePicture(DecodedPicture* picture) {
  if (!picture) return;
  ReleasePictureContents(picture);
  FreeMemory(picture);
}

namespace picture {

bool pixelBytes(uint32_t width, uint32_t height, size_t count, size_t* bytes) {
  if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
  size_t n;
  if (!checkedMul(size_t(width) * 4, height, &n) || !checkedMul(n, count, &n)) return false;
  if (n > kMaxPicturePixelBytes) return false;
  *bytes = n;
  return true;
}

const char* allocPixels(DecodedPicture* out, uint32_t width, uint32_t height, size_t frames) {
  size_t bytes;
  if (!pixelBytes(width, height, frames, &bytes)) return width && height ? "too large" : "empty image";
  auto* p = static_cast<uint8_t*>(TryAllocMemory(bytes));
  if (!p) return "out of memory";
  out->pixels = p;
  out->width = width;
  out->height = height;
  out->size = bytes / frames;
  return nullptr;
}

void noteAlpha(DecodedPicture* out) {
  for (size_t i = 3; i < out->size; i += 4) {
    if (out->pixels[i] != 255) {
      out->flags |= kPictureHasAlpha;
      return;
    }
  }
}

Scratch::Scratch(size_t n) : data(static_cast<uint8_t*>(TryAllocMemory(n))) {}
Scratch::~Scratch() { FreeMemory(data); }

}  // namespace picture
}  // namespace lw
