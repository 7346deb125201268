#include "runtime/ui/accessibility/dialog_keys_win.h"

#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/list_view_win.h"
#include "runtime/ui/properties/template_format.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {
namespace {

bool isKind(HWND h, uint32_t typeId) {
  Unit* u = h ? UnitFromWindow(h) : nullptr;
  return u && u->typeId == typeId;
}

// Shown and enabled by its own flags: a window that is about to be shown for the
// first time counts its controls too.
bool usable(HWND h) { return h && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(h); }

bool isSingleLineEdit(HWND h) {
  return isKind(h, unit_type::EditBox) && !(GetWindowLongW(h, GWL_STYLE) & ES_MULTILINE);
}

// A push button of the window marked as its default (the default-button property).
HWND markedDefaultButton(HWND parent) {
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (IsMarkedDefaultButton(h)) return h;
    if (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
      if (HWND inner = markedDefaultButton(h)) return inner;
  }
  return nullptr;
}

}  // namespace

HWND DefaultButtonFor(HWND window, HWND focus) {
  HWND button = nullptr;
  if (isKind(focus, unit_type::Button)) {
    button = focus;
  } else if (isSingleLineEdit(focus)) {
    HWND next = GetNextDlgTabItem(window, focus, FALSE);
    if (isKind(next, unit_type::Button)) button = next;
  }
  if (!button) button = markedDefaultButton(window);
  return usable(button) ? button : nullptr;
}

bool PressDefaultButton(HWND window, const MSG* msg) {
  if (msg->message != WM_KEYDOWN || msg->wParam != VK_RETURN) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  HWND focus = GetFocus();
  if (!focus || !IsChild(window, focus)) return false;
  // A control that takes Enter itself (a multi-line box) keeps it.
  const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, msg->wParam, LPARAM(msg));
  if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  // Enter on a list's selected row is the row's own action.
  if (ActivateSelectedRow(focus)) return true;
  HWND button = DefaultButtonFor(window, focus);
  if (!button) return false;
  SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), LPARAM(button));
  return true;
}

bool SendKeyboardContextRequest(const MSG* msg) {
  const bool shiftAlone = GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
  const bool shiftF10 = msg->message == WM_SYSKEYDOWN && msg->wParam == VK_F10 && shiftAlone;
  const bool menuKey = (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) && msg->wParam == VK_APPS;
  if (!shiftF10 && !menuKey) return false;
  // The menu key's release is taken too, so that no second request follows it.
  if (msg->message != WM_KEYUP) SendMessageW(msg->hwnd, WM_CONTEXTMENU, WPARAM(msg->hwnd), LPARAM(-1));
  return true;
}

namespace {

void showLook(HWND parent, HWND target) {
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (IsPushButton(h)) ShowAsDefaultButton(h, h == target);
    else if (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) showLook(h, target);
  }
}

}  // namespace

void ShowDefaultButtonLook(HWND window) {
  if (!window) return;
  HWND focus = GetFocus();
  showLook(window, DefaultButtonFor(window, focus && IsChild(window, focus) ? focus : nullptr));
}

HWND FirstTabStop(HWND window) {
  for (HWND h = GetWindow(window, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!usable(h)) continue;
    if (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) return h;
    if (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
      if (HWND inner = FirstTabStop(h)) return inner;
  }
  return nullptr;
}

}  // namespace lw
