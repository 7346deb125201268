#include "runtime/core/text/codepage.h"
#include "runtime/core/text/wide_text_win.h"

#include <windows.h>

#include <climits>

namespace lw {

// A short text is converted once, into room on the stack, and its result made from
// that; a longer one asks for the size of its result first, then converts into it.

namespace {

constexpr size_t kStackRoom = 512;  // bytes

size_t intoWide(UINT codePage, const char* text, size_t length, char16_t* out, size_t room) {
  if (!text || length == 0 || length > INT_MAX || room == 0) return 0;
  int n = MultiByteToWideChar(codePage, 0, text, int(length), reinterpret_cast<LPWSTR>(out),
                              int(room < INT_MAX ? room : INT_MAX));
  return n > 0 ? size_t(n) : 0;
}

// A character the code page cannot hold becomes the code page's own default
// character: "?" in GBK, as the system's A calls give on a Chinese system. Naming
// that character explicitly would give the same bytes on a slower path.
size_t fromWideInto(UINT codePage, const char16_t* text, size_t length, char* out, size_t room) {
  if (!text || length == 0 || length > INT_MAX || room == 0) return 0;
  int n = WideCharToMultiByte(codePage, 0, reinterpret_cast<LPCWCH>(text), int(length), out,
                              int(room < INT_MAX ? room : INT_MAX), nullptr, nullptr);
  return n > 0 ? size_t(n) : 0;
}

// Into either string of 16-bit units: the code-page unit's own and the W calls'.
template <class Units>
Units toWide(UINT codePage, const char* text, size_t length) {
  if (!text || length == 0 || length > INT_MAX) return Units();
  char16_t room[kStackRoom / 2];
  // A byte gives at most one unit.
  if (length <= sizeof room / sizeof room[0]) {
    size_t n = intoWide(codePage, text, length, room, sizeof room / sizeof room[0]);
    return Units(room, room + n);
  }
  int n = MultiByteToWideChar(codePage, 0, text, int(length), nullptr, 0);
  if (n <= 0) return Units();
  Units out(size_t(n), 0);
  n = MultiByteToWideChar(codePage, 0, text, int(length), reinterpret_cast<LPWSTR>(&out[0]), n);
  out.resize(n > 0 ? size_t(n) : 0);
  return out;
}

std::string fromWide(UINT codePage, const char16_t* text, size_t length) {
  if (!text || length == 0 || length > INT_MAX) return std::string();
  char room[kStackRoom];
  // A unit gives at most three bytes (UTF-8), so a short text fits; should the
  // room still be short, the conversion starts over the long way.
  if (length <= sizeof room / 3) {
    if (size_t n = fromWideInto(codePage, text, length, room, sizeof room)) return std::string(room, n);
  }
  LPCWCH wide = reinterpret_cast<LPCWCH>(text);
  int n = WideCharToMultiByte(codePage, 0, wide, int(length), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(size_t(n), '\0');
  n = WideCharToMultiByte(codePage, 0, wide, int(length), &out[0], n, nullptr, nullptr);
  out.resize(n > 0 ? size_t(n) : 0);
  return out;
}

}  // namespace

size_t GbkToWideInto(const char* text, size_t length, char16_t* out, size_t room) {
  return intoWide(kTextCodePage, text, length, out, room);
}

size_t WideToGbkInto(const char16_t* text, size_t length, char* out, size_t room) {
  return fromWideInto(kTextCodePage, text, length, out, room);
}

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
