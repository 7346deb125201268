#include "runtime/ui/windows/menu_drawing_win.h"

#include <string>
#include <vector>

#include "runtime/ui/kinds/look_win.h"

namespace lw {
namespace {

// Item data of the items drawn here: this tag and the index of the item's text.
constexpr ULONG_PTR kOwnItemTag = 0x4C570000u, kTagMask = 0xFFFF0000u;
constexpr int kGap = 6;  // pixels around the text and between the text and its shortcut

struct OwnDrawnMenus {
  std::vector<std::wstring> texts;
  HFONT font = nullptr;
};

OwnDrawnMenus& own() {
  static OwnDrawnMenus m;
  return m;
}

LOGFONTW systemMenuFont() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    return lf;
  }
  return metrics.lfMenuFont;
}

// The items of a menu with their texts; separators have none.
struct MenuItem {
  UINT type;
  HMENU submenu;
  std::wstring text;
};

std::vector<MenuItem> itemsOf(HMENU menu) {
  std::vector<MenuItem> items;
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    wchar_t text[256] = {};
    info.dwTypeData = text;
    info.cch = 255;
    if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) continue;
    items.push_back({info.fType, info.hSubMenu, (info.fType & MFT_SEPARATOR) ? std::wstring() : text});
  }
  return items;
}

// What of an item's text is drawn: the prefix marks and the tab go.
std::wstring drawnCharacters(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text)
    if (c != L'&' && c != L'\t') out += c;
  return out;
}

// The caption before the tab and the shortcut after it.
void splitAtTab(const std::wstring& text, std::wstring* caption, std::wstring* shortcut) {
  const size_t tab = text.find(L'\t');
  *caption = text.substr(0, tab);
  *shortcut = tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

const std::wstring* textOf(ULONG_PTR data) {
  if ((data & kTagMask) != kOwnItemTag) return nullptr;
  const size_t index = data & ~kTagMask;
  return index < own().texts.size() ? &own().texts[index] : nullptr;
}

SIZE textSize(HDC dc, const std::wstring& text) {
  RECT r = {};
  if (!text.empty()) DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return {r.right - r.left, r.bottom - r.top};
}

void measure(MEASUREITEMSTRUCT* m, const std::wstring& text) {
  std::wstring caption, shortcut;
  splitAtTab(text, &caption, &shortcut);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, own().font);
  const SIZE c = textSize(dc, caption), s = textSize(dc, shortcut);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int check = GetSystemMetrics(SM_CXMENUCHECK);
  m->itemWidth = UINT(check + kGap + c.cx + (s.cx ? 3 * kGap + s.cx : 0) + kGap);
  const int tall = c.cy > s.cy ? c.cy : s.cy;
  const int least = GetSystemMetrics(SM_CYMENUCHECK) + 2;
  m->itemHeight = UINT(tall + kGap > least ? tall + kGap : least);
}

// The check mark as the platform draws it: its shape from DrawFrameControl, in the
// item's text colour on the item's background.
void drawCheck(HDC dc, const RECT& area, COLORREF ink, COLORREF background) {
  const int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
  HDC mask = CreateCompatibleDC(dc);
  HBITMAP bits = CreateBitmap(w, h, 1, 1, nullptr);
  if (mask && bits) {
    HGDIOBJ old = SelectObject(mask, bits);
    RECT r = {0, 0, w, h};
    DrawFrameControl(mask, &r, DFC_MENU, DFCS_MENUCHECK);
    const COLORREF oldText = SetTextColor(dc, ink), oldBack = SetBkColor(dc, background);
    BitBlt(dc, area.left, area.top + (area.bottom - area.top - h) / 2, w, h, mask, 0, 0, SRCCOPY);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SelectObject(mask, old);
  }
  if (bits) DeleteObject(bits);
  if (mask) DeleteDC(mask);
}

void draw(const DRAWITEMSTRUCT* d, const std::wstring& text) {
  const bool selected = d->itemState & ODS_SELECTED;
  const bool grey = d->itemState & (ODS_GRAYED | ODS_DISABLED);
  BOOL flat = FALSE;
  SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0);
  const int backRole = selected ? (flat ? COLOR_MENUHILIGHT : COLOR_HIGHLIGHT) : COLOR_MENU;
  const COLORREF background = GetSysColor(backRole);
  const COLORREF ink = GetSysColor(grey ? COLOR_GRAYTEXT : (selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  HDC dc = d->hDC;
  RECT r = d->rcItem;
  FillRect(dc, &r, GetSysColorBrush(backRole));
  if (selected && flat) FrameRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
  RECT check = r;
  check.left += kGap / 2;
  if (d->itemState & ODS_CHECKED) drawCheck(dc, check, ink, background);

  std::wstring caption, shortcut;
  splitAtTab(text, &caption, &shortcut);
  HGDIOBJ oldFont = SelectObject(dc, own().font);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldInk = SetTextColor(dc, ink);
  // The keyboard's underlines show only when the system says the keyboard is in use.
  const UINT format = DT_SINGLELINE | DT_VCENTER | ((d->itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
  RECT textArea = r;
  textArea.left += GetSystemMetrics(SM_CXMENUCHECK) + kGap;
  textArea.right -= kGap;
  DrawTextW(dc, caption.c_str(), int(caption.size()), &textArea, format | DT_LEFT);
  if (!shortcut.empty()) DrawTextW(dc, shortcut.c_str(), int(shortcut.size()), &textArea, format | DT_RIGHT | DT_NOPREFIX);
  SetTextColor(dc, oldInk);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

}  // namespace

bool MenuLacksGlyphs(HMENU menu, HFONT font) {
  HDC dc = GetDC(nullptr);
  if (!dc) return false;
  bool lacks = false;
  for (const MenuItem& item : itemsOf(menu)) {
    const std::wstring drawn = drawnCharacters(item.text);
    lacks = (!drawn.empty() && !FontDrawsText(dc, font, drawn)) || (item.submenu && MenuLacksGlyphs(item.submenu, font));
    if (lacks) break;
  }
  ReleaseDC(nullptr, dc);
  return lacks;
}

void DrawMenuOurselves(HMENU menu) {
  OwnDrawnMenus& m = own();
  if (!m.font) {
    const LOGFONTW lf = systemMenuFont();
    m.font = ChineseFontLike(lf);
    if (!m.font) m.font = CreateFontIndirectW(&lf);
  }
  const std::vector<MenuItem> items = itemsOf(menu);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].submenu) DrawMenuOurselves(items[i].submenu);
    if (items[i].type & MFT_SEPARATOR) continue;
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    // The text stays beside the drawing, for readers and the first-letter choice.
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    info.fType = items[i].type | MFT_OWNERDRAW;
    info.dwItemData = kOwnItemTag | m.texts.size();
    info.dwTypeData = const_cast<wchar_t*>(items[i].text.c_str());
    m.texts.push_back(items[i].text);
    SetMenuItemInfoW(menu, UINT(i), TRUE, &info);
  }
}

void ForgetOwnDrawnMenus() {
  OwnDrawnMenus& m = own();
  m.texts.clear();
  if (m.font) DeleteObject(m.font);
  m.font = nullptr;
}

bool AnswerOwnDrawnMenuItem(UINT msg, LPARAM lp, LRESULT* result) {
  if (msg == WM_MEASUREITEM) {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    const std::wstring* text = m && m->CtlType == ODT_MENU ? textOf(m->itemData) : nullptr;
    if (!text || !own().font) return false;
    measure(m, *text);
  } else if (msg == WM_DRAWITEM) {
    auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    const std::wstring* text = d && d->CtlType == ODT_MENU ? textOf(d->itemData) : nullptr;
    if (!text || !own().font) return false;
    draw(d, *text);
  } else {
    return false;
  }
  *result = TRUE;
  return true;
}

UINT TrackReadableMenu(HMENU menu, int x, int y, HWND owner) {
  const LOGFONTW lf = systemMenuFont();
  bool ourselves = false;
  if (HFONT font = CreateFontIndirectW(&lf)) {
    ourselves = MenuLacksGlyphs(menu, font);
    DeleteObject(font);
  }
  if (ourselves) DrawMenuOurselves(menu);
  const UINT chosen = UINT(TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
  if (ourselves) ForgetOwnDrawnMenus();
  return chosen;
}

}  // namespace lw
