// The font that units draw with when their template names none. It is the stock
// GUI font wherever that font can draw Chinese text, as on every system whose code
// page is Chinese. Elsewhere nothing may link the stock font to a Chinese face, and
// the program's captions would show as empty boxes; the default then becomes a
// Chinese UI face of the stock font's height, found among the system's fonts. Menus
// whose font lacks their glyphs are drawn in the same face.
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {
namespace {

// Common characters of the program's texts: a face that has these draws them.
const wchar_t kChineseSample[] = L"\u7684\u4e00\u662f\u5728\u4e0d\u4e86\u6709\u4eba\u4e2d\u6587\u5730\u5740\u83b7\u53d6";

bool drawsChinese(HDC dc, HFONT font) { return FontDrawsText(dc, font, kChineseSample); }

int CALLBACK collectFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM lp) {
  auto* faces = reinterpret_cast<std::vector<std::wstring>*>(lp);
  // Faces for vertical writing ("@…") lay characters on their side.
  if (lf->lfFaceName[0] != L'@') faces->push_back(lf->lfFaceName);
  return 1;
}

// The system's faces with the Chinese character set, best first: the platform's
// UI face, then its classic one (by either of its names), then any.
std::vector<std::wstring> chineseFaces(HDC dc) {
  std::vector<std::wstring> found, ordered;
  LOGFONTW query = {};
  query.lfCharSet = GB2312_CHARSET;
  EnumFontFamiliesExW(dc, &query, &collectFace, LPARAM(&found), 0);
  for (const wchar_t* preferred : {L"Microsoft YaHei UI", L"SimSun", L"\u5b8b\u4f53"})
    for (const std::wstring& f : found)
      if (f == preferred) ordered.push_back(f);
  ordered.insert(ordered.end(), found.begin(), found.end());
  return ordered;
}

HFONT chooseDefaultFont() {
  HFONT stock = HFONT(GetStockObject(DEFAULT_GUI_FONT));
  HDC dc = GetDC(nullptr);
  if (!dc) return stock;
  HFONT chosen = stock;
  if (!drawsChinese(dc, stock)) {
    LOGFONTW lf = {};
    GetObjectW(stock, sizeof lf, &lf);
    if (HFONT f = ChineseFontLike(lf)) chosen = f;
  }
  ReleaseDC(nullptr, dc);
  return chosen;
}

}  // namespace

bool FontDrawsText(HDC dc, HFONT font, const std::wstring& text) {
  std::vector<WORD> glyphs(text.size() + 1);
  HGDIOBJ old = SelectObject(dc, font);
  DWORD got = GetGlyphIndicesW(dc, text.c_str(), int(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  if (got == GDI_ERROR || got != text.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (glyphs[i] == 0xFFFF) return false;
  return true;
}

HFONT ChineseFontLike(LOGFONTW lf) {
  HDC dc = GetDC(nullptr);
  if (!dc) return nullptr;
  HFONT chosen = nullptr;
  for (const std::wstring& face : chineseFaces(dc)) {
    if (face.size() >= LF_FACESIZE) continue;
    wcscpy(lf.lfFaceName, face.c_str());
    lf.lfCharSet = GB2312_CHARSET;
    HFONT f = CreateFontIndirectW(&lf);
    if (f && drawsChinese(dc, f)) {
      chosen = f;
      break;
    }
    if (f) DeleteObject(f);
  }
  ReleaseDC(nullptr, dc);
  return chosen;
}

HFONT DefaultUnitFont() {
  static const HFONT font = chooseDefaultFont();
  return font;
}

}  // namespace lw
