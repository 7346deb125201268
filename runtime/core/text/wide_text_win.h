// The platform edge speaks UTF-16 (the W calls); the program's texts are GBK. These
// give the W calls their strings and turn what they answer back into GBK, always
// through the code-page unit, so no text passes through the system's code page.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>
#include <type_traits>

#include "runtime/core/text/codepage.h"

// The build defines UNICODE and _UNICODE, so that a generic platform name is never
// the call that reads texts in the system's code page.
#if !defined(UNICODE) || !defined(_UNICODE)
#error "the platform edge is built with UNICODE and _UNICODE"
#endif
static_assert(std::is_same<TCHAR, WCHAR>::value, "generic texts are UTF-16");
static_assert(std::is_same<decltype(&::GetModuleFileName), decltype(&::GetModuleFileNameW)>::value &&
                  std::is_same<decltype(&::CreateWindowEx), decltype(&::CreateWindowExW)>::value &&
                  std::is_same<LOGFONT, LOGFONTW>::value,
              "a generic platform name is its W form");

namespace lw {

// GbkToWide as the W calls take it, made in place (the code-page unit's own).
std::wstring GbkToWideString(const char* gbk, size_t length);

inline std::wstring Wide(const char* gbk, size_t length) { return GbkToWideString(gbk, length); }
inline std::wstring Wide(const char* gbk) { return Wide(gbk, gbk ? strlen(gbk) : 0); }
inline std::wstring Wide(const std::string& gbk) { return Wide(gbk.data(), gbk.size()); }

// A text for one W call, made on the stack when it is short and as a string of its
// own otherwise: commands that hand the platform thousands of short texts in a
// burst, such as a list view's rows, then make no block for each.
class WideArgument {
 public:
  explicit WideArgument(const char* gbk) {
    size_t length = gbk ? strlen(gbk) : 0;
    size_t units = 0;
    // A GBK byte gives at most one unit: a text as long as the room fits.
    if (length < kRoom) units = GbkToWideInto(gbk, length, reinterpret_cast<char16_t*>(room_), kRoom - 1);
    if (units > 0 || length == 0) {
      room_[units] = L'\0';
      text_ = room_;
    } else {
      long_ = Wide(gbk, length);
      text_ = long_.c_str();
    }
  }
  WideArgument(const WideArgument&) = delete;
  WideArgument& operator=(const WideArgument&) = delete;
  wchar_t* get() const { return const_cast<wchar_t*>(text_); }

 private:
  static constexpr size_t kRoom = 256;
  wchar_t room_[kRoom];
  std::wstring long_;
  const wchar_t* text_ = nullptr;
};

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
inline HCURSOR SystemCursor(LPCWSTR id) { return LoadCursorW(nullptr, id); }

inline bool SetWindowTextGbk(HWND hwnd, const std::string& text) {
  return SetWindowTextW(hwnd, Wide(text).c_str()) != 0;
}

}  // namespace lw
