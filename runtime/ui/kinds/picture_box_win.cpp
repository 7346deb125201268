// The picture box kind: a window of our own class "_QX_PicBox" that fills itself
// with its background colour and draws its picture by display mode; animated
// pictures play when the animate switch is on. It is a container like the group box.
// What it shows can be copied (WM_COPY) or saved from its menu (WM_CONTEXTMENU).
#include "runtime/ui/kinds/picture_box_win.h"

#include <windowsx.h>

#include <string>
#include <vector>

#include "runtime/core/startup/guarded_procedure_win.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/kinds/skeleton_win.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/pictures/animation_win.h"
#include "runtime/ui/pictures/draw_win.h"
#include "runtime/ui/pictures/take_away_win.h"
#include "runtime/ui/windows/buffered_paint_win.h"

namespace lw {

namespace {

const char kPicBoxClass[] = "_QX_PicBox";
const char kDefaultSaveName[] = "图片.png";

struct PicBoxState {
  PicBoxProps props;
  HBRUSH background = nullptr;
  UnitPicture picture;  // decoded once per picture change
  AnimationPlayer player;
  std::string saveName = kDefaultSaveName;  // what the save dialog suggests
};

PicBoxState* stateOf(Unit* u) { return KindStateOf<PicBoxState>(u, unit_type::PicBox); }

void release(PicBoxState* s) {
  StopAnimation(&s->player);
  ClearUnitPicture(&s->picture);
  if (s->background) DeleteObject(s->background);
}

// Decodes the stored bytes (every frame when animating) and starts the player when
// the picture moves.
void decodePicture(HWND hwnd, PicBoxState* s) {
  StopAnimation(&s->player);
  SetUnitPicture(&s->picture, s->props.picture, s->props.animate != 0);
  if (s->props.animate && s->picture.decoded) StartAnimation(&s->player, hwnd, s->picture.decoded);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void paint(HDC dc, const RECT& client, const PicBoxState& s) {
  FillRect(dc, &client, s.background ? s.background : GetSysColorBrush(COLOR_BTNFACE));
  DisplayPicture(dc, s.picture, s.props.displayMode, client, ConvertColour(s.props.backColour),
                 CurrentAnimationFrame(s.player));
}

// Frames and repaints are painted through a bitmap of the client area, so they never flicker.
void onPaint(HWND hwnd, const PicBoxState* s) {
  auto draw = [](HDC dc, const RECT& client, const void* state) {
    paint(dc, client, *static_cast<const PicBoxState*>(state));
  };
  PaintBuffered(hwnd, s ? ClientPainter(draw) : nullptr, s);
}

bool showsPicture(const PicBoxState* s) { return s && s->picture.decoded; }

// The picture as the box paints it now, at its client size in device pixels.
bool captureShown(HWND hwnd, const PicBoxState& s, ShownPicture* out) {
  RECT client;
  GetClientRect(hwnd, &client);
  if (client.right <= 0 || client.bottom <= 0) return false;
  HDC window = GetDC(hwnd);
  HDC mem = window ? CreateCompatibleDC(window) : nullptr;
  if (window) ReleaseDC(hwnd, window);
  if (!mem) return false;
  out->bitmap = MakeTopDownBitmap(mem, client.right, client.bottom, &out->bits);
  if (out->bitmap) {
    out->width = client.right;
    out->height = client.bottom;
    HGDIOBJ old = SelectObject(mem, out->bitmap);
    paint(mem, client, s);
    SelectObject(mem, old);
    GdiFlush();
  }
  DeleteDC(mem);
  return out->bitmap != nullptr;
}

// Ctrl+C, or 复制图片 from the menu: the picture onto the clipboard. An empty box
// copies nothing and leaves the clipboard as it was.
void onCopy(HWND hwnd, const PicBoxState* s) {
  ShownPicture shown;
  if (showsPicture(s) && captureShown(hwnd, *s, &shown)) CopyShownPicture(GetAncestor(hwnd, GA_ROOT), shown);
  ReleaseShownPicture(&shown);
}

// The menu on the picture, under the pointer or, from the keyboard (-1, -1), at the
// box's top-left corner. An empty box has nothing to offer and shows no menu.
bool onContextMenu(HWND hwnd, const PicBoxState* s, LPARAM lp) {
  if (!showsPicture(s)) return false;
  POINT at = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (at.x == -1 && at.y == -1) {
    at = {0, 0};
    ClientToScreen(hwnd, &at);
  }
  HWND owner = GetAncestor(hwnd, GA_ROOT);
  const PictureMenuChoice choice = TrackPictureMenu(owner, at);
  ShownPicture shown;
  if (choice != PictureMenuChoice::None && showsPicture(s) && captureShown(hwnd, *s, &shown)) {
    if (choice == PictureMenuChoice::Copy)
      CopyShownPicture(owner, shown);
    else
      SaveShownPicture(owner, shown, s->saveName.c_str());
  }
  ReleaseShownPicture(&shown);
  return true;
}

LRESULT CALLBACK picBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT routed = 0;
  if (RouteChildNotification(hwnd, msg, wp, lp, &routed)) return routed;
  PicBoxState* s = stateOf(UnitFromWindow(hwnd));
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // the paint fills the whole client area
    case WM_PAINT: onPaint(hwnd, s); return 0;
    case WM_COPY: onCopy(hwnd, s); return 0;
    case WM_CONTEXTMENU:
      if (onContextMenu(hwnd, s, lp)) return 0;
      break;
    case WM_TIMER:
      if (s && OnAnimationTimer(&s->player, wp)) return 0;
      break;
    case WM_DESTROY:
      if (s) StopAnimation(&s->player);
      break;
    default: break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND makeWindow(const UnitCreateArgs& a, PicBoxState* s) {
  if (!RegisterUnitClass(kPicBoxClass, &Guarded<picBoxProc>, CS_HREDRAW | CS_VREDRAW)) return nullptr;
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (a.style & ~WS_VISIBLE);
  HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, Wide(kPicBoxClass).c_str(), L"", style, a.left, a.top, a.width, a.height,
                              HWND(a.parent), HMENU(intptr_t(a.controlId)), GetModuleHandleW(nullptr), nullptr);
  if (hwnd) ReplaceBrush(&s->background, s->props.backColour);
  return hwnd;
}

void settle(HWND hwnd, PicBoxState* s) {
  decodePicture(hwnd, s);
  ApplyBorderStyle(hwnd, s->props.border);
}

// The animate switch: animating needs every frame, still pictures only the first.
int setByHand(HWND hwnd, PicBoxState* s, int number, const PropertyValue& v) {
  if (number != pic_box_prop::Animate) return 0;
  if ((v.i != 0) != (s->props.animate != 0)) {
    s->props.animate = v.i ? 1 : 0;
    decodePicture(hwnd, s);
  }
  InvalidateRect(hwnd, nullptr, FALSE);
  return 0;
}

int show(HWND hwnd, PicBoxState* s, int number, bool) {
  const PicBoxProps& p = s->props;
  switch (number) {
    case pic_box_prop::Border: ApplyBorderStyle(hwnd, p.border); break;
    case pic_box_prop::BackColour: ReplaceBrush(&s->background, p.backColour); break;
    case pic_box_prop::Picture: decodePicture(hwnd, s); break;  // the unit keeps its own copy of the bytes
    case pic_box_prop::ExtraText1: case pic_box_prop::ExtraText2: return 0;  // stored only
    default: break;
  }
  InvalidateRect(hwnd, nullptr, FALSE);
  return 0;
}

constexpr UnitKindParts<PicBoxState> kParts = {
    unit_type::PicBox, &kPicBoxTable, &makeWindow, &settle, nullptr, &release, &setByHand, &show, nullptr, nullptr,
};

}  // namespace

void SetPictureBoxSaveName(Unit* box, const char* name) {
  if (PicBoxState* s = stateOf(box)) s->saveName = name && *name ? name : kDefaultSaveName;
}

HWND ShownPictureBoxOf(HWND window) {
  struct Search {
    HWND found;
    int count;
  } search = {nullptr, 0};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM lp) WINAPI -> BOOL {
        auto* search = reinterpret_cast<Search*>(lp);
        if (IsWindowVisible(child) && showsPicture(stateOf(UnitFromWindow(child)))) {
          search->found = child;
          ++search->count;
        }
        return TRUE;
      },
      LPARAM(&search));
  return search.count == 1 ? search.found : nullptr;
}

extern const UnitKindRoutines kPicBoxRoutines = KindRoutines<PicBoxState, kParts>();

}  // namespace lw
