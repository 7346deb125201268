// Display scale: the program's geometry is kept in 96-DPI units (the template's
// positions, sizes, column widths and font heights, and every position or size a
// property carries) and becomes device pixels only where it enters the platform.
// Pure arithmetic, so it builds and is tested natively.
#pragma once
#include <cstdint>

namespace lw {

// The pixels per inch the program's units are measured at.
constexpr int kBaseDpi = 96;

// 96-DPI units to device pixels at `dpi`, rounded to the nearest pixel (halves away
// from zero, as the platform's MulDiv rounds). A dpi of 0 or less counts as 96.
int ScaleToDpi(int units, int dpi);

// Device pixels at `dpi` back to 96-DPI units, rounded the same way. For any dpi
// of 96 or more, ScaleFromDpi(ScaleToDpi(v, dpi), dpi) == v.
int ScaleFromDpi(int pixels, int dpi);

// Pixels at one scale to pixels at another, through the units: what a window's
// live geometry becomes when it moves to a monitor of another scale.
int RescaleBetween(int pixels, int fromDpi, int toDpi);

// A rectangle as position and extent, in whichever units the caller names.
struct ScaledBox {
  int left, top, width, height;
};

// A box of 96-DPI units in pixels at `dpi`. The extent is scaled itself (not taken
// as the difference of scaled edges) so that a property's width reads back as
// written, and a control's size does not depend on where it sits.
ScaledBox ScaleBoxToDpi(const ScaledBox& units, int dpi);
ScaledBox ScaleBoxFromDpi(const ScaledBox& pixels, int dpi);

// A font height (a LOGFONT height: negative for character height, positive for
// cell height, 0 for the default) from 96-DPI units to pixels at `dpi`. Zero stays
// zero, and a non-zero height never rounds to zero.
int32_t ScaleFontHeight(int32_t units, int dpi);

}  // namespace lw
