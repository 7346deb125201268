#include "app/share_escape.h"

#include <gtest/gtest.h>

#include "runtime/core/values/memory.h"
#include "tests/data/escape_corpus.h"

namespace {
using app::escapeShareValue;

std::string take(lw::Text t) {
  std::string s = t ? std::string(t) : std::string();
  lw::FreeMemory(t);
  return s;
}

std::string esc(const char* v, bool brackets = false, bool json = false, const char* sub = nullptr) {
  return take(escapeShareValue(v, brackets, json, sub));
}

TEST(EscapeShareValue, EscapesLikeTheScriptEngine) {
  EXPECT_EQ("a%20b%3Ac/d", esc("a b:c/d"));
  EXPECT_EQ("AZaz09@*_+-./", esc("AZaz09@*_+-./"));
  EXPECT_EQ("%7E%21%23%24%26%28%29%3D%2C%3B%3F%25%22", esc("~!#$&()=,;?%\""));
  EXPECT_EQ("%09%01%7F", esc("\t\x01\x7F"));
  EXPECT_EQ("%u4E2D%u6587", esc("中文"));
  EXPECT_EQ("%uFF08%D7%B0", esc("（×°"));  // below U+0100 two digits, above it %u
  EXPECT_EQ("", esc(""));
  EXPECT_EQ("", esc(nullptr));
  EXPECT_EQ("http%3A//h5.qzone.qq.com/ugc/share%3F_wv%3D1%26res_uin%3D12345",
            esc("http://h5.qzone.qq.com/ugc/share?_wv=1&res_uin=12345"));
}

TEST(EscapeShareValue, ApostrophesBecomeTheRightQuotationMark) {
  EXPECT_EQ("%u2019", esc("'"));
  EXPECT_EQ("it%u2019s", esc("it's"));
  // A backslash before it no longer escapes a quote: it escapes U+2019.
  EXPECT_EQ("%u2019", esc("\\'"));
}

TEST(EscapeShareValue, BackslashesAreReadAsStringEscapes) {
  EXPECT_EQ("a%0Ab", esc("a\\nb"));
  EXPECT_EQ("%08%0C%0D%09", esc("\\b\\f\\r\\t"));
  EXPECT_EQ("v", esc("\\v"));  // no vertical tab escape in this engine
  EXPECT_EQ("%22%5C", esc("\\\"\\\\"));
  EXPECT_EQ("A%u4E2D", esc("\\x41\\u4e2d"));
  EXPECT_EQ("x4gu12", esc("\\x4g\\u12"));  // without all their digits: the letter
  EXPECT_EQ("%00A%FF", esc("\\0\\101\\377"));
  EXPECT_EQ("%200", esc("\\400"));  // 0400 is too large: \40 then "0"
  EXPECT_EQ("%008", esc("\\08"));
  EXPECT_EQ("89q%u4E2D", esc("\\8\\9\\q\\中"));
  EXPECT_EQ("c%3Adir%0Cile.txt", esc("c:\\dir\\file.txt"));  // \d is d, \f a form feed
}

TEST(EscapeShareValue, RejectedStatementsGiveTheEmptyText) {
  EXPECT_EQ("", esc("a\nb"));
  EXPECT_EQ("", esc("a\r"));
  EXPECT_EQ("", esc("\\\n"));
  // An odd run of backslashes at the end takes the closing quote.
  EXPECT_EQ("", esc("a\\"));
  EXPECT_EQ("a%5C", esc("a\\\\"));
  EXPECT_EQ("", esc("a\\\\\\"));
  // Options then work on the empty text.
  EXPECT_EQ("", esc("a\n{", true, true, "\\u"));
}

TEST(EscapeShareValue, Restorations) {
  EXPECT_EQ("a%20b:c/d", esc("a b:c/d", false, true));
  EXPECT_EQ("{x}", esc("{x}", true));
  EXPECT_EQ("%7Bx%7D", esc("{x}"));
  EXPECT_EQ("{\"a\":[1,2]}", esc("{\"a\":[1,2]}", true, true));
  EXPECT_EQ("%7B\"a\":%5B1,2%5D%7D", esc("{\"a\":[1,2]}", false, true));
}

TEST(EscapeShareValue, PercentUSubstitute) {
  EXPECT_EQ("\\u4E2D", esc("中", false, false, "\\u"));
  EXPECT_EQ("%u4E2D", esc("中", false, false, "%u"));
  EXPECT_EQ("%u4E2D", esc("中", false, false, "  "));
  EXPECT_EQ("%u4E2D", esc("中", false, false, "\xA1\xA1"));
  EXPECT_EQ(" u 4E2D", esc("中", false, false, " u "));  // used untrimmed
  // A right quotation mark brought in by the substitute turns into an apostrophe.
  EXPECT_EQ("'4E2D", esc("中", false, false, "’"));
  // An escaped percent sign followed by u is no "%u".
  EXPECT_EQ("%25u", esc("%u", false, false, "\\u"));
}

TEST(EscapeShareValue, AFirstByteEndingTheValueIsDropped) {
  EXPECT_EQ("abc", esc("abc\xB0"));
}

TEST(EscapeShareValue, Corpus) {
  int n = 0;
  for (const corpus::EscapeCase& c : corpus::kEscapeCases) {
    EXPECT_EQ(c.expected, esc(c.value)) << "value #" << n << ": " << c.value;
    ++n;
  }
  EXPECT_GE(n, 200);
}

TEST(ScriptLiteral, RejectsAQuoteThatWouldEndTheLiteral) {
  EXPECT_FALSE(app::scriptLiteralValue(u"a'b"));
  EXPECT_EQ(u"a'b", *app::scriptLiteralValue(u"a\\'b"));
  EXPECT_FALSE(app::scriptLiteralValue(u"a\x2028"));
  EXPECT_EQ("%uD800%u2028", app::scriptEscape(u"\xD800\u2028"));
}

TEST(ReplacePairs, CountStartAndLetterCaseApplyToEveryPair) {
  const app::ReplacePair xy[] = {{"X", "-"}, {"y", "+"}};
  EXPECT_EQ("a-b-c+", take(app::replacePairs("aXbxcY", xy, 2)));          // letter case ignored
  EXPECT_EQ("a-bxcY", take(app::replacePairs("aXbxcY", xy, 2, -1, 0, true)));  // exact
  EXPECT_EQ("a-bxc+", take(app::replacePairs("aXbxcY", xy, 2, 1)));        // one of each
  EXPECT_EQ("aXb-c+", take(app::replacePairs("aXbxcY", xy, 2, -1, 3)));
  const app::ReplacePair omitted[] = {{nullptr, "z"}, {"a", nullptr}};
  EXPECT_EQ("bc", take(app::replacePairs("abca", omitted, 2)));
}

TEST(QrImageAddress, ServiceAddressWithTheValue) {
  EXPECT_EQ(std::string("http://") + LINKWRIGHT_QR_HOST + "/qr.php?value=http%3A//x", take(app::qrImageAddress("http%3A//x")));
}

}  // namespace
