// The list view kind: a platform "SysListView32" styled from the properties, with
// its colours, font, image lists and the report view's columns; the current item;
// and the list view events from the control's notifications. Check boxes are
// toggled by the unit after a click or the space bar, never by the platform on its
// own, so every toggle raises CheckToggled in the order the events describe.
#include "runtime/ui/kinds/list_view_win.h"
#include "runtime/core/text/wide_text_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "runtime/core/startup/guarded_procedure_win.h"
#include "runtime/core/startup/private_messages.h"
#include "runtime/ui/kinds/colours_win.h"
#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/kinds/skeleton_win.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/pictures/draw_win.h"
#include "runtime/ui/scale/display_scale.h"
#include "runtime/ui/scale/display_scale_win.h"
#include "runtime/ui/windows/events.h"

namespace lw {

namespace {

struct ListViewState {
  ListViewProps props;
  HFONT font = nullptr;
  HIMAGELIST headerImages = nullptr;  // the header does not free its list
  bool redrawHeld = false;
  bool ownCheckChange = false;  // set while the unit itself changes a check box
};

WNDPROC g_listClassProc = nullptr;

ListViewState* stateOf(Unit* u) { return KindStateOf<ListViewState>(u, unit_type::ListView); }

void release(ListViewState* s) {
  DeleteUnitFont(s->font);
  if (s->headerImages) ImageList_Destroy(s->headerImages);
}

// ---- Styles ----

constexpr DWORD kOwnStyles = LVS_TYPEMASK | LVS_ALIGNMASK | LVS_AUTOARRANGE | LVS_NOLABELWRAP |
                             LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER | LVS_EDITLABELS | LVS_SORTASCENDING |
                             LVS_SORTDESCENDING | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
constexpr DWORD kOwnExStyles = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_CHECKBOXES |
                               LVS_EX_FLATSB | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE |
                               LVS_EX_UNDERLINECOLD | LVS_EX_UNDERLINEHOT | LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;

bool iconView(const ListViewProps& p) { return p.viewType == 0 || p.viewType == 1; }
bool reportView(const ListViewProps& p) { return p.viewType == 3; }

DWORD listStyle(const ListViewProps& p) {
  static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  DWORD style = kViews[ClampInt(p.viewType, 0, 3)];
  if (iconView(p)) {
    if (p.iconAlign == 1) style |= LVS_ALIGNLEFT;
    if (p.autoArrange) style |= LVS_AUTOARRANGE;
    if (!p.labelWrap) style |= LVS_NOLABELWRAP;
  }
  if (reportView(p)) {
    if (p.hideHeaders) style |= LVS_NOCOLUMNHEADER;
    if (!p.clickableHeaders) style |= LVS_NOSORTHEADER;
  }
  if (p.labelEdit) style |= LVS_EDITLABELS;
  if (p.sorting == 1) style |= LVS_SORTASCENDING;
  if (p.sorting == 2) style |= LVS_SORTDESCENDING;
  if (p.singleSelection) style |= LVS_SINGLESEL;
  if (p.alwaysShowSelection) style |= LVS_SHOWSELALWAYS;
  return style;
}

// Hot tracking is one-click activation (with the hand cursor over hot items) or
// two-click activation, each with the chosen underlining.
DWORD listExStyle(const ListViewProps& p) {
  DWORD ex = LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
  if (reportView(p)) {
    if (p.fullRowSelect) ex |= LVS_EX_FULLROWSELECT;
    if (p.gridLines) ex |= LVS_EX_GRIDLINES;
    if (p.headerDragDrop) ex |= LVS_EX_HEADERDRAGDROP;
  }
  if (p.checkBoxes) ex |= LVS_EX_CHECKBOXES;
  if (p.flatScrollBars) ex |= LVS_EX_FLATSB;
  if (p.hotTracking) {
    ex |= p.handCursor ? LVS_EX_ONECLICKACTIVATE : LVS_EX_TWOCLICKACTIVATE;
    if (p.underlineCold) ex |= LVS_EX_UNDERLINECOLD;
    if (p.underlineHot) ex |= LVS_EX_UNDERLINEHOT;
  }
  return ex;
}

void applyStyles(HWND hwnd, const ListViewProps& p) {
  DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & ~kOwnStyles;
  SetWindowLongW(hwnd, GWL_STYLE, LONG(style | listStyle(p)));
  SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, kOwnExStyles, listExStyle(p));
  InvalidateRect(hwnd, nullptr, TRUE);
}

void applyColours(HWND hwnd, const ListViewProps& p) {
  SendMessageW(hwnd, LVM_SETTEXTCOLOR, 0, LPARAM(UnitColour(ColourRole::BoxText, p.textColour)));
  SendMessageW(hwnd, LVM_SETTEXTBKCOLOR, 0, LPARAM(UnitColour(ColourRole::Box, p.textBackColour)));
  SendMessageW(hwnd, LVM_SETBKCOLOR, 0, LPARAM(UnitColour(ColourRole::Box, p.backColour)));
  InvalidateRect(hwnd, nullptr, TRUE);
}

// ---- Columns ----

int columnCount(HWND hwnd) {
  HWND header = HWND(SendMessageW(hwnd, LVM_GETHEADER, 0, 0));
  return header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void insertColumns(HWND hwnd, const ListViewProps& p) {
  while (columnCount(hwnd) > 0) SendMessageW(hwnd, LVM_DELETECOLUMN, 0, 0);
  if (!reportView(p)) return;
  static const int kFormats[] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT};
  for (size_t i = 0; i < p.columns.size(); ++i) {
    const ListViewColumn& c = p.columns[i];
    const std::wstring header = Wide(c.header);
    LVCOLUMNW col = {};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = kFormats[ClampInt(c.alignment, 0, 2)];
    if (c.image >= 0) {
      col.mask |= LVCF_IMAGE;
      col.fmt |= LVCFMT_IMAGE;
      col.iImage = c.image;
    }
    if (c.imageRight) col.fmt |= LVCFMT_BITMAP_ON_RIGHT;
    col.cx = UnitsToPixels(hwnd, c.width);
    col.pszText = const_cast<wchar_t*>(header.c_str());
    col.iSubItem = int(i);
    SendMessageW(hwnd, LVM_INSERTCOLUMNW, WPARAM(i), LPARAM(&col));
  }
}

// The column list as the list shows it now (the user may have resized columns).
std::vector<ListViewColumn> currentColumns(HWND hwnd, const ListViewProps& p) {
  std::vector<ListViewColumn> columns = p.columns;
  if (reportView(p) && columnCount(hwnd) == int(columns.size()))
    for (size_t i = 0; i < columns.size(); ++i)
      columns[i].width = PixelsToUnits(hwnd, int(SendMessageW(hwnd, LVM_GETCOLUMNWIDTH, WPARAM(i), 0)));
  return columns;
}

// ---- Image lists ----

// An image list from a picture: square images the picture's height wide, cut from
// it left to right. Null for an empty block or a picture that does not decode.
HIMAGELIST makeImageList(const std::vector<uint8_t>& bytes, COLORREF background) {
  UnitPicture picture;
  if (!SetUnitPicture(&picture, bytes)) return nullptr;
  const int w = int(picture.decoded->width), h = int(picture.decoded->height);
  HIMAGELIST list = nullptr;
  if (HBITMAP strip = MakePictureBitmap(picture, background)) {
    const int count = w >= h ? w / h : 1;
    const int side = w >= h ? h : w;
    list = ImageList_Create(side, side, ILC_COLOR32, count, 4);
    if (list) ImageList_Add(list, strip, nullptr);
    DeleteObject(strip);
  }
  ClearUnitPicture(&picture);
  return list;
}

// Item and state lists go to the control, which frees the lists it holds; the
// header's list stays ours.
void applyImageLists(HWND hwnd, ListViewState* s) {
  const ListViewProps& p = s->props;
  const COLORREF background = ConvertColour(p.backColour);
  auto replace = [&](int which, HIMAGELIST list) {
    auto old = HIMAGELIST(SendMessageW(hwnd, LVM_SETIMAGELIST, WPARAM(which), LPARAM(list)));
    if (old && old != list) ImageList_Destroy(old);
  };
  HIMAGELIST items = makeImageList(p.itemImages, background);
  replace(LVSIL_NORMAL, items);
  replace(LVSIL_SMALL, items ? ImageList_Duplicate(items) : nullptr);
  if (!p.checkBoxes) replace(LVSIL_STATE, makeImageList(p.stateImages, background));
  HIMAGELIST header = makeImageList(p.headerImages, GetSysColor(COLOR_BTNFACE));
  if (HWND h = HWND(SendMessageW(hwnd, LVM_GETHEADER, 0, 0))) SendMessageW(h, HDM_SETIMAGELIST, 0, LPARAM(header));
  if (s->headerImages) ImageList_Destroy(s->headerImages);
  s->headerImages = header;
}

// ---- Items ----

int firstSelected(HWND hwnd) { return int(SendMessageW(hwnd, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); }

void selectItem(HWND hwnd, int item) {
  LVITEMW clear = {};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(hwnd, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&clear));
  if (item < 0 || item >= int(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0))) return;
  LVITEMW set = {};
  set.state = set.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(hwnd, LVM_SETITEMSTATE, WPARAM(item), LPARAM(&set));
  SendMessageW(hwnd, LVM_ENSUREVISIBLE, WPARAM(item), FALSE);
}

bool itemChecked(HWND hwnd, int item) {
  return (SendMessageW(hwnd, LVM_GETITEMSTATE, WPARAM(item), LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) ==
         INDEXTOSTATEIMAGEMASK(2);
}

void setChecked(HWND hwnd, ListViewState* s, int item, bool checked) {
  LVITEMW it = {};
  it.stateMask = LVIS_STATEIMAGEMASK;
  it.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  s->ownCheckChange = true;
  SendMessageW(hwnd, LVM_SETITEMSTATE, WPARAM(item), LPARAM(&it));
  s->ownCheckChange = false;
}

// Toggles an item's check box and raises CheckToggled with the item and its new state.
void toggleCheck(Unit* u, ListViewState* s, int item) {
  HWND hwnd = HWND(u->hwnd);
  const bool checked = !itemChecked(hwnd, item);
  setChecked(hwnd, s, item, checked);
  uint32_t args[2] = {uint32_t(item), checked ? 1u : 0u};
  FireUnitEvent(u->windowId, u->unitId, list_view_event::CheckToggled, nullptr, 2, args);
}

// After a click: a hit on an item's check box toggles it.
void checkAfterClick(Unit* u, ListViewState* s, POINT at) {
  HWND hwnd = HWND(u->hwnd);
  if (!s->props.checkBoxes) return;
  LVHITTESTINFO hit = {};
  hit.pt = at;
  int item = int(SendMessageW(hwnd, LVM_HITTEST, 0, LPARAM(&hit)));
  if (item >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) toggleCheck(u, s, item);
}

// ---- Events ----

// Raises a plain event; false when its handler closed the list's window, after
// which neither the unit nor its state may be touched.
bool fire(Unit* u, int event, int argc = 0, const uint32_t* args = nullptr) {
  HWND hwnd = HWND(u->hwnd);
  FireUnitEvent(u->windowId, u->unitId, event, nullptr, argc, args);
  return IsWindow(hwnd) != 0;
}

// ---- The list view's notifications, one routine each ----

// A change of a check box is refused unless the unit makes it: it toggles boxes itself.
LRESULT onItemChanging(const ListViewState* s, const NMLISTVIEW* n) {
  const bool checkChange =
      (n->uChanged & LVIF_STATE) && ((n->uNewState ^ n->uOldState) & LVIS_STATEIMAGEMASK) && n->iItem >= 0;
  return checkChange && !s->ownCheckChange ? TRUE : FALSE;
}

LRESULT onItemChanged(Unit* u, const NMLISTVIEW* n) {
  if ((n->uChanged & LVIF_STATE) && (n->uNewState & LVIS_FOCUSED) && !(n->uOldState & LVIS_FOCUSED))
    fire(u, list_view_event::CurrentItemChanged);
  return 0;
}

LRESULT onColumnClick(Unit* u, const NMLISTVIEW* n) {
  uint32_t column = uint32_t(n->iSubItem);
  fire(u, list_view_event::ColumnClicked, 1, &column);
  return 0;
}

// The space key toggles the focused item's box, after the handler has seen the key.
LRESULT onKeyDown(Unit* u, ListViewState* s, const NMLVKEYDOWN* k) {
  uint32_t code = k->wVKey;
  if (!fire(u, list_view_event::KeyDown, 1, &code)) return 0;
  if (k->wVKey == VK_SPACE && s->props.checkBoxes) {
    HWND hwnd = HWND(u->hwnd);
    int item = int(SendMessageW(hwnd, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    if (item >= 0) toggleCheck(u, s, item);
  }
  return 0;
}

LRESULT onClick(Unit* u, ListViewState* s, const NMITEMACTIVATE* a) {
  const int event = a->hdr.code == NM_CLICK ? list_view_event::Clicked : list_view_event::RightClicked;
  if (fire(u, event)) checkAfterClick(u, s, a->ptAction);
  return 0;
}

// Item records share their layout up to the text, whichever character width.
LRESULT onBeginLabelEdit(Unit* u, const NMLVDISPINFOW* d) {
  uint32_t item = uint32_t(d->item.iItem);
  int32_t result = 0;
  bool present = FireUnitEvent(u->windowId, u->unitId, list_view_event::LabelEditStarting, &result, 1, &item);
  return present && result == 0 ? TRUE : FALSE;  // TRUE keeps editing from beginning
}

LRESULT onEndLabelEdit(Unit* u, const NMLVDISPINFOW* d) {
  if (!d->item.pszText) return FALSE;  // editing was abandoned
  int32_t result = 0;
  uint32_t item = uint32_t(d->item.iItem);
  bool present = FireUnitEvent(u->windowId, u->unitId, list_view_event::LabelEditEnded, &result, 1, &item);
  return present && result == 0 ? FALSE : TRUE;
}

LRESULT onNotify(Unit* u, ListViewState* s, NMHDR* h, bool* handled) {
  *handled = true;
  switch (h->code) {
    case LVN_ITEMCHANGING: return onItemChanging(s, reinterpret_cast<NMLISTVIEW*>(h));
    case LVN_ITEMCHANGED: return onItemChanged(u, reinterpret_cast<NMLISTVIEW*>(h));
    case LVN_ITEMACTIVATE: fire(u, list_view_event::ItemActivated); return 0;
    case LVN_COLUMNCLICK: return onColumnClick(u, reinterpret_cast<NMLISTVIEW*>(h));
    case LVN_KEYDOWN: return onKeyDown(u, s, reinterpret_cast<NMLVKEYDOWN*>(h));
    case NM_CLICK: case NM_RCLICK: return onClick(u, s, reinterpret_cast<NMITEMACTIVATE*>(h));
    case LVN_BEGINLABELEDITA: case LVN_BEGINLABELEDITW:
      return onBeginLabelEdit(u, reinterpret_cast<NMLVDISPINFOW*>(h));
    case LVN_ENDLABELEDITA: case LVN_ENDLABELEDITW: return onEndLabelEdit(u, reinterpret_cast<NMLVDISPINFOW*>(h));
    case NM_SETFOCUS: FireFocusEvent(u, WM_SETFOCUS); return 0;
    case NM_KILLFOCUS: FireFocusEvent(u, WM_KILLFOCUS); return 0;
    default: *handled = false; return 0;
  }
}

LRESULT notify(Unit* u, UINT msg, WPARAM, LPARAM lp, bool* handled) {
  *handled = false;
  ListViewState* s = stateOf(u);
  if (!s || msg != WM_NOTIFY) return 0;
  return onNotify(u, s, reinterpret_cast<NMHDR*>(lp), handled);
}

// Drawing held back while rows were added comes back, once.
LRESULT onReleaseRedraw(HWND hwnd) {
  if (ListViewState* s = stateOf(UnitFromWindow(hwnd)); s && s->redrawHeld) {
    s->redrawHeld = false;
    CallWindowProcW(g_listClassProc, hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
  }
  return 0;
}

// The menu key or Shift+F10 (a context request at -1, -1): with a row selected, the
// list raises its click event as a click on that row would, with one difference the
// handler can see: two arguments, the screen point under the row's text where a
// menu for it belongs (in 96-DPI units, as every position the program reads). With
// no row selected nothing opens.
LRESULT onKeyboardContextMenu(HWND hwnd) {
  Unit* u = UnitFromWindow(hwnd);
  const int row = firstSelected(hwnd);
  if (!stateOf(u) || row < 0) return 0;
  SendMessageW(hwnd, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
  RECT r = {};
  r.left = LVIR_LABEL;
  if (!SendMessageW(hwnd, LVM_GETITEMRECT, WPARAM(row), LPARAM(&r))) return 0;
  POINT at = {r.left, r.bottom};
  ClientToScreen(hwnd, &at);
  const uint32_t anchor[2] = {uint32_t(PixelsToUnits(hwnd, at.x)), uint32_t(PixelsToUnits(hwnd, at.y))};
  fire(u, list_view_event::Clicked, 2, anchor);
  return 0;
}

bool isKeyboardRequest(LPARAM lp) { return GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1; }

// The focus comes to a list with rows and none of them focused: the first row takes
// the focus (not the selection), so the focus shows and a screen reader names a row.
LRESULT onSetFocus(HWND hwnd, WPARAM wp, LPARAM lp) {
  LRESULT r = CallWindowProcW(g_listClassProc, hwnd, WM_SETFOCUS, wp, lp);
  if (IsWindow(hwnd) && SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0) > 0 &&
      SendMessageW(hwnd, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED) < 0) {
    LVITEMW focused = {};
    focused.state = focused.stateMask = LVIS_FOCUSED;
    SendMessageW(hwnd, LVM_SETITEMSTATE, 0, LPARAM(&focused));
  }
  return r;
}

LRESULT CALLBACK listProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case private_message::ReleaseRedraw: return onReleaseRedraw(hwnd);
    case WM_SETFOCUS: return onSetFocus(hwnd, wp, lp);
    case WM_SYSCOLORCHANGE: {
      // The control renews its copies of the system's colours; the colours it was
      // given are taken again, the scheme's under high contrast.
      LRESULT r = CallWindowProcW(g_listClassProc, hwnd, msg, wp, lp);
      if (ListViewState* s = stateOf(UnitFromWindow(hwnd))) applyColours(hwnd, s->props);
      return r;
    }
    case WM_CONTEXTMENU:
      if (isKeyboardRequest(lp)) return onKeyboardContextMenu(hwnd);
      return CallWindowProcW(g_listClassProc, hwnd, msg, wp, lp);
    default: return CallWindowProcW(g_listClassProc, hwnd, msg, wp, lp);
  }
}

// ---- Operations ----

HWND makeWindow(const UnitCreateArgs& a, ListViewState* s) {
  const ListViewProps& p = s->props;
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | listStyle(p) | (a.style & ~WS_VISIBLE);
  HWND hwnd = CreateWindowExW(BorderExStyle(ClampInt(p.border, 0, 5)), WC_LISTVIEWW, L"", style, a.left, a.top,
                              a.width, a.height, HWND(a.parent), HMENU(intptr_t(a.controlId)),
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd) SubclassControl(hwnd, &Guarded<listProc>, &g_listClassProc);
  return hwnd;
}

void settle(HWND hwnd, ListViewState* s) {
  const ListViewProps& p = s->props;
  SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, kOwnExStyles, listExStyle(p));
  ApplyBorderStyle(hwnd, ClampInt(p.border, 0, 5));
  applyColours(hwnd, p);
  ReplaceFont(&s->font, p.font, hwnd);
  applyImageLists(hwnd, s);
  insertColumns(hwnd, p);
  if (p.currentItem >= 0) selectItem(hwnd, p.currentItem);
}

// The view type and the columns, which the list view's rows leave to it.
int setByHand(HWND hwnd, ListViewState* s, int number, const PropertyValue& v) {
  ListViewProps& p = s->props;
  if (number == list_view_prop::ViewType) {
    const bool wasReport = reportView(p);
    p.viewType = ClampInt(v.i, 0, 3);
    applyStyles(hwnd, p);
    if (reportView(p) && !wasReport && columnCount(hwnd) == 0) insertColumns(hwnd, p);
  } else if (number == list_view_prop::Columns) {
    std::vector<ListViewColumn> columns;
    if (!DecodeListViewColumns(v.data, &columns)) return 0;  // a damaged list changes nothing
    p.columns = columns;
    insertColumns(hwnd, p);
  }
  return 0;
}

int show(HWND hwnd, ListViewState* s, int number, bool) {
  const ListViewProps& p = s->props;
  switch (number) {
    case list_view_prop::Border: ApplyBorderStyle(hwnd, p.border); break;
    case list_view_prop::TextColour: case list_view_prop::TextBackColour: case list_view_prop::BackColour:
      applyColours(hwnd, p);
      break;
    case list_view_prop::Font: ReplaceFont(&s->font, p.font, hwnd); break;
    case list_view_prop::HeaderImages: case list_view_prop::ItemImages: case list_view_prop::StateImages:
      applyImageLists(hwnd, s);
      break;
    case list_view_prop::CurrentItem: selectItem(hwnd, p.currentItem); break;
    case list_view_prop::Reserved37: break;
    default: applyStyles(hwnd, p); break;  // the style choices and flags
  }
  return 0;  // the list view takes every change in place, keeping its rows
}

// The columns as the user may have resized them, and the selected row.
int readLive(HWND hwnd, ListViewState* s, int number, PropertyValue* v) {
  switch (number) {
    case list_view_prop::Columns: return EncodeListViewColumns(currentColumns(hwnd, s->props), &v->data) ? 1 : 0;
    case list_view_prop::CurrentItem: v->i = firstSelected(hwnd); return 1;
    default: return 0;
  }
}

void takeLive(HWND hwnd, ListViewProps* p) {
  p->columns = currentColumns(hwnd, *p);
  p->currentItem = firstSelected(hwnd);
}

constexpr UnitKindParts<ListViewState> kParts = {
    unit_type::ListView, &kListViewTable, &makeWindow, &settle, &notify, &release, &setByHand, &show, &readLive, &takeLive,
};

}  // namespace

HWND ListViewWindowOf(Unit* unit) { return stateOf(unit) ? HWND(unit->hwnd) : nullptr; }

void HoldListViewRedraw(Unit* unit) {
  ListViewState* s = stateOf(unit);
  if (!s || s->redrawHeld) return;
  HWND hwnd = HWND(unit->hwnd);
  s->redrawHeld = true;
  CallWindowProcW(g_listClassProc, hwnd, WM_SETREDRAW, FALSE, 0);
  PostMessageW(hwnd, private_message::ReleaseRedraw, 0, 0);  // the handler that appended rows has returned
}

LRESULT SendRowMessage(Unit* unit, UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = ListViewWindowOf(unit);
  return hwnd && g_listClassProc ? CallWindowProcW(g_listClassProc, hwnd, msg, wp, lp) : 0;
}

void SetListViewItemChecked(Unit* unit, int item, bool checked) {
  if (ListViewState* s = stateOf(unit)) setChecked(HWND(unit->hwnd), s, item, checked);
}

extern const UnitKindRoutines kListViewRoutines = KindRoutines<ListViewState, kParts>();

bool ActivateSelectedRow(HWND hwnd) {
  Unit* u = UnitFromWindow(hwnd);
  if (!stateOf(u) || firstSelected(hwnd) < 0) return false;
  fire(u, list_view_event::ItemActivated);
  return true;
}

}  // namespace lw
