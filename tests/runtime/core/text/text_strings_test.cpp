#include "runtime/core/text/text_strings.h"

#include <gtest/gtest.h>

#include "runtime/core/values/memory.h"

namespace {
using namespace lw::text;

// Takes a result text: its bytes, with the block freed; null reads as "<null>".
std::string take(lw::Text t) {
  std::string s = t ? std::string(t) : std::string("<null>");
  lw::FreeMemory(t);
  return s;
}

TEST(TextBetween, TakesTheSpanBetweenFirstLeftAndNextRight) {
  EXPECT_EQ("b", take(lw::text::textBetween("a#b#c", "#", "#")));
  EXPECT_EQ("12345", take(lw::text::textBetween("http://x.com/12345/blog/678", "com/", "/")));
  // Only the first left marker counts, and the right one is looked for after it.
  EXPECT_EQ("1", take(lw::text::textBetween("x.com/1/blog/2 y.com/3/", "com/", "/")));
  EXPECT_EQ("bc", take(lw::text::textBetween("abcab", "a", "a")));
}

TEST(TextBetween, MissingMarkerOrEmptySpanGivesNull) {
  EXPECT_EQ("<null>", take(lw::text::textBetween("abc", "x", "c")));
  EXPECT_EQ("<null>", take(lw::text::textBetween("abc", "a", "x")));
  EXPECT_EQ("<null>", take(lw::text::textBetween("aXXb", "a", "X")));
  EXPECT_EQ("<null>", take(lw::text::textBetween("abc", "c", "c")));  // left marker ends the text
  EXPECT_EQ("<null>", take(lw::text::textBetween("abc", "a", "")));   // an empty right marker never follows
  EXPECT_EQ("<null>", take(lw::text::textBetween(nullptr, "a", "b")));
}

TEST(TextBetween, QuotePlaceholderStandsForADoubleQuote) {
  EXPECT_EQ("v", take(lw::text::textBetween("id=\"v\" x", "id=#引号", "#引号")));
  // The placeholder is only replaced in the markers, never in the text.
  EXPECT_EQ("<null>", take(lw::text::textBetween("id=#引号v#引号", "id=#引号", "#引号")));
}

TEST(TextBetween, StartPositionAndLetterCase) {
  EXPECT_EQ("2", take(lw::text::textBetween("a1;a2;", "a", ";", 3)));
  EXPECT_EQ("<null>", take(lw::text::textBetween("Ab;", "a", ";")));
  EXPECT_EQ("b", take(lw::text::textBetween("Ab;", "a", ";", 1, true)));
}

TEST(TextBetween, MarkersNeverMatchOnASecondByte) {
  // 0xB0 0xA1 is one character; "\xA1" alone must not be found inside it.
  EXPECT_EQ("<null>", take(lw::text::textBetween("\xB0\xA1x;", "\xA1", ";")));
  EXPECT_EQ("x", take(lw::text::textBetween("\xB0\xA1\xA1\xA1x;", "\xA1\xA1", ";")));
  EXPECT_EQ("中", take(lw::text::textBetween("《中》", "《", "》")));
}

TEST(TextOps, FindTextFollowsTheCoreCommand) {
  EXPECT_EQ(1, findText("abc", ""));
  EXPECT_EQ(-1, findText("", ""));
  EXPECT_EQ(-1, findText("abc", "c", 4));
  EXPECT_EQ(3, findText("abc", "c", -5));
  EXPECT_EQ(1, findText("ABCabc", "abc", 1, true));
  EXPECT_EQ(4, findText("ABCabc", "abc", 1, false));
  // A lone first byte at the very end is compared before it ends the walk, as in
  // the core command.
  EXPECT_EQ(2, findText("a\xB0", "\xB0"));
}

TEST(TextOps, ReplaceSubTextFollowsTheCoreCommand) {
  EXPECT_EQ("a--b--c", replaceSubText("aXbXc", "X", "--"));
  EXPECT_EQ("a--bXc", replaceSubText("aXbXc", "X", "--", 1, 1));
  EXPECT_EQ("aXb--c", replaceSubText("aXbXc", "X", "--", 3));
  EXPECT_EQ("aXbXc", replaceSubText("aXbXc", "X", "--", 1, 0));
  EXPECT_EQ("a-b-", replaceSubText("axbX", "X", "-", 1, -1, false));
  // Walking a one-byte search drops a trailing first byte; a longer search keeps it.
  EXPECT_EQ("a-", replaceSubText("a'\xB0", "'", "-"));
  EXPECT_EQ("a\xB0", replaceSubText("a\xB0", "xy", "-"));
}

TEST(TextOps, SplitTextKeepsInnerEmptyItemsOnly) {
  EXPECT_EQ((std::vector<std::string>{"", "a", "", "b"}), splitText(",a,,b,", ","));
  EXPECT_TRUE(splitText("", ",").empty());
  EXPECT_EQ((std::vector<std::string>{"a,b"}), splitText("a,b", ""));
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), splitText("a\r\nb\r\n", "\r\n"));
}

TEST(TextOps, SpacesAreOnlyBlankAndFullWidthBlank) {
  EXPECT_EQ("a b", trimSpaces("\xA1\xA1 a b  \xA1\xA1"));
  EXPECT_EQ("\ta\t", trimSpaces(" \ta\t "));
  EXPECT_EQ("ab\xB0\xA1", removeAllSpaces(" a \xA1\xA1 b\xB0\xA1"));
  EXPECT_EQ("abc中", toLowerCase("AbC中"));
}

}  // namespace
