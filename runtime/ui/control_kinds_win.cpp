// The control kinds built into the program, and what their files share.
#include "runtime/ui/control_kinds_win.h"

#include "runtime/ui/display_scale_win.h"
#include "runtime/ui/events.h"
#include "runtime/ui/units_win.h"

namespace lw {

std::string WindowTextOf(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  if (n <= 0) return {};
  std::string t(size_t(n) + 1, '\0');
  int got = GetWindowTextA(hwnd, &t[0], n + 1);
  t.resize(got > 0 ? size_t(got) : 0);
  return t;
}

void ReplaceBrush(HBRUSH* slot, uint32_t colour) {
  if (*slot) DeleteObject(*slot);
  *slot = CreateSolidBrush(ConvertColour(colour));
}

void DeleteUnitFont(HFONT font) {
  if (font && !IsStockFont(font)) DeleteObject(font);
}

void ReplaceFont(HFONT* slot, const std::vector<uint8_t>& block, HWND hwnd, int dpi) {
  HFONT old = *slot;
  *slot = MakeUnitFontForDpi(block, dpi > 0 ? dpi : WindowDpi(hwnd));
  if (hwnd) SendMessageA(hwnd, WM_SETFONT, WPARAM(*slot), TRUE);
  DeleteUnitFont(old);
}

bool RegisterUnitClass(const char* name, WNDPROC proc, UINT classStyle) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSA existing;
  if (GetClassInfoA(inst, name, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = classStyle;
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = nullptr;
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

void SubclassControl(HWND hwnd, WNDPROC proc, WNDPROC* classProc) {
  auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, LONG_PTR(proc)));
  if (!*classProc) *classProc = previous;
}

void FireFocusEvent(Unit* unit, UINT msg) {
  if (!unit) return;
  if (msg == WM_SETFOCUS) FireUnitEvent(unit->windowId, unit->unitId, unit_event::FocusGained);
  if (msg == WM_KILLFOCUS) FireUnitEvent(unit->windowId, unit->unitId, unit_event::FocusLost);
}

}  // namespace lw
