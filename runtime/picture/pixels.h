// Pixel work the drawing of pictures needs and that does not touch the platform:
// where the picture box puts a picture, compositing over a background colour and
// stretching. Pixels are 32-bit blue, green, red, alpha, top row first.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lw {

struct PictureRect {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

// Where a picture of pictureWidth × pictureHeight goes in a client area by display
// mode: 0 own size at the top-left corner; 1 stretched over the whole area; 2 never
// enlarged, shrunk to fit keeping its proportions, and centred.
PictureRect PictureDisplayRect(int mode, int32_t clientWidth, int32_t clientHeight, uint32_t pictureWidth,
                               uint32_t pictureHeight);

// Writes `count` pixels of src composited over `colour` (a colour value, red in the
// low byte) into dst (which may be src): each channel becomes
// (alpha × channel + (255 − alpha) × background) / 255, and alpha becomes 255.
void CompositeOverColour(const uint8_t* src, uint8_t* dst, size_t count, uint32_t colour);

// Stretches src (srcWidth × srcHeight) to fill dst (dstWidth × dstHeight) taking
// for each destination pixel the source pixel under its centre.
void StretchNearest(const uint8_t* src, uint32_t srcWidth, uint32_t srcHeight, uint8_t* dst, uint32_t dstWidth,
                    uint32_t dstHeight);
// Like StretchNearest, but a shrunk direction averages every source pixel that a
// destination pixel covers (weighted by how much of it is covered), which keeps
// thin lines and text readable; an enlarged direction repeats pixels. It needs
// memory for one destination row only; false, with dst unfinished, when even that
// cannot be had.
bool StretchBox(const uint8_t* src, uint32_t srcWidth, uint32_t srcHeight, uint8_t* dst, uint32_t dstWidth,
                uint32_t dstHeight);

// The part of a stretch that is worked out: the picture is stretched to
// fullWidth × fullHeight, and only the width × height pixels from (left, top) are
// written. A window shows only what is visible of a picture, so this is all the
// memory a paint needs, whatever the picture's size.
struct StretchPart {
  uint32_t fullWidth, fullHeight;
  uint32_t left, top, width, height;
};
// StretchBox for one part, written into dst as part.width × part.height pixels.
// With `background` (a colour value), each source pixel is first composited over
// it as CompositeOverColour does. Needs a row of the part and the span of a source
// row the part takes; false, with dst unfinished, when that cannot be had or the
// part lies outside the full size.
bool StretchBoxPart(const uint8_t* src, uint32_t srcWidth, uint32_t srcHeight, const StretchPart& part, uint8_t* dst,
                    const uint32_t* background);

}  // namespace lw
