// The display scale at the platform edge: the pixels per inch of the system and of
// each loaded window, the unit fonts made for a window's scale, and a window's
// move to a monitor of another scale. The calls newer systems offer for this are
// looked up at run time, with the older call as the fallback, so the program
// still starts where they do not exist.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace lw {

// Messages newer systems send when a window's scale changes; older headers lack them.
constexpr UINT kMessageDpiChanged = 0x02E0;
constexpr UINT kMessageGetDpiScaledSize = 0x02E4;

// The system's pixels per inch: GetDpiForSystem, or the screen's LOGPIXELSY.
int SystemDpi();

// The pixels per inch a window (or a control, through its top-level window) is
// laid out for: the scale the runtime recorded for the loaded window, else what
// the platform says of it, else the system's. A null window gives the system's.
int WindowDpi(HWND hwnd);

// The pixels per inch the platform reports for a window now (GetDpiForWindow, or
// the system's), without the runtime's record.
int PlatformWindowDpi(HWND hwnd);

// The pixels per inch the default unit font was made for: the screen's at start.
int DefaultUnitFontDpi();

// Records the scale a loaded window (its top-level window) is laid out for.
void RecordWindowDpi(HWND window, int dpi);

// A unit's font from its font block, for `dpi`: the block's height is in 96-DPI
// units. An empty block gives the default GUI font, made for `dpi` when the stock
// one was made for another scale. Free it with DeleteUnitFont.
HFONT MakeUnitFontForDpi(const std::vector<uint8_t>& block, int dpi);

// A loaded window moved to a monitor of `dpi`: it takes `suggested` (screen
// pixels; null keeps its place and scales its size), every control's rectangle,
// font and list columns are made again from the 96-DPI units of the records, and
// the whole window is redrawn.
void OnWindowDpiChanged(HWND window, int dpi, const RECT* suggested);

// The outer size a loaded window takes at `dpi`: its client area rescaled, with
// the frame of that scale. False when it cannot be worked out.
bool ScaledWindowSize(HWND window, int dpi, SIZE* size);

}  // namespace lw
