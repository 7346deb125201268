// The edit box kind: a platform "EDIT" control styled from the properties, with
// its colours, the selection rules, the up-down buddy for spin modes and the
// content-changed event (raised once for every change by the user and once for
// every write of the content).
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "runtime/core/startup/guarded_procedure_win.h"
#include "runtime/core/startup/private_messages.h"
#include "runtime/core/text/text_positions.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/ui/kinds/colours_win.h"
#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/kinds/skeleton_win.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/windows/events.h"

namespace lw {

namespace {

constexpr int kBuddyIdOffset = 4;

struct EditState {
  EditProps props;
  HFONT font = nullptr;
  HBRUSH background = nullptr;
  HWND buddy = nullptr;        // up-down control for spin modes
  bool ownChange = false;      // set while the content is written, so the platform's
                               // change notification does not raise a second event
  size_t heldBytes = 0;        // with a length limit: the text's GBK length after the last change
};

WNDPROC g_editClassProc = nullptr;

EditState* stateOf(Unit* u) { return KindStateOf<EditState>(u, unit_type::EditBox); }

void release(EditState* s) {
  DeleteUnitFont(s->font);
  if (s->background) DeleteObject(s->background);
}

DWORD editStyle(const EditProps& p) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (!p.hideSelection) style |= ES_NOHIDESEL;
  if (p.multiLine) {
    style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (p.scrollBars == 1 || p.scrollBars == 3) style |= ES_AUTOHSCROLL | WS_HSCROLL;
    if (p.scrollBars == 2 || p.scrollBars == 3) style |= WS_VSCROLL;
  } else {
    style |= ES_AUTOHSCROLL;
  }
  if (p.alignment == 1) style |= ES_CENTER;
  if (p.alignment == 2) style |= ES_RIGHT;
  if (p.inputMode == 1) style |= ES_READONLY;
  if (p.inputMode == 2) style |= ES_PASSWORD;
  if (p.caseConversion == 1) style |= ES_LOWERCASE;
  if (p.caseConversion == 2) style |= ES_UPPERCASE;
  return style;
}

// The box holds its text in UTF-16 and counts positions in units; the program's
// positions and lengths are GBK bytes. These convert at every position.
std::u16string boxText(HWND hwnd) {
  std::wstring w = WideWindowText(hwnd);
  return std::u16string(w.begin(), w.end());
}

// The selection as GBK byte positions.
void selectionBytes(HWND hwnd, DWORD* from, DWORD* to) {
  DWORD a = 0, b = 0;
  SendMessageW(hwnd, EM_GETSEL, WPARAM(&a), LPARAM(&b));
  const std::u16string text = boxText(hwnd);
  *from = DWORD(GbkBytesOfUnits(text, a));
  *to = DWORD(GbkBytesOfUnits(text, b));
}

// The selection from a start and a length by the edit box's rules: start -1 puts
// the caret at the end, length -1 selects everything; other negatives count as 0.
// The selection takes whole characters (UnitsOfGbkSelection).
void applySelection(HWND hwnd, EditProps& p) {
  const std::u16string text = boxText(hwnd);
  const int length = int(GbkBytesOfUnits(text, text.size()));
  int start = p.selStart, count = p.selLength;
  if (count == -1) {
    start = 0;
    count = length;
  } else if (start == -1) {
    start = length;
    count = 0;
  }
  if (start < 0) start = 0;
  if (count < 0) count = 0;
  const UnitRange units = UnitsOfGbkSelection(text, size_t(start), size_t(count));
  p.selStart = int(GbkBytesOfUnits(text, units.from));
  p.selLength = int(GbkBytesOfUnits(text, units.to)) - p.selStart;
  SendMessageW(hwnd, EM_SETSEL, WPARAM(units.from), LPARAM(units.to));
  SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
}

void applyInputMode(HWND hwnd, const EditProps& p) {
  WPARAM mask = 0;
  if (p.inputMode == 2) {
    const char c = char(p.maskChar);
    const std::wstring w = Wide(&c, 1);
    mask = w.size() == 1 ? WPARAM(w[0]) : WPARAM(L'*');
  }
  SendMessageW(hwnd, EM_SETPASSWORDCHAR, mask, 0);
  SendMessageW(hwnd, EM_SETREADONLY, p.inputMode == 1, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
}

// The limit is in GBK bytes. The box counts units, and every character takes at
// least one byte, so it is told the same number and the byte count is held after
// each change (keepWithinLimit).
void applyMaxLength(HWND hwnd, const EditProps& p) {
  SendMessageW(hwnd, EM_LIMITTEXT, WPARAM(p.maxLength > 0 ? p.maxLength : 0), 0);
}

// Only a box with a limit keeps its length: the others need not measure every change.
void holdLength(HWND hwnd, EditState* s) {
  const std::u16string text = s->props.maxLength > 0 ? boxText(hwnd) : std::u16string();
  s->heldBytes = GbkBytesOfUnits(text, text.size());
}

// After a change that took the text past the byte limit (two-byte characters typed,
// pasted or composed), the characters just before the caret are taken out until
// it fits: what was inserted last is what does not fit. A text the program wrote
// past the limit stays as written; it only cannot grow.
void keepWithinLimit(HWND hwnd, EditState* s) {
  const EditProps& p = s->props;
  if (p.maxLength <= 0) return;
  const std::u16string text = boxText(hwnd);
  const size_t bytes = GbkBytesOfUnits(text, text.size());
  const size_t allowed = s->heldBytes > size_t(p.maxLength) ? s->heldBytes : size_t(p.maxLength);
  if (bytes <= allowed) return;
  DWORD from = 0, caret = 0;
  SendMessageW(hwnd, EM_GETSEL, WPARAM(&from), LPARAM(&caret));
  const size_t before = GbkBytesOfUnits(text, caret);
  const size_t over = bytes - allowed;
  const size_t keep = before > over ? UnitsOfGbkBytes(text, before - over) : 0;
  s->ownChange = true;
  SendMessageW(hwnd, EM_SETSEL, WPARAM(keep), LPARAM(caret));
  SendMessageW(hwnd, EM_REPLACESEL, FALSE, LPARAM(L""));
  s->ownChange = false;
}

// A single-line box gets its frame and margins worked out again after the border
// changed, so its text sits inside the new frame.
void reframe(HWND hwnd, const EditProps& p) {
  if (p.multiLine) return;
  SendMessageW(hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(EC_USEFONTINFO, EC_USEFONTINFO));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The up-down buddy of a single-line box with a spin mode, beside it in its parent.
void makeBuddy(HWND hwnd, EditState* s) {
  const EditProps& p = s->props;
  if (s->buddy || p.multiLine || p.spinMode == 0) return;
  DWORD style = WS_CHILD | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  if (p.spinMode == 2) style |= UDS_WRAP;
  if (IsWindowVisible(hwnd)) style |= WS_VISIBLE;
  if (!IsWindowEnabled(hwnd)) style |= WS_DISABLED;
  HWND parent = GetParent(hwnd);
  s->buddy = CreateWindowExW(0, UPDOWN_CLASSW, L"", style, 0, 0, 0, 0, parent,
                             HMENU(intptr_t(GetDlgCtrlID(hwnd) + kBuddyIdOffset)), GetModuleHandleW(nullptr),
                             nullptr);
  if (!s->buddy) return;
  SetPropW(s->buddy, kBuddyOfProp, hwnd);
  SendMessageW(s->buddy, UDM_SETBUDDY, WPARAM(hwnd), 0);
  const int lo = p.spinLower < p.spinUpper ? p.spinLower : p.spinUpper;
  const int hi = p.spinLower < p.spinUpper ? p.spinUpper : p.spinLower;
  SendMessageW(s->buddy, UDM_SETRANGE32, WPARAM(lo), LPARAM(hi));
}

void dropBuddy(EditState* s) {
  if (!s->buddy) return;
  RemovePropW(s->buddy, kBuddyOfProp);
  DestroyWindow(s->buddy);
  s->buddy = nullptr;
}

// Raises the content-changed event, unless the change is our own write.
void contentChanged(Unit* u, EditState* s) {
  if (!s->ownChange) FireUnitEvent(u->windowId, u->unitId, edit_event::Changed);
}

// The keys the box keeps from the dialog keys, as the platform's edit answers, but
// never Tab, so that Tab and Shift+Tab leave a multi-line box as they leave any
// other, and never Esc: a multi-line box would take it and close its whole window
// (the platform's edit posts WM_CLOSE to its parent). Left to the dialog keys, Esc
// is the window's cancel, which a window with boxes to type into ignores.
LRESULT dialogCode(HWND hwnd, WPARAM wp, LPARAM lp) {
  LRESULT code = CallWindowProcW(g_editClassProc, hwnd, WM_GETDLGCODE, wp, lp);
  const MSG* m = reinterpret_cast<const MSG*>(lp);
  const bool keyDown = m && m->message == WM_KEYDOWN;
  const bool tab = wp == VK_TAB || (m && (keyDown || m->message == WM_CHAR) && m->wParam == VK_TAB);
  if (tab) code &= ~(DLGC_WANTTAB | DLGC_WANTALLKEYS);
  if (keyDown && m->wParam == VK_ESCAPE) code &= ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
  return code;
}

bool ctrlAlone() { return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_SHIFT) >= 0; }

LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Unit* u = UnitFromWindow(hwnd);
  EditState* s = stateOf(u);
  switch (msg) {
    case WM_KEYDOWN:  // Ctrl+A selects the whole text, on every version of the platform's box
      if (wp == 'A' && ctrlAlone()) {
        SendMessageW(hwnd, EM_SETSEL, 0, -1);
        return 0;
      }
      break;
    case WM_CHAR:  // the control character Ctrl+A makes is not typed
      if (wp == 0x01 && ctrlAlone()) return 0;
      break;
    case private_message::AllUnitsExist:
      if (s) makeBuddy(hwnd, s);
      return 0;
    case WM_ENABLE:
      if (s && s->buddy) EnableWindow(s->buddy, BOOL(wp));
      break;
    case WM_SHOWWINDOW:
      if (s && s->buddy) ShowWindow(s->buddy, wp ? SW_SHOWNOACTIVATE : SW_HIDE);
      break;
    case WM_DESTROY:
      if (s) dropBuddy(s);
      break;
    case WM_GETDLGCODE: return dialogCode(hwnd, wp, lp);
    case WM_SYSCOLORCHANGE:  // the default colour is the system's face, which may have changed
      if (s) ReplaceBrush(&s->background, s->props.backColour);
      break;
    default: break;
  }
  return CallWindowProcW(g_editClassProc, hwnd, msg, wp, lp);
}

// The box's change and focus notifications; true when handled.
bool onCommand(Unit* u, EditState* s, WORD code) {
  switch (code) {
    case EN_CHANGE:
      if (!s->ownChange) keepWithinLimit(HWND(u->hwnd), s);
      holdLength(HWND(u->hwnd), s);
      contentChanged(u, s);  // last: its handler may close the window
      return true;
    case EN_SETFOCUS: FireFocusEvent(u, WM_SETFOCUS); return true;
    case EN_KILLFOCUS: FireFocusEvent(u, WM_KILLFOCUS); return true;
    default: return false;
  }
}

// The box's colours; read-only and disabled boxes ask for the static colours.
LRESULT onControlColour(EditState* s, HDC dc) {
  SetTextColor(dc, UnitColour(ColourRole::BoxText, s->props.textColour));
  SetBkColor(dc, UnitColour(ColourRole::Box, s->props.backColour));
  return LRESULT(UnitBrush(ColourRole::Box, s->background));
}

// What the edit box's parent passes on: change and focus notifications, colours.
LRESULT notify(Unit* u, UINT msg, WPARAM wp, LPARAM, bool* handled) {
  EditState* s = stateOf(u);
  *handled = false;
  if (!s) return 0;
  switch (msg) {
    case WM_COMMAND: *handled = onCommand(u, s, HIWORD(wp)); return 0;
    case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC: *handled = true; return onControlColour(s, HDC(wp));
    default: return 0;
  }
}

HWND makeWindow(const UnitCreateArgs& a, EditState* s) {
  const EditProps& p = s->props;
  const DWORD style = editStyle(p) | (a.style & ~WS_VISIBLE);
  HWND hwnd = CreateWindowExW(BorderExStyle(p.border), L"EDIT", Wide(p.text).c_str(), style, a.left, a.top,
                              a.width, a.height, HWND(a.parent), HMENU(intptr_t(a.controlId)),
                              GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  SubclassControl(hwnd, &Guarded<editProc>, &g_editClassProc);
  ReplaceBrush(&s->background, p.backColour);
  ReplaceFont(&s->font, p.font, hwnd);
  return hwnd;
}

void settle(HWND hwnd, EditState* s) {
  EditProps& p = s->props;
  ApplyBorderStyle(hwnd, p.border);
  if (p.inputMode == 2) applyInputMode(hwnd, p);
  reframe(hwnd, p);
  applyMaxLength(hwnd, p);
  applySelection(hwnd, p);
  holdLength(hwnd, s);
}

// The properties the box's rows leave to it: the mask character (written as a text)
// and the selection (one half given, the other the box's current one).
int setByHand(HWND hwnd, EditState* s, int number, const PropertyValue& v) {
  EditProps& p = s->props;
  switch (number) {
    case edit_prop::MaskChar:
      // An empty text keeps the mask: a password box never starts showing its text
      // because no character was given.
      if (v.text.empty()) return 0;
      p.maskChar = uint8_t(v.text[0]);
      if (p.inputMode == 2) applyInputMode(hwnd, p);
      return 0;
    case edit_prop::SelStart: case edit_prop::SelLength: {
      DWORD from = 0, to = 0;
      selectionBytes(hwnd, &from, &to);
      p.selStart = int32_t(from);
      p.selLength = int32_t(to - from);
      (number == edit_prop::SelStart ? p.selStart : p.selLength) = v.i;
      applySelection(hwnd, p);
      return 0;
    }
    case edit_prop::SelText: SendMessageW(hwnd, EM_REPLACESEL, TRUE, LPARAM(Wide(v.text).c_str())); return 0;
    default: return 0;
  }
}

// A style property that changed on a live box asks for a new window (answer 1).
int show(HWND hwnd, EditState* s, int number, bool changed) {
  const EditProps& p = s->props;
  switch (number) {
    case edit_prop::Text:
      // The platform's own notification is held back so the write raises one event.
      s->ownChange = true;
      SetWindowTextGbk(hwnd, p.text);
      s->ownChange = false;
      if (Unit* u = UnitFromWindow(hwnd)) FireUnitEvent(u->windowId, u->unitId, edit_event::Changed);
      return 0;
    case edit_prop::Border: ApplyBorderStyle(hwnd, p.border), reframe(hwnd, p); return 0;
    case edit_prop::TextColour: break;
    case edit_prop::BackColour: ReplaceBrush(&s->background, p.backColour); break;
    case edit_prop::Font: ReplaceFont(&s->font, p.font, hwnd), reframe(hwnd, p); return 0;
    case edit_prop::HideSelection: case edit_prop::MultiLine: case edit_prop::ScrollBars:
    case edit_prop::Alignment: case edit_prop::CaseConversion: case edit_prop::SpinMode:
      return changed ? 1 : 0;
    case edit_prop::MaxLength:
      applyMaxLength(hwnd, p);
      holdLength(hwnd, s);
      return 0;
    case edit_prop::InputMode: applyInputMode(hwnd, p); return 0;
    case edit_prop::SpinLower: case edit_prop::SpinUpper:
      if (s->buddy) {
        const int lo = p.spinLower < p.spinUpper ? p.spinLower : p.spinUpper;
        const int hi = p.spinLower < p.spinUpper ? p.spinUpper : p.spinLower;
        SendMessageW(s->buddy, UDM_SETRANGE32, WPARAM(lo), LPARAM(hi));
      }
      return 0;
    default: return 0;  // the stored texts
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  return 0;
}

// The selected part of the box's text.
std::string selectedText(HWND hwnd) {
  DWORD from = 0, to = 0;
  SendMessageW(hwnd, EM_GETSEL, WPARAM(&from), LPARAM(&to));
  const std::wstring text = WideWindowText(hwnd);
  if (from > text.size()) from = DWORD(text.size());
  if (to > text.size()) to = DWORD(text.size());
  return to > from ? Gbk(text.substr(from, to - from)) : std::string();
}

// The properties the live box holds: its text, mask character and selection.
int readLive(HWND hwnd, EditState* s, int number, PropertyValue* v) {
  switch (number) {
    case edit_prop::Text: v->text = WindowTextOf(hwnd); return 1;
    case edit_prop::MaskChar:
      v->text = s->props.maskChar ? std::string(1, char(s->props.maskChar)) : std::string();
      return 1;
    case edit_prop::SelStart: case edit_prop::SelLength: {
      DWORD from = 0, to = 0;
      selectionBytes(hwnd, &from, &to);
      v->i = number == edit_prop::SelStart ? int32_t(from) : int32_t(to - from);
      return 1;
    }
    case edit_prop::SelText: v->text = selectedText(hwnd); return 1;
    default: return 0;
  }
}

// The text and selection the box holds now, so a re-created box comes back as it was.
void takeLive(HWND hwnd, EditProps* p) {
  p->text = WindowTextOf(hwnd);
  DWORD from = 0, to = 0;
  selectionBytes(hwnd, &from, &to);
  p->selStart = int32_t(from);
  p->selLength = int32_t(to - from);
}

constexpr UnitKindParts<EditState> kParts = {
    unit_type::EditBox, &kEditTable, &makeWindow, &settle, &notify, &release, &setByHand, &show, &readLive, &takeLive,
};

}  // namespace

extern const UnitKindRoutines kEditBoxRoutines = KindRoutines<EditState, kParts>();

}  // namespace lw
