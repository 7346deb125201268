// The code-page unit for the pure test program. In the Windows build it is the
// program's own unit; natively it converts with iconv.
#ifdef _WIN32
#include "runtime/core/text/codepage_win.cpp"
#else
#include <errno.h>
#include <stdint.h>
#include <iconv.h>

#include <algorithm>

#include "runtime/core/text/codepage.h"

namespace lw {
namespace {

// Converts with iconv; a byte sequence it cannot read is skipped after emitting
// `replacement` (both directions are only fed well-formed text by the tests).
std::string convert(const char* to, const char* from, const char* in, size_t inBytes, const char* replacement,
                    size_t replacementBytes, size_t skip) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == (iconv_t)-1) return out;
  char buf[256];
  char* src = const_cast<char*>(in);
  while (inBytes > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    size_t r = iconv(cd, &src, &inBytes, &dst, &room);
    out.append(buf, size_t(dst - buf));
    if (r == (size_t)-1 && errno != E2BIG) {
      out.append(replacement, replacementBytes);
      size_t n = inBytes < skip ? inBytes : skip;
      src += n;
      inBytes -= n;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::u16string GbkToWide(const char* text, size_t length) {
  if (!text || length == 0) return std::u16string();
  static const char kQuestion[] = {'?', 0};
  std::string bytes = convert("UTF-16LE", "CP936", text, length, kQuestion, 2, 1);
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = char16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
  return out;
}

std::string WideToGbk(const char16_t* text, size_t length) {
  if (!text || length == 0) return std::string();
  std::string le(length * 2, '\0');
  for (size_t i = 0; i < length; ++i) {
    le[2 * i] = char(text[i] & 0xFF);
    le[2 * i + 1] = char(text[i] >> 8);
  }
  return convert("CP936", "UTF-16LE", le.data(), le.size(), "?", 1, 2);
}

size_t GbkToWideInto(const char* text, size_t length, char16_t* out, size_t room) {
  std::u16string wide = GbkToWide(text, length);
  if (wide.size() > room) return 0;
  std::copy(wide.begin(), wide.end(), out);
  return wide.size();
}

size_t WideToGbkInto(const char16_t* text, size_t length, char* out, size_t room) {
  std::string gbk = WideToGbk(text, length);
  if (gbk.size() > room) return 0;
  std::copy(gbk.begin(), gbk.end(), out);
  return gbk.size();
}

std::string GbkToUtf8(const char* text, size_t length) {
  if (!text || length == 0) return std::string();
  std::u16string wide = GbkToWide(text, length);
  std::string le(wide.size() * 2, '\0');
  for (size_t i = 0; i < wide.size(); ++i) {
    le[2 * i] = char(wide[i] & 0xFF);
    le[2 * i + 1] = char(wide[i] >> 8);
  }
  return convert("UTF-8", "UTF-16LE", le.data(), le.size(), "?", 1, 2);
}

}  // namespace lw
#endif
