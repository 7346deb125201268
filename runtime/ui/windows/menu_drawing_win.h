// Pop-up menus that stay readable whatever the system's language. The system draws
// menus in its menu font; where that font has no glyphs for an item's text (a
// Western system whose menu font nothing links to a Chinese face), the runtime draws
// the items itself in the Chinese face the labels fall back to, in the system's menu
// colours. Each item keeps its text, so screen readers and the keyboard's
// first-letter choice read it as before. Where the font has the glyphs, menus stay
// the platform's own.
#pragma once
#include <windows.h>

namespace lw {

// Shows a pop-up menu at a screen point for `owner` and returns the chosen command
// (0 for none), as TrackPopupMenu with TPM_RETURNCMD does.
UINT TrackReadableMenu(HMENU menu, int x, int y, HWND owner);

// Whether some item of `menu` or its submenus has a character `font` cannot draw.
bool MenuLacksGlyphs(HMENU menu, HFONT font);

// Turns every item of `menu` and its submenus into one the runtime draws, keeping
// its text, and makes the font they are drawn in. Undone by ForgetOwnDrawnMenus
// (the items' texts are kept until then).
void DrawMenuOurselves(HMENU menu);
void ForgetOwnDrawnMenus();

// A menu owner's answer to WM_MEASUREITEM and WM_DRAWITEM for the items
// DrawMenuOurselves made; false for any other item.
bool AnswerOwnDrawnMenuItem(UINT msg, LPARAM lp, LRESULT* result);

}  // namespace lw
