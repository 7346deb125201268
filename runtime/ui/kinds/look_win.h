// What the kinds share of their look: colours, fonts and border styles.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lw {

// Maps the default marker 0xFF000000 to the button-face colour.
COLORREF ConvertColour(uint32_t colour);

// A font from a 60-byte logical font block (the GB2312 character set unless that
// would lose a face the system has, proof quality; the face name is a GBK text);
// the default font for an empty block. The result is
// owned by the caller unless it is the default font (IsStockFont).
HFONT MakeUnitFont(const std::vector<uint8_t>& block);
bool IsStockFont(HFONT font);

// The font units draw with when they name none: the stock GUI font, or a Chinese
// UI face of the same height where the stock font has no glyphs for Chinese text.
// Made once and kept for the process.
HFONT DefaultUnitFont();

// Whether `font` has a glyph of its own for every character of `text`.
bool FontDrawsText(HDC dc, HFONT font, const std::wstring& text);
// A font as `lf` asks, in the first of the system's Chinese faces that draws the
// program's texts (the face DefaultUnitFont falls back to); null when none does. The
// caller deletes it.
HFONT ChineseFontLike(LOGFONTW lf);

// Border styles 0-5 shared by labels, edit boxes, picture boxes and list views.
void ApplyBorderStyle(HWND hwnd, int border);
// The extended styles of a border, for creating a control in it from the start
// (ApplyBorderStyle then finds nothing to change).
DWORD BorderExStyle(int border);

}  // namespace lw
