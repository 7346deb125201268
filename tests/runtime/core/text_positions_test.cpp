#include "runtime/core/text_positions.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

// "中a文bc": GBK bytes 0-1 中, 2 a, 3-4 文, 5 b, 6 c. "한" is outside GBK and
// reads back as the one byte "?".
const std::u16string kMixed = u"中a文bc";
const std::u16string kOutside = u"a한b";

TEST(TextPositions, UnitsCountedInGbkBytes) {
  struct Case {
    const std::u16string* text;
    size_t units, bytes;
  } cases[] = {
      {&kMixed, 0, 0}, {&kMixed, 1, 2}, {&kMixed, 2, 3}, {&kMixed, 3, 5},
      {&kMixed, 5, 7}, {&kMixed, 9, 7},  // past the end: the whole text
      {&kOutside, 2, 2}, {&kOutside, 3, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GbkBytesOfUnits(*c.text, c.units), c.bytes) << "units " << c.units;
}

TEST(TextPositions, ByteCountsBecomeUnitsAtCharacterStarts) {
  struct Case {
    const std::u16string* text;
    size_t bytes, units;
  } cases[] = {
      {&kMixed, 0, 0}, {&kMixed, 1, 0},  // inside 中: moves to its start
      {&kMixed, 2, 1}, {&kMixed, 3, 2}, {&kMixed, 4, 2},  // inside 文
      {&kMixed, 5, 3}, {&kMixed, 7, 5}, {&kMixed, 99, 5},
      {&kOutside, 1, 1}, {&kOutside, 2, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UnitsOfGbkBytes(*c.text, c.bytes), c.units) << "bytes " << c.bytes;
}

}  // namespace
}  // namespace lw
