// The display scale at the platform edge: the pixels per inch of the system and of
// each loaded window, every conversion between the program's 96-DPI units and
// device pixels (with the arithmetic of display_scale.h under it), the unit fonts
// made for a window's scale, and a window's move to a monitor of another scale.
// The calls newer systems offer for this are looked up at run time, with the older
// call as the fallback, so the program still starts where they do not exist.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/scale/display_scale.h"

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

// ---- Units and pixels ----
// The program's geometry is in 96-DPI units above the platform edge; it becomes
// device pixels, and pixels become units again, through these and nowhere else:
// at the scale of the window a control or window is laid out for (WindowDpi; the
// system's for a null window). A window still being made has no scale yet: its
// maker names one and converts with display_scale.h's ScaleBoxToDpi.
int UnitsToPixels(HWND hwnd, int units);
int PixelsToUnits(HWND hwnd, int pixels);
ScaledBox BoxToPixels(HWND hwnd, const ScaledBox& units);
ScaledBox BoxToUnits(HWND hwnd, const ScaledBox& pixels);
// A unit's 96-DPI units in pixels at the scale of the loaded window it sits on
// (the system's when it has no live window).
int UnitPixels(uint32_t windowId, uint32_t unitId, int units);
// A size of the default unit font, in pixels at the scale it was made for, as
// 96-DPI units.
int DefaultFontPixelsToUnits(int pixels);

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
