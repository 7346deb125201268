// The control kinds built into the program, and what their files share.
#include "runtime/ui/kinds/control_kinds_win.h"

#include "runtime/core/text/wide_text_win.h"
#include "runtime/ui/accessibility/dialog_keys_win.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/scale/display_scale_win.h"
#include "runtime/ui/windows/events.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {

std::string WindowTextOf(HWND hwnd) { return Gbk(WideWindowText(hwnd)); }

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
  if (hwnd) SendMessageW(hwnd, WM_SETFONT, WPARAM(*slot), TRUE);
  DeleteUnitFont(old);
}

bool RegisterUnitClass(const char* name, WNDPROC proc, UINT classStyle) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  const std::wstring className = Wide(name);
  WNDCLASSW existing;
  if (GetClassInfoW(inst, className.c_str(), &existing)) return true;
  WNDCLASSW wc = {};
  wc.style = classStyle;
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = SystemCursor(IDC_ARROW);
  wc.hbrBackground = nullptr;
  wc.lpszClassName = className.c_str();
  return RegisterClassW(&wc) != 0;
}

void SubclassControl(HWND hwnd, WNDPROC proc, WNDPROC* classProc) {
  auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, LONG_PTR(proc)));
  if (!*classProc) *classProc = previous;
}

void FireFocusEvent(Unit* unit, UINT msg) {
  if (!unit) return;
  if (msg == WM_SETFOCUS && unit->hwnd) ShowDefaultButtonLook(GetAncestor(HWND(unit->hwnd), GA_ROOT));
  if (msg == WM_SETFOCUS) FireUnitEvent(unit->windowId, unit->unitId, unit_event::FocusGained);
  if (msg == WM_KILLFOCUS) FireUnitEvent(unit->windowId, unit->unitId, unit_event::FocusLost);
}

}  // namespace lw
