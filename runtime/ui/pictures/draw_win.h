// Drawing decoded pictures: the picture a unit shows (decoded once, with the icon
// made from it), the drawable picture made for one drawing (alpha composited over
// the unit's background colour), drawing at a size, drawing with a transparent
// colour, and the picture box's display modes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/picture/decode.h"

namespace lw {

// What a unit keeps of its picture property: the decoded picture and, for icons and
// cursors, the platform icon made from it. Empty when there is no picture.
struct UnitPicture {
  DecodedPicture* decoded = nullptr;
  HICON icon = nullptr;
};

// Discards the old picture and decodes `bytes` (empty: no picture). `animate`
// keeps every frame of an animated GIF. False when the bytes give no picture.
bool SetUnitPicture(UnitPicture* picture, const std::vector<uint8_t>& bytes, bool animate = false);
void ClearUnitPicture(UnitPicture* picture);

// The platform icon of an icon or cursor picture (a cursor for a cursor file), at
// the chosen image's own size, or without a size when that fails (except for
// 16-bit images, which never load); null when none can be made.
HICON MakePictureIcon(const DecodedPicture& picture);

// A picture made ready for one drawing.
struct DrawablePicture {
  HDC dc = nullptr;  // where it is drawn
  uint32_t kind = 0;
  int width = 0, height = 0;
  HICON icon = nullptr;      // icons and cursors (owned by the UnitPicture)
  HBITMAP bitmap = nullptr;  // every other kind: 32-bit top-down, alpha already composited
  uint8_t* bits = nullptr;   // the bitmap's pixels
};

// Makes a drawable picture for `dc`. Pixels with alpha below 255 are composited
// over `background` (a colour value, red in the low byte). `frame`, when given,
// holds the pixels of the animation frame to draw instead of the first.
bool MakeDrawablePicture(const UnitPicture& picture, HDC dc, COLORREF background, DrawablePicture* out,
                         const uint8_t* frame = nullptr);
void ReleaseDrawablePicture(DrawablePicture* d);

// Draws at (left, top) at width × height; -1 for either means the picture's own.
void DrawPicture(const DrawablePicture& d, int left, int top, int width = -1, int height = -1);
// The same, leaving out every pixel of `transparent` so what lies under it shows.
void DrawPictureTransparent(const DrawablePicture& d, int left, int top, int width, int height,
                            COLORREF transparent);

// Draws the picture (or `frame`) stretched over `target`, composited over
// `background`, working out only the pixels inside the clip box of `dc`: what a
// paint needs is the visible part, never a copy of the whole picture. When memory
// is short the visible part gets the background colour instead, and false.
bool DrawPictureVisible(HDC dc, const UnitPicture& picture, const RECT& target, COLORREF background,
                        const uint8_t* frame = nullptr);

// The picture box's display: the picture placed in `client` by display mode (0 own
// size at the top-left corner, 1 stretched over the area, 2 fitted and centred).
// Returns where it was drawn (empty when there was nothing to draw, or memory was
// short).
RECT DisplayPicture(HDC dc, const UnitPicture& picture, int mode, const RECT& client, COLORREF background,
                    const uint8_t* frame = nullptr);

// A bitmap of the picture composited over `background`, owned by the caller (for
// bitmap buttons); null when there is no picture.
HBITMAP MakePictureBitmap(const UnitPicture& picture, COLORREF background);

// The 32-bit top-down section bitmap behind bitmaps made here.
HBITMAP MakeTopDownBitmap(HDC dc, int width, int height, uint8_t** bits);

}  // namespace lw
