// The button kind: a platform "BUTTON" push button with its caption alignment and
// default-button style; a picture makes it an icon button (icon and cursor
// pictures) or a bitmap button. Raises event 0 when clicked and the focus events.
#include <vector>

#include "runtime/core/startup/guarded_procedure_win.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/ui/accessibility/dialog_keys_win.h"
#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/kinds/skeleton_win.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/pictures/draw_win.h"
#include "runtime/ui/windows/events.h"

namespace lw {

namespace {

struct ButtonState {
  ButtonProps props;
  HFONT font = nullptr;
  UnitPicture picture;
  HBITMAP bitmap = nullptr;  // the picture over the button face, for a bitmap button
};

WNDPROC g_buttonClassProc = nullptr;

void release(ButtonState* s) {
  DeleteUnitFont(s->font);
  ClearUnitPicture(&s->picture);
  if (s->bitmap) DeleteObject(s->bitmap);
}

DWORD alignmentStyle(const ButtonProps& p) {
  DWORD style = p.hAlign == 0 ? BS_LEFT : (p.hAlign == 2 ? BS_RIGHT : BS_CENTER);
  style |= p.vAlign == 0 ? BS_TOP : (p.vAlign == 2 ? BS_BOTTOM : BS_VCENTER);
  return style;
}

// The style bits the properties decide: alignment, and icon or bitmap for a picture
// button; with the push-button type given, since whether a button looks like the
// default one follows the focus (ShowDefaultButtonLook).
DWORD buttonStyle(const ButtonProps& p, const ButtonState& s, DWORD type) {
  DWORD style = type | alignmentStyle(p);
  if (s.picture.icon) style |= BS_ICON;
  else if (s.bitmap) style |= BS_BITMAP;
  return style;
}

constexpr DWORD kOwnStyleBits = BS_TYPEMASK | BS_LEFT | BS_RIGHT | BS_CENTER | BS_TOP | BS_BOTTOM | BS_VCENTER |
                                BS_ICON | BS_BITMAP;

void applyStyle(HWND hwnd, const ButtonState& s) {
  DWORD live = DWORD(GetWindowLongW(hwnd, GWL_STYLE));
  DWORD style = live & ~kOwnStyleBits;
  SetWindowLongW(hwnd, GWL_STYLE, LONG(style | buttonStyle(s.props, s, live & BS_TYPEMASK)));
  InvalidateRect(hwnd, nullptr, TRUE);
}

// Decodes the picture and makes what the button shows of it.
void makePicture(ButtonState* s) {
  if (s->bitmap) DeleteObject(s->bitmap);
  s->bitmap = nullptr;
  if (!SetUnitPicture(&s->picture, s->props.picture)) return;
  if (!s->picture.icon) s->bitmap = MakePictureBitmap(s->picture, ConvertColour(kDefaultColour));
}

void showPicture(HWND hwnd, const ButtonState& s) {
  if (s.picture.icon)
    SendMessageW(hwnd, BM_SETIMAGE, IMAGE_ICON, LPARAM(s.picture.icon));
  else
    SendMessageW(hwnd, BM_SETIMAGE, IMAGE_BITMAP, LPARAM(s.bitmap));
}

LRESULT CALLBACK buttonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = CallWindowProcW(g_buttonClassProc, hwnd, msg, wp, lp);
  if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) FireFocusEvent(UnitFromWindow(hwnd), msg);
  return r;
}

LRESULT notify(Unit* u, UINT msg, WPARAM wp, LPARAM, bool* handled) {
  *handled = false;
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    FireUnitEvent(u->windowId, u->unitId, button_event::Clicked);
    *handled = true;
  }
  return 0;
}

HWND makeWindow(const UnitCreateArgs& a, ButtonState* s) {
  makePicture(s);
  const DWORD type = s->props.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | buttonStyle(s->props, *s, type) | (a.style & ~WS_VISIBLE);
  HWND hwnd = CreateWindowExW(0, L"BUTTON", Wide(s->props.caption).c_str(), style, a.left, a.top, a.width, a.height,
                              HWND(a.parent), HMENU(intptr_t(a.controlId)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  SubclassControl(hwnd, &Guarded<buttonProc>, &g_buttonClassProc);
  ReplaceFont(&s->font, s->props.font, hwnd);
  if (s->picture.decoded) showPicture(hwnd, *s);
  return hwnd;
}

int show(HWND hwnd, ButtonState* s, int number, bool) {
  const ButtonProps& p = s->props;
  switch (number) {
    case button_prop::Picture:
      makePicture(s);
      applyStyle(hwnd, *s);
      showPicture(hwnd, *s);
      break;
    case button_prop::DefaultButton:
      // The mark changes which button Enter presses where the focus has no button of
      // its own; the looks follow from where the focus is.
      ShowDefaultButtonLook(GetAncestor(hwnd, GA_ROOT));
      break;
    case button_prop::Caption: SetWindowTextGbk(hwnd, p.caption); break;
    case button_prop::HAlign: case button_prop::VAlign: applyStyle(hwnd, *s); break;
    case button_prop::Font: ReplaceFont(&s->font, p.font, hwnd); break;
    default: break;
  }
  return 0;  // every change shows on the existing button
}

// The caption as the button shows it.
int readLive(HWND hwnd, ButtonState*, int number, PropertyValue* v) {
  v->text = WindowTextOf(hwnd);
  return 1;
}

constexpr UnitKindParts<ButtonState> kParts = {
    unit_type::Button, &kButtonTable, &makeWindow, nullptr, &notify, &release, nullptr, &show, &readLive, nullptr,
};

}  // namespace

extern const UnitKindRoutines kButtonRoutines = KindRoutines<ButtonState, kParts>();

bool IsPushButton(HWND hwnd) { return KindStateOf<ButtonState>(UnitFromWindow(hwnd), unit_type::Button) != nullptr; }

bool IsMarkedDefaultButton(HWND hwnd) {
  const ButtonState* s = KindStateOf<ButtonState>(UnitFromWindow(hwnd), unit_type::Button);
  return s && s->props.defaultButton;
}

void ShowAsDefaultButton(HWND hwnd, bool asDefault) {
  const DWORD type = asDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK) != type) SendMessageW(hwnd, BM_SETSTYLE, type, TRUE);
}

}  // namespace lw
