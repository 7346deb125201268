// Screenshots for the control tests: the pixels of a window as the screen shows
// them (read back from the display, so under Xvfb from the X server), and small
// helpers to count and locate colours in them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace lw::testing {

// Dispatches pending messages for a while, so windows paint and posted work runs.
inline void PumpMessages(int rounds = 10) {
  MSG msg;
  for (int i = 0; i < rounds; ++i) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
}

struct Capture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
  uint32_t at(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height ? pixels[size_t(y) * width + x] : 0xFFFFFFFFu;
  }
};

// Colour value (red in the low byte) as a captured pixel (red in the high byte).
inline uint32_t PixelOf(COLORREF c) { return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c); }

// The client area of `hwnd` as it is on the screen, after it has painted.
inline Capture CaptureClient(HWND hwnd) {
  Capture c;
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
  PumpMessages(6);
  RECT r;
  GetClientRect(hwnd, &r);
  POINT origin = {0, 0};
  ClientToScreen(hwnd, &origin);
  c.width = r.right;
  c.height = r.bottom;
  if (c.width <= 0 || c.height <= 0) return c;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = c.width;
  bi.bmiHeader.biHeight = -c.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, c.width, c.height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  c.pixels.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + size_t(c.width) * c.height);
  for (uint32_t& p : c.pixels) p &= 0x00FFFFFF;
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return c;
}

inline bool Near(uint32_t a, uint32_t b, int tolerance = 2) {
  for (int shift = 0; shift <= 16; shift += 8)
    if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > tolerance) return false;
  return true;
}

// How many pixels of `c` are (near) `colour`, within the rectangle (whole capture
// when empty).
inline int CountColour(const Capture& c, uint32_t colour, RECT area = {0, 0, 0, 0}, int tolerance = 2) {
  if (area.right <= area.left || area.bottom <= area.top) area = {0, 0, c.width, c.height};
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += Near(c.at(x, y), colour, tolerance);
  return n;
}

// How many pixels satisfy `test` (called with red, green, blue).
template <class Test>
int CountWhere(const Capture& c, Test test) {
  int n = 0;
  for (uint32_t p : c.pixels) n += test(int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)) ? 1 : 0;
  return n;
}
inline bool Reddish(int r, int g, int b) { return r > 160 && g < 110 && b < 110; }
inline bool Darkish(int r, int g, int b) { return r < 90 && g < 90 && b < 90; }

// The smallest rectangle holding every pixel of `colour`; empty when there is none.
inline RECT BoundsOf(const Capture& c, uint32_t colour, int tolerance = 2) {
  RECT r = {c.width, c.height, 0, 0};
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if (Near(c.at(x, y), colour, tolerance)) {
        if (x < r.left) r.left = x;
        if (y < r.top) r.top = y;
        if (x + 1 > r.right) r.right = x + 1;
        if (y + 1 > r.bottom) r.bottom = y + 1;
      }
  if (r.right <= r.left) r = {0, 0, 0, 0};
  return r;
}

// Writes a capture as a binary PPM file (for looking at a failing test's pixels).
inline bool SaveCapture(const Capture& c, const char* path) {
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  fprintf(f, "P6\n%d %d\n255\n", c.width, c.height);
  for (uint32_t p : c.pixels) {
    const unsigned char rgb[3] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
    fwrite(rgb, 1, 3, f);
  }
  fclose(f);
  return true;
}

}  // namespace lw::testing
