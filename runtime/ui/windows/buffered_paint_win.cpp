#include "runtime/ui/windows/buffered_paint_win.h"

namespace lw {

void PaintBuffered(HWND hwnd, ClientPainter paint, const void* context) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  if (paint && client.right > 0 && client.bottom > 0) {
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP buffer = mem ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
    if (buffer) {
      HGDIOBJ old = SelectObject(mem, buffer);
      paint(mem, client, context);
      BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteObject(buffer);
    } else {
      paint(dc, client, context);  // straight onto the window, flicker and all
    }
    if (mem) DeleteDC(mem);
  }
  EndPaint(hwnd, &ps);
}

}  // namespace lw
