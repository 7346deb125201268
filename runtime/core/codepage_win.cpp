#include "runtime/core/codepage.h"
#include "runtime/core/wide_text_win.h"

#include <windows.h>

#include <climits>

namespace lw {

// Each conversion asks for the size, allocates, then converts.

namespace {

// Into either string of 16-bit units: the code-page unit's own and the W calls'.
template <class Units>
Units toWide(UINT codePage, const char* text, size_t length) {
  if (!text || length == 0 || length > INT_MAX) return Units();
  int n = MultiByteToWideChar(codePage, 0, text, int(length), nullptr, 0);
  if (n <= 0) return Units();
  Units out(size_t(n), 0);
  n = MultiByteToWideChar(codePage, 0, text, int(length), reinterpret_cast<LPWSTR>(&out[0]), n);
  out.resize(n > 0 ? size_t(n) : 0);
  return out;
}

std::string fromWide(UINT codePage, const char16_t* text, size_t length) {
  if (!text || length == 0 || length > INT_MAX) return std::string();
  LPCWCH wide = reinterpret_cast<LPCWCH>(text);
  // UTF-8 takes no default character; GBK's is "?", as the system's own A calls
  // give on a Chinese system.
  LPCCH fallback = codePage == CP_UTF8 ? nullptr : "?";
  int n = WideCharToMultiByte(codePage, 0, wide, int(length), nullptr, 0, fallback, nullptr);
  if (n <= 0) return std::string();
  std::string out(size_t(n), '\0');
  n = WideCharToMultiByte(codePage, 0, wide, int(length), &out[0], n, fallback, nullptr);
  out.resize(n > 0 ? size_t(n) : 0);
  return out;
}

}  // namespace

std::u16string GbkToWide(const char* text, size_t length) {
  return toWide<std::u16string>(kTextCodePage, text, length);
}

std::wstring GbkToWideString(const char* text, size_t length) {
  return toWide<std::wstring>(kTextCodePage, text, length);
}

std::string WideToGbk(const char16_t* text, size_t length) { return fromWide(kTextCodePage, text, length); }

std::string GbkToUtf8(const char* text, size_t length) {
  std::u16string wide = GbkToWide(text, length);
  return fromWide(CP_UTF8, wide.data(), wide.size());
}

}  // namespace lw
