#include "runtime/ui/pictures/draw_win.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/values/memory.h"
#include "runtime/picture/pixels.h"

namespace lw {

namespace {

// Above this many destination pixels a stretch is left to the platform instead of
// being worked out in a scaled copy.
constexpr int64_t kMaxScaledPixels = int64_t(16) << 20;

bool isIconKind(uint32_t kind) { return kind == kPictureIcon || kind == kPictureCursor; }

// Copies `pixels` into `bits`, compositing over the background where needed.
void fillBits(const DecodedPicture& p, const uint8_t* pixels, bool mayHaveAlpha, COLORREF background,
              uint8_t* bits) {
  const size_t count = size_t(p.width) * p.height;
  if (mayHaveAlpha)
    CompositeOverColour(pixels, bits, count, uint32_t(background));
  else
    memcpy(bits, pixels, count * 4);
}

}  // namespace

HICON MakePictureIcon(const DecodedPicture& p) {
  if (!p.iconImage || p.iconImageSize == 0 || p.iconImageSize > 0x7FFFFFF0) return nullptr;
  const bool icon = p.kind == kPictureIcon;
  std::vector<uint8_t> resource;
  if (!icon) {  // a cursor resource starts with its hot spot
    resource.resize(4);
    memcpy(resource.data(), &p.hotSpotX, 2);
    memcpy(resource.data() + 2, &p.hotSpotY, 2);
  }
  resource.insert(resource.end(), p.iconImage, p.iconImage + p.iconImageSize);
  auto* bytes = resource.data();
  const DWORD size = DWORD(resource.size());
  HICON h = CreateIconFromResourceEx(bytes, size, icon, 0x00030000, int(p.width), int(p.height), LR_DEFAULTCOLOR);
  if (!h && p.iconBitCount != 16) h = CreateIconFromResourceEx(bytes, size, icon, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
  return h;
}

HBITMAP MakeTopDownBitmap(HDC dc, int width, int height, uint8_t** bits) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* p = nullptr;
  HBITMAP b = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
  *bits = static_cast<uint8_t*>(p);
  if (b && !p) {
    DeleteObject(b);
    b = nullptr;
  }
  return b;
}

bool SetUnitPicture(UnitPicture* picture, const std::vector<uint8_t>& bytes, bool animate) {
  ClearUnitPicture(picture);
  if (bytes.empty()) return false;
  picture->decoded = DecodePicture(bytes.data(), bytes.size(), animate);
  if (!picture->decoded) return false;
  if (isIconKind(picture->decoded->kind)) picture->icon = MakePictureIcon(*picture->decoded);
  return true;
}

void ClearUnitPicture(UnitPicture* picture) {
  if (picture->icon) DestroyIcon(picture->icon);
  FreePicture(picture->decoded);
  picture->icon = nullptr;
  picture->decoded = nullptr;
}

bool MakeDrawablePicture(const UnitPicture& picture, HDC dc, COLORREF background, DrawablePicture* out,
                         const uint8_t* frame) {
  *out = DrawablePicture{};
  const DecodedPicture* p = picture.decoded;
  if (!p || !p->pixels || p->width == 0 || p->height == 0) return false;
  out->dc = dc;
  out->kind = p->kind;
  out->width = int(p->width);
  out->height = int(p->height);
  if (picture.icon && isIconKind(p->kind)) {
    out->icon = picture.icon;
    return true;
  }
  out->bitmap = MakeTopDownBitmap(dc, out->width, out->height, &out->bits);
  if (!out->bitmap) return false;
  // Animation frames carry the transparency of their images, whatever the first showed.
  const bool mayHaveAlpha = (p->flags & kPictureHasAlpha) || frame;
  fillBits(*p, frame ? frame : p->pixels, mayHaveAlpha, background, out->bits);
  return true;
}

void ReleaseDrawablePicture(DrawablePicture* d) {
  if (d->bitmap) DeleteObject(d->bitmap);
  *d = DrawablePicture{};
}

namespace {

// Blits `bitmap` (bw × bh) onto the destination at its own size.
void blit(HDC dc, int left, int top, HBITMAP bitmap, int bw, int bh) {
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(dc, left, top, bw, bh, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

}  // namespace

void DrawPicture(const DrawablePicture& d, int left, int top, int width, int height) {
  if (width < 0) width = d.width;
  if (height < 0) height = d.height;
  if (width == 0 || height == 0 || !d.dc) return;
  if (d.icon) {
    DrawIconEx(d.dc, left, top, d.icon, width, height, 0, nullptr, DI_NORMAL);
    return;
  }
  if (!d.bitmap) return;
  if (width == d.width && height == d.height) {
    blit(d.dc, left, top, d.bitmap, width, height);
    return;
  }
  // A scaled copy worked out here averages the pixels a shrunk picture loses, the
  // same on every platform; huge targets are left to the platform's stretch.
  if (int64_t(width) * height <= kMaxScaledPixels) {
    uint8_t* scaled = nullptr;
    if (HBITMAP b = MakeTopDownBitmap(d.dc, width, height, &scaled)) {
      bool stretched =
          StretchBox(d.bits, uint32_t(d.width), uint32_t(d.height), scaled, uint32_t(width), uint32_t(height));
      if (stretched) blit(d.dc, left, top, b, width, height);
      DeleteObject(b);
      if (stretched) return;
    }
  }
  HDC mem = CreateCompatibleDC(d.dc);
  HGDIOBJ old = SelectObject(mem, d.bitmap);
  int oldMode = SetStretchBltMode(d.dc, COLORONCOLOR);
  StretchBlt(d.dc, left, top, width, height, mem, 0, 0, d.width, d.height, SRCCOPY);
  SetStretchBltMode(d.dc, oldMode);
  SelectObject(mem, old);
  DeleteDC(mem);
}

void DrawPictureTransparent(const DrawablePicture& d, int left, int top, int width, int height,
                            COLORREF transparent) {
  if (width < 0) width = d.width;
  if (height < 0) height = d.height;
  if (width <= 0 || height <= 0 || !d.dc) return;
  if (d.icon) {  // icons carry their own mask
    DrawIconEx(d.dc, left, top, d.icon, width, height, 0, nullptr, DI_NORMAL);
    return;
  }
  if (!d.bitmap || int64_t(width) * height > kMaxScaledPixels) return;
  // A copy at the drawn size keeping exact colours, and a mask that is 1 wherever
  // the copy has the transparent colour: the destination stays there.
  uint8_t* bits = nullptr;
  HBITMAP scaled = MakeTopDownBitmap(d.dc, width, height, &bits);
  if (!scaled) return;
  StretchNearest(d.bits, uint32_t(d.width), uint32_t(d.height), bits, uint32_t(width), uint32_t(height));
  const size_t maskRow = (size_t(width) + 15) / 16 * 2;  // monochrome rows are word-aligned
  std::vector<uint8_t> maskBits(maskRow * size_t(height), 0);
  const uint8_t tb = GetBValue(transparent), tg = GetGValue(transparent), tr = GetRValue(transparent);
  for (int y = 0; y < height; ++y) {
    const uint8_t* px = bits + size_t(y) * width * 4;
    for (int x = 0; x < width; ++x, px += 4)
      if (px[0] == tb && px[1] == tg && px[2] == tr) maskBits[size_t(y) * maskRow + x / 8] |= uint8_t(0x80 >> (x % 8));
  }
  HBITMAP mask = CreateBitmap(width, height, 1, 1, maskBits.data());
  if (mask) {
    HDC src = CreateCompatibleDC(d.dc), maskDc = CreateCompatibleDC(d.dc);
    HGDIOBJ oldSrc = SelectObject(src, scaled), oldMask = SelectObject(maskDc, mask);
    // dst ^ src, kept where the mask is 1 and cleared where it is 0, ^ src again:
    // the destination where the colour is transparent, the picture elsewhere.
    COLORREF oldText = SetTextColor(d.dc, RGB(0, 0, 0)), oldBack = SetBkColor(d.dc, RGB(255, 255, 255));
    BitBlt(d.dc, left, top, width, height, src, 0, 0, SRCINVERT);
    BitBlt(d.dc, left, top, width, height, maskDc, 0, 0, SRCAND);
    BitBlt(d.dc, left, top, width, height, src, 0, 0, SRCINVERT);
    SetTextColor(d.dc, oldText);
    SetBkColor(d.dc, oldBack);
    SelectObject(maskDc, oldMask);
    SelectObject(src, oldSrc);
    DeleteDC(maskDc);
    DeleteDC(src);
    DeleteObject(mask);
  }
  DeleteObject(scaled);
}

namespace {

// Rows of the visible part are worked out about a mebibyte of pixels at a time, so
// that painting even a large box never needs a large block.
constexpr uint32_t kBandPixels = 256 * 1024;

void fillColour(HDC dc, const RECT& r, COLORREF colour) {
  if (HBRUSH brush = CreateSolidBrush(colour)) {
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
}

}  // namespace

bool DrawPictureVisible(HDC dc, const UnitPicture& picture, const RECT& target, COLORREF background,
                        const uint8_t* frame) {
  const DecodedPicture* p = picture.decoded;
  if (!p || !p->pixels || p->width == 0 || p->height == 0) return false;
  const int width = target.right - target.left, height = target.bottom - target.top;
  if (width <= 0 || height <= 0) return true;
  if (picture.icon && isIconKind(p->kind)) {
    DrawIconEx(dc, target.left, target.top, picture.icon, width, height, 0, nullptr, DI_NORMAL);
    return true;
  }
  RECT clip, visible;
  if (GetClipBox(dc, &clip) == ERROR || !IntersectRect(&visible, &target, &clip)) return true;  // nothing shows
  const uint32_t visibleWidth = uint32_t(visible.right - visible.left);
  const uint32_t visibleHeight = uint32_t(visible.bottom - visible.top);
  const uint32_t bandRows = std::min(visibleHeight, std::max<uint32_t>(1, kBandPixels / visibleWidth));
  size_t bandBytes = 0;
  auto* bits = checkedMul(size_t(visibleWidth) * 4, bandRows, &bandBytes)
                   ? static_cast<uint8_t*>(TryAllocMemory(bandBytes))
                   : nullptr;
  // Animation frames carry the transparency of their images, whatever the first showed.
  const uint32_t colour = uint32_t(background);
  const uint32_t* compositeOver = (p->flags & kPictureHasAlpha) || frame ? &colour : nullptr;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = int(visibleWidth);
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  bool drawn = bits != nullptr;
  for (uint32_t row = 0; drawn && row < visibleHeight; row += bandRows) {
    const uint32_t rows = std::min(bandRows, visibleHeight - row);
    const StretchPart part = {uint32_t(width),
                              uint32_t(height),
                              uint32_t(visible.left - target.left),
                              uint32_t(visible.top - target.top) + row,
                              visibleWidth,
                              rows};
    drawn = StretchBoxPart(frame ? frame : p->pixels, p->width, p->height, part, bits, compositeOver);
    if (!drawn) break;
    bi.bmiHeader.biHeight = -int(rows);  // top row first
    StretchDIBits(dc, visible.left, visible.top + int(row), int(visibleWidth), int(rows), 0, 0, int(visibleWidth),
                  int(rows), bits, &bi, DIB_RGB_COLORS, SRCCOPY);
  }
  FreeMemory(bits);
  if (!drawn) fillColour(dc, visible, background);  // short of memory: the background, not half a picture
  return drawn;
}

RECT DisplayPicture(HDC dc, const UnitPicture& picture, int mode, const RECT& client, COLORREF background,
                    const uint8_t* frame) {
  RECT drawn = {0, 0, 0, 0};
  const DecodedPicture* p = picture.decoded;
  if (!p) return drawn;
  PictureRect r = PictureDisplayRect(mode, client.right - client.left, client.bottom - client.top, p->width, p->height);
  const RECT target = {client.left + r.left, client.top + r.top, client.left + r.left + r.width,
                       client.top + r.top + r.height};
  return DrawPictureVisible(dc, picture, target, background, frame) ? target : drawn;
}

HBITMAP MakePictureBitmap(const UnitPicture& picture, COLORREF background) {
  DrawablePicture d;
  HDC screen = GetDC(nullptr);
  bool made = MakeDrawablePicture(UnitPicture{picture.decoded, nullptr}, screen, background, &d);
  ReleaseDC(nullptr, screen);
  return made ? d.bitmap : nullptr;  // the caller owns the bitmap
}

}  // namespace lw
