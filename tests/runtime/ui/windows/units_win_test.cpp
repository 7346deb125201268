// The fonts units make from their font blocks, under whatever code page the system
// has: the program's texts are GBK, so a face the system lacks must fall to a face
// with GB2312 characters, never to the Big5, Japanese or Western face of the
// system's own character set, while a face the system has is still the one used.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/text/wide_text_win.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/properties/values.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {
namespace {

std::vector<uint8_t> fontBlock(const std::string& gbkFace) {
  LogFontRecord f = {};
  f.height = -12;
  f.weight = 400;
  strncpy(f.faceName, gbkFace.c_str(), sizeof f.faceName - 1);
  const auto* bytes = reinterpret_cast<const uint8_t*>(&f);
  return std::vector<uint8_t>(bytes, bytes + sizeof f);
}

int CALLBACK collectFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM lp) {
  if (lf->lfFaceName[0] != L'@') reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(lf->lfFaceName);
  return 1;
}

// The system's faces in a character set, and in it under one name.
std::vector<std::wstring> facesIn(BYTE charSet, const wchar_t* name = L"") {
  std::vector<std::wstring> faces;
  LOGFONTW query = {};
  query.lfCharSet = charSet;
  wcsncpy(query.lfFaceName, name, LF_FACESIZE - 1);
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &query, &collectFace, LPARAM(&faces), 0);
  ReleaseDC(nullptr, dc);
  return faces;
}

// A face of the system with GB2312 characters (the CJK face the test machine has).
std::wstring someChineseFace() {
  std::vector<std::wstring> faces = facesIn(GB2312_CHARSET);
  return faces.empty() ? std::wstring() : faces.front();
}

// A Western face of the system that has no GB2312 characters.
std::wstring someWesternFace() {
  for (const std::wstring& face : facesIn(ANSI_CHARSET))
    if (facesIn(GB2312_CHARSET, face.c_str()).empty()) return face;
  return std::wstring();
}

struct Made {
  std::wstring face;
  int charSet;
  bool drawsChinese;
};

Made whatIsMade(const std::vector<uint8_t>& block) {
  HFONT font = MakeUnitFont(block);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW tm = {};
  GetTextMetricsW(dc, &tm);
  const wchar_t sample[] = L"\u6587\u5b57\u83b7\u53d6";
  WORD glyphs[4] = {};
  bool drawsChinese = GetGlyphIndicesW(dc, sample, 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == 4;
  for (WORD g : glyphs) drawsChinese = drawsChinese && g != 0xFFFF;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  if (!IsStockFont(font)) DeleteObject(font);
  return {face, tm.tmCharSet, drawsChinese};
}

TEST(UnitFonts, AFaceTheSystemLacksFallsToAChineseFaceAndAFaceItHasIsKept) {
  const std::wstring chinese = someChineseFace(), western = someWesternFace();
  ASSERT_FALSE(chinese.empty()) << "expected the system to have a face with GB2312 characters";
  ASSERT_FALSE(western.empty()) << "expected the system to have a face without GB2312 characters";
  struct Case {
    std::wstring face;
    const wchar_t* wantFace;  // null: any face with GB2312 characters
    const char* why;
  } cases[] = {
      {L"Linkwright No Such Face", nullptr, "a missing face maps by the program's character set"},
      {L"\u4e0d\u5b58\u5728\u7684\u5b57\u4f53", nullptr, "so does a missing face named in Chinese"},
      {western, western.c_str(), "a face the system has stays, though it has no GB2312 characters"},
      {chinese, chinese.c_str(), "a Chinese face the system has stays"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const Made made = whatIsMade(fontBlock(Gbk(c.face)));
    if (c.wantFace) {
      EXPECT_EQ(0, _wcsicmp(c.wantFace, made.face.c_str())) << "got the face " << Gbk(made.face);
    } else {
      EXPECT_EQ(GB2312_CHARSET, made.charSet) << "got the face " << Gbk(made.face);
      EXPECT_TRUE(made.drawsChinese) << "got the face " << Gbk(made.face);
    }
  }
}

}  // namespace
}  // namespace lw
