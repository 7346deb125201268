// The colours units draw with. Normally those the template or a property gives;
// while the system asks for high contrast, the system's colour for what the colour
// does (its role) instead, so that a user's contrast scheme reaches every unit. The
// properties keep the program's values either way: only drawing changes.
#pragma once
#include <windows.h>

#include <cstdint>

namespace lw {

// What a colour is for. Labels and group boxes draw on the window's face; edit boxes
// and the list are boxes to read and type in.
enum class ColourRole : uint8_t {
  FaceText,  // labels (the status line too), group box captions
  Face,      // the window, label and group box backgrounds
  BoxText,   // edit boxes and the list
  Box,       // their backgrounds
};

// The system's contrast setting and its colours for the roles.
struct ContrastScheme {
  bool on = false;
  COLORREF faceText = 0, face = 0, boxText = 0, box = 0;
};

// The switch and the colours as the system gives them now.
ContrastScheme ReadContrastScheme();

// Whether units draw in the scheme's colours. Read from the system on first use.
bool HighContrastOn();

// The colour a unit draws with for `role`: the program's own `programColour` (the
// default marker is the button face), or the scheme's while high contrast is on.
COLORREF UnitColour(ColourRole role, uint32_t programColour);

// The brush for a background of `role`: `programBrush` (the unit's own, made from
// its colour), or the scheme's while high contrast is on. Neither is the caller's to
// delete.
HBRUSH UnitBrush(ColourRole role, HBRUSH programBrush);

// A top-level window's answer to a change of the system's colours or contrast
// switch: takes `scheme`, remakes the scheme's brushes, tells every control in the
// window (WM_SYSCOLORCHANGE, which the common controls need for their own copies of
// the system's colours, and on which the list takes its colours again) and paints
// the window again.
void FollowContrastScheme(HWND window, const ContrastScheme& scheme);

// Whether a message tells of such a change: WM_SYSCOLORCHANGE, WM_THEMECHANGED, or
// WM_SETTINGCHANGE for the contrast switch.
bool IsContrastChange(UINT msg, WPARAM wp);

}  // namespace lw
