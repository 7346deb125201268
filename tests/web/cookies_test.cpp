#include "web/cookies.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/memory.h"

namespace {

std::string take(lw::Text t) {
  std::string s = t ? std::string(t) : std::string();
  lw::FreeMemory(t);
  return s;
}

// Runs the merge on two text variables as the request routine holds them and
// returns (cookies, newCookies, result).
struct Merged {
  std::string cookies, newCookies, result;
};
Merged merge(const char* cookies, const char* newCookies) {
  lw::Text c = lw::text::toText(lw::text::of(cookies)), n = lw::text::toText(lw::text::of(newCookies));
  std::string result = take(web::mergeCookies(&c, &n));
  return {take(c), take(n), result};
}

// A one-dimensional array block of texts, as the split command makes them.
struct TextArray {
  std::vector<uint32_t> words;  // dimension count, size, then the pointers
  std::vector<lw::Text> texts;
  explicit TextArray(std::initializer_list<const char*> items) {
    for (const char* s : items) texts.push_back(lw::text::toText(lw::text::of(s)));
    words.resize(2 + texts.size() * sizeof(lw::Text) / sizeof(uint32_t));
    words[0] = 1;
    words[1] = uint32_t(texts.size());
    memcpy(&words[2], texts.data(), texts.size() * sizeof(lw::Text));
  }
  ~TextArray() {
    for (lw::Text t : texts) lw::FreeMemory(t);
  }
  lw::ArrayBlock block() { return words.data(); }
};

TEST(MergeCookies, ResponseEntriesComeFirstAndWinOverOldOnes) {
  Merged m = merge("a=1; b=2", "b=3; c=4");
  EXPECT_EQ("b=3; c=4; a=1", m.cookies);
  EXPECT_EQ(m.cookies, m.result);
}

TEST(MergeCookies, DeletedEntriesRemoveThemselvesAndTheOldEntry) {
  EXPECT_EQ("b=2", merge("a=1; b=2", "a=deleted").cookies);
  EXPECT_EQ("a=1", merge("a=1", "=deleted").cookies);
  EXPECT_EQ("", merge("x=deleted", "").cookies);
}

TEST(MergeCookies, ARepeatedOldNameSurvivesOnlyOnce) {
  EXPECT_EQ("a=1", merge("a=1; a=2", "").cookies);
  // Repeats inside the response are whole entries: both values of one name stay,
  // an identical entry only once.
  EXPECT_EQ("a=1; a=2", merge("", "a=1; a=2; a=1").cookies);
}

TEST(MergeCookies, SpacesGoEverywhereAndBothVariablesAreRewritten) {
  Merged m = merge("a=x y", "b = 2 ;\xA1\xA1" "c=3");
  EXPECT_EQ("b=2; c=3; a=xy", m.cookies);
  EXPECT_EQ("b=2;c=3", m.newCookies);
}

TEST(MergeCookies, AnySeparatorSpacingReadsAlike) {
  EXPECT_EQ("a=1; b=2; c=3", merge("a=1;b=2 ; c=3", "").cookies);
  EXPECT_EQ("a=1; b=2", merge("a=1 ;  b=2;", "").cookies);
}

TEST(MergeCookies, EmptyTextsAndEmptyInnerItems) {
  Merged m = merge(nullptr, nullptr);
  EXPECT_EQ("", m.cookies);
  EXPECT_EQ("", m.newCookies);
  EXPECT_EQ("a=1; ; b=2", merge("a=1;;b=2", "").cookies);
  // An entry without "=" is its own name.
  EXPECT_EQ("flag; a=1", merge("a=1; flag", "flag").cookies);
}

TEST(CookieName, BytesBeforeTheFirstEqualsSignTrimmed) {
  EXPECT_EQ("sid", take(web::cookieName(" sid =a=b")));
  EXPECT_EQ("flag", take(web::cookieName("\xA1\xA1" "flag ")));
  EXPECT_EQ("", take(web::cookieName("=deleted")));
  EXPECT_EQ("", take(web::cookieName(nullptr)));
}

TEST(CookieArrays, HasCookieNamedAndIndexOfItem) {
  TextArray array({"a=1", "B=2", nullptr});
  lw::ArrayBlock a = array.block();
  EXPECT_TRUE(web::hasCookieNamed(a, "a"));
  EXPECT_FALSE(web::hasCookieNamed(a, "b"));  // names compare with their letter case
  EXPECT_TRUE(web::hasCookieNamed(a, ""));    // the empty entry's name is empty
  EXPECT_EQ(2, web::indexOfItem(a, "B=2"));
  EXPECT_EQ(3, web::indexOfItem(a, ""));
  EXPECT_EQ(-1, web::indexOfItem(a, "a"));
  EXPECT_EQ(-1, web::indexOfItem(nullptr, "a"));
  EXPECT_FALSE(web::hasCookieNamed(nullptr, ""));
}

TEST(RemoveDuplicateItems, KeepsTheFirstOfEachWholeItem) {
  EXPECT_EQ("a; b; c", take(web::removeDuplicateItems("a; b; a; c; b", "; ")));
  EXPECT_EQ("a=1; a=2", take(web::removeDuplicateItems("a=1; a=2", "; ")));
  EXPECT_EQ("", take(web::removeDuplicateItems("", "; ")));
  EXPECT_EQ("a,a", take(web::removeDuplicateItems("a,a", "")));
}

}  // namespace
