// The small pieces the files of the control kinds share. Each kind's file exports
// the row of its routines, which the table of kinds (table.cpp) names.
#pragma once
#include <windows.h>

#include <string>
#include <variant>
#include <vector>

#include "runtime/ui/kinds/table.h"
#include "runtime/ui/unit.h"

namespace lw {

// The kind's properties from the create arguments' block (empty: defaults); false
// when the block is rejected.
template <class Props>
bool DecodeKindProps(uint32_t typeId, const UnitCreateArgs& a, Props* out) {
  UnitProps props;
  if (!DecodeUnitProperties(typeId, a.block, a.blockSize, &props, nullptr)) return false;
  if (const Props* p = std::get_if<Props>(&props)) {
    *out = *p;
    return true;
  }
  return false;
}

inline int ClampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The window's text in the ANSI code page.
std::string WindowTextOf(HWND hwnd);

// A solid brush of a colour value (the default marker is the button face),
// replacing and deleting the one in *slot.
void ReplaceBrush(HBRUSH* slot, uint32_t colour);
// The unit's font from a font block, replacing (and deleting) the one in *slot;
// the window gets it when given. It is made for `dpi`, or when 0 for the scale of
// the window `hwnd` belongs to.
void ReplaceFont(HFONT* slot, const std::vector<uint8_t>& block, HWND hwnd, int dpi = 0);
void DeleteUnitFont(HFONT font);

// Registers one of the runtime's own window classes (arrow cursor, no background
// brush) once.
bool RegisterUnitClass(const char* name, WNDPROC proc, UINT classStyle);

// Puts `proc` in front of a platform control's own procedure; the control's class
// procedure is kept in *classProc for CallWindowProc.
void SubclassControl(HWND hwnd, WNDPROC proc, WNDPROC* classProc);

// The message a unit raises its focus events from: FocusGained on WM_SETFOCUS,
// FocusLost on WM_KILLFOCUS. A unit that gains the focus also moves the default
// button's look to the button Enter now presses.
void FireFocusEvent(Unit* unit, UINT msg);

// Push buttons of the button kind: whether a window is one, whether the program
// marked it as its window's default button, and its look as the default or a plain
// push button.
bool IsPushButton(HWND hwnd);
bool IsMarkedDefaultButton(HWND hwnd);
void ShowAsDefaultButton(HWND hwnd, bool asDefault);

}  // namespace lw
