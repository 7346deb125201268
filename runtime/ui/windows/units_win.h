// Shared platform pieces of the unit kinds: finding a unit from its window,
// colours and fonts, border styles, and passing control notifications from a
// container to the unit that sent them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/ui/unit.h"

namespace lw {

// Per-kind handling of the messages a control sends to its parent (WM_COMMAND,
// WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM): the container hands them to the child's unit.
using UnitNotify = LRESULT (*)(Unit* unit, UINT msg, WPARAM wp, LPARAM lp, bool* handled);

// Makes a unit object for a freshly created window and ties it to the window, so
// that UnitFromWindow finds it and the object is freed with the window.
Unit* AttachNewUnit(HWND hwnd, const UnitCreateArgs& args, uint32_t typeId, void* state, UnitNotify notify,
                    void (*freeState)(void*));
Unit* UnitFromWindow(HWND hwnd);
UnitNotify NotifyRoutineOf(Unit* unit);

// The property an edit box's up-down buddy carries: the edit box it serves.
inline constexpr wchar_t kBuddyOfProp[] = L"lw.buddyOf";

// A container's window procedure calls this first: control notifications go to the
// unit of the control that sent them. True when handled (the result in *result).
bool RouteChildNotification(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

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

// The window record and unit record a live unit belongs to.
struct WindowRecord;
struct UnitRecord;
UnitRecord* RecordOfUnit(const Unit* unit, WindowRecord** window = nullptr);

// Whether a record's unit is live: its slot holds an object whose window exists.
Unit* LiveUnit(UnitRecord* record);

}  // namespace lw
