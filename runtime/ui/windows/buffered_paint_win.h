// Painting a window's client area through a bitmap of it, so that a paint made of
// layers (background, picture, caption) or an animation frame never flickers.
#pragma once
#include <windows.h>

namespace lw {

// Paints the whole client area with `paint` (given the client rectangle and
// `context`).
using ClientPainter = void (*)(HDC dc, const RECT& client, const void* context);

// Answers WM_PAINT: `paint` draws into a bitmap of the client area, which is then
// copied to the window in one piece. Where no bitmap can be made (no memory for
// it), `paint` draws straight onto the window instead. A null `paint`, or an empty
// client area, only validates the window.
void PaintBuffered(HWND hwnd, ClientPainter paint, const void* context);

}  // namespace lw
