// The regex object against the platform's regular-expression component, reached
// through the automation commands and the program's DLL commands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "regex/regex_object.h"
#include "runtime/core/automation/automation_commands_win.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"
#include "tests/support/program_dll_table_win.h"

namespace regex {
namespace {

std::string take(lw::Text t) {
  std::string s = t ? t : "";
  lw::FreeMemory(t);
  return s;
}

// One instance per test, with the pattern and subject kept in variables as the
// application keeps them (execute takes them by reference).
class Regex : public ::testing::Test {
 protected:
  void SetUp() override {
    lw::testing::InstallProgramDllTable();
    chooseEngine(Engine::Undecided);
    re = CreateRegexObject();
  }
  void TearDown() override {
    FreeRegexObject(re);
    lw::FreeMemory(pattern);
    lw::FreeMemory(subject);
  }
  bool run(const char* p, const char* s, const bool* caseSensitive = nullptr, const bool* multiline = nullptr,
           const bool* global = nullptr, const bool* quoteEscape = nullptr) {
    lw::FreeMemory(pattern);
    lw::FreeMemory(subject);
    pattern = lw::CopyText(p);
    subject = lw::CopyText(s);
    return re->ops->execute(re, &pattern, &subject, caseSensitive, multiline, global, quoteEscape);
  }
  std::string match(int32_t k, int32_t* position = nullptr) { return take(re->ops->matchText(re, k, position)); }
  std::string group(int32_t k, int32_t j, int32_t* position = nullptr) {
    return take(re->ops->subMatchText(re, k, j, position));
  }
  double component(const char* property) { return lw::automation::readNumber(re->regExp, property); }
  // The component's own state is looked at only where the component matches.
  bool componentMatches() const { return chosenEngine() == Engine::Component; }

  RegexObject* re = nullptr;
  lw::Text pattern = nullptr;
  lw::Text subject = nullptr;
};

TEST_F(Regex, NothingBeforeTheFirstExecute) {
  EXPECT_TRUE(lw::automation::isObjectEmpty(re->regExp));
  EXPECT_EQ(take(re->ops->getPattern(re)), "");
  EXPECT_EQ(re->ops->matchCount(re), 0);
  EXPECT_EQ(re->ops->subMatchCount(re), 0);
  int32_t position = 99;
  EXPECT_EQ(match(1, &position), "");
  EXPECT_EQ(position, -2);
  EXPECT_EQ(take(re->ops->replace(re, nullptr)), "");
  re->ops->noOperation(re);
}

TEST_F(Regex, DefaultsIgnoreCaseMultilineGlobal) {
  ASSERT_TRUE(run("^b", "a\nB\nb"));
  if (componentMatches()) {
    EXPECT_EQ(component("IgnoreCase"), -1.0);
    EXPECT_EQ(component("Multiline"), -1.0);
    EXPECT_EQ(component("Global"), -1.0);
  }
  EXPECT_EQ(re->ops->matchCount(re), 2) << "both line starts, either letter case";
  EXPECT_EQ(take(re->ops->getPattern(re)), "^b");

  bool yes = true, no = false;
  ASSERT_TRUE(run("^b", "a\nB\nb", &yes));
  if (componentMatches()) {
    EXPECT_EQ(component("IgnoreCase"), 0.0);
  }
  EXPECT_EQ(re->ops->matchCount(re), 1);
  ASSERT_TRUE(run("^b", "a\nB\nb", nullptr, &no));
  EXPECT_EQ(re->ops->matchCount(re), 0) << "without multi-line only the subject's start counts";
  ASSERT_TRUE(run("b", "bbb", nullptr, nullptr, &no));
  EXPECT_EQ(re->ops->matchCount(re), 1);
}

TEST_F(Regex, PositionsAreByteOffsetsIntoTheGbkSubject) {
  ASSERT_TRUE(run("x", "中文x"));
  if (componentMatches()) {
    lw::ObjectRef m = lw::automation::readObject(re->matches, "Item", {lw::arg::integer(0)});
    EXPECT_EQ(lw::automation::readNumber(m, "FirstIndex"), 2.0);
    lw::automation::freeObject(m);
  }
  int32_t position = -1;
  EXPECT_EQ(match(1, &position), "x");
  EXPECT_EQ(position, 4);

  // Two equal matches in a row each keep their own offset.
  ASSERT_TRUE(run("a", "中文aa"));
  EXPECT_EQ(match(1, &position), "a");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(match(2, &position), "a");
  EXPECT_EQ(position, 5);

  // Match texts come back through code page 936.
  ASSERT_TRUE(run("标题\\[([^\\]]*)\\]", "一标题[你好]二"));
  EXPECT_EQ(match(1, &position), "标题[你好]");
  EXPECT_EQ(position, 2);
  EXPECT_EQ(group(1, 1, &position), "你好");
  EXPECT_EQ(position, 7);
  EXPECT_EQ(match(2, &position), "") << "no such match";
  EXPECT_EQ(position, -2);
}

// The component sees exactly the subject's characters: a terminating unit handed
// over with them would be one more character, before which "$" stops and which
// "[^x]" matches. Run with and without multi-line, as "$" reads either way.
TEST_F(Regex, SubjectEndsWithItsLastCharacter) {
  struct Case {
    const char* pattern;
    const char* subject;
    int32_t count;
    const char* first;  // the first match's text
    int32_t position;   // its 0-based byte offset in the GBK subject
    const char* why;
  };
  const Case cases[] = {
      {"c$", "abc", 1, "c", 2, "\"$\" at the subject's end, the third byte"},
      {"c[^x]", "abc", 0, "", -2, "no character follows the last one"},
      {"c$", "中文abc", 1, "c", 6, "after two double-byte characters: the seventh byte"},
  };
  bool no = false;
  for (const bool* multiline : {static_cast<const bool*>(nullptr), static_cast<const bool*>(&no)}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.pattern) + " in " + c.subject + (multiline ? ", single-line" : ", multi-line"));
      ASSERT_TRUE(run(c.pattern, c.subject, nullptr, multiline));
      EXPECT_EQ(re->ops->matchCount(re), c.count) << c.why;
      int32_t position = 99;
      EXPECT_EQ(match(1, &position), c.first) << c.why;
      EXPECT_EQ(position, c.position) << c.why;
    }
  }
}

TEST_F(Regex, SubMatchesCountFromOne) {
  ASSERT_TRUE(run("(\\d+)-(x)?", "12- 345-x"));
  EXPECT_EQ(re->ops->matchCount(re), 2);
  EXPECT_EQ(re->ops->subMatchCount(re), 2);
  int32_t position = 0;
  EXPECT_EQ(group(1, 1), "12");
  EXPECT_EQ(group(2, 1, &position), "345");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(group(2, 2, &position), "x");
  EXPECT_EQ(position, 8);
  EXPECT_EQ(group(1, 2), "") << "a group that took no part";
  EXPECT_EQ(group(1, 3), "") << "beyond the groups";
  EXPECT_EQ(group(3, 1), "") << "beyond the matches";
}

TEST_F(Regex, RejectedPatternFindsNothing) {
  EXPECT_FALSE(run("(", "abc"));
  EXPECT_EQ(re->ops->matchCount(re), 0);
  EXPECT_EQ(re->ops->subMatchCount(re), 0);
  EXPECT_EQ(match(1), "");
  ASSERT_TRUE(run("z", "abc"));
  EXPECT_EQ(re->ops->matchCount(re), 0) << "a pattern that finds nothing still gives a collection";
  EXPECT_EQ(re->ops->subMatchCount(re), 0);
}

TEST_F(Regex, SecondExecuteDiscardsTheFirst) {
  ASSERT_TRUE(run("a(a)", "aaaa", nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(re->ops->matchCount(re), 2);
  bool yes = true;
  ASSERT_TRUE(run("b", "中xb", &yes));
  EXPECT_EQ(re->ops->matchCount(re), 1);
  EXPECT_EQ(re->ops->subMatchCount(re), 0);
  int32_t position = 0;
  EXPECT_EQ(match(1, &position), "b");
  EXPECT_EQ(position, 3);
  EXPECT_EQ(take(re->ops->getPattern(re)), "b");
  lw::Text with = lw::CopyText("[]");
  EXPECT_EQ(take(re->ops->replace(re, &with)), "中x[]");
  lw::FreeMemory(with);
  EXPECT_EQ(take(re->ops->replace(re, nullptr)), "中x");
}

TEST_F(Regex, QuotePlaceholderReachesTheComponentOnlyWhenAsked) {
  bool yes = true;
  ASSERT_TRUE(run("a#引号b", "a\"b", nullptr, nullptr, nullptr, &yes));
  EXPECT_EQ(take(re->ops->getPattern(re)), "a\"b");
  EXPECT_EQ(re->ops->matchCount(re), 1);
  ASSERT_TRUE(run("a#引号b", "a\"b"));
  EXPECT_EQ(take(re->ops->getPattern(re)), "a#引号b");
  EXPECT_EQ(re->ops->matchCount(re), 0);
}

TEST_F(Regex, CopySharesTheComponentOrCopiesTheMatches) {
  ASSERT_TRUE(run("o", "foo"));
  RegexObject* c = re->ops->copy(re);
  if (componentMatches()) {
    EXPECT_EQ(c->regExp->iface, re->regExp->iface);
  }
  EXPECT_EQ(c->ops->matchCount(c), 2);
  EXPECT_EQ(take(c->ops->replace(c, nullptr)), "f");
  FreeRegexObject(c);
  EXPECT_EQ(re->ops->matchCount(re), 2) << "the original keeps its references";
}

// The engine this process matches with is the one its setting gives: the
// component wherever it can be made, PCRE2 where Windows has no VBScript (the
// settings row that turns it off says so through LINKWRIGHT_EXPECT_REGEX_ENGINE).
TEST_F(Regex, TheSettingsEngineMatches) {
  ASSERT_EQ(chosenEngine(), Engine::Undecided);
  ASSERT_TRUE(run("a", "a"));
  const char* expected = getenv("LINKWRIGHT_EXPECT_REGEX_ENGINE");
  std::string want = expected && *expected ? expected : "component";
  EXPECT_EQ(chosenEngine(), want == "component" ? Engine::Component : Engine::Pcre) << "expected the " << want;
  EXPECT_EQ(lw::automation::isObjectEmpty(re->regExp), chosenEngine() == Engine::Pcre);
  ASSERT_TRUE(run("b", "ab"));
  EXPECT_EQ(re->ops->matchCount(re), 1) << "the choice holds for every later execute";
}

// ---- The two engines side by side ----
// Every row runs through the component and through PCRE2, and every operation's
// result is written down in one line for each: they must be the same bytes. A row
// whose `documented` is set is one where Wine's component departs from the
// component's documentation (it fails on an empty match under Global, folds no
// letter case beyond ASCII, keeps "." from "\r", counts U+3000 as white space,
// reads "\12" after one group as octal and "\c1" as a backslash); there PCRE2
// must give the documented line, and the component is not asked.

struct EngineRow {
  const char* pattern;
  const char* subject;
  const char* replacement;
  const char* flags;  // letters: c case-sensitive, s single-line, 1 first match only
  const char* why;
  const char* documented;  // null: both engines agree
};

// Everything the object answers after one execute: the pattern, the counts, each
// match and each group with its position (one past the last of each too), and the
// replacement.
std::string transcript(RegexObject* re, const EngineRow& row) {
  bool yes = true, no = false;
  std::string f = row.flags ? row.flags : "";
  const bool* caseSensitive = f.find('c') != std::string::npos ? &yes : nullptr;
  const bool* multiline = f.find('s') != std::string::npos ? &no : nullptr;
  const bool* global = f.find('1') != std::string::npos ? &no : nullptr;
  lw::Text pattern = lw::CopyText(row.pattern), subject = lw::CopyText(row.subject);
  bool executed = re->ops->execute(re, &pattern, &subject, caseSensitive, multiline, global, nullptr);
  lw::FreeMemory(pattern);
  lw::FreeMemory(subject);
  std::string out = executed ? "" : "refused ";
  out += "/" + take(re->ops->getPattern(re)) + "/";
  int32_t count = re->ops->matchCount(re), groups = re->ops->subMatchCount(re);
  out += " " + std::to_string(count) + " matches, " + std::to_string(groups) + " groups:";
  for (int32_t k = 1; k <= count + 1; ++k) {
    int32_t position = 99;
    out += " [" + take(re->ops->matchText(re, k, &position));
    out += "@" + std::to_string(position);
    for (int32_t j = 1; j <= groups + 1; ++j) {
      position = 99;
      out += " " + take(re->ops->subMatchText(re, k, j, &position));
      out += "@" + std::to_string(position);
    }
    out += "]";
  }
  lw::Text with = lw::CopyText(row.replacement);
  out += " -> " + take(re->ops->replace(re, &with));
  lw::FreeMemory(with);
  return out;
}

const EngineRow kEngineRows[] = {
    {"<title><!\\[CDATA([\\s\\S]*?)/link>",
     "<rss><TITLE><![CDATA[第一篇]]></title>\n<link>http://x/12345/blog/11</link>"
     "<title><![CDATA[二 <b>]]></title><LINK>blog/22</Link><title><![CDATA[没有结尾",
     "$1|", nullptr, "the feed's own pattern: markers of either case, Chinese, an unclosed last item", nullptr},
    {"^b", "a\nB\r\nb", "<$&>", nullptr, "^ after \\n by default, either letter case", nullptr},
    {"^b", "a\nB\nb", "", "s", "^ at the subject's start only without multi-line", nullptr},
    {"b$", "ab\r\nab\nab", "[$&]", nullptr, "$ before \\r and \\n by default", nullptr},
    {"b$", "ab\nab", "", "s", "$ at the very end only without multi-line", nullptr},
    {"a*", "baaac", "<$&>", nullptr, "empty matches step one character on under Global",
     "/a*/ 4 matches, 0 groups: [@0 @0] [aaa@1 @1] [@4 @4] [@5 @5] [@-2 @-2] -> <>b<aaa><>c<>"},
    {"", "中文", "-", nullptr, "the empty pattern matches before every character and at the end", nullptr},
    {"x*|b", "ab", "<$&>", nullptr, "an empty match does not retry the same place for a longer one",
     "/x*|b/ 3 matches, 0 groups: [@0 @0] [@1 @1] [@2 @2] [@-2 @-2] -> <>a<>b<>"},
    {"<(.+?)>", "<a><中>", "$1", nullptr, "lazy quantifiers", nullptr},
    {"(a)(b)?(c)", "ac", "[$2]", nullptr, "a group that took no part is empty", nullptr},
    {"(\\w)\\1", "aAbbcd", "$1", nullptr, "back-references follow the letter case setting", nullptr},
    {"(\\w)\\1", "aAbbcd", "$1", "c", "back-references, case-sensitive", nullptr},
    {"(a)?b\\1c", "bc", "$1", nullptr, "a back-reference to a group that took no part matches empty", nullptr},
    {"\\d+(?=元)", "12元 34 56元", "#", nullptr, "look-ahead", nullptr},
    {"(?!ab)\\w\\w", "abacab", "#", nullptr, "negative look-ahead", nullptr},
    {"文(.)", "中文字文ab", "$1", nullptr, "positions are byte offsets after double-byte characters", nullptr},
    {"[a-c]+|[^\\s\\d]", "ABC 1x", "<$&>", nullptr, "classes, ranges and class escapes", nullptr},
    {"[]|a", "abc", "-", nullptr, "the empty class matches nothing", nullptr},
    {"a[^]", "a\nab", "<$&>", nullptr, "[^] matches any character, a line end too", nullptr},
    {"[\\d-z]+", "1-z9", "<$&>", nullptr, "a - after a class escape is itself", nullptr},
    {"\\x41\\u4e2d\\x4g\\cJ", "A中x4g\n", "ok", nullptr, "\\x, \\u and \\c escapes; too few hex digits", nullptr},
    {"\\101\\0", "A", "", nullptr, "octal escapes where no group can be meant", nullptr},
    {"a{2}|b{1,}|c{,2}", "aaabbc{,2}", "<$&>", nullptr, "bounded quantifiers; a { that is none is itself", nullptr},
    {"\\bab\\b", "中ab文 cab ab", "#", nullptr, "word boundaries between ASCII word characters and the rest", nullptr},
    {"αβ|ｚ|ё", "ΑΒ Ｚ Ё αβ", "<$&>", nullptr, "letter case beyond ASCII: Greek, full-width, Cyrillic",
     "/αβ|ｚ|ё/ 4 matches, 0 groups: [ΑΒ@0 @0] [Ｚ@5 @5] [Ё@8 @8] [αβ@11 @11] [@-2 @-2] -> <ΑΒ> <Ｚ> <Ё> <αβ>"},
    {"a.", "a\rb a\nb", "<$&>", nullptr, "\".\" is any character but \\n",
     "/a./ 1 matches, 0 groups: [a\r@0 @0] [@-2 @-2] -> <a\r>b a\nb"},
    {"\\s", "a　b\tc", "_", nullptr, "\\s is the ASCII white space only",
     "/\\s/ 1 matches, 0 groups: [\t@4 @4] [@-2 @-2] -> a　b_c"},
    {"(a)\\12", "aa2 a\n", "<$&>", nullptr, "\\nm is group n and a digit when only n groups open before it",
     "/(a)\\12/ 1 matches, 1 groups: [aa2@0 a@0 @0] [@-2 @-2 @-2] -> <aa2> a\n"},
    {"\\c1", "c1", "<$&>", nullptr, "\\c without a letter is a plain c",
     "/\\c1/ 1 matches, 0 groups: [c1@0 @0] [@-2 @-2] -> <c1>"},
    {"αβ|ｚ|ё", "ΑΒ Ｚ Ё αβ", "<$&>", "c", "letter case beyond ASCII, case-sensitive", nullptr},
    {"[\\uD800-\\uDFFF]|\\uD83D", "中a", "-", nullptr, "surrogates in a pattern: a GBK subject holds none", nullptr},
    {"o", "foo", "0", "1", "the first match only without Global", nullptr},
    {"(\\w)@(\\w)", "a@b c@d", "$2$$$1[$&]{$`}{$'}$3$0$12$", nullptr, "every $ form of Replace", nullptr},
    {"(", "abc", "x", nullptr, "a pattern the component refuses", nullptr},
    {"a**", "aa", "x", nullptr, "a quantifier that repeats nothing", nullptr},
    {"(?<=a)b", "ab", "x", nullptr, "look-behind is no part of the language", nullptr},
    {"[z-a]", "a", "x", nullptr, "a range out of order", nullptr},
    {"a{3,2}", "aaa", "x", nullptr, "a bound below its minimum", nullptr},
    {"ab\\", "ab", "x", nullptr, "a trailing backslash", nullptr},
};

TEST(RegexEngines, PcreGivesWhatTheComponentGives) {
  lw::testing::InstallProgramDllTable();
  chooseEngine(Engine::Component);
  {
    OwnedRegexObject probe(CreateRegexObject());
    lw::Text p = lw::CopyText("a"), s = lw::CopyText("a");
    bool made = probe->ops->execute(probe.get(), &p, &s, nullptr, nullptr, nullptr, nullptr);
    lw::FreeMemory(p);
    lw::FreeMemory(s);
    if (!made) {
      chooseEngine(Engine::Undecided);
      GTEST_SKIP() << "the component cannot be made here: nothing to compare PCRE2 with";
    }
  }
  for (const EngineRow& row : kEngineRows) {
    SCOPED_TRACE(std::string(row.why) + ": /" + row.pattern + "/ " + (row.flags ? row.flags : ""));
    std::string byComponent;
    if (!row.documented) {
      chooseEngine(Engine::Component);
      OwnedRegexObject component(CreateRegexObject());
      byComponent = transcript(component.get(), row);
    }
    chooseEngine(Engine::Pcre);
    OwnedRegexObject pcre(CreateRegexObject());
    std::string byPcre = transcript(pcre.get(), row);
    EXPECT_TRUE(lw::automation::isObjectEmpty(pcre->regExp)) << "PCRE2 matched without the component";
    EXPECT_EQ(byPcre, row.documented ? std::string(row.documented) : byComponent);
  }
  chooseEngine(Engine::Undecided);
}

TEST(RegexWideBytes, CodePage936RoundTrip) {
  lw::testing::InstallProgramDllTable();
  lw::ByteSet b = toWideBytes("中a");
  ASSERT_NE(b, nullptr);
  const uint8_t expected[] = {0x2D, 0x4E, 0x61, 0x00, 0x00, 0x00};
  ASSERT_EQ(b->length, sizeof expected) << "with the terminating unit";
  EXPECT_EQ(0, memcmp(lw::byteSetData(b), expected, sizeof expected));
  EXPECT_EQ(take(fromWideBytes(b)), "中a");
  lw::FreeMemory(b);
  EXPECT_EQ(toWideBytes(""), nullptr);
  EXPECT_EQ(toWideBytes(nullptr), nullptr);

  // A trailing odd byte is dropped; the text ends at the first NUL.
  const uint8_t odd[] = {0x41, 0x00, 0x42, 0x00, 0x00, 0x00, 0x43, 0x00, 0x44};
  lw::ByteSet o = lw::MakeByteSet(odd, sizeof odd);
  EXPECT_EQ(take(fromWideBytes(o)), "AB");
  lw::FreeMemory(o);
  EXPECT_EQ(fromWideBytes(nullptr), nullptr);
}

}  // namespace
}  // namespace regex
