// GBK's full-width forms: the two-byte characters that stand for an ASCII
// character, as one table. The text toolkit's full-width to half-width conversion,
// its space test, and the reading of a typed QQ number all take them from here.
// Pure.
#pragma once
#include <cstdint>

namespace lw::gbk {

// A run of full-width forms that share a first byte: the second bytes from
// firstTrail to lastTrail. In a stepping run they stand for consecutive ASCII
// characters from `half` on; otherwise every one of them stands for `half`.
struct FullWidthRun {
  uint8_t lead;
  uint8_t firstTrail;
  uint8_t lastTrail;
  char half;
  bool stepping;
};

inline constexpr FullWidthRun kFullWidthForms[] = {
    {0xA3, 0xA1, 0xFE, '!', true},   // ！ to ￣: "!" to "~", the digits at A3 B0 to A3 B9
    {0xA1, 0xA1, 0xA1, ' ', false},  // the full-width space
    {0xA1, 0xAB, 0xAB, '~', false},  // ～
    {0xA1, 0xEE, 0xEF, '*', false},  // ☆ ★
};

// The ASCII character that the two-byte character (lead, trail) stands for, or 0
// when it is no full-width form.
constexpr char HalfWidthOf(uint8_t lead, uint8_t trail) {
  for (const FullWidthRun& run : kFullWidthForms)
    if (lead == run.lead && trail >= run.firstTrail && trail <= run.lastTrail)
      return run.stepping ? char(run.half + (trail - run.firstTrail)) : run.half;
  return 0;
}

// Whether (lead, trail) is the full-width space, the only two-byte space.
constexpr bool IsFullWidthSpace(uint8_t lead, uint8_t trail) { return HalfWidthOf(lead, trail) == ' '; }

// Whether (lead, trail) is a full-width digit; *digit gets its ASCII digit.
constexpr bool IsFullWidthDigit(uint8_t lead, uint8_t trail, char* digit) {
  char half = HalfWidthOf(lead, trail);
  if (half < '0' || half > '9') return false;
  *digit = half;
  return true;
}

static_assert(HalfWidthOf(0xA3, 0xA1) == '!' && HalfWidthOf(0xA3, 0xFE) == '~', "the stepping run ends at '~'");
static_assert(HalfWidthOf(0xA3, 0xB0) == '0' && HalfWidthOf(0xA3, 0xB9) == '9', "the digits lie inside it");
static_assert(HalfWidthOf(0xA3, 0xA0) == 0 && HalfWidthOf(0xA3, 0xFF) == 0, "nothing outside it");

}  // namespace lw::gbk
