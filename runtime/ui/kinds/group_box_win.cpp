// The group box kind: a platform "BUTTON" in the group-box style, with its caption
// alignment, colours and font. It is a container: the units it holds are moved into
// it when the window is made, and their notifications pass through it to them.
#include <vector>

#include "runtime/core/startup/guarded_procedure_win.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/ui/kinds/colours_win.h"
#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/skeleton_win.h"
#include "runtime/ui/kinds/table.h"

namespace lw {

namespace {

struct GroupBoxState {
  GroupBoxProps props;
  HFONT font = nullptr;
  HBRUSH background = nullptr;
};

WNDPROC g_groupClassProc = nullptr;

GroupBoxState* stateOf(Unit* u) { return KindStateOf<GroupBoxState>(u, unit_type::GroupBox); }

void release(GroupBoxState* s) {
  DeleteUnitFont(s->font);
  if (s->background) DeleteObject(s->background);
}

DWORD alignmentStyle(int align) { return align == 1 ? BS_CENTER : (align == 2 ? BS_RIGHT : BS_LEFT); }

// The box's own background colour, or the button face.
LRESULT onEraseBackground(HWND hwnd, HDC dc) {
  GroupBoxState* s = stateOf(UnitFromWindow(hwnd));
  RECT r;
  GetClientRect(hwnd, &r);
  FillRect(dc, &r, UnitBrush(ColourRole::Face, s && s->background ? s->background : GetSysColorBrush(COLOR_BTNFACE)));
  return 1;
}

LRESULT CALLBACK groupProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT routed = 0;
  if (RouteChildNotification(hwnd, msg, wp, lp, &routed)) return routed;
  switch (msg) {
    case WM_ERASEBKGND: return onEraseBackground(hwnd, HDC(wp));
    case WM_SYSCOLORCHANGE:  // the default colour is the system's face, which may have changed
      if (GroupBoxState* s = stateOf(UnitFromWindow(hwnd))) ReplaceBrush(&s->background, s->props.backColour);
      return CallWindowProcW(g_groupClassProc, hwnd, msg, wp, lp);
    default: return CallWindowProcW(g_groupClassProc, hwnd, msg, wp, lp);
  }
}

// The group box's own colours, asked of its parent when it paints its caption.
LRESULT notify(Unit* u, UINT msg, WPARAM wp, LPARAM, bool* handled) {
  GroupBoxState* s = stateOf(u);
  *handled = false;
  if (!s || (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN)) return 0;
  HDC dc = HDC(wp);
  SetTextColor(dc, UnitColour(ColourRole::FaceText, s->props.textColour));
  SetBkColor(dc, UnitColour(ColourRole::Face, s->props.backColour));
  *handled = true;
  return LRESULT(UnitBrush(ColourRole::Face, s->background));
}

HWND makeWindow(const UnitCreateArgs& a, GroupBoxState* s) {
  // Clipping its children keeps the box from painting over the units it holds.
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_GROUPBOX |
                      alignmentStyle(s->props.captionAlign) | (a.style & ~WS_VISIBLE);
  HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, L"BUTTON", Wide(s->props.caption).c_str(), style, a.left, a.top, a.width,
                              a.height, HWND(a.parent), HMENU(intptr_t(a.controlId)), GetModuleHandleW(nullptr),
                              nullptr);
  if (!hwnd) return nullptr;
  SubclassControl(hwnd, &Guarded<groupProc>, &g_groupClassProc);
  ReplaceBrush(&s->background, s->props.backColour);
  ReplaceFont(&s->font, s->props.font, hwnd);
  return hwnd;
}

int show(HWND hwnd, GroupBoxState* s, int number, bool) {
  const GroupBoxProps& p = s->props;
  switch (number) {
    case group_box_prop::Caption: SetWindowTextGbk(hwnd, p.caption); break;
    case group_box_prop::CaptionAlign: {
      DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & ~DWORD(BS_CENTER);
      SetWindowLongW(hwnd, GWL_STYLE, LONG(style | alignmentStyle(p.captionAlign)));
      break;
    }
    case group_box_prop::BackColour: ReplaceBrush(&s->background, p.backColour); break;
    case group_box_prop::Font: ReplaceFont(&s->font, p.font, hwnd); break;
    default: break;
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  return 0;
}

constexpr UnitKindParts<GroupBoxState> kParts = {
    unit_type::GroupBox, &kGroupBoxTable, &makeWindow, nullptr, &notify, &release, nullptr, &show, nullptr, nullptr,
};

}  // namespace

extern const UnitKindRoutines kGroupBoxRoutines = KindRoutines<GroupBoxState, kParts>();

}  // namespace lw
