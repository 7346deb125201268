#include "runtime/core/text/text_positions.h"

#include "runtime/core/text/codepage.h"

#include <cstdint>

namespace lw {
namespace {

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The units of the character at `i` (a surrogate pair is one character).
size_t unitsAt(const std::u16string& wide, size_t i) {
  return isHighSurrogate(wide[i]) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1]) ? 2 : 1;
}

// The GBK bytes of the character at `i`: ASCII without a conversion, the rest as
// the code-page unit converts them.
size_t bytesAt(const std::u16string& wide, size_t i, size_t units) {
  if (wide[i] < 0x80) return 1;
  return WideToGbk(wide.data() + i, units).size();
}

}  // namespace

size_t GbkBytesOfUnits(const std::u16string& wide, size_t units) {
  size_t bytes = 0;
  for (size_t i = 0; i < wide.size();) {
    const size_t n = unitsAt(wide, i);
    if (i + n > units) break;
    bytes += bytesAt(wide, i, n);
    i += n;
  }
  return bytes;
}

size_t UnitsOfGbkBytes(const std::u16string& wide, size_t bytes) {
  size_t used = 0, i = 0;
  while (i < wide.size()) {
    const size_t n = unitsAt(wide, i), b = bytesAt(wide, i, n);
    if (used + b > bytes) break;
    used += b;
    i += n;
  }
  return i;
}

// The units of the whole characters that cover the first `bytes` GBK bytes: a byte
// position inside a character moves to its end.
static size_t unitsCoveringGbkBytes(const std::u16string& wide, size_t bytes) {
  size_t used = 0, i = 0;
  while (i < wide.size() && used < bytes) {
    const size_t n = unitsAt(wide, i);
    used += bytesAt(wide, i, n);
    i += n;
  }
  return i;
}

UnitRange UnitsOfGbkSelection(const std::u16string& wide, size_t start, size_t length) {
  const size_t from = UnitsOfGbkBytes(wide, start);
  const size_t end = length > SIZE_MAX - start ? SIZE_MAX : start + length;
  const size_t to = unitsCoveringGbkBytes(wide, end);
  return {from, to > from ? to : from};
}

}  // namespace lw
