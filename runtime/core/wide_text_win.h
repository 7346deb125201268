// The platform edge speaks UTF-16 (the W calls); the program's texts are GBK. These
// give the W calls their strings and turn what they answer back into GBK, always
// through the code-page unit, so no text passes through the system's code page.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>

#include "runtime/core/codepage.h"

namespace lw {

// GbkToWide as the W calls take it, made in place (the code-page unit's own).
std::wstring GbkToWideString(const char* gbk, size_t length);

inline std::wstring Wide(const char* gbk, size_t length) { return GbkToWideString(gbk, length); }
inline std::wstring Wide(const char* gbk) { return Wide(gbk, gbk ? strlen(gbk) : 0); }
inline std::wstring Wide(const std::string& gbk) { return Wide(gbk.data(), gbk.size()); }

inline std::string Gbk(const wchar_t* wide, size_t length) {
  return WideToGbk(reinterpret_cast<const char16_t*>(wide), length);
}
inline std::string Gbk(const std::wstring& wide) { return Gbk(wide.data(), wide.size()); }

// A window's text as the platform holds it.
inline std::wstring WideWindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  if (n <= 0) return {};
  std::wstring t(size_t(n) + 1, L'\0');
  int got = GetWindowTextW(hwnd, &t[0], n + 1);
  t.resize(got > 0 ? size_t(got) : 0);
  return t;
}

// One of the platform's own cursors by its name (IDC_ARROW, IDC_WAIT, …).
inline HCURSOR SystemCursor(LPCSTR id) { return LoadCursorW(nullptr, MAKEINTRESOURCEW(uintptr_t(id))); }

inline bool SetWindowTextGbk(HWND hwnd, const std::string& text) {
  return SetWindowTextW(hwnd, Wide(text).c_str()) != 0;
}

}  // namespace lw
