#include "runtime/core/codepage.h"

#include <windows.h>

#include <climits>

namespace lw {

// Each conversion asks for the size, allocates, then converts.

std::u16string AnsiToWide(const char* text, size_t length) {
  if (!text || length == 0 || length > INT_MAX) return std::u16string();
  int n = MultiByteToWideChar(CP_ACP, 0, text, int(length), nullptr, 0);
  if (n <= 0) return std::u16string();
  std::u16string out(size_t(n), u'\0');
  n = MultiByteToWideChar(CP_ACP, 0, text, int(length), reinterpret_cast<LPWSTR>(&out[0]), n);
  out.resize(n > 0 ? size_t(n) : 0);
  return out;
}

std::string WideToAnsi(const char16_t* text, size_t length) {
  if (!text || length == 0 || length > INT_MAX) return std::string();
  LPCWCH wide = reinterpret_cast<LPCWCH>(text);
  int n = WideCharToMultiByte(CP_ACP, 0, wide, int(length), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(size_t(n), '\0');
  n = WideCharToMultiByte(CP_ACP, 0, wide, int(length), &out[0], n, nullptr, nullptr);
  out.resize(n > 0 ? size_t(n) : 0);
  return out;
}

}  // namespace lw
