// Collecting feed items through the regex object and the platform's component, and
// re-encoding fetched UTF-8 text through the program's code-page DLL commands.
#include "app/feed_list_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/page_text.h"
#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"
#include "tests/support/program_dll_table_win.h"

namespace {

constexpr char kItemStart[] = "<title><![CDATA";
constexpr char kItemEnd[] = "/link>";

std::string take(lw::Text t) {
  std::string s = t ? t : "";
  lw::FreeMemory(t);
  return s;
}

struct Collect : ::testing::Test {
  void SetUp() override { lw::testing::InstallProgramDllTable(); }
  void TearDown() override { lw::FreeTextArray(items); }

  // collectBetween over `page`; the items it left, checked against the count it gave.
  std::vector<std::string> collect(const std::string& page, const char* left = kItemStart,
                                   const char* right = kItemEnd, int32_t maxLength = 0) {
    int32_t n = app::collectBetween(page.c_str(), left, right, &items, maxLength);
    size_t count = 0;
    EXPECT_TRUE(lw::ArrayElementCount(items, &count));
    EXPECT_EQ(size_t(n), count) << "expected the count given to be the array's";
    std::vector<std::string> out;
    auto* e = static_cast<lw::Text*>(lw::ArrayElements(items));
    for (size_t i = 0; i < count; ++i) out.emplace_back(e[i] ? e[i] : "");
    return out;
  }
  static std::string title(const std::string& item) { return take(lw::text::textBetween(item.c_str(), "[", "]]>")); }
  static std::string id(const std::string& item) { return take(lw::text::textBetween(item.c_str(), "blog/", "<")); }

  lw::ArrayBlock items = nullptr;
};

TEST_F(Collect, FeedItemGivesTitleAndPostId) {
  std::vector<std::string> got =
      collect("<rss><item><title><![CDATA[Hello]]></title>\r\n<link>http://user.qzone.qq.com/12345/blog/678</link>"
              "</item></rss>");
  ASSERT_EQ(1u, got.size());
  // The item runs from the "[" after the start marker to the "<" of the closing tag.
  EXPECT_EQ("[Hello]]></title>\r\n<link>http://user.qzone.qq.com/12345/blog/678<", got[0]);
  EXPECT_EQ("Hello", title(got[0]));
  EXPECT_EQ("678", id(got[0]));
}

TEST_F(Collect, ItemsInFeedOrderWithMarkersOfEitherCase) {
  std::vector<std::string> got = collect(
      "<title><![CDATA[第一篇]]></title><link>x/blog/1</link>"
      "<TITLE><![CDATA[Upper]]></TITLE><LINK>x/blog/2</LINK>"
      "<title><![CDATA[ab]]>cd]]></title><link>x/blog/3</link>"  // "]]>" early in the title
      "<title><![CDATA[no end]]></title><link>x/blog/4</lin>");  // never closed
  ASSERT_EQ(3u, got.size());
  EXPECT_EQ("第一篇", title(got[0]));
  EXPECT_EQ("1", id(got[0]));
  EXPECT_EQ("Upper", title(got[1]));
  EXPECT_EQ("2", id(got[1]));
  EXPECT_EQ("ab", title(got[2]));
  EXPECT_EQ("3", id(got[2]));
}

TEST_F(Collect, StartWithoutALaterEndGivesNothing) {
  EXPECT_TRUE(collect("<title><![CDATA[a]]></title><link>x/blog/1</li nk>").empty());
  EXPECT_TRUE(collect("/link><title><![CDATA[a]]></title>").empty());  // the end before the start
  EXPECT_TRUE(collect("").empty());
  // A start inside an item is just item text: the shortest span from the first start.
  std::vector<std::string> got = collect("<title><![CDATA[a <title><![CDATA[b]]> /link>");
  ASSERT_EQ(1u, got.size());
  EXPECT_EQ("[a <title><![CDATA[b]]> ", got[0]);
}

TEST_F(Collect, MaxLengthDropsLongerTexts) {
  std::vector<std::string> got = collect("<a>12345</a><a>123456</a><a></a><a>中文</a><a>中文字</a>", "<a>", "</a>", 5);
  // Byte lengths: 5, 6, 0, 4 and 6 (two bytes a character).
  ASSERT_EQ(3u, got.size());
  EXPECT_EQ("12345", got[0]);
  EXPECT_EQ("", got[1]);
  EXPECT_EQ("中文", got[2]);
}

TEST_F(Collect, PrefixSuffixAndKeptMarkers) {
  int32_t n = app::collectBetween("(1) (22)", "(", ")", &items, 0, "<", ">", true, true);
  ASSERT_EQ(2, n);
  auto* e = static_cast<lw::Text*>(lw::ArrayElements(items));
  EXPECT_STREQ("(<1>)", e[0]);
  EXPECT_STREQ("(<22>)", e[1]);
  // The array is emptied before each collection.
  EXPECT_EQ(0, app::collectBetween("none", "(", ")", &items));
}

TEST_F(Collect, ManyUnclosedStartsEndPromptly) {
  // Every start would have the shortest-match search run to the end of the page;
  // 200,000 of them after a real item still give that one item, and alone none.
  std::string unclosed;
  unclosed.reserve(200000 * sizeof kItemStart);
  for (int i = 0; i < 200000; ++i) unclosed += kItemStart;
  EXPECT_TRUE(collect(unclosed).empty());
  std::vector<std::string> got = collect("<title><![CDATA[Hello]]></title><link>x/blog/678</link>" + unclosed);
  ASSERT_EQ(1u, got.size());
  EXPECT_EQ("678", id(got[0]));
}

// ---- utf8ToGbk ----

// The platform's own conversion, for comparison.
std::string platformGbk(const std::string& utf8) {
  int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring wide(size_t(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], units);
  int bytes = WideCharToMultiByte(936, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(bytes), '\0');
  WideCharToMultiByte(936, 0, wide.data(), units, &out[0], bytes, nullptr, nullptr);
  return out;
}

struct Utf8ToGbk : ::testing::Test {
  void SetUp() override { lw::testing::InstallProgramDllTable(); }
  static std::string convert(const std::string& utf8) { return take(app::utf8ToGbk(utf8.c_str())); }
};

TEST_F(Utf8ToGbk, ChineseTextBecomesGbk) {
  EXPECT_EQ("日志 Hello", convert("\xE6\x97\xA5\xE5\xBF\x97 Hello"));
  EXPECT_EQ("", convert(""));
  EXPECT_EQ(nullptr, app::utf8ToGbk(nullptr));
}

TEST_F(Utf8ToGbk, CharactersWithoutAGbkFormBecomeTheReplacementCharacter) {
  const std::string emoji = "a\xF0\x9F\x98\x80z";  // U+1F600
  const std::string broken = "a\xFF\xC3z";           // not UTF-8
  std::string got = convert(emoji);
  EXPECT_EQ(platformGbk(emoji), got);
  EXPECT_EQ('a', got.front());
  EXPECT_EQ('z', got.back());
  EXPECT_EQ(std::string::npos, got.find_first_not_of("az?")) << "expected only '?' between, got " << got;
  EXPECT_EQ(platformGbk(broken), convert(broken));
}

TEST_F(Utf8ToGbk, WholeResultOfALargePage) {
  // 3 bytes a character in UTF-8, 2 in GBK, 1 UTF-16 unit: a buffer sized from the
  // input in any of these units alone would cut or overrun one of the two steps.
  std::string page;
  for (int i = 0; i < 200000; ++i) page += i % 7 ? "\xE6\x97\xA5" : "x";
  std::string got = convert(page);
  EXPECT_EQ(platformGbk(page), got);
  EXPECT_EQ(200000u / 7 + 1 + (200000u - (200000u / 7 + 1)) * 2, got.size());
}

}  // namespace
