// What the screen shows: the pixels of a screen rectangle, read from the screen's
// device context (a window of another process cannot be asked to paint into ours),
// and kept as a 24-bit BMP file for people to look at after a run.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace lw::testing {

struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> bgr;  // top row first; 0x00RRGGBB

  uint32_t At(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height ? bgr[size_t(y) * size_t(width) + size_t(x)] : 0xFF000000;
  }
};

inline ScreenPixels CaptureScreen(const RECT& r) {
  ScreenPixels out;
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192) return out;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) {
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    out.width = w;
    out.height = h;
    out.bgr.resize(size_t(w) * size_t(h));
    const auto* p = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < out.bgr.size(); ++i) out.bgr[i] = p[i] & 0xFFFFFF;
    SelectObject(memory, old);
  }
  if (dib) DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return out;
}

// The window as it stands on the screen, frame included.
inline ScreenPixels CaptureWindow(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return CaptureScreen(r);
}

// Writes a 24-bit bottom-up BMP; false when the file cannot be written.
inline bool SaveBmp(const ScreenPixels& p, const std::string& path) {
  if (p.width <= 0 || p.height <= 0) return false;
  size_t rowBytes = (size_t(p.width) * 3 + 3) & ~size_t(3);
  size_t imageBytes = rowBytes * size_t(p.height);
  uint8_t head[54] = {'B', 'M'};
  auto put32 = [&head](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) head[at + i] = uint8_t(v >> (8 * i));
  };
  put32(2, uint32_t(54 + imageBytes));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(p.width));
  put32(22, uint32_t(p.height));
  head[26] = 1;
  head[28] = 24;
  put32(34, uint32_t(imageBytes));
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(head, 1, sizeof head, f) == sizeof head;
  std::vector<uint8_t> row(rowBytes, 0);
  for (int y = p.height - 1; ok && y >= 0; --y) {
    for (int x = 0; x < p.width; ++x) {
      uint32_t c = p.At(x, y);
      row[size_t(x) * 3] = uint8_t(c);
      row[size_t(x) * 3 + 1] = uint8_t(c >> 8);
      row[size_t(x) * 3 + 2] = uint8_t(c >> 16);
    }
    ok = fwrite(row.data(), 1, rowBytes, f) == rowBytes;
  }
  return fclose(f) == 0 && ok;
}

}  // namespace lw::testing
