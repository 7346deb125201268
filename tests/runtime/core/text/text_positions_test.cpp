#include "runtime/core/text/text_positions.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/core/text/codepage.h"

namespace lw {
namespace {

// "中a文bc": GBK bytes 0-1 中, 2 a, 3-4 文, 5 b, 6 c. "한" is outside GBK and
// reads back as the one byte "?".
const std::u16string kMixed = u"中a文bc";
const std::u16string kOutside = u"a한b";
// "a🔧b中": 🔧 is beyond the basic plane, two UTF-16 units (1-2) that the code page
// 936 converter makes into two "?" bytes (1-2); b is byte 3, 中 bytes 4-5.
const std::u16string kBeyond = u"a\U0001F527b中";

TEST(TextPositions, UnitsCountedInGbkBytes) {
  struct Case {
    const std::u16string* text;
    size_t units, bytes;
  } cases[] = {
      {&kMixed, 0, 0}, {&kMixed, 1, 2}, {&kMixed, 2, 3}, {&kMixed, 3, 5},
      {&kMixed, 5, 7}, {&kMixed, 9, 7},  // past the end: the whole text
      {&kOutside, 2, 2}, {&kOutside, 3, 3},
      {&kBeyond, 1, 1}, {&kBeyond, 2, 1},  // half a pair is no character
      {&kBeyond, 3, 3}, {&kBeyond, 4, 4}, {&kBeyond, 5, 6},
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
      {&kBeyond, 1, 1}, {&kBeyond, 2, 1},  // between the pair's two "?": moves to its start
      {&kBeyond, 3, 3}, {&kBeyond, 4, 4}, {&kBeyond, 5, 4}, {&kBeyond, 6, 5},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UnitsOfGbkBytes(*c.text, c.bytes), c.units) << "bytes " << c.bytes;
}

TEST(TextPositions, ACharacterBeyondTheBasicPlaneCountsTheBytesTheConverterMakes) {
  EXPECT_EQ(std::string("??"), WideToGbk(u"\U0001F527")) << "the converter's bytes for a pair";
  EXPECT_EQ(WideToGbk(kBeyond).size(), GbkBytesOfUnits(kBeyond, kBeyond.size()));
}

bool splitsAPair(const std::u16string& text, size_t at) {
  return at > 0 && at < text.size() && text[at - 1] >= 0xD800 && text[at - 1] <= 0xDBFF && text[at] >= 0xDC00 &&
         text[at] <= 0xDFFF;
}

TEST(TextPositions, EverySelectionTakesWholeCharactersAndReadsBackAsItWasSet) {
  // Every start and length over each text: the units selected never split a
  // character, cover every byte asked for, and read back as a start and length
  // that select the same units again, with a selected text of that length.
  for (const std::u16string* text : {&kMixed, &kOutside, &kBeyond}) {
    const size_t total = GbkBytesOfUnits(*text, text->size());
    for (size_t start = 0; start <= total + 1; ++start)
      for (size_t length = 0; length <= total + 1; ++length) {
        SCOPED_TRACE(::testing::Message() << "text of " << text->size() << " units, bytes " << start << "+" << length);
        const UnitRange r = UnitsOfGbkSelection(*text, start, length);
        ASSERT_LE(r.from, r.to);
        ASSERT_LE(r.to, text->size());
        EXPECT_FALSE(splitsAPair(*text, r.from) || splitsAPair(*text, r.to));
        const size_t from = GbkBytesOfUnits(*text, r.from), to = GbkBytesOfUnits(*text, r.to);
        EXPECT_LE(from, start);
        EXPECT_GE(to, std::min(start + length, total)) << "the selection covers what was asked for";
        const UnitRange again = UnitsOfGbkSelection(*text, from, to - from);
        EXPECT_EQ(r.from, again.from);
        EXPECT_EQ(r.to, again.to);
        EXPECT_EQ(to - from, WideToGbk(text->substr(r.from, r.to - r.from)).size()) << "the selected text's bytes";
      }
  }
  // The cases that went wrong: one byte from 0 selected nothing over 🔧.
  const UnitRange pair = UnitsOfGbkSelection(u"\U0001F527b", 0, 1);
  EXPECT_EQ(0u, pair.from);
  EXPECT_EQ(2u, pair.to);
}

}  // namespace
}  // namespace lw
