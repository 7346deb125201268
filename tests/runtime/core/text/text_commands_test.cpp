#include "runtime/core/text/text_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"

namespace lw::text {
namespace {

// GBK characters used below (bytes in the comments):
//   中 D6 D0   文 CE C4   形 D0 CE   啊 B0 A1   full-width space A1 A1
//   \x81\x41 is a two-byte character whose second byte is the letter "A".

int64_t find(const std::string& s, const std::string& pat, size_t from = 0, bool ic = false) {
  return FindForward(s.data(), s.size(), pat.data(), pat.size(), from, ic);
}
int64_t findBack(const std::string& s, const std::string& pat, size_t limit, bool ic = false) {
  return FindBackward(s.data(), s.size(), pat.data(), pat.size(), limit, ic);
}

// Takes a text block: its bytes (null reads as empty) and frees it.
std::string take(Text t) {
  std::string s = t ? t : "";
  FreeMemory(t);
  return s;
}

std::string replace(const std::string& s, const std::string& pat, const std::string& rep, size_t from = 0,
                    int64_t count = -1, bool ic = false) {
  return take(Replace(s.data(), s.size(), pat.data(), pat.size(), rep.data(), rep.size(), from, count, ic));
}

// The parts of a split; "<null>" marks a null element.
std::vector<std::string> split(const std::string& s, const std::string& sep, int64_t maximum = -1) {
  ArrayBlock a = Split(s.data(), s.size(), sep.data(), sep.size(), maximum);
  std::vector<std::string> parts;
  EXPECT_EQ(a[0], 1u);
  Text* e = static_cast<Text*>(ArrayElements(a));
  for (uint32_t i = 0; i < a[1]; ++i) parts.push_back(e[i] ? e[i] : "<null>");
  FreeTextArray(a);
  return parts;
}

using Parts = std::vector<std::string>;

TEST(TextFind, RegionAndEmptySearch) {
  EXPECT_EQ(find("abc", ""), 1);
  EXPECT_EQ(find("", ""), -1);
  EXPECT_EQ(find("abc", "c", 3), -1) << "start beyond the text";
  EXPECT_EQ(find("abcabc", "abc", 1), 4) << "start offset counts from the whole text";
  EXPECT_EQ(find("abc", "abcd"), -1);
  EXPECT_EQ(findBack("abc", "", 0), -1);
  EXPECT_EQ(findBack("abc", "", 2), 1);
}

TEST(TextFind, LetterCase) {
  EXPECT_EQ(find("ABCabc", "abc", 0, true), 1);
  EXPECT_EQ(find("ABCabc", "abc", 0, false), 4);
  EXPECT_EQ(find("x[@", "{`", 0, true), -1) << "only letters fold";
}

TEST(TextFind, BackwardFindsTheLastMatchInsideTheLimit) {
  EXPECT_EQ(findBack("a,b,c", ",", 5), 4);
  EXPECT_EQ(findBack("a,b,c", ",", 3), 2) << "start position 4: only the first 3 bytes";
  EXPECT_EQ(findBack("a,b,c", ",", 1), -1);
  EXPECT_EQ(findBack("aaaa", "aa", 99), 3) << "overlapping matches count";
}

TEST(TextFind, MatchesOnlyAtCharacterStarts) {
  // "中文形": D0 CE straddles 中 and 文 at byte 2 before the real 形 at byte 5.
  EXPECT_EQ(find("中文形", "形"), 5);
  EXPECT_EQ(find("中文", "\xD0\xCE"), -1);
  EXPECT_EQ(findBack("中文形", "形", 99), 5);
  EXPECT_EQ(findBack("中文形", "形", 4), -1);
  // A second byte below 0x80 is still part of its character.
  EXPECT_EQ(find("\x81\x41" "A", "A"), 3);
  EXPECT_EQ(find("\x81\x41" "a", "A", 0, true), 3);
  EXPECT_EQ(find("\x81\x41", "A"), -1);
  // A walk started inside a character takes that byte as a character start.
  EXPECT_EQ(find("中文", "\xD0\xCE", 1), 2);
}

TEST(TextFind, LongTwoByteRunsStayCorrect) {
  // Many misaligned candidates in one long run of two-byte characters, then a real one.
  std::string s;
  for (int i = 0; i < 20000; ++i) s += "中文";
  std::string hit = s + "形";
  EXPECT_EQ(find(s, "\xD0\xCE"), -1);
  EXPECT_EQ(find(hit, "形"), int64_t(s.size()) + 1);
  EXPECT_EQ(findBack(hit, "\xD0\xCE", hit.size()), int64_t(s.size()) + 1);
  std::string odd = "x" + s;  // after a one-byte character the pairs start one byte later
  EXPECT_EQ(find(odd, "\xC4\xD6"), -1);
}

// Every match at a character start, found the plain way, against both searches.
TEST(TextFind, AgreesWithEveryCharacterStartTriedInTurn) {
  const char alphabet[] = {'a', 'A', '/', '\xB0', '\xA1', '\x41'};
  std::mt19937 random(7);
  auto pick = [&](size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += alphabet[random() % sizeof alphabet];
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string s = pick(random() % 24), pat = pick(1 + random() % 3);
    size_t limit = random() % 28, end = std::min(limit, s.size());
    bool ic = random() % 2;
    int64_t first = -1, last = -1;
    for (size_t c = 0; c < s.size(); c += (uint8_t(s[c]) >= 0x80 && c + 1 < s.size()) ? 2 : 1) {
      bool match = c + pat.size() <= end;
      for (size_t k = 0; match && k < pat.size(); ++k)
        match = ic ? tolower(uint8_t(s[c + k])) == tolower(uint8_t(pat[k])) : s[c + k] == pat[k];
      if (!match) continue;
      if (first < 0) first = int64_t(c) + 1;
      last = int64_t(c) + 1;
    }
    EXPECT_EQ(findBack(s, pat, limit, ic), last) << "text " << ::testing::PrintToString(s) << " pattern " << pat;
    EXPECT_EQ(FindForward(s.data(), end, pat.data(), pat.size(), 0, ic), first) << ::testing::PrintToString(s);
  }
}

TEST(TextReplace, CountsStartAndCase) {
  EXPECT_EQ(replace("aXbXc", "X", "--"), "a--b--c");
  EXPECT_EQ(replace("aXbXc", "X", "--", 0, 1), "a--bXc");
  EXPECT_EQ(replace("aXbXc", "X", "--", 2), "aXb--c");
  EXPECT_EQ(replace("aXbXc", "X", "--", 0, 0), "aXbXc");
  EXPECT_EQ(replace("aXbxc", "x", "-", 0, -1, true), "a-b-c");
  EXPECT_EQ(replace("aXbxc", "x", "-"), "aXb-c");
  EXPECT_EQ(replace("abc", "", "-"), "abc");
  EXPECT_EQ(replace("abc", "b", "", 5), "abc");
}

TEST(TextReplace, EmptyResultIsNull) {
  EXPECT_EQ(Replace("XX", 2, "X", 1, "", 0, 0, -1, false), nullptr);
  EXPECT_EQ(Replace("", 0, "X", 1, "y", 1, 0, -1, false), nullptr);
}

TEST(TextReplace, TwoByteCharactersStayWhole) {
  EXPECT_EQ(replace("中文形", "形", "!"), "中文!");
  EXPECT_EQ(replace("中文", "\xD0\xCE", "!"), "中文");
  EXPECT_EQ(replace("\x81\x41" "A", "A", "b"), "\x81\x41" "b");
  // A lone first byte at the end ends the walk and is dropped when it is reached...
  EXPECT_EQ(replace("ab\xB0", "a", "z"), "zb");
  // ...and kept when the walk stops earlier.
  EXPECT_EQ(replace("ab\xB0", "a", "z", 0, 1), "zb\xB0");
  EXPECT_EQ(replace("ab\xB0", "ab", "z"), "z\xB0");
}

TEST(TextSplit, SeparatorsAtTheEdgesAndMaximum) {
  EXPECT_EQ(split(",a,,b,", ","), (Parts{"<null>", "a", "<null>", "b"}));
  EXPECT_EQ(split(",a,,b,", ",", 2), (Parts{"<null>", "a"}));
  EXPECT_EQ(split("a,b", ",", 1), (Parts{"a"}));
  EXPECT_EQ(split("a,b", ",", 5), (Parts{"a", "b"}));
  EXPECT_EQ(split("ab", ","), (Parts{"ab"}));
  EXPECT_EQ(split("a<>b<>", "<>"), (Parts{"a", "b"}));
  EXPECT_EQ(split("", ","), Parts{});
  EXPECT_EQ(split("a,b", ",", 0), Parts{});
  EXPECT_EQ(split("a,b", ""), (Parts{"a,b"}));
}

TEST(TextSplit, CutsOnlyAtCharacterStarts) {
  EXPECT_EQ(split("中文形x", "形"), (Parts{"中文", "x"}));
  EXPECT_EQ(split("中文", "\xD0\xCE"), (Parts{"中文"}));
}

TEST(TextSpaces, TrimAndRemove) {
  EXPECT_EQ(take(TrimSpaces("\xA1\xA1 a b \xA1\xA1 ", 10)), "a b");
  EXPECT_EQ(take(TrimSpaces("\ta ", 3)), "\ta") << "a tab is not a space";
  EXPECT_EQ(TrimSpaces("  \xA1\xA1", 4), nullptr);
  // 啊 ends in A1: with a lone A1 after it, nothing here is a full-width space.
  EXPECT_EQ(take(TrimSpaces("\xB0\xA1\xA1", 3)), "\xB0\xA1\xA1");
  EXPECT_EQ(take(TrimSpaces("\xB0\xA1\xA1\xA1", 4)), "\xB0\xA1");
  EXPECT_EQ(take(RemoveAllSpaces("a b\xA1\xA1" "c", 6)), "abc");
  EXPECT_EQ(take(RemoveAllSpaces("\xB0\xA1\xA1\xB0", 4)), "\xB0\xA1\xA1\xB0");
  EXPECT_EQ(RemoveAllSpaces(" \xA1\xA1", 3), nullptr);
}

TEST(TextCase, LowerCaseLeavesTwoByteCharacters) {
  EXPECT_EQ(take(ToLower("ABC中Z", 6)), "abc中z");
  EXPECT_EQ(take(ToLower("\x81\x41" "B", 3)), "\x81\x41" "b");
  EXPECT_EQ(ToLower("", 0), nullptr);
}

TEST(TextIntegers, FullWidthAndCParsing) {
  auto toInt = [](const std::string& s) { return TextToInteger(s.data(), s.size()); };
  EXPECT_EQ(toInt("１２３"), 123);
  EXPECT_EQ(toInt("－４５"), -45);
  EXPECT_EQ(toInt("\xA1\xA1" "12"), 12) << "a full-width space is white space";
  EXPECT_EQ(toInt("12abc"), 12);
  EXPECT_EQ(toInt("  +7x"), 7);
  EXPECT_EQ(toInt("abc"), 0);
  EXPECT_EQ(toInt(""), 0);
  EXPECT_EQ(toInt("99999999999999999999"), INT32_MAX);
  EXPECT_EQ(toInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(toInt("-99999999999999999999"), INT32_MIN);
  std::string wide = "ＡｚA1～\xA1\xEE\xA1\xEF中";
  EXPECT_EQ(FullWidthToHalfWidth(wide.data(), wide.size()), "AzA1~**中");
}

}  // namespace
}  // namespace lw::text
