// Picture files from their bytes to 32-bit pixels: format detection by signature and
// one decoder per format (PNG and JPEG through their libraries; BMP, icons, cursors,
// GIF and PCX by our own code). Pure: the window system turns the pixels into
// platform bitmaps and icons and draws them.
//
// Every decoder takes (data, size), trusts none of it, and either fills a decoded
// picture or answers a short reason. Pictures above kMaxPictureSide pixels a side or
// kMaxPicturePixelBytes of pixels are refused.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lw {

// Formats, numbered as the picture kinds the window system keeps.
enum PictureKind : uint32_t {
  kPictureUnknown = 0,
  kPictureJpeg = 1,
  kPictureBmp = 2,
  kPictureIcon = 3,
  kPictureCursor = 4,
  kPictureGif = 5,
  kPicturePcx8 = 6,  // PCX, 8 bits per pixel with a colour table
  kPicturePcx1 = 7,  // PCX, 1 bit per pixel
  kPicturePng = 8,
};

constexpr uint32_t kMaxPictureSide = 16384;
constexpr size_t kMaxPicturePixelBytes = size_t(256) << 20;  // decoded 32-bit pixels

enum PictureFlag : uint32_t {
  kPictureHasAlpha = 1,              // some pixel has alpha below 255
  kPictureHasTransparentColour = 2,  // GIF: transparentColour names the transparent entry's colour
  kPictureAnimated = 4,              // frames holds two or more frames
};

// One frame of an animated GIF: the whole logical screen as it looks while the
// frame shows (earlier frames, disposal and transparency already applied).
struct PictureFrame {
  uint8_t* pixels;   // width × height × 4 bytes inside the picture's pixel block
  uint32_t delayMs;  // as stored in the file (hundredths of a second × 10)
};

// A decoded picture. Pixels are blue, green, red, alpha bytes, top row first, rows
// not padded. Pixels with alpha 0 keep their colour, so a drawer that ignores alpha
// shows the colour the file stores there.
struct DecodedPicture {
  uint32_t kind;  // PictureKind
  uint32_t width;
  uint32_t height;
  uint32_t flags;  // PictureFlag bits
  uint8_t* pixels;
  size_t size;                 // width × height × 4
  uint32_t transparentColour;  // colour value, red in the low byte (GIF with a transparent index)
  // Icons and cursors: the chosen image's bytes as stored in the file (a bitmap
  // header with its colour and mask bits, or a PNG), for making a platform icon;
  // a platform cursor wants the hot spot (two 16-bit words) in front of them.
  uint8_t* iconImage;
  size_t iconImageSize;
  uint16_t iconBitCount;
  uint16_t hotSpotX;  // cursors only
  uint16_t hotSpotY;
  // Animated GIF: frameCount frames whose pixels lie one after another in the pixel
  // block; pixels and size describe the first.
  uint32_t frameCount;
  PictureFrame* frames;
};

// The format of the data by its first 8 bytes; shorter data is unknown.
PictureKind DetectPictureFormat(const uint8_t* data, size_t size);

// Decodes the data into a new picture, or answers null (no picture). Empty data is
// no picture without being an error. With `animate`, a GIF with several images is
// decoded into all its frames; otherwise only its first image. `reason`, when
// given, receives a short description of why there is no picture.
DecodedPicture* DecodePicture(const uint8_t* data, size_t size, bool animate = false,
                              const char** reason = nullptr);
// Frees a picture from DecodePicture and everything it owns; null is ignored.
void FreePicture(DecodedPicture* picture);

// The decoders, one per format. Each fills *out (which it clears first) and answers
// null, or answers a reason and leaves *out empty. ReleasePictureContents frees
// what such a filled record owns and clears it.
const char* DecodeBmpPicture(const uint8_t* data, size_t size, DecodedPicture* out);
const char* DecodeIconPicture(const uint8_t* data, size_t size, DecodedPicture* out);
const char* DecodeGifPicture(const uint8_t* data, size_t size, bool animate, DecodedPicture* out);
const char* DecodePcxPicture(const uint8_t* data, size_t size, DecodedPicture* out);
const char* DecodePngPicture(const uint8_t* data, size_t size, DecodedPicture* out);
const char* DecodeJpegPicture(const uint8_t* data, size_t size, DecodedPicture* out);
void ReleasePictureContents(DecodedPicture* picture);

// How long an animation frame stays up: delays under 20 ms (often 0 in files made
// for browsers that ignore them) are shown for 100 ms.
inline uint32_t AnimationFrameMs(uint32_t delayMs) { return delayMs < 20 ? 100 : delayMs; }

}  // namespace lw
