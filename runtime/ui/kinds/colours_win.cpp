#include "runtime/ui/kinds/colours_win.h"

#include "runtime/ui/kinds/look_win.h"

namespace lw {
namespace {

struct ContrastState {
  bool read = false;
  ContrastScheme scheme;
  HBRUSH brushes[4] = {};  // by role, made while the scheme is on
};

ContrastState& state() {
  static ContrastState s;
  return s;
}

COLORREF schemeColour(const ContrastScheme& s, ColourRole role) {
  switch (role) {
    case ColourRole::FaceText: return s.faceText;
    case ColourRole::Face: return s.face;
    case ColourRole::BoxText: return s.boxText;
    default: return s.box;
  }
}

void take(const ContrastScheme& scheme) {
  ContrastState& s = state();
  s.read = true;
  s.scheme = scheme;
  for (int role = 0; role < 4; ++role) {
    if (s.brushes[role]) DeleteObject(s.brushes[role]);
    s.brushes[role] = scheme.on ? CreateSolidBrush(schemeColour(scheme, ColourRole(role))) : nullptr;
  }
}

const ContrastScheme& current() {
  if (!state().read) take(ReadContrastScheme());
  return state().scheme;
}

BOOL CALLBACK tellControl(HWND control, LPARAM) {
  SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

}  // namespace

ContrastScheme ReadContrastScheme() {
  ContrastScheme s;
  HIGHCONTRASTW hc = {};
  hc.cbSize = sizeof hc;
  s.on = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
  s.faceText = GetSysColor(COLOR_BTNTEXT);
  s.face = GetSysColor(COLOR_BTNFACE);
  s.boxText = GetSysColor(COLOR_WINDOWTEXT);
  s.box = GetSysColor(COLOR_WINDOW);
  return s;
}

bool HighContrastOn() { return current().on; }

COLORREF UnitColour(ColourRole role, uint32_t programColour) {
  const ContrastScheme& s = current();
  return s.on ? schemeColour(s, role) : ConvertColour(programColour);
}

HBRUSH UnitBrush(ColourRole role, HBRUSH programBrush) {
  if (!current().on) return programBrush;
  HBRUSH b = state().brushes[int(role)];
  return b ? b : programBrush;
}

void FollowContrastScheme(HWND window, const ContrastScheme& scheme) {
  take(scheme);
  EnumChildWindows(window, &tellControl, 0);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool IsContrastChange(UINT msg, WPARAM wp) {
  return msg == WM_SYSCOLORCHANGE || msg == WM_THEMECHANGED ||
         (msg == WM_SETTINGCHANGE && wp == SPI_SETHIGHCONTRAST);
}

}  // namespace lw
