// What the kinds share of their look: colours, fonts and borders.
#include "runtime/ui/kinds/look_win.h"

#include <cstddef>
#include <cstring>

#include "runtime/core/text/wide_text_win.h"

namespace lw {
namespace {

// Whether the system made `font` with the face `face`.
bool madeWithFace(HFONT font, const wchar_t* face) {
  if (!face[0]) return true;
  HDC dc = GetDC(nullptr);
  if (!dc) return true;
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t made[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, made);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return _wcsicmp(made, face) == 0;
}

int CALLBACK noteCharSet(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<int*>(found) = lf->lfCharSet;
  return 0;
}

// A character set the system has the face in; -1 when it has no such face.
int charSetOfFace(const wchar_t* face) {
  if (!face[0]) return -1;
  LOGFONTW query = {};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  int found = -1;
  HDC dc = GetDC(nullptr);
  if (!dc) return -1;
  EnumFontFamiliesExW(dc, &query, &noteCharSet, LPARAM(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

}  // namespace

COLORREF ConvertColour(uint32_t colour) {
  return colour == 0xFF000000u ? GetSysColor(COLOR_BTNFACE) : COLORREF(colour & 0x00FFFFFF);
}

HFONT MakeUnitFont(const std::vector<uint8_t>& block) {
  if (block.size() < sizeof(LOGFONTA)) return DefaultUnitFont();
  // The block is a logical font record with a GBK face name; the fields before the
  // name are the same in the UTF-16 record.
  LOGFONTA block8;
  memcpy(&block8, block.data(), sizeof block8);
  LOGFONTW lf;
  memcpy(&lf, &block8, offsetof(LOGFONTW, lfFaceName));
  const std::wstring face = Wide(block8.lfFaceName, strnlen(block8.lfFaceName, LF_FACESIZE - 1));
  const size_t n = face.size() < LF_FACESIZE - 1 ? face.size() : LF_FACESIZE - 1;
  memcpy(lf.lfFaceName, face.data(), n * sizeof(wchar_t));
  lf.lfFaceName[n] = 0;
  // The program's texts are GBK, so a face the system lacks must map to a face with
  // GB2312 characters; the system's own character set would give a Big5, Japanese
  // or Western face under another code page.
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfOutPrecision = 0;
  lf.lfClipPrecision = 0;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = 0;
  HFONT f = CreateFontIndirectW(&lf);
  // The font mapper weighs the character set above the name: a face the system has
  // without GB2312 characters would give way to another. It is asked for in a
  // character set it has.
  const int own = f && !madeWithFace(f, lf.lfFaceName) ? charSetOfFace(lf.lfFaceName) : -1;
  if (own >= 0) {
    lf.lfCharSet = BYTE(own);
    if (HFONT named = CreateFontIndirectW(&lf)) {
      DeleteObject(f);
      f = named;
    }
  }
  return f ? f : DefaultUnitFont();
}

bool IsStockFont(HFONT font) {
  return font == HFONT(GetStockObject(DEFAULT_GUI_FONT)) || font == DefaultUnitFont();
}

DWORD BorderExStyle(int border) {
  switch (border) {
    case 1: return WS_EX_CLIENTEDGE;
    case 2: return WS_EX_DLGMODALFRAME;
    case 3: return WS_EX_STATICEDGE;
    case 4: return WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
    default: return 0;
  }
}

void ApplyBorderStyle(HWND hwnd, int border) {
  const LONG oldStyle = GetWindowLongW(hwnd, GWL_STYLE), oldEx = GetWindowLongW(hwnd, GWL_EXSTYLE);
  LONG style = (oldStyle & ~WS_BORDER) | (border == 5 ? WS_BORDER : 0);
  LONG ex = (oldEx & ~(WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE)) | LONG(BorderExStyle(border));
  // A frame already in this style is left alone: recomputing it costs a frame
  // message round for nothing, once per control as a window loads.
  if (style == oldStyle && ex == oldEx) return;
  SetWindowLongW(hwnd, GWL_STYLE, style);
  SetWindowLongW(hwnd, GWL_EXSTYLE, ex);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace lw
