// The label kind: a window of our own class "_QX_Label" that paints everything
// itself — the gradient border, the background (picture, gradient or colour) and
// the caption with its effect and alignment. It takes no focus and raises no events.
// To dialogs and assistive technology it is static text, and a new caption is
// announced, so that a screen reader reads out a changed status line.
#include <vector>

#include "runtime/core/startup/guarded_procedure_win.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/picture/pixels.h"
#include "runtime/ui/accessibility/accessible_name_win.h"
#include "runtime/ui/kinds/colours_win.h"
#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/label_gradient.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/kinds/skeleton_win.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/pictures/draw_win.h"
#include "runtime/ui/scale/display_scale_win.h"
#include "runtime/ui/windows/buffered_paint_win.h"

namespace lw {

namespace {

const char kLabelClass[] = "_QX_Label";

struct LabelState {
  LabelProps props;
  HFONT font = nullptr;
  UnitPicture picture;  // decoded from props.picture, kept until the picture changes
};

LabelState* stateOf(Unit* u) { return KindStateOf<LabelState>(u, unit_type::Label); }

void release(LabelState* s) {
  DeleteUnitFont(s->font);
  ClearUnitPicture(&s->picture);
}

// Border 6 is drawn by the label itself; the platform frame is then none.
void applyBorder(HWND hwnd, int border) { ApplyBorderStyle(hwnd, border == 6 ? 0 : border); }

void fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH b = CreateSolidBrush(colour);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

// Rings of the gradient border, outermost first, each one pixel wide.
void drawGradientBorder(HDC dc, RECT r, int width, const GradientStops& stops) {
  for (int ring = 0; ring < width && r.right > r.left && r.bottom > r.top; ++ring) {
    HBRUSH b = CreateSolidBrush(COLORREF(GradientBorderColour(stops, ring, width)));
    FrameRect(dc, &r, b);
    DeleteObject(b);
    InflateRect(&r, -1, -1);
  }
}

void drawGradientBackground(HDC dc, const RECT& area, int style, const GradientStops& stops) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  uint8_t* bits = nullptr;
  HBITMAP b = MakeTopDownBitmap(dc, w, h, &bits);
  if (!b) return;
  if (RenderGradient(style, stops, w, h, bits)) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, b);
    BitBlt(dc, area.left, area.top, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  DeleteObject(b);
}

// The background of the text area by picture mode: 0 own size at the corner, 1
// tiled over the area, 2 fitted and centred; the rest in the background colour.
void drawPictureBackground(HDC dc, const RECT& area, const LabelState& s, COLORREF background) {
  if (s.props.pictureMode != 1) {
    // Only what shows of the picture is worked out, within the text area.
    fill(dc, area, background);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    DisplayPicture(dc, s.picture, s.props.pictureMode == 2 ? 2 : 0, area, background);
    SelectClipRgn(dc, nullptr);
    return;
  }
  DrawablePicture d;
  if (!MakeDrawablePicture(s.picture, dc, background, &d)) {
    fill(dc, area, background);
    return;
  }
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  if (d.bitmap) {
    // One fill with the picture as a pattern, however small the picture is.
    if (HBRUSH pattern = CreatePatternBrush(d.bitmap)) {
      POINT oldOrigin;
      SetBrushOrgEx(dc, area.left, area.top, &oldOrigin);
      FillRect(dc, &area, pattern);
      SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
      DeleteObject(pattern);
    }
  } else {
    for (int y = area.top; y < area.bottom; y += d.height)
      for (int x = area.left; x < area.right; x += d.width) DrawPicture(d, x, y);
  }
  SelectClipRgn(dc, nullptr);
  ReleaseDrawablePicture(&d);
}

void drawCaption(HDC dc, const RECT& area, const LabelState& s) {
  const LabelProps& p = s.props;
  if (p.caption.empty()) return;
  UINT format = DT_NOPREFIX;
  format |= p.hAlign == 1 ? DT_CENTER : (p.hAlign == 2 ? DT_RIGHT : DT_LEFT);
  if (p.wordWrap)
    format |= DT_WORDBREAK;  // wraps from the top; the vertical alignment does not apply
  else
    format |= DT_SINGLELINE | (p.vAlign == 0 ? DT_TOP : (p.vAlign == 2 ? DT_BOTTOM : DT_VCENTER));
  HGDIOBJ oldFont = SelectObject(dc, s.font ? s.font : DefaultUnitFont());
  const std::wstring caption = Wide(p.caption);
  SetBkMode(dc, TRANSPARENT);
  auto draw = [&](int dx, int dy, COLORREF colour) {
    RECT r = area;
    OffsetRect(&r, dx, dy);
    SetTextColor(dc, colour);
    DrawTextW(dc, caption.c_str(), int(caption.size()), &r, format);
  };
  const COLORREF text = UnitColour(ColourRole::FaceText, p.textColour), white = RGB(255, 255, 255), black = RGB(0, 0, 0);
  // Under high contrast the caption stands alone in the scheme's colour.
  switch (HighContrastOn() ? 0 : p.textEffect) {
    case 1: draw(1, 1, white), draw(0, 0, text); break;  // raised
    case 2: draw(0, 0, white), draw(1, 1, text); break;  // sunken
    case 3: draw(2, 2, black), draw(0, 0, text); break;  // shadow
    default: draw(0, 0, text); break;
  }
  SelectObject(dc, oldFont);
}

void paintLabel(HDC dc, const RECT& client, const LabelState& s) {
  const LabelProps& p = s.props;
  // Under high contrast: the scheme's colours only, with no gradient or picture
  // behind the caption; a gradient border keeps its width in the text colour.
  const bool contrast = HighContrastOn();
  RECT area = client;
  if (p.border == 6 && p.gradientBorderWidth >= 1) {
    GradientStops stops = MakeGradientStops(p.gradientBorderColours);
    if (stops.count >= 2) {
      if (contrast) {
        const uint32_t ink = UnitColour(ColourRole::FaceText, 0);
        stops = GradientStops{{ink, ink, ink}, 2};
      }
      drawGradientBorder(dc, client, p.gradientBorderWidth, stops);
      InflateRect(&area, -p.gradientBorderWidth, -p.gradientBorderWidth);
      if (area.right < area.left) area.right = area.left;
      if (area.bottom < area.top) area.bottom = area.top;
    }
  }
  const COLORREF background = UnitColour(ColourRole::Face, p.backColour);
  GradientStops stops = MakeGradientStops(p.gradientColours);
  if (contrast)
    fill(dc, area, background);
  else if (s.picture.decoded)
    drawPictureBackground(dc, area, s, background);
  else if (p.gradientBackground >= 1 && p.gradientBackground <= 8 && stops.count >= 2)
    drawGradientBackground(dc, area, p.gradientBackground, stops);
  else
    fill(dc, area, background);
  drawCaption(dc, area, s);
}

// The layers are painted through a bitmap of the client area, so they never flicker.
void onPaint(HWND hwnd, const LabelState* s) {
  auto paint = [](HDC dc, const RECT& client, const void* state) {
    paintLabel(dc, client, *static_cast<const LabelState*>(state));
  };
  PaintBuffered(hwnd, s ? ClientPainter(paint) : nullptr, s);
}

LRESULT CALLBACK labelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // the paint covers the whole client area
    case WM_PAINT: onPaint(hwnd, stateOf(UnitFromWindow(hwnd))); return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;  // static text, as dialogs and readers look for it
    case WM_GETFONT: {  // the font the caption is drawn with
      LabelState* s = stateOf(UnitFromWindow(hwnd));
      return LRESULT(s && s->font ? s->font : DefaultUnitFont());
    }
    default: return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

HWND makeWindow(const UnitCreateArgs& a, LabelState* s) {
  if (!RegisterUnitClass(kLabelClass, &Guarded<labelProc>, CS_HREDRAW | CS_VREDRAW)) return nullptr;
  const DWORD style = (a.style & ~WS_VISIBLE) | WS_CHILD | WS_CLIPSIBLINGS;
  HWND hwnd = CreateWindowExW(0, Wide(kLabelClass).c_str(), Wide(s->props.caption).c_str(), style, a.left, a.top, a.width, a.height,
                              HWND(a.parent), HMENU(intptr_t(a.controlId)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  s->font = MakeUnitFontForDpi(s->props.font, WindowDpi(hwnd));
  SetUnitPicture(&s->picture, s->props.picture);
  return hwnd;
}

void settle(HWND hwnd, LabelState* s) { applyBorder(hwnd, s->props.border); }

// Every label property is stored by its row; what a change does beyond that is
// here, and the label paints again.
int show(HWND hwnd, LabelState* s, int number, bool changed) {
  const LabelProps& p = s->props;
  switch (number) {
    case label_prop::Caption:
      SetWindowTextGbk(hwnd, p.caption);
      // A live region (the status line) is news each time it is set, the same text
      // again included; another label only when its text changed.
      if (const Unit* u = UnitFromWindow(hwnd); IsLiveRegion(u)) AnnounceLiveRegion(u);
      else if (changed) AnnounceNameChange(hwnd);
      break;
    case label_prop::Border: applyBorder(hwnd, p.border); break;
    case label_prop::Font: ReplaceFont(&s->font, p.font, nullptr, WindowDpi(hwnd)); break;
    case label_prop::Picture: SetUnitPicture(&s->picture, p.picture); break;
    default: break;
  }
  InvalidateRect(hwnd, nullptr, FALSE);
  return 0;  // everything shows on the existing window
}

constexpr UnitKindParts<LabelState> kParts = {
    unit_type::Label, &kLabelTable, &makeWindow, &settle, nullptr, &release, nullptr, &show, nullptr, nullptr,
};

}  // namespace

extern const UnitKindRoutines kLabelRoutines = KindRoutines<LabelState, kParts>();

}  // namespace lw
