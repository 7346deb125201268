// The feed address, the markers as pattern text, and how much of a page can hold
// items before the pattern runs.
#include "app/feed_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/endpoints.h"
#include "runtime/core/values/memory.h"

namespace {

std::string take(lw::Text t) {
  std::string s = t ? std::string(t) : std::string();
  lw::FreeMemory(t);
  return s;
}

size_t span(const std::string& text, const char* right) { return app::itemSpan(text.data(), text.size(), right); }

TEST(QqNumber, SpacesAroundGoFullWidthDigitsCountAnythingElseIsRefused) {
  struct Case {
    const char* typed;  // GBK, as the edit box holds it
    const char* number; // null: refused, nothing is fetched
  } const cases[] = {
      {"123456789", "123456789"},
      {" 123456789\xA1\xA1", "123456789"},   // ASCII space before, full-width space after
      {"\t\r\n12345 \r\n", "12345"},          // tabs and line breaks as pasted
      {"\xA3\xB1\xA3\xB2\xA3\xB9", "129"},   // full-width digits
      {"12a45", nullptr},
      {"1234 5678", nullptr},                  // a space inside is no number
      {"1234\xA1\xA1" "5678", nullptr},
      {"-12345", nullptr},
      {"\xA1\xA1 \t", nullptr},              // only spaces
      {"", nullptr},
      {"\xA3", nullptr},                       // half a character
      {"\xA3\xC1", nullptr},                  // a full-width letter
  };
  for (const Case& c : cases) {
    lw::Text got = app::qqNumberOf(c.typed);
    if (c.number) EXPECT_EQ(c.number, take(got)) << "typed \"" << c.typed << "\"";
    else EXPECT_EQ(nullptr, got) << "typed \"" << c.typed << "\", got \"" << take(got) << "\"";
  }
  EXPECT_EQ(nullptr, app::qqNumberOf(nullptr));
}

TEST(FeedAddress, QqNumberGoesInExactlyAsGiven) {
  const std::string head = std::string("http://") + app::endpoints::kFeedHost + "/cgi-bin/cgi_rss_out?uin=";
  EXPECT_EQ(head + "12345", take(app::feedAddress("12345")));
  EXPECT_EQ(head + " 12 34&x=1", take(app::feedAddress(" 12 34&x=1")));  // not trimmed, not escaped
  EXPECT_EQ(head, take(app::feedAddress("")));
  EXPECT_EQ(head, take(app::feedAddress(nullptr)));
}

TEST(ItemSpan, EndsAfterTheLastItemEndWhateverItsCase) {
  std::string page = "<title><![CDATA[a]]></title><link>x/blog/1</link>";
  EXPECT_EQ(page.size(), span(page, "/link>"));
  std::string tail = "<title><![CDATA[b]]><link>unclosed";
  EXPECT_EQ(page.size(), span(page + tail, "/link>"));
  // An upper-case end counts, as it does for the pattern, and so does the last one.
  std::string upper = page + "<TITLE><![CDATA[c]]></TITLE><LINK>x/blog/2</LINK>";
  EXPECT_EQ(upper.size(), span(upper + tail, "/link>"));
  EXPECT_EQ(upper.size(), span(upper + tail, "/LINK>"));
}

TEST(ItemSpan, NoItemEndLeavesNothingToMatch) {
  EXPECT_EQ(0u, span("", "/link>"));
  EXPECT_EQ(0u, span("<title><![CDATA[a]]></title><link>x/blog/1</lin", "/link>"));
  std::string unclosed;
  for (int i = 0; i < 1000; ++i) unclosed += "<title><![CDATA";
  EXPECT_EQ(0u, span(unclosed, "/link>"));
  // The marker's bytes inside a two-byte character are not the marker: 81 61 is one
  // character, so "ab" does not occur below.
  EXPECT_EQ(0u, span("\x81" "ab", "ab"));
  EXPECT_EQ(4u, span("\x81" "aab", "ab"));
  // Nothing beyond the given length is looked at.
  const char buffer[] = "abc/link>";
  EXPECT_EQ(0u, app::itemSpan(buffer, 5, "/link>"));
}

TEST(ItemSpan, MarkerThatIsNotPlainAsciiKeepsTheWholeText) {
  // The pattern's letter-case rules for such a marker are the engine's own; the
  // text is left whole rather than guessed at.
  std::string page = "《标题》内容 没有结尾";
  EXPECT_EQ(page.size(), span(page, "》"));
  EXPECT_EQ(page.size(), span(page, "结束"));
  EXPECT_EQ(page.size(), span(page, ""));
}

TEST(MarkerToPattern, EscapesMetacharactersAndPlaceholders) {
  EXPECT_EQ("<title><!\\[CDATA", take(app::markerToPattern("<title><![CDATA")));
  EXPECT_EQ("\\(a\\+b\\)\\?", take(app::markerToPattern("(a+b)?")));
  EXPECT_EQ("a\"b", take(app::markerToPattern("a#引号b")));
  EXPECT_EQ("\\{\\*\\}\\]", take(app::markerToPattern("{*}]")));
  EXPECT_EQ("x\\ny.^$|\\", take(app::markerToPattern("x\r\ny.^$|\\")));
  EXPECT_EQ("", take(app::markerToPattern(nullptr)));
}

}  // namespace
