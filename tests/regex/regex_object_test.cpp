// The regex object's platform-free parts: the flags execute writes, the pattern
// the component receives and the byte search behind sub-match positions.
#include "regex/regex_object.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/core/values/memory.h"

namespace regex {
namespace {

std::string take(lw::Text t) {
  std::string s = t ? t : "";
  lw::FreeMemory(t);
  return s;
}

TEST(RegexSettings, DefaultsAndGivenFlags) {
  ExecuteSettings d = executeSettings(nullptr, nullptr, nullptr, nullptr);
  EXPECT_TRUE(d.ignoreCase);
  EXPECT_TRUE(d.multiline);
  EXPECT_TRUE(d.global);
  EXPECT_FALSE(d.quoteEscape);
  bool yes = true, no = false;
  ExecuteSettings g = executeSettings(&yes, &no, &no, &yes);
  EXPECT_FALSE(g.ignoreCase) << "caseSensitive true turns IgnoreCase off";
  EXPECT_FALSE(g.multiline);
  EXPECT_FALSE(g.global);
  EXPECT_TRUE(g.quoteEscape);
}

TEST(RegexSettings, QuotePlaceholderOnlyWhenAsked) {
  EXPECT_EQ(take(componentPattern("a#引号b#引号", true)), "a\"b\"");
  EXPECT_EQ(take(componentPattern("a#引号b", false)), "a#引号b");
  EXPECT_EQ(take(componentPattern("#引", true)), "#引") << "a partial placeholder stays";
  EXPECT_EQ(componentPattern(nullptr, true), nullptr);
  EXPECT_EQ(componentPattern("", false), nullptr);
}

TEST(RegexPositions, ExactSearchFromAByteOffset) {
  const char* s = "中文aA中a";  // 中 文 at 0 and 2, a 4, A 5, 中 6, a 8
  EXPECT_EQ(findFrom(s, "a", 0), 4);
  EXPECT_EQ(findFrom(s, "a", 5), 8) << "letter case matters";
  EXPECT_EQ(findFrom(s, "A", 0), 5);
  EXPECT_EQ(findFrom(s, "中", 1), 6) << "matches only at character starts";
  EXPECT_EQ(findFrom(s, "x", 0), -2);
  EXPECT_EQ(findFrom(s, "", 3), 3);
  EXPECT_EQ(findFrom(s, "a", 99), -2);
  EXPECT_EQ(findFrom(s, "a", -1), -2);
  EXPECT_EQ(findFrom(nullptr, "a", 0), -2);
}

}  // namespace
}  // namespace regex
