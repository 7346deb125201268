// The group box kind: a platform "BUTTON" in the group-box style, with its caption
// alignment, colours and font. It is a container: the units it holds are moved into
// it when the window is made, and their notifications pass through it to them.
#include <vector>

#include "runtime/core/guarded_procedure_win.h"
#include "runtime/core/wide_text_win.h"
#include "runtime/ui/control_kinds_win.h"
#include "runtime/ui/unit_property_tables.h"
#include "runtime/ui/units_win.h"

namespace lw {

namespace {

struct GroupBoxState {
  GroupBoxProps props;
  HFONT font = nullptr;
  HBRUSH background = nullptr;
};

WNDPROC g_groupClassProc = nullptr;

GroupBoxState* stateOf(Unit* u) {
  return u && u->typeId == unit_type::GroupBox ? static_cast<GroupBoxState*>(u->state) : nullptr;
}

void freeState(void* s) {
  auto* state = static_cast<GroupBoxState*>(s);
  DeleteUnitFont(state->font);
  if (state->background) DeleteObject(state->background);
  delete state;
}

DWORD alignmentStyle(int align) { return align == 1 ? BS_CENTER : (align == 2 ? BS_RIGHT : BS_LEFT); }

// The box's own background colour, or the button face.
LRESULT onEraseBackground(HWND hwnd, HDC dc) {
  GroupBoxState* s = stateOf(UnitFromWindow(hwnd));
  RECT r;
  GetClientRect(hwnd, &r);
  FillRect(dc, &r, s && s->background ? s->background : GetSysColorBrush(COLOR_BTNFACE));
  return 1;
}

LRESULT CALLBACK groupProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT routed = 0;
  if (RouteChildNotification(hwnd, msg, wp, lp, &routed)) return routed;
  switch (msg) {
    case WM_ERASEBKGND: return onEraseBackground(hwnd, HDC(wp));
    default: return CallWindowProcW(g_groupClassProc, hwnd, msg, wp, lp);
  }
}

// The group box's own colours, asked of its parent when it paints its caption.
LRESULT notify(Unit* u, UINT msg, WPARAM wp, LPARAM, bool* handled) {
  GroupBoxState* s = stateOf(u);
  *handled = false;
  if (!s || (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN)) return 0;
  HDC dc = HDC(wp);
  SetTextColor(dc, ConvertColour(s->props.textColour));
  SetBkColor(dc, ConvertColour(s->props.backColour));
  *handled = true;
  return LRESULT(s->background);
}

Unit* create(const UnitCreateArgs& a) {
  auto* s = new GroupBoxState;
  if (!DecodeKindProps(unit_type::GroupBox, a, &s->props)) {
    delete s;
    return nullptr;
  }
  // Clipping its children keeps the box from painting over the units it holds.
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_GROUPBOX |
                      alignmentStyle(s->props.captionAlign) | (a.style & ~WS_VISIBLE);
  HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, L"BUTTON", Wide(s->props.caption).c_str(), style, a.left, a.top, a.width,
                              a.height, HWND(a.parent), HMENU(intptr_t(a.controlId)), GetModuleHandleW(nullptr),
                              nullptr);
  if (!hwnd) {
    delete s;
    return nullptr;
  }
  SubclassControl(hwnd, &Guarded<groupProc>, &g_groupClassProc);
  ReplaceBrush(&s->background, s->props.backColour);
  ReplaceFont(&s->font, s->props.font, hwnd);
  return AttachNewUnit(hwnd, a, unit_type::GroupBox, s, &notify, &freeState);
}

int setProperty(Unit* u, int index, const PropertyValue& v) {
  GroupBoxState* s = stateOf(u);
  if (!s) return 0;
  GroupBoxProps& p = s->props;
  HWND hwnd = HWND(u->hwnd);
  const int number = OwnPropertyNumber(index);
  if (!StorePlainProperty(kGroupBoxTable, &p, number, v)) return 0;
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

int getProperty(Unit* u, int index, PropertyValue* v) {
  GroupBoxState* s = stateOf(u);
  return s && LoadPlainProperty(kGroupBoxTable, s->props, OwnPropertyNumber(index), v) ? 1 : 0;
}

bool serialise(Unit* u, std::vector<uint8_t>* block) {
  GroupBoxState* s = stateOf(u);
  return s && EncodeUnitProperties(unit_type::GroupBox, UnitProps(s->props), block);
}

}  // namespace

const UnitKindRoutines kGroupBoxRoutines = {unit_type::GroupBox, &create, &setProperty, &getProperty, &serialise};

}  // namespace lw
